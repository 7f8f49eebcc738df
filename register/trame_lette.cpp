#include "register/trame_lette.h"

#include "register/protocollo_ostrel.h"

namespace listinova {

namespace {
constexpr int kCifreChecksum = 2;
}

QStringList TrameBuone(const QString& ricevuti) {
  QStringList corpi;
  qsizetype inizio = ricevuti.indexOf(QChar(Controllo::STX));
  while (inizio >= 0) {
    const qsizetype fine = ricevuti.indexOf(QChar(Controllo::ETX), inizio + 1);
    if (fine < 0) break;
    // A later STX before the ETX means the first frame was given up on.
    const qsizetype altro = ricevuti.lastIndexOf(QChar(Controllo::STX), fine);
    const QString trama = ricevuti.mid(altro + 1, fine - altro - 1);
    if (trama.size() >= kCifreChecksum) {
      const QString corpo = trama.chopped(kCifreChecksum);
      if (CalcolaChecksum(CodificaPerRegistratore(corpo)) == trama.right(kCifreChecksum).toLatin1())
        corpi << corpo;
    }
    inizio = ricevuti.indexOf(QChar(Controllo::STX), fine + 1);
  }
  return corpi;
}

bool CodiceRispostaValido(const QString& risposta) {
  if (risposta.size() < 2) return false;
  for (const QChar c : risposta.first(2))
    if (!QStringLiteral("0123456789ABCDEFabcdef").contains(c)) return false;
  return risposta.size() == 2 || risposta[2] == u'/';
}

}  // namespace listinova
