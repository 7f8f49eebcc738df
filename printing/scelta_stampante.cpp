// The two printers of the shop: stored by purpose, and where print jobs go.
#include "printing/scelta_stampante.h"

#include "platform/printers.h"
#include "platform/prompts.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {

QString ChiavePerScopo(const QString& scopo) {
  return scopo == kScopoA4 ? kChiaveStampanteA4 : kChiaveStampanteEtichette;
}

void ScriviInSetupLaST(const QString& percorsoSetup, const QString& chiave, const QString& nome) {
  ScriviINI(percorsoSetup, kSezioneStampanti, chiave, nome);
}

QString LeggiStampanteST(const QString& percorsoSetup, const QString& chiave) {
  const QString nome = LeggiINI(percorsoSetup, kSezioneStampanti, chiave, "?");
  return nome == "?" ? QString() : nome.trimmed();
}

QStringList ElencoStampanti(const platform::Printers& stampanti) {
  QStringList elenco;
  for (const QString& nome : stampanti.installed())
    if (!nome.trimmed().isEmpty()) elenco << nome.trimmed();
  return elenco;
}

bool EseguiAssegnazioneST(platform::PrintTarget& destinazione, const QString& nome,
                          platform::Prompts& prompts) {
  if (destinazione.aimAt(nome)) return true;
  const QString dove = destinazione.printerName().isEmpty()
                           ? QStringLiteral("sulla stampante predefinita del sistema")
                           : "su \"" + destinazione.printerName() + "\"";
  prompts.ask({"La stampante \"" + nome + "\" non è installata: le stampe continuano " + dove + ".",
               Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Exclamation});
  return false;
}

}  // namespace listinova
