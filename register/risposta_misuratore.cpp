#include "register/risposta_misuratore.h"

#include "register/descrizione_errore.h"

namespace listinova {

namespace {

// The leading decimal digits, as the register pads a byte "5 " or " 5".
int valoreDecimale(const QString& campo) {
  int valore = 0;
  for (const QChar c : campo.trimmed()) {
    if (c < u'0' || c > u'9') break;
    valore = valore * 10 + (c.unicode() - u'0');
  }
  return valore;
}

bool bit(int valore, int n) { return (valore >> n) & 1; }

bool cifraEsadecimale(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// The field as the log and the not-transmitted list can show it; never empty, never "0".
QString codiceIllegibile(const QString& campo) {
  QString visibile;
  for (const QChar c : campo) visibile += c.unicode() < 32 || c.unicode() == 127 ? u'?' : c;
  return visibile.trimmed().isEmpty() ? QStringLiteral("??") : visibile;
}

}  // namespace

void RispostaMisuratore::azzera() {
  RispostaMisuratore vuota;
  vuota.Stato = Stato;
  *this = vuota;
}

RispostaMisuratore RispostaMisuratore::daCorpo(const QString& corpo) {
  RispostaMisuratore r;
  const QString campo = corpo.mid(0, 2);
  if (campo.size() == 2 && cifraEsadecimale(campo[0]) && cifraEsadecimale(campo[1])) {
    r.CodiceErrore = campo;
    r.Gravita = QString::number(DescrizioneErrore(r.CodiceErrore, r.TestoEsito));
  } else {
    r.CodiceErrore = codiceIllegibile(campo);
    r.TestoEsito = QString::fromUtf8(kCodiceNonValido);
    r.Gravita = QStringLiteral("0");
  }
  r.StatoA = corpo.mid(3, 2);
  r.StatoB = corpo.mid(6, 2);
  const int a = valoreDecimale(r.StatoA);
  r.StatoA_Bit0 = bit(a, 0);
  r.StatoA_Bit1 = bit(a, 1);
  r.StatoA_Bit2 = bit(a, 2);
  r.StatoA_Bit3 = bit(a, 3);
  r.StatoA_Bit4 = bit(a, 4);
  r.StatoA_Bit6 = bit(a, 6);
  const int b = valoreDecimale(r.StatoB);
  r.StatoB_Bit0 = bit(b, 0);
  r.StatoB_Bit1 = bit(b, 1);
  r.StatoB_Bit2 = bit(b, 2);
  r.StatoB_Bit4 = bit(b, 4);
  r.StatoB_Bit5 = bit(b, 5);
  r.StatoB_Bit6 = bit(b, 6);
  r.StatoB_Bit7 = bit(b, 7);
  return r;
}

}  // namespace listinova
