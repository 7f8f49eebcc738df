// The label flow started from the product list.
#include "printing/stampa_frontalini.h"

#include "platform/printers.h"
#include "platform/prompts.h"
#include "printing/scelta_stampante.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

void Avviso(platform::Prompts& prompts, const QString& testo) {
  prompts.ask(
      {testo, Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Exclamation});
}

}  // namespace

void StampaFrontalini(const QString& percorsoSetup, platform::PrintTarget& destinazione,
                      platform::Prompts& prompts, const std::function<void()>& apriEditor) {
  // No printer to choose or to give back: the labels can still be seen and saved.
  if (destinazione.printers().installed().isEmpty()) {
    apriEditor();
    return;
  }
  const QString etichette = LeggiStampanteST(percorsoSetup, kChiaveStampanteEtichette);
  if (etichette.isEmpty()) {
    Avviso(prompts, QStringLiteral("Prima di proseguire definire la stampante per i Frontalini"));
    return;
  }
  EseguiAssegnazioneST(destinazione, etichette, prompts);
  apriEditor();
  const QString a4 = LeggiStampanteST(percorsoSetup, kChiaveStampanteA4);
  if (a4.isEmpty())
    Avviso(prompts, QStringLiteral("RiAssegnare la stampante A4 predefinita"));
  else
    EseguiAssegnazioneST(destinazione, a4, prompts);
}

}  // namespace listinova
