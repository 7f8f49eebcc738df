// The product list without its window: search statements, grid rows, colours and totals.
#include "catalogue/elenco_magazzino.h"

#include <gtest/gtest.h>

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {

inline void PrintTo(Money valore, std::ostream* out) { *out << valore.toPlain(4).toStdString(); }

namespace testing {
namespace {

TEST(IstruzioneRicerca, StatementForEachCombinationOfBoxes) {
  const QString da = "Select * From Magazzino where ";
  const QString ordine = " order by descrizione";
  const std::pair<CriteriRicerca, QString> casi[] = {
      {{0, "CAFFE' D'ORO", "", ""}, da + "Descrizione like 'CAFFE'' D''ORO*'" + ordine},
      {{1, "12'3", "", ""}, da + "BarCode ='12''3'" + ordine},
      {{2, "A'B", "", ""}, da + "CodProdottoFornitore ='A''B'" + ordine},
      {{0, "", "Bar d'Angelo", "L'Artigiano"},
       da + " Genere='Bar d''Angelo' and Fornitore='L''Artigiano'" + ordine},
      {{0, "pa", "Pane", "ROSSI"},
       da + "Descrizione like 'pa*' and Genere='Pane' and Fornitore='ROSSI'" + ordine},
      {{2, "X1", "", "ROSSI"}, da + "CodProdottoFornitore ='X1' and Fornitore='ROSSI'" + ordine},
      {{1, "", "", ""}, "Select * from Magazzino order by descrizione"},
      // Price zero and stock out ignore the other boxes.
      {{3, "latte", "Pane", "ROSSI"}, da + "Costo=0"},
      {{4, "latte", "Pane", "ROSSI"}, da + QStringLiteral("Quantità<=0")},
  };
  for (const auto& [criteri, attesa] : casi) EXPECT_EQ(IstruzioneRicerca(criteri), attesa);
}

TEST(LeggiElencoMagazzino, CellsColoursAndExactValueSkippingDeleted) {
  NegozioDiProva negozio;
  // Purchase 1,00 + 22 % VAT = 1,22: a price of 1,30 is a markup under 35 %.
  const auto prodotto = [&](const char* cod, const char* descrizione, double qta, const char* costo,
                            bool modificato = false, bool eliminato = false) {
    negozio.prodotto({.cod = cod,
                      .descrizione = descrizione,
                      .genere = "3",
                      .quantita = qta,
                      .costo = costo,
                      .fornitore = "ROSSI",
                      .modificato = modificato,
                      .eliminato = eliminato});
  };
  prodotto("42", "a normale", 2.5, "1234,5");
  prodotto("2", "b esaurito", 0, "10");
  prodotto("3", "c esaurito modificato", -1, "10", true);
  prodotto("4", "d modificato ricarico basso", 1, "1,30", true);
  prodotto("5", "e esaurito ricarico basso", 0, "1");
  prodotto("6", "f eliminato", 100, "99,99", false, true);
  negozio.sqlite(
      "UPDATE Magazzino SET CodPV='22', UnitaMisura='Pz', Minimo=4, Taglia='M', Colore='Blu', "
      "TipoMateriale='1 kg', CodProdottoFornitore='F-9', Costo2=1");
  negozio.sqlite(
      "UPDATE Magazzino SET BarCode='8001', CodPV='10', Costo2=2 WHERE CodMateriale='42'");
  negozio.sqlite(
      "UPDATE Magazzino SET Genere=NULL, Fornitore=NULL, Descrizione=NULL "
      "WHERE CodMateriale='2'");
  negozio.sqlite("UPDATE Magazzino SET Costo2=0 WHERE CodMateriale='5'");
  negozio.sqlite("UPDATE Magazzino SET Genere='Ortofrutta', Fornitore='' WHERE CodMateriale='3'");

  const ElencoMagazzino elenco =
      LeggiElencoMagazzino(*negozio.db, "Select * from magazzino order by descrizione", false);
  ASSERT_EQ(elenco.righe.size(), 5u);  // the deleted product is not listed
  const std::array<QString, kColonneMagazzino> attese = {
      "42",  "a normale", "Reparto3", "2,5", "4",    "Pz",  "1.234,50", "ROSSI", "M",
      "Blu", "1 kg",      "8001",     "",    "2,00", "F-9", "10",       "2,20",  "56013,64"};
  EXPECT_EQ(elenco.righe[1].celle, attese);
  const auto& senzaNulla = elenco.righe[0].celle;  // the null description sorts first
  EXPECT_EQ(senzaNulla[1], "");
  EXPECT_EQ(senzaNulla[2], "");
  EXPECT_EQ(senzaNulla[7], "***");
  EXPECT_EQ(elenco.righe[4].celle[16], "0,00");  // no purchase cost: no markup
  EXPECT_EQ(elenco.righe[4].celle[17], "0,00");
  EXPECT_EQ(elenco.righe[2].celle[2], "Ortofrutta");
  EXPECT_EQ(elenco.righe[2].celle[7], "");
  EXPECT_EQ(elenco.righe[3].celle[16], "1,22");
  EXPECT_EQ(elenco.righe[3].celle[17], "6,56");

  // Later rules repaint: out of stock, modified, low markup.
  const QColor colori[] = {kColoreEsaurito,      QColor(),
                           kColoreModificato,    kColoreRicaricoBasso,
                           kColoreRicaricoBasso, kColoreRicaricoBasso};
  for (size_t i = 0; i < elenco.righe.size(); ++i)
    EXPECT_EQ(elenco.righe[i].colore, colori[i]) << i;
  // 2,5 x 1234,50 - 1 x 10 + 1 x 1,30; the deleted product is left out.
  EXPECT_EQ(elenco.valore, *Money::parse("3077,55"));
  EXPECT_EQ(TestoValoreMagazzino(*Money::parse("1234567,5")), "1.234.567,500000");
}

TEST(LeggiElencoMagazzino, AtMostOneThousandListedEveryMatchCountedAndOnlyListedMarksCleared) {
  NegozioDiProva negozio;
  negozio.prodotti(1500);
  negozio.sqlite("UPDATE Magazzino SET TipoVariazione='F'");
  const ElencoMagazzino elenco =
      LeggiElencoMagazzino(*negozio.db, "Select * from magazzino order by descrizione", false);
  EXPECT_EQ(elenco.vociTrovate, 1500);
  EXPECT_EQ(elenco.righe.size(), 1000u);
  EXPECT_EQ(TestoValoreMagazzino(elenco.valore), "5.000,000000");  // 1000 x 1,00 x 5

  negozio.sqlite("UPDATE Magazzino SET Eliminato=-1 WHERE CodMateriale='12'");
  LeggiElencoMagazzino(
      *negozio.db,
      "Select * From Magazzino where Descrizione like 'prodotto 1*' order by descrizione", true);
  EXPECT_EQ(negozio.valore("Select TipoVariazione from Magazzino where CodMateriale='11'"), "N");
  EXPECT_EQ(negozio.valore("Select TipoVariazione from Magazzino where CodMateriale='12'"), "F");
  EXPECT_EQ(negozio.valore("Select TipoVariazione from Magazzino where CodMateriale='2'"), "F");
}

}  // namespace
}  // namespace testing
}  // namespace listinova
