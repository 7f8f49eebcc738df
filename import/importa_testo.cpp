#include "import/importa_testo.h"

#include "import/archivio_prodotti.h"
#include "import/testo_fornitore.h"
#include "platform/money.h"

namespace listinova {

RiepilogoImport ImportaTestoDelimitato(platform::db::Database& db, const QString& percorso,
                                       const OpzioniTesto& opzioni, const SchermoImport& schermo) {
  if (schermo.stato) schermo.stato(QStringLiteral("Importazione dati PLU in corso..."));
  LetturaTesto lettura = LeggiTestoDelimitato(LeggiRigheFornitore(percorso), opzioni);
  if (lettura.prodotti.empty())
    throw ErroreImport(
        QStringLiteral("Nessun prodotto leggibile nel file \"%1\" (righe lette: %2): "
                       "l'archivio non è stato modificato. Controllare separatore e posizioni.")
            .arg(percorso)
            .arg(lettura.riepilogo.righeLette));
  const int totale = static_cast<int>(lettura.prodotti.size());
  ScriviInTransazione(db, "EseguiImportTXT", [&] {
    ArchivioProdotti archivio(db);
    archivio.svuota();
    int fatti = 0;
    for (const ProdottoDaTesto& p : lettura.prodotti) {
      archivio.aggiungi({
          {"Descrizione", p.descrizione},
          {"Quantità", NumeroFornitore(p.quantita).value_or(0)},
          {"Costo", Money::parse(p.prezzo).value_or(Money()).toDouble()},
          {"BarCode", p.barcode},
          {"Genere", p.reparto.isEmpty() ? QStringLiteral("1") : archivio.nomeReparto(p.reparto)},
          {"UnitaMisura", QStringLiteral("Pz")},
          {"Fornitore", QStringLiteral("***")},
          {"Minimo", 0},
      });
      if (schermo.avanzamento && (++fatti % kPassoAvanzamento == 0 || fatti == totale))
        schermo.avanzamento(fatti, totale);
    }
  });
  lettura.riepilogo.aggiunti = totale;
  return lettura.riepilogo;
}

}  // namespace listinova
