#include "register/invio_plu.h"

#include <QCoreApplication>

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/db/jet_sql.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "register/esame_comandi.h"
#include "register/lavoro_in_corso.h"
#include "register/record_plu.h"
#include "register/trasporto_registratore.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

constexpr char kModulo[] = "InvioPlu";

// The bar code of a "P/number/barcode/..." or "A/barcode/..." record.
QString barCodeDelRecord(const QString& record) {
  const QStringList campi = record.split(u'/');
  const int campo = record.startsWith(u'P') ? 2 : 1;
  return campi.value(campo);
}

}  // namespace

int EsitoInvio::statoUscita() const {
  if (!avviato || casse == 0 || inviateBene < casse || erroreArchivio) return 1;
  return conRifiuti > 0 ? 2 : 0;
}

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
    // A disk that refused the work table is no archive without data.
    if (!record_.guasto().isEmpty())
      prompts_.ask({record_.guasto(), titolo, Buttons::Ok, Icon::Critical});
    else
      prompts_.ask({"Nessun dato da inviare", titolo, Buttons::Ok, Icon::Information});
    QCoreApplication::processEvents();
    stato({});
    return esito;
  }
  stato({});
  esito.avviato = true;
  if (casse_.empty())
    prompts_.ask({QString::fromUtf8(kNessunaCassa), titolo, Buttons::Ok, Icon::Information});
  QStringList rifiutati;
  for (const CassaConfigurata& cassa : casse_) {
    if (!inviaA(cassa)) {
      // A command file the disk refused is no communication problem.
      const QString& guasto = record_.guasto();
      prompts_.ask({guasto.isEmpty() ? MessaggioCassaNonRaggiunta(cassa) : guasto, titolo,
                    Buttons::Ok,
                    cassa.numero == 1 || !guasto.isEmpty() ? Icon::Critical : Icon::None});
      continue;
    }
    ++esito.inviateBene;
    if (!driver_.ComandiRifiutati().isEmpty()) ++esito.conRifiuti;
    rifiutati += driver_.ComandiRifiutati();
    esito.riuscite = cassa.numero == 1 ? 1 : esito.riuscite + 1;
    notice_.show(QStringLiteral("INVIO CASSA %1 TERMINATO").arg(cassa.numero));
  }
  azzeraSecondoLePorte(esito.riuscite, rifiutati, esito);
  occupato(false);
  notice_.show("PROCEDURA DI INVIO TERMINATA");
  stato({});
  QCoreApplication::processEvents();
  return esito;
}

// A command file that cannot be written fails the register: the one of the last send would
// put old prices on it.
bool InvioPlu::inviaA(const CassaConfigurata& cassa) {
  if (!record_.ScriviFilePLU(cassa.chiave)) return false;
  clock_.wait(500);
  return driver_.EsameComandi(record_.PercorsoFilePLU(cassa.chiave), cassa.indirizzo, cassa.numero);
}

// The marks are cleared only when every configured serial register took the data.
void InvioPlu::azzeraSecondoLePorte(int riuscite, const QStringList& recordRifiutati,
                                    EsitoInvio& esito) {
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
  if (!azzera) return;
  try {
    AzzeraModificati(recordRifiutati);
    esito.modificatiAzzerati = true;
  } catch (const platform::db::DatabaseError& e) {
    // One statement: when it fails, no mark has changed.
    esito.erroreArchivio = true;
    ScriviErrore(kModulo, QStringLiteral("AzzeraModificati"), e.description(), e.code());
    prompts_.ask({QStringLiteral("Impossibile togliere il segno di modifica ai prodotti inviati: "
                                 "l'archivio non si può scrivere (%1). I prodotti restano "
                                 "segnati come modificati.")
                      .arg(e.description()),
                  Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
  }
}

void InvioPlu::AzzeraModificati(const QStringList& recordRifiutati) {
  QString istruzione = "UPDATE Magazzino SET Magazzino.Modificato =" + QString::number(0);
  QStringList barCode;
  for (const QString& record : recordRifiutati)
    barCode << platform::db::sqlText(barCodeDelRecord(record));
  if (!barCode.isEmpty()) {
    barCode.removeDuplicates();
    istruzione += QStringLiteral(
                      " WHERE CodMateriale NOT IN (SELECT CodArtMagazzino FROM "
                      "MagazzinoPerOstrel WHERE BarCode IN (%1))")
                      .arg(barCode.join(u','));
  }
  db_.execute(istruzione);
  clock_.wait(1200);
}

}  // namespace listinova
