#include "register/invio_plu.h"

#include <QCoreApplication>

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "register/esame_comandi.h"
#include "register/lavoro_in_corso.h"
#include "register/record_plu.h"
#include "register/trasporto_registratore.h"
#include "startup/var_globali.h"

namespace listinova {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {}  // namespace

InvioPlu::InvioPlu(platform::db::Database& db, RecordPlu& record, DriverComandi& driver,
                   TrasportoRegistratore& trasporto, platform::Prompts& prompts,
                   platform::Notice& notice, platform::Clock& clock,
                   std::vector<CassaConfigurata> casse, SchermoInvio schermo)
    : db_(db),
      record_(record),
      driver_(driver),
      trasporto_(trasporto),
      prompts_(prompts),
      notice_(notice),
      clock_(clock),
      casse_(std::move(casse)),
      schermo_(std::move(schermo)) {}

EsitoInvio InvioPlu::cmdInviaPLU_Click(bool soloModificati) {
  EsitoInvio esito;
  esito.casse = static_cast<int>(casse_.size());
  if (LavoroInCorso::attivo()) {
    notice_.show(LavoroInCorso::kMessaggio);
    return esito;
  }
  LavoroInCorso lavoro;
  auto stato = [this](const QString& testo) {
    if (schermo_.lblTab) schermo_.lblTab(testo);
  };
  auto occupato = [this](bool si) {
    if (schermo_.occupato) schermo_.occupato(si);
  };
  occupato(true);
  if (schermo_.fermaImportazione) schermo_.fermaImportazione();
  const QString& titolo = Globali().TitoloProgramma;
  if (!soloModificati && prompts_.ask({"Sicuro di dover inviare tutto l'archivio alla cassa?",
                                       titolo, Buttons::YesNo, Icon::Question}) != Answer::Yes) {
    occupato(false);
    return esito;
  }
  stato("PREPARAZIONE DATI PER INVIO SULLE CASSE");
  QCoreApplication::processEvents();
  trasporto_.iniziaLavoro();
  if (!record_.PreparaTabxInvio(soloModificati)) {
    occupato(false);
    prompts_.ask({"Nessun dato da inviare", titolo, Buttons::Ok, Icon::Information});
    QCoreApplication::processEvents();
    stato({});
    return esito;
  }
  stato({});
  esito.avviato = true;
  for (const CassaConfigurata& cassa : casse_) {
    if (!inviaA(cassa)) {
      prompts_.ask({MessaggioCassaNonRaggiunta(cassa), titolo, Buttons::Ok,
                    cassa.numero == 1 ? Icon::Critical : Icon::None});
      continue;
    }
    ++esito.inviateBene;
    esito.riuscite = cassa.numero == 1 ? 1 : esito.riuscite + 1;
    notice_.show(QStringLiteral("INVIO CASSA %1 TERMINATO").arg(cassa.numero));
  }
  esito.modificatiAzzerati = azzeraSecondoLePorte(esito.riuscite);
  occupato(false);
  notice_.show("PROCEDURA DI INVIO TERMINATA");
  stato({});
  QCoreApplication::processEvents();
  return esito;
}

bool InvioPlu::inviaA(const CassaConfigurata& cassa) {
  record_.ScriviFilePLU(cassa.chiave);
  clock_.wait(500);
  return driver_.EsameComandi(record_.PercorsoFilePLU(cassa.chiave), cassa.indirizzo);
}

// The marks are cleared only when every configured serial register took the data.
bool InvioPlu::azzeraSecondoLePorte(int riuscite) {
  const VarGlobali& g = Globali();
  const bool com = !g.RegCassa.porta.trimmed().isEmpty();
  const bool com1 = !g.PortaCOM1.trimmed().isEmpty();
  const bool com2 = !g.PortaCOM2.trimmed().isEmpty();
  bool azzera = false;
  if (com && !com1 && !com2) {
    azzera = riuscite == 1 && prompts_.ask({"DEVI INVIARE SU ALTRA POSTAZIONE ?", "Listinova",
                                            Buttons::YesNo, Icon::Question}) == Answer::No;
  } else if (com && com1 && !com2) {
    azzera = riuscite == 2;
  } else if (com && com1 && com2) {
    azzera = riuscite == 3;
  }
  if (azzera) AzzeraModificati();
  return azzera;
}

void InvioPlu::AzzeraModificati() {
  db_.execute("UPDATE Magazzino SET Magazzino.Modificato =" + QString::number(0));
  clock_.wait(1200);
}

}  // namespace listinova
