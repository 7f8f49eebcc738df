#include "promotions/promozioni_magazzino.h"

#include <QFileDialog>
#include <memory>

#include "catalogue/magazzino.h"
#include "platform/db/database_error.h"
#include "platform/local_file_system.h"
#include "promotions/avviso_promozioni.h"
#include "promotions/elenco_promozioni.h"
#include "promotions/manutenzione_archivio.h"
#include "promotions/pannello_promozione.h"
#include "startup/error_log.h"

namespace listinova {

PannelliPromozioni InstallaPromozioni(Magazzino& lista, platform::db::Database& db,
                                      platform::Prompts& prompts, platform::Clock& clock) {
  Magazzino* magazzino = &lista;
  auto* elenco =
      new ElencoPromozioni(db, prompts,
                           {[magazzino](bool abilitato) { magazzino->abilitaElenco(abilitato); },
                            [magazzino] { magazzino->tornaAlBarCode(); }},
                           &lista);
  auto* promozione = new PannelloPromozione(
      db, prompts, clock,
      {[magazzino] {
         const Magazzino::ProdottoSelezionato scelto = magazzino->prodottoSelezionato();
         return ProdottoInOfferta{scelto.codice, scelto.descrizione, scelto.prezzo};
       },
       [magazzino] { magazzino->tornaAlBarCode(); }},
      &lista);
  QObject::connect(promozione, &PannelloPromozione::elencoRichiesto, elenco,
                   [elenco](const QDate& dal) { elenco->apriChiudi(dal); });
  lista.aggiungiPannello(promozione);
  lista.aggiungiPannello(elenco);
  lista.setPromozioni([promozione] { promozione->cmdPromozioni_Click(); });
  return {promozione, elenco};
}

void InstallaManutenzione(Magazzino& lista, platform::db::Database& db, platform::Prompts& prompts,
                          platform::Notice& notice, platform::Clock& clock,
                          const QString& cartellaProgramma) {
  static platform::LocalFileSystem disco;
  Magazzino* magazzino = &lista;
  auto lavoro = std::make_shared<ManutenzioneArchivio>(
      ManutenzioneArchivio::Ambiente{db, prompts, notice, clock, disco,
                                     [magazzino](const QString& domanda) {
                                       return QFileDialog::getExistingDirectory(magazzino, domanda);
                                     },
                                     cartellaProgramma});
  lista.setManutenzione(
      {[lavoro](const QString& quantita) { return lavoro->applicaQuantita(quantita); },
       [lavoro] { lavoro->salvaDati(); }, [lavoro] { return lavoro->cambiaDati(); }});
}

void MostraAvvisoPromozioni(Magazzino& lista, platform::db::Database& db, const QString& setup,
                            const QDate& oggi) {
  try {
    const AvvisoOfferte avviso = AvvisoPromozioni(db, setup, oggi);
    lista.mostraAvviso(avviso.testo, avviso.punti);
  } catch (const platform::db::DatabaseError& errore) {
    ScriviErrore("Magazzino", "AvvisoPromozioni", errore.description(), errore.code());
  }
}

}  // namespace listinova
