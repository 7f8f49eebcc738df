// The product list without its window: search statements, grid rows, colours and totals.
#include "catalogue/elenco_magazzino.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "startup/modulo_file_ini.h"
#include "support/qt_print.h"

namespace listinova {

inline void PrintTo(Money valore, std::ostream* out) { *out << valore.toPlain(4).toStdString(); }

namespace {

using platform::db::Database;

TEST(IstruzioneRicerca, StatementForEachCombinationOfBoxes) {
  const QString ordine = " order by descrizione";
  const std::pair<CriteriRicerca, QString> casi[] = {
      {{0, "latte", "", ""}, "Select * From Magazzino where Descrizione like 'latte*'" + ordine},
      {{1, "8001234567890", "", ""},
       "Select * From Magazzino where BarCode ='8001234567890'" + ordine},
      {{2, "F-12", "", ""}, "Select * From Magazzino where CodProdottoFornitore ='F-12'" + ordine},
      {{0, "CAFFE' D'ORO", "", ""},
       "Select * From Magazzino where Descrizione like 'CAFFE'' D''ORO*'" + ordine},
      {{1, "12'3", "", ""}, "Select * From Magazzino where BarCode ='12''3'" + ordine},
      {{2, "A'B", "", ""}, "Select * From Magazzino where CodProdottoFornitore ='A''B'" + ordine},
      {{0, "", "Bar d'Angelo", "L'Artigiano"},
       "Select * From Magazzino where  Genere='Bar d''Angelo' and Fornitore='L''Artigiano'" +
           ordine},
      {{0, "pa", "Pane", "ROSSI"},
       "Select * From Magazzino where Descrizione like 'pa*' and Genere='Pane' and "
       "Fornitore='ROSSI'" +
           ordine},
      {{1, "", "3", ""}, "Select * From Magazzino where  Genere='3'" + ordine},
      {{2, "", "", "ROSSI"}, "Select * From Magazzino where  Fornitore='ROSSI'" + ordine},
      {{2, "X1", "", "ROSSI"},
       "Select * From Magazzino where CodProdottoFornitore ='X1' and Fornitore='ROSSI'" + ordine},
      {{0, "", "", ""}, "Select * from Magazzino order by descrizione"},
      {{1, "", "", ""}, "Select * from Magazzino order by descrizione"},
      {{2, "", "", ""}, "Select * from Magazzino order by descrizione"},
      // Price zero and stock out ignore the other boxes.
      {{3, "latte", "Pane", "ROSSI"}, "Select * From Magazzino where Costo=0"},
      {{4, "latte", "Pane", "ROSSI"}, QStringLiteral("Select * From Magazzino where Quantità<=0")},
  };
  for (const auto& [criteri, attesa] : casi) {
    SCOPED_TRACE(attesa.toStdString());
    EXPECT_EQ(IstruzioneRicerca(criteri), attesa);
  }
}

class ArchivioDiProva : public ::testing::Test {
 protected:
  struct Prodotto {
    QString cod{};
    QString descrizione = "Prodotto";
    QVariant genere{};
    double quantita = 5;
    QString costo = "10,00";
    QString costo2 = "1,00";
    QString codPV = "22";
    QVariant fornitore = "ROSSI";
    bool eliminato = false;
    bool modificato = false;
    QString barCode{};
  };

  void SetUp() override { db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb")); }

  void aggiungi(const Prodotto& p) {
    auto rs = db->openRecordset("Select * from Magazzino where 0");
    rs.addNew();
    rs.setText("CodMateriale", p.cod);
    rs.setText("Descrizione", p.descrizione);
    rs.setValue("Genere", p.genere);
    rs.setValue(QStringLiteral("Quantità"), p.quantita);
    rs.setMoney("Costo", *Money::parse(p.costo));
    rs.setMoney("Costo2", *Money::parse(p.costo2));
    rs.setText("CodPV", p.codPV);
    rs.setValue("Fornitore", p.fornitore);
    rs.setFlag("Eliminato", p.eliminato);
    rs.setFlag("Modificato", p.modificato);
    rs.setText("BarCode", p.barCode);
    rs.setText("UnitaMisura", "Pz");
    rs.update();
  }

  ElencoMagazzino leggi(const QString& sql, bool togliMarche = false) {
    return LeggiElencoMagazzino(*db, sql, togliMarche);
  }
  RigaMagazzino unica(const ElencoMagazzino& elenco) {
    EXPECT_EQ(elenco.righe.size(), 1u);
    return elenco.righe.at(0);
  }

  QTemporaryDir dir;
  std::unique_ptr<Database> db;
};

using RepartoPerRicercaTest = ArchivioDiProva;

TEST_F(RepartoPerRicercaTest, NameUnlessDepartmentsAreSavedAsCodes) {
  const QString setup = dir.filePath("Setup.ini");
  db->execute("UPDATE Reparti SET Descrizione='Panetteria' WHERE Cod=7");
  EXPECT_EQ(RepartoPerRicerca(*db, setup, "Panetteria"), "Panetteria");
  EXPECT_EQ(LeggiINI(setup, "Config", "SalvaRepartoComeCODICE", "?"), "Falso");

  ScriviINI(setup, "Config", "SalvaRepartoComeCODICE", "VERO");
  EXPECT_EQ(RepartoPerRicerca(*db, setup, "Panetteria"), "7");
  EXPECT_EQ(RepartoPerRicerca(*db, setup, ""), "");
  EXPECT_EQ(IstruzioneRicerca({0, "", RepartoPerRicerca(*db, setup, "Panetteria"), ""}),
            "Select * From Magazzino where  Genere='7' order by descrizione");
}

using RigheMagazzino = ArchivioDiProva;

TEST_F(RigheMagazzino, AtMostOneThousandListedButEveryMatchCounted) {
  Database::Transaction t(*db);
  for (int i = 1; i <= 1500; ++i) aggiungi({.cod = QString::number(i)});
  t.commit();
  const ElencoMagazzino elenco = leggi("Select * from magazzino order by descrizione");
  EXPECT_EQ(elenco.vociTrovate, 1500);
  EXPECT_EQ(elenco.righe.size(), 1000u);
  EXPECT_EQ(TestoValoreMagazzino(elenco.valore), "50.000,00");  // 1000 x 10,00 x 5
}

TEST_F(RigheMagazzino, ColumnsInOrderWithItalianNumbers) {
  aggiungi({.cod = "42",
            .descrizione = "Farina 00",
            .genere = "3",
            .quantita = 2.5,
            .costo = "1234,5",
            .costo2 = "2,00",
            .codPV = "10",
            .barCode = "8001"});
  db->execute(
      "UPDATE Magazzino SET Minimo=4, Taglia='M', Colore='Blu', TipoMateriale='1 kg', "
      "CodProdottoFornitore='F-9'");
  const auto c = unica(leggi("Select * from Magazzino")).celle;
  const std::array<QString, kColonneMagazzino> attese = {
      "42",  "Farina 00", "Reparto3", "2,5", "4",    "Pz",  "1.234,50", "ROSSI", "M",
      "Blu", "1 kg",      "8001",     "",    "2,00", "F-9", "10",       "2,20",  "56013,64"};
  EXPECT_EQ(c, attese);
}

TEST_F(RigheMagazzino, NullsAndDepartmentNames) {
  aggiungi({.cod = "1", .genere = QVariant(), .fornitore = QVariant()});
  aggiungi({.cod = "2", .genere = "Ortofrutta", .fornitore = ""});
  db->execute("UPDATE Magazzino SET Descrizione=NULL WHERE CodMateriale='1'");
  const auto elenco = leggi("Select * from Magazzino order by CodMateriale");
  ASSERT_EQ(elenco.righe.size(), 2u);
  EXPECT_EQ(elenco.righe[0].celle[1], "");
  EXPECT_EQ(elenco.righe[0].celle[2], "");
  EXPECT_EQ(elenco.righe[0].celle[7], "***");
  EXPECT_EQ(elenco.righe[1].celle[2], "Ortofrutta");
  EXPECT_EQ(elenco.righe[1].celle[7], "");
}

TEST_F(RigheMagazzino, PurchaseCostWithVatAndMarkup) {
  aggiungi({.cod = "1", .costo = "1,50", .costo2 = "1,00", .codPV = "22"});
  aggiungi({.cod = "2", .costo = "3,00", .costo2 = "0", .codPV = "22"});
  const auto elenco = leggi("Select * from Magazzino order by CodMateriale");
  ASSERT_EQ(elenco.righe.size(), 2u);
  EXPECT_EQ(elenco.righe[0].celle[13], "1,00");
  EXPECT_EQ(elenco.righe[0].celle[16], "1,22");
  EXPECT_EQ(elenco.righe[0].celle[17], "22,95");
  EXPECT_EQ(elenco.righe[0].colore, kColoreRicaricoBasso);
  // No purchase cost gives zero markup.
  EXPECT_EQ(elenco.righe[1].celle[16], "0,00");
  EXPECT_EQ(elenco.righe[1].celle[17], "0,00");
}

TEST_F(RigheMagazzino, ColoursLaterRulesRepaint) {
  // markup of 10,00 over 1,22 is far above 35
  aggiungi({.cod = "1", .descrizione = "a normale"});
  aggiungi({.cod = "2", .descrizione = "b esaurito", .quantita = 0});
  aggiungi(
      {.cod = "3", .descrizione = "c esaurito modificato", .quantita = -1, .modificato = true});
  aggiungi({.cod = "4",
            .descrizione = "d modificato ricarico basso",
            .costo = "1,30",
            .modificato = true});
  aggiungi({.cod = "5", .descrizione = "e esaurito ricarico basso", .quantita = 0, .costo = "1"});
  const auto elenco = leggi("Select * from magazzino order by descrizione");
  ASSERT_EQ(elenco.righe.size(), 5u);
  EXPECT_FALSE(elenco.righe[0].colore.isValid());
  EXPECT_EQ(elenco.righe[1].colore, QColor(255, 0, 0));
  EXPECT_EQ(elenco.righe[2].colore, kColoreModificato);
  EXPECT_EQ(elenco.righe[3].colore, QColor(0, 0, 255));
  EXPECT_EQ(elenco.righe[4].colore, QColor(0, 0, 255));
}

TEST_F(RigheMagazzino, StockValueIsExactAndSkipsDeleted) {
  aggiungi({.cod = "1", .quantita = 3, .costo = "0,10"});
  aggiungi({.cod = "2", .quantita = 2.5, .costo = "2,25"});
  aggiungi({.cod = "3", .quantita = 7, .costo = "0,70"});
  aggiungi({.cod = "4", .quantita = 100, .costo = "99,99", .eliminato = true});
  const auto elenco = leggi("Select * from Magazzino");
  EXPECT_EQ(elenco.valore, *Money::parse("10,825"));  // 0,30 + 5,625 + 4,90
  EXPECT_EQ(TestoValoreMagazzino(elenco.valore), "10,83");
  EXPECT_EQ(TestoValoreMagazzino(*Money::parse("1234567,5")), "1.234.567,50");
}

TEST_F(RigheMagazzino, ClearingLabelMarksTouchesOnlyListedProducts) {
  aggiungi({.cod = "1", .descrizione = "Latte"});
  aggiungi({.cod = "2", .descrizione = "Pane"});
  aggiungi({.cod = "3", .descrizione = "Latte scremato", .eliminato = true});
  db->execute("UPDATE Magazzino SET TipoVariazione='F'");
  leggi("Select * From Magazzino where Descrizione like 'latte*' order by descrizione", true);
  auto rs = db->openRecordset("Select CodMateriale, TipoVariazione from Magazzino order by 1");
  QStringList marche;
  for (; !rs.eof(); rs.moveNext()) marche << rs.text("TipoVariazione");
  EXPECT_EQ(marche, QStringList({"N", "F", "F"}));
}

}  // namespace
}  // namespace listinova
