#include "import/posizioni_import.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace listinova {
namespace {

PosizioniImport con(PosizioniImport p, int PosizioniImport::*campo, int valore) {
  p.*campo = valore;
  return p;
}

// The checks of the import window, text and sheet, complain in the operator's order.
TEST(PosizioniImport, ChecksComplainInTheOperatorsOrder) {
  const PosizioniImport testo = PredefinitePerTesto({});
  const PosizioniImport xls = PredefinitePerFoglio();
  enum Tipo { Testo, SenzaSeparatore, Foglio };
  const struct {
    const char* nome;
    Tipo tipo;
    PosizioniImport posizioni;
    const char* atteso;  // "" when the import may go on
  } casi[] = {
      {"testo senza separatore", SenzaSeparatore, {}, "Separatore NON selezionato"},
      {"niente impostato", Testo, {}, "Posizione del barcode non impostata"},
      {"manca la quantità", Testo, con(testo, &PosizioniImport::quantita, 0),
       "Posizione della quantità non impostata"},
      {"manca il reparto", Testo, con(testo, &PosizioniImport::reparto, 0),
       "Posizione del reparto non impostata"},
      {"manca il prezzo", Testo, con(testo, &PosizioniImport::prezzoVendita, 0),
       "Posizione del prezzo di vendita non impostata"},
      {"manca la descrizione", Testo, con(testo, &PosizioniImport::descrizione, 0),
       "Posizione della descrizione non impostata"},
      {"testo, due colonne uguali", Testo, con(testo, &PosizioniImport::reparto, 4),
       "Valori di colonna replicati - Controllare"},
      {"le colonne del foglio non contano nel testo", Testo,
       con(con(testo, &PosizioniImport::iva, 4), &PosizioniImport::fornitore, 4), ""},
      {"testo predefinito", Testo, testo, ""},
      {"foglio predefinito", Foglio, xls, ""},
      {"foglio con quantità", Foglio, con(xls, &PosizioniImport::quantita, 3), ""},
      {"foglio senza barcode", Foglio, con(xls, &PosizioniImport::barcode, 0),
       "Posizione del barcode non impostata"},
      {"foglio senza acquisto", Foglio, con(xls, &PosizioniImport::prezzoAcquisto, 0),
       "Posizione del Prezzo di Acquisto non impostata"},
      {"foglio senza IVA", Foglio, con(xls, &PosizioniImport::iva, 0),
       "Posizione del valore IVA non impostata"},
      {"foglio senza codice fornitore", Foglio, con(xls, &PosizioniImport::codiceFornitore, 0),
       "Posizione del codice Prodotto per il Fornitore non impostata"},
      {"foglio senza fornitore", Foglio, con(xls, &PosizioniImport::fornitore, 0),
       "Posizione del Fornitore non impostata"},
      {"foglio, quantità sul fornitore", Foglio, con(xls, &PosizioniImport::quantita, 17),
       "Valori di colonna replicati - Controllare"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto esito = c.tipo == Foglio ? ControllaPosizioniFoglio(c.posizioni)
                                        : ControllaPosizioniTesto(c.tipo == Testo, c.posizioni);
    EXPECT_EQ(esito.value_or(""), QString::fromUtf8(c.atteso));
  }
}

}  // namespace
}  // namespace listinova
