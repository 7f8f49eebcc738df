#include "register/collegamento_casse.h"

#include "platform/prompts.h"
#include "register/casse_configurate.h"
#include "register/record_plu.h"
#include "register/record_reparti.h"
#include "startup/var_globali.h"

namespace listinova {

CollegamentoCasse::CollegamentoCasse(Ambiente ambiente, QObject* parent)
    : QObject(parent),
      a_(std::move(ambiente)),
      log_(a_.cartellaProgramma, a_.clock),
      trasporto_(
          cassa_, winsock1_, log_,
          [this](const QString& testo) {
            if (schermo_.lblTab) schermo_.lblTab(testo);
          },
          a_.porte),
      driver_(StrumentiDriver{trasporto_, trasporto_, log_, a_.prompts, a_.clock, a_.visualizzatore,
                              a_.cartellaProgramma, a_.percorsoSetup,
                              [this](const QString& n) {
                                if (schermo_.lblRecAct) schermo_.lblRecAct(n);
                              },
                              a_.terminaProgramma,
                              [this](const QString& testo) {
                                if (schermo_.lblTab) schermo_.lblTab(testo);
                              },
                              a_.limiti}) {
  cassa_.setObjectName("Cassa");
  winsock1_.setObjectName("Winsock1");
  trasporto_.setAvvisoPorta([this](const QString& perche) {
    a_.prompts.ask(
        {perche, Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Critical});
  });
}

EsitoInvio CollegamentoCasse::InviaPLU(bool soloModificati, bool torvane) {
  RecordPlu record(a_.db, a_.cartellaProgramma, a_.notice, a_.prompts, a_.clock, torvane,
                   schermo_.lblTab, schermo_.lblRecTot);
  InvioPlu invio(a_.db, record, driver_, trasporto_, a_.prompts, a_.notice, a_.clock,
                 CasseConfigurate(Globali()), {schermo_.lblTab, {}, schermo_.occupato});
  return invio.cmdInviaPLU_Click(soloModificati);
}

EsitoReparti CollegamentoCasse::InviaReparti(bool torvane, std::function<void(bool)> frAvviso) {
  RecordReparti record(a_.db, a_.prompts, a_.cartellaProgramma, a_.percorsoSetup, torvane);
  InvioReparti invio(record, driver_, trasporto_, cassa_, log_, a_.prompts, a_.notice, a_.clock,
                     CasseConfigurate(Globali()), std::move(frAvviso));
  return invio.Trasferisci();
}

}  // namespace listinova
