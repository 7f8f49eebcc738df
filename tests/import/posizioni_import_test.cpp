#include "import/posizioni_import.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace listinova {
namespace {

struct CasoTesto {
  const char* nome;
  bool separatore;
  PosizioniImport posizioni;
  const char* atteso;  // "" when the import may go on
};

const PosizioniImport kTestoPieno = PredefinitePerTesto({});

PosizioniImport con(PosizioniImport p, int PosizioniImport::*campo, int valore) {
  p.*campo = valore;
  return p;
}

TEST(PosizioniImport, TextChecksComplainInTheOperatorsOrder) {
  const CasoTesto casi[] = {
      {"nessun separatore", false, {}, "Separatore NON selezionato"},
      {"niente impostato", true, {}, "Posizione del barcode non impostata"},
      {"manca la quantità", true, con(kTestoPieno, &PosizioniImport::quantita, 0),
       "Posizione della quantità non impostata"},
      {"manca il reparto", true, con(kTestoPieno, &PosizioniImport::reparto, 0),
       "Posizione del reparto non impostata"},
      {"manca il prezzo", true, con(kTestoPieno, &PosizioniImport::prezzoVendita, 0),
       "Posizione del prezzo di vendita non impostata"},
      {"manca la descrizione", true, con(kTestoPieno, &PosizioniImport::descrizione, 0),
       "Posizione della descrizione non impostata"},
      {"due colonne uguali", true, con(kTestoPieno, &PosizioniImport::reparto, 4),
       "Valori di colonna replicati - Controllare"},
      {"le colonne del foglio non contano", true,
       con(con(kTestoPieno, &PosizioniImport::iva, 4), &PosizioniImport::fornitore, 4), ""},
      {"predefinite", true, kTestoPieno, ""},
  };
  for (const CasoTesto& c : casi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(ControllaPosizioniTesto(c.separatore, c.posizioni).value_or(""),
              QString::fromUtf8(c.atteso));
  }
}

TEST(PosizioniImport, SheetChecksNeedEightColumnsAndAllowNoQuantity) {
  const PosizioniImport xls = PredefinitePerFoglio();
  const std::pair<PosizioniImport, const char*> casi[] = {
      {xls, ""},
      {con(xls, &PosizioniImport::quantita, 3), ""},
      {con(xls, &PosizioniImport::barcode, 0), "Posizione del barcode non impostata"},
      {con(xls, &PosizioniImport::prezzoAcquisto, 0),
       "Posizione del Prezzo di Acquisto non impostata"},
      {con(xls, &PosizioniImport::iva, 0), "Posizione del valore IVA non impostata"},
      {con(xls, &PosizioniImport::codiceFornitore, 0),
       "Posizione del codice Prodotto per il Fornitore non impostata"},
      {con(xls, &PosizioniImport::fornitore, 0), "Posizione del Fornitore non impostata"},
      {con(xls, &PosizioniImport::quantita, 17), "Valori di colonna replicati - Controllare"},
      {con(xls, &PosizioniImport::iva, 15), "Valori di colonna replicati - Controllare"},
  };
  for (const auto& [posizioni, atteso] : casi)
    EXPECT_EQ(ControllaPosizioniFoglio(posizioni).value_or(""), QString::fromUtf8(atteso));
}

TEST(PosizioniImport, TextPresetLeavesTheSheetColumnsAlone) {
  const PosizioniImport p = PredefinitePerTesto(PredefinitePerFoglio());
  EXPECT_EQ(std::tie(p.descrizione, p.quantita, p.barcode, p.reparto, p.prezzoVendita),
            std::make_tuple(5, 12, 4, 6, 10));
  EXPECT_EQ(std::tie(p.prezzoAcquisto, p.iva, p.codiceFornitore, p.fornitore),
            std::make_tuple(14, 8, 15, 17));
}

}  // namespace
}  // namespace listinova
