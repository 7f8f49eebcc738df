// Every statement form the program sends to the store, exactly as the program writes it,
// run against the store schema.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;

class IstruzioniArchivio : public ::testing::Test {
 protected:
  void SetUp() override {
    db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
    prodotto("5", "CAFFE' ARABICA", "8001", "Bar", "1,50", "0,90", 10, "ROSSI", false, true);
    prodotto("9", "Latte intero", "1234", "Frigo", "1,20", "0,70", 0, "BIANCHI", false, false);
    prodotto("10", "Zucchero", "4321", "3", "0,00", "0,40", -2, "ROSSI", true, true);
    db->execute("UPDATE Reparti SET Descrizione='Bar', Iva=22 WHERE Cod=1");
    db->execute("UPDATE Reparti SET Descrizione='Frigo', Iva=10 WHERE Cod=2");
    db->execute("UPDATE Reparti SET Descrizione='Bar d''Angelo' WHERE Cod=7");
    db->execute(
        "INSERT INTO Offerte (Articolo, DataDAL, DataAL, PrzScnt) VALUES "
        "('5', '2026-12-07', '2026-12-14', 1.2), ('9', '2026-11-01', '2026-12-07', 1)");
    db->execute("INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES ('5', '99887766')");
    db->execute(
        "INSERT INTO StoricoPLU (EAN, Qta, DataModif) VALUES ('8001', 2, '2026-12-06'), "
        "('1234', 1, '2026-12-07'), ('8001', 5, '2026-11-30')");
  }

  void prodotto(const char* cod, const char* descrizione, const char* barcode, const char* genere,
                const char* costo, const char* costo2, double qta, const char* fornitore,
                bool eliminato, bool modificato) {
    auto rs = db->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", cod);
    rs.setText("Descrizione", QString::fromUtf8(descrizione));
    rs.setText("BarCode", barcode);
    rs.setText("Genere", genere);
    rs.setValue("Costo", costo);
    rs.setValue("Costo2", costo2);
    rs.setValue(QString::fromUtf8("Quantità"), qta);
    rs.setText("Fornitore", fornitore);
    rs.setFlag("Eliminato", eliminato);
    rs.setFlag("Modificato", modificato);
    rs.update();
  }

  int conta(const QString& jet) { return db->openRecordset(jet).recordCount(); }
  QString primo(const QString& jet, const QString& campo) {
    auto rs = db->openRecordset(jet);
    return rs.eof() ? QString("<nessuno>") : rs.text(campo);
  }

  QTemporaryDir dir;
  std::unique_ptr<Database> db;
};

// The read statements, each with the rows it finds and, where it matters, the first row's value.
TEST_F(IstruzioniArchivio, ReadStatementsFindWhatTheProgramExpects) {
  struct Caso {
    QString jet;
    int righe;
    QString campo = {};
    QString primo = {};
  };
  const QString etichette =
      "Select Descrizione, Costo, TipoMateriale, CodProdottoFornitore, BarCode from Magazzino ";
  const Caso casi[] = {
      {"Select * from Reparti order by Cod ASC", 40, "Descrizione", "Bar"},
      {"Select Cod from Reparti where Descrizione=\"Bar d'Angelo\"", 1, "Cod", "7"},
      {"Select IVA from Reparti where Descrizione='FRIGO'", 1, "Iva", "10"},
      {"Select Cod from reparti where Descrizione='bar'", 1, "Cod", "1"},
      {"Select * from Taglie order By Pos", 0},
      {"select distinct fornitore from magazzino where fornitore<>''", 2},
      {"SELECT Fornitore From Magazzino GROUP BY Fornitore order by Fornitore ASC", 2, "Fornitore",
       "BIANCHI"},
      // Codes compared bare and quoted; the highest numeric code; text order of codes.
      {"select Max(CLng([CodMateriale])) AS CodMat from Magazzino", 1, "CodMat", "10"},
      {"Select * from magazzino where codMateriale=9", 1, "Descrizione", "Latte intero"},
      {"Select Quantità from Magazzino where CodMateriale='9'", 1, "Quantità", "0"},
      {"Select * from Magazzino order by CodMateriale ASC", 3, "CodMateriale", "10"},
      // Product list searches: like with '*', doubled quotes, case-insensitive text, booleans.
      {"Select * From Magazzino where Costo=0", 1},
      {"Select * From Magazzino where Quantità<=0", 2},
      {"Select * From Magazzino where Descrizione like 'caffe''*'", 1},
      {"Select * From Magazzino where Descrizione like 'CAFFE'' ARABICA*' and Genere='Bar' and "
       "Fornitore='ROSSI'",
       1},
      {"Select * From Magazzino where  Fornitore='rossi'", 2},
      {"Select * From Magazzino where CodProdottoFornitore ='L''ORO'", 0},
      {"Select * from magazzino order by descrizione", 3, "Descrizione", "CAFFE' ARABICA"},
      {"Select * from Magazzino where BarCode='4321' And Eliminato =False", 0},
      {"Select * from Magazzino where BarCode='1234' And Eliminato =False", 1},
      {"Select * from Magazzino where Modificato=-1 order by BarCode ASC", 2, "BarCode", "4321"},
      // Promotions by date, in the Italian day order.
      {"Select * from Offerte where DataDal=Datevalue('07/12/2026') ", 1},
      {"Select * from Offerte where DataAl=Datevalue('07/12/2026') ", 1},
      {"Select * from Offerte where DataDal>=DateValue('01/12/2026') Order by DataDal", 1,
       "Articolo", "5"},
      {"SELECT Magazzino.Descrizione, StoricoPLU.EAN, StoricoPLU.Qta, StoricoPLU.DataModif FROM "
       "Magazzino INNER JOIN StoricoPLU ON Magazzino.BarCode = StoricoPLU.EAN where "
       "DataModif>=Datevalue('01/12/2026') And DataModif<=Datevalue('07/12/2026') ",
       2},
      // Barcode adaptation candidates and label selections.
      {"SELECT * From Magazzino WHERE ((Len([Magazzino]![BarCode])=4) AND ((Magazzino.Note) Is "
       "Null Or (Magazzino.Note)=''))",
       3},
      {etichette + "where TipoVariazione ='F' or Modificato =-1 order by Descrizione", 2},
      {"Select * from rptMagazzino", 0},
      {"Select CodProd from BarCodeUlteriori where BarCode='99887766'", 1, "CodProd", "5"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.jet.toStdString());
    auto rs = db->openRecordset(caso.jet);
    EXPECT_EQ(rs.recordCount(), caso.righe);
    if (!caso.campo.isEmpty()) {
      EXPECT_EQ(rs.eof() ? "<nessuno>" : rs.text(caso.campo), caso.primo);
    }
  }
}

TEST_F(IstruzioniArchivio, WriteStatementsChangeTheRowsTheProgramMeans) {
  EXPECT_EQ(db->execute("Delete * from BarCodeUlteriori where CodProd=5"), 1);
  EXPECT_EQ(db->execute("Delete * from Offerte where DataDal=DateValue('07/12/2026') and "
                        "DataAl=DateValue('14/12/2026') and Articolo=5"),
            1);
  EXPECT_EQ(db->execute("UPDATE Magazzino SET Magazzino.Quantità =25"), 3);
  EXPECT_EQ(conta("Select * from magazzino where Quantità=25"), 3);
  EXPECT_EQ(db->execute("UPDATE Magazzino SET Magazzino.Modificato = 0"), 3);

  // A recordset of one column is edited in place.
  auto marca = db->openRecordset("Select TipoVariazione from Magazzino where CodMateriale=5");
  marca.edit();
  marca.setText("TipoVariazione", "F");
  marca.update();
  EXPECT_EQ(primo("Select TipoVariazione from Magazzino where CodMateriale=5", "TipoVariazione"),
            "F");

  auto offerta = db->openRecordset("Select * from Offerte");
  offerta.addNew();
  offerta.setText("Articolo", "10");
  offerta.setValue("DataDAL", "20/12/2026");
  offerta.setValue("DataAL", QDate(2026, 12, 24));
  offerta.setMoney("PrzScnt", Money::fromCents(99));
  offerta.update();
  EXPECT_EQ(primo("Select * from Offerte where DataDal=DateValue('20/12/2026')", "PrzScnt"),
            "0.99");

  auto b = db->openRecordset("Select * from B_CEDI");
  for (auto [art, ean] : {std::pair{"A1", "111"}, {"A1", "222"}, {"A2", "333"}}) {
    b.addNew();
    b.setText("ArtCEDI", art);
    b.setText("CodEan", ean);
    b.update();
  }
  EXPECT_EQ(conta("SELECT DISTINCTROW ArtCEDI, CodEAN From B_CEDI WHERE (((B_CEDI.ArtCEDI) In "
                  "(SELECT [ArtCEDI] FROM [B_CEDI] As Tmp GROUP BY [ArtCEDI] HAVING Count(*)>1 "
                  "))) ORDER BY B_CEDI.ArtCEDI"),
            2);

  db->execute("UPDATE FormatoEtichetta SET NumCol = 4, FontSizeF = 8.5, FontSizeCF = 9");
  auto layout = db->openRecordset("Select * from FormatoEtichetta");
  EXPECT_EQ(layout.integer("NumCol"), 4);
  EXPECT_EQ(layout.number("FontSizeF"), 8.5);
  EXPECT_EQ(layout.text("FontsizecF"), "9");

  EXPECT_EQ(db->execute("Delete * from Magazzino where CodMateriale=5"), 1);
  db->execute("Delete * from Magazzino");
  EXPECT_EQ(primo("select Max(CLng([CodMateriale])) AS CodMat from Magazzino", "CodMat"), "");
}

}  // namespace
}  // namespace listinova
