#include "register/casse_configurate.h"

#include "startup/var_globali.h"

namespace listinova {

QString IndirizzoPerNomeFile(const QString& indirizzo) {
  if (!indirizzo.contains('/')) return indirizzo;
  QString nome = indirizzo;
  if (nome.startsWith("/dev/")) nome = nome.mid(5);
  return nome.remove('/');
}

QString MessaggioCassaNonRaggiunta(const CassaConfigurata& cassa) {
  const QString verifica = cassa.rete ? "CAVO/INDIRIZZO IP/CASSA/RETE" : "CAVO/PortaCOM/CASSA";
  return QStringLiteral(
             "INVIO CASSA %1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: %2")
      .arg(cassa.numero)
      .arg(verifica);
}

std::vector<CassaConfigurata> CasseConfigurate(const VarGlobali& g) {
  std::vector<CassaConfigurata> casse;
  const QString porta1 = g.RegCassa.porta.trimmed();
  const QString rete1 = g.IndirizzoRete.trimmed();
  auto seriale = [&](int numero, const QString& porta) {
    casse.push_back({numero, porta, IndirizzoPerNomeFile(porta), false});
  };
  if (!porta1.isEmpty())
    seriale(1, porta1);
  else if (!rete1.isEmpty())
    casse.push_back({1, rete1, QString(rete1).remove('.'), true});
  if (!g.PortaCOM1.trimmed().isEmpty()) seriale(2, g.PortaCOM1.trimmed());
  if (!g.PortaCOM2.trimmed().isEmpty()) seriale(3, g.PortaCOM2.trimmed());
  return casse;
}

}  // namespace listinova
