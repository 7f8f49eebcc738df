// The product list without its window (search statements, grid rows, colours and totals) and the
// archive look-ups behind it.
#include "catalogue/elenco_magazzino.h"

#include <gtest/gtest.h>

#include "catalogue/ricerche_archivio.h"

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {

inline void PrintTo(Money valore, std::ostream* out) { *out << valore.toPlain(4).toStdString(); }

namespace {

using testing::NegozioDiProva;

// What the operator typed is quoted in every box; price zero and stock out ignore the others.
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
      {{3, "latte", "Pane", "ROSSI"}, da + "Costo=0"},
      {{4, "latte", "Pane", "ROSSI"}, da + QStringLiteral("Quantità<=0")},
  };
  for (const auto& [criteri, attesa] : casi) {
    SCOPED_TRACE(attesa.toStdString());
    EXPECT_EQ(IstruzioneRicerca(criteri), attesa);
  }
}

TEST(RigheMagazzino, ColumnsColoursAndExactValue) {
  NegozioDiProva negozio;
  negozio.reparto(3, "Reparto3").reparto(4, "Ortofrutta");
  const auto p = [&](const char* cod, const char* descrizione, double quantita, const char* costo,
                     bool modificato = false, bool eliminato = false) {
    negozio.prodotto({.cod = cod,
                      .descrizione = descrizione,
                      .barCode = QString("800") + cod,
                      .genere = "",
                      .quantita = quantita,
                      .costo = costo,
                      .unitaMisura = "Pz",
                      .modificato = modificato,
                      .eliminato = eliminato});
  };
  // Markup of 10,00 over 1,22 is far above 35: no colour; later rules repaint earlier ones.
  p("1", "a normale", 3, "10");
  p("2", "b esaurito", 0, "10");
  p("3", "c esaurito modificato", -1, "10", true);
  p("4", "d modificato ricarico basso", 2.5, "1,35", true);
  p("5", "e esaurito ricarico basso", 0, "1");
  p("6", "f eliminato", 100, "99,99", false, true);
  p("42", "Farina 00", 2.5, "1234,5");
  negozio.sqlite("UPDATE Magazzino SET CodPV='22', Costo2=1, Fornitore='ROSSI'");
  negozio.sqlite(
      "UPDATE Magazzino SET Genere='3', Minimo=4, Taglia='M', Colore='Blu', "
      "TipoMateriale='1 kg', CodProdottoFornitore='F-9', Costo2=2, CodPV='10' "
      "WHERE CodMateriale='42'");
  negozio.sqlite("UPDATE Magazzino SET Descrizione=NULL, Fornitore=NULL WHERE CodMateriale='1'");
  negozio.sqlite("UPDATE Magazzino SET Costo2=0 WHERE CodMateriale='5'");

  const ElencoMagazzino elenco =
      LeggiElencoMagazzino(*negozio.db, "Select * from magazzino order by descrizione", false);
  ASSERT_EQ(elenco.righe.size(), 6u);  // not the deleted one
  const auto& farina = elenco.righe[5].celle;
  EXPECT_EQ(QStringList(farina.begin(), farina.end()).join('|'),
            "42|Farina 00|Reparto3|2,5|4|Pz|1.234,50|ROSSI|M|Blu|1 kg|80042||2,00|F-9|10|2,20|"
            "56013,64");
  // Nulls are blank, an unknown supplier is "***", no purchase cost gives no markup.
  const auto& primo = elenco.righe[0].celle;
  EXPECT_EQ(primo[1], "");
  EXPECT_EQ(primo[7], "***");
  EXPECT_EQ(elenco.righe[4].celle[16], "0,00");
  EXPECT_EQ(elenco.righe[4].celle[17], "0,00");
  EXPECT_EQ(elenco.righe[1].celle[16], "1,22");
  EXPECT_EQ(elenco.righe[1].celle[17], "719,67");

  const QColor colori[] = {QColor(), kColoreEsaurito, kColoreModificato, kColoreRicaricoBasso,
                           kColoreRicaricoBasso};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(elenco.righe[i].colore, colori[i]) << i;

  // 30 + 0 - 10 + 3,375 + 0 + 3086,25, exact until shown.
  EXPECT_EQ(elenco.valore, *Money::parse("3109,625"));
  EXPECT_EQ(TestoValoreMagazzino(elenco.valore), "3.109,63");
  EXPECT_EQ(TestoValoreMagazzino(*Money::parse("1234567,5")), "1.234.567,50");
}

TEST(RigheMagazzino, AtMostOneThousandListedButEveryMatchCounted) {
  NegozioDiProva negozio;
  negozio.prodotti(1500);
  const ElencoMagazzino elenco =
      LeggiElencoMagazzino(*negozio.db, "Select * from magazzino order by descrizione", false);
  EXPECT_EQ(elenco.vociTrovate, 1500);
  EXPECT_EQ(elenco.righe.size(), 1000u);
  EXPECT_EQ(TestoValoreMagazzino(elenco.valore), "5.000,00");  // 1000 x 1,00 x 5
}

TEST(RigheMagazzino, ClearingLabelMarksTouchesOnlyListedProducts) {
  NegozioDiProva negozio;
  negozio.prodotto("1", "Latte", "1").prodotto("2", "Pane", "1");
  negozio.prodotto({.cod = "3", .descrizione = "Latte scremato", .eliminato = true});
  negozio.sqlite("UPDATE Magazzino SET TipoVariazione='F'");
  LeggiElencoMagazzino(*negozio.db,
                       "Select * From Magazzino where Descrizione like 'latte*' order by "
                       "descrizione",
                       true);
  EXPECT_EQ(negozio.righe("Select TipoVariazione from Magazzino order by CodMateriale"),
            QStringList({"N", "F", "F"}));
}

TEST(RicercheArchivio, CodesDepartmentsAndSupplierCodes) {
  NegozioDiProva negozio;
  auto& db = *negozio.db;
  EXPECT_EQ(NuovoCodiceMateriale(db), "1");
  negozio.prodotto("9", "A", "1").prodotto("10", "B", "1");
  negozio.prodotto({.cod = " 100 "}).prodotto({.cod = "5", .codFornitore = "F-22"});
  EXPECT_EQ(NuovoCodiceMateriale(db), "101");  // counted as numbers
  EXPECT_EQ(CodiceFornitoreProdotto(db, "5"), "F-22");
  EXPECT_EQ(CodiceFornitoreProdotto(db, "9"), "");
  EXPECT_EQ(CodiceFornitoreProdotto(db, "7"), "");

  negozio.reparto(7, "Bar d'Angelo", 10).reparto(3, "Reparto3", 22).reparto(5, "Reparto5", 22);
  EXPECT_EQ(TrovaCodiceRep(db, "BAR D'ANGELO"), "7");
  EXPECT_EQ(TrovaCodiceRep(db, "Nessuno"), "1");
  EXPECT_EQ(TrovaNomeRep(db, "7"), "Bar d'Angelo");
  EXPECT_EQ(TrovaNomeRep(db, "99"), "99");
  EXPECT_EQ(TrovaCodiceRepXIVA(db, "22"), 3);
  EXPECT_EQ(TrovaCodiceRepXIVA(db, "4"), 40);
  // Without a linked external database the look-up logs and gives its default.
  EXPECT_EQ(TrovaDescrizioneRep(db, "3"), "Reparto41");
}

}  // namespace
}  // namespace listinova
