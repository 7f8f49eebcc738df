#include "startup/modulo_file_ini.h"

#include "platform/profile_file.h"

namespace listinova {

QString LeggiINI(const QString& file, const QString& section, const QString& key,
                 const QString& defaultValue) {
  return platform::readProfileString(file, section, key, defaultValue);
}

void ScriviINI(const QString& file, const QString& section, const QString& key,
               const QString& value) {
  QString oneLine = value;
  oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
  platform::writeProfileString(file, section, key, oneLine);
}

QString LetteraParita(const QString& word) {
  if (word == u"Pari") return QStringLiteral("e");
  if (word == u"Dispari") return QStringLiteral("o");
  if (word == u"Mark") return QStringLiteral("m");
  if (word == u"Spazio") return QStringLiteral("s");
  return QStringLiteral("n");
}

ImpostazioniSeriali ImpostazioniSeriali::leggi(const QString& file, const QString& section) {
  ImpostazioniSeriali impostazioni;
  const auto leggiChiave = [&](const QString& key, QString& campo) {
    const QString valore = LeggiINI(file, section, key, QStringLiteral("?"));
    if (valore != u"?") campo = valore;
  };
  leggiChiave(QStringLiteral("PortaCOM"), impostazioni.porta);
  leggiChiave(QStringLiteral("VelocitaCOM"), impostazioni.velocita);
  leggiChiave(QStringLiteral("BitDatiCOM"), impostazioni.bitDati);
  leggiChiave(QStringLiteral("ParitaDatiCOM"), impostazioni.parita);
  leggiChiave(QStringLiteral("BitStopDatiCOM"), impostazioni.bitStop);
  leggiChiave(QStringLiteral("FlussoDatiCOM"), impostazioni.flusso);
  return impostazioni;
}

QString ImpostazioniSeriali::testoImpostazioni() const {
  return velocita + u',' + LetteraParita(parita) + u',' + bitDati + u',' + bitStop;
}

ControlloFlusso ImpostazioniSeriali::controlloFlusso() const {
  if (flusso == u"Hardware") return ControlloFlusso::Hardware;
  if (flusso == u"Xon / Xoff") return ControlloFlusso::XonXoff;
  return ControlloFlusso::Nessuno;
}

}  // namespace listinova

namespace listinova {

platform::FlowControl ImpostazioniSeriali::flussoPorta() const {
  switch (controlloFlusso()) {
    case ControlloFlusso::Hardware:
      return platform::FlowControl::Hardware;
    case ControlloFlusso::XonXoff:
      return platform::FlowControl::XonXoff;
    case ControlloFlusso::Nessuno:
      break;
  }
  return platform::FlowControl::None;
}

}  // namespace listinova
