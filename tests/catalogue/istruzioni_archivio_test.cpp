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
using platform::db::WorkbookTarget;

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

TEST_F(IstruzioniArchivio, DepartmentsAndLookUpLists) {
  EXPECT_EQ(conta("Select * from reparti order by Cod"), 40);
  EXPECT_EQ(primo("Select * from Reparti order by Cod ASC", "Descrizione"), "Bar");
  EXPECT_EQ(primo("Select * from Reparti order by cod", "Cod"), "1");
  EXPECT_EQ(conta("Select * from reparti"), 40);
  EXPECT_EQ(primo("select * from reparti where cod=2", "Descrizione"), "Frigo");
  EXPECT_EQ(primo("Select Descrizione from reparti where Cod=7", "Descrizione"), "Bar d'Angelo");
  EXPECT_EQ(primo("Select Cod from Reparti where Descrizione=\"Bar d'Angelo\"", "Cod"), "7");
  EXPECT_EQ(primo("Select Cod from Reparti where Iva=22", "Cod"), "1");
  EXPECT_EQ(primo("Select IVA from Reparti where Descrizione='FRIGO'", "Iva"), "10");
  EXPECT_EQ(primo("Select Cod from reparti where Descrizione='bar'", "Cod"), "1");
  EXPECT_EQ(conta("Select * from Taglie order By Pos"), 0);
  EXPECT_EQ(conta("Select * from Colori order By Pos"), 0);
  auto fornitori =
      db->openRecordset("select distinct fornitore from magazzino where fornitore<>''");
  EXPECT_EQ(fornitori.recordCount(), 2);
  auto gruppi = db->openRecordset(
      "SELECT Fornitore From Magazzino GROUP BY Fornitore order by Fornitore ASC");
  ASSERT_EQ(gruppi.recordCount(), 2);
  EXPECT_EQ(gruppi.text("Fornitore"), "BIANCHI");
}

TEST_F(IstruzioniArchivio, ProductCodesComparedQuotedAndBare) {
  EXPECT_EQ(primo("select Max(CLng([CodMateriale])) AS CodMat from Magazzino", "CodMat"), "10");
  EXPECT_EQ(primo("Select * from magazzino where codMateriale=9", "Descrizione"), "Latte intero");
  EXPECT_EQ(primo("Select Quantità from Magazzino where CodMateriale='9'", "Quantità"), "0");
  EXPECT_EQ(primo("Select Descrizione from Magazzino where CodMateriale=5", "Descrizione"),
            "CAFFE' ARABICA");
  EXPECT_EQ(primo("Select CodProdottoFornitore from Magazzino where CodMateriale=5",
                  "CodProdottoFornitore"),
            "");
  EXPECT_FALSE(db->openRecordset("Select Modificato from Magazzino where CodMateriale=9")
                   .flag("Modificato"));
  EXPECT_TRUE(db->openRecordset("Select Modificato from Magazzino where CodMateriale=5")
                  .flag("Modificato"));
  EXPECT_EQ(primo("Select * from Magazzino order by CodMateriale ASC", "CodMateriale"), "10");
}

TEST_F(IstruzioniArchivio, ProductListSearches) {
  EXPECT_EQ(conta("Select * From Magazzino where Costo=0"), 1);
  EXPECT_EQ(conta("Select * From Magazzino where Quantità<=0"), 2);
  EXPECT_EQ(conta("Select * From Magazzino where Descrizione like 'caffe''*'"), 1);
  EXPECT_EQ(conta("Select * From Magazzino where Descrizione like 'CAFFE'' ARABICA*' and "
                  "Genere='Bar' and Fornitore='ROSSI'"),
            1);
  EXPECT_EQ(conta("Select * From Magazzino where  Genere='Bar'"), 1);
  EXPECT_EQ(conta("Select * From Magazzino where  Fornitore='rossi'"), 2);
  EXPECT_EQ(conta("Select * From Magazzino where BarCode ='8001'"), 1);
  EXPECT_EQ(conta("Select * From Magazzino where CodProdottoFornitore ='L''ORO'"), 0);
  EXPECT_EQ(conta("Select * from Magazzino order by descrizione"), 3);
  EXPECT_EQ(primo("Select * from magazzino order by descrizione", "Descrizione"), "CAFFE' ARABICA");
  EXPECT_EQ(conta("Select * from Magazzino where BarCode='4321' And Eliminato =False"), 0);
  EXPECT_EQ(conta("Select * from Magazzino where BarCode='4321' And Eliminato =0"), 0);
  EXPECT_EQ(conta("Select * from Magazzino where BarCode='1234' And Eliminato =False"), 1);
  EXPECT_EQ(conta("select * from Magazzino where barcode='8001'"), 1);
  EXPECT_EQ(conta("Select * from Magazzino WHERE BarCode='8001'"), 1);
  EXPECT_EQ(conta("Select * from Magazzino WHERE CodProdottoFornitore='x'"), 0);
  EXPECT_EQ(conta("Select Descrizione,BarCode from Magazzino where BarCode='1234'"), 1);
}

TEST_F(IstruzioniArchivio, DeletesOfProductsAndTheirData) {
  EXPECT_EQ(db->execute("Delete * from BarCodeUlteriori where CodProd=5"), 1);
  EXPECT_EQ(db->execute("Delete * from Offerte where Articolo=5"), 1);
  EXPECT_EQ(db->execute("Delete * from Magazzino where CodMateriale=5"), 1);
  EXPECT_EQ(db->execute("Delete * from magazzino where CodMateriale='9'"), 1);
  EXPECT_EQ(conta("Select * from Magazzino"), 1);
  db->execute("Delete * from Magazzino");
  EXPECT_EQ(conta("Select * from Magazzino"), 0);
  EXPECT_EQ(primo("select Max(CLng([CodMateriale])) AS CodMat from Magazzino", "CodMat"), "");
}

TEST_F(IstruzioniArchivio, WholeArchiveUpdates) {
  EXPECT_EQ(db->execute("UPDATE Magazzino SET Magazzino.Modificato = 0"), 3);
  EXPECT_EQ(conta("Select * from Magazzino where Modificato=-1 order by BarCode ASC"), 0);
  db->execute("UPDATE Magazzino SET Magazzino.Modificato =-1");
  EXPECT_EQ(conta("Select * from Magazzino where Modificato=-1 order by BarCode ASC"), 3);
  db->execute("UPDATE Magazzino SET Magazzino.Quantità =25");
  EXPECT_EQ(conta("Select * from magazzino where Quantità=25"), 3);
  EXPECT_EQ(primo("Select * from Magazzino order by BarCode ASC", "BarCode"), "1234");
}

TEST_F(IstruzioniArchivio, SingleColumnRecordsetsCanBeEdited) {
  auto mark = db->openRecordset("Select TipoVariazione from Magazzino where CodMateriale=5");
  mark.edit();
  mark.setText("TipoVariazione", "F");
  mark.update();
  EXPECT_EQ(primo("Select TipoVariazione from Magazzino where CodMateriale=5", "TipoVariazione"),
            "F");
  auto stock = db->openRecordset("Select Quantità from Magazzino where BarCode='8001'");
  stock.edit();
  stock.setValue("Quantità", stock.number("Quantità") - 3);
  stock.update();
  EXPECT_EQ(primo("Select Quantità from Magazzino where BarCode='8001'", "Quantità"), "7");
  auto pair = db->openRecordset("Select BarCode,Modificato from Magazzino where CodArtCEDI='A1'");
  EXPECT_TRUE(pair.eof());
}

TEST_F(IstruzioniArchivio, PromotionsByDate) {
  EXPECT_EQ(conta("Select * from Offerte where Articolo=5"), 1);
  EXPECT_EQ(conta("Select * from Offerte"), 2);
  EXPECT_EQ(conta("Select * from Offerte where DataDal=Datevalue('07/12/2026') "), 1);
  EXPECT_EQ(conta("Select * from Offerte where DataAl=Datevalue('07/12/2026') "), 1);
  EXPECT_EQ(primo("Select * from Offerte where DataDal>=DateValue('01/12/2026') Order by DataDal",
                  "Articolo"),
            "5");
  EXPECT_EQ(db->execute("Delete * from Offerte where DataDal=DateValue('07/12/2026') and "
                        "DataAl=DateValue('14/12/2026') and Articolo=5"),
            1);
  auto offerta = db->openRecordset("Select * from Offerte");
  offerta.addNew();
  offerta.setText("Articolo", "10");
  offerta.setValue("DataDAL", "20/12/2026");
  offerta.setValue("DataAL", QDate(2026, 12, 24));
  offerta.setMoney("PrzScnt", Money::fromCents(99));
  offerta.update();
  EXPECT_EQ(primo("Select * from Offerte where DataDal=DateValue('20/12/2026')", "PrzScnt"),
            "0.99");
}

TEST_F(IstruzioniArchivio, WorkTablesOfSendsAndReports) {
  db->execute("Delete * from MagazzinoPerOstrel");
  auto lavoro = db->openRecordset("Select * from MagazzinoPerOstrel");
  lavoro.addNew();
  lavoro.setText("BarCode", "8001");
  lavoro.setMoney("Prezzo", Money::fromCents(150));
  lavoro.setValue("Ordinale", 1);
  lavoro.update();
  EXPECT_EQ(conta("Select * from MagazzinoPerOstrel order by BarCode ASC"), 1);
  db->execute("delete * from rptProdotti");
  auto rpt = db->openRecordset("Select * from rptProdotti");
  rpt.addNew();
  rpt.setText("Descrizione", "x");
  rpt.update();
  EXPECT_EQ(conta("Select * from rptProdotti"), 1);
  EXPECT_EQ(conta("Select * from rptMagazzino"), 0);
  EXPECT_EQ(conta("Select * from BarCodeUlteriori where CodProd=5"), 1);
  EXPECT_EQ(primo("Select CodProd from BarCodeUlteriori where BarCode='99887766'", "CodProd"), "5");
  auto storico = db->openRecordset("Select * from StoricoPLU");
  storico.addNew();
  storico.setValue("DataModif", QDate(2026, 12, 7));
  storico.setText("EAN", "4321");
  storico.setValue("Qta", 1);
  storico.update();
  EXPECT_EQ(conta("Select * from StoricoPLU"), 4);
}

TEST_F(IstruzioniArchivio, BarcodeAdaptationCandidates) {
  EXPECT_EQ(conta("SELECT * From Magazzino WHERE ((Len([Magazzino]![BarCode])=4) AND "
                  "((Magazzino.Note) Is Null Or (Magazzino.Note)=''))"),
            3);
  db->execute("UPDATE Magazzino SET Note='x' WHERE CodMateriale='9'");
  EXPECT_EQ(conta("SELECT * From Magazzino WHERE ((Len([Magazzino]![BarCode])=4) AND "
                  "((Magazzino.Note) Is Null Or (Magazzino.Note)=''))"),
            2);
}

TEST_F(IstruzioniArchivio, SupplierCatalogueStaging) {
  auto b = db->openRecordset("Select * from B_CEDI");
  for (auto [art, ean] : {std::pair{"A1", "111"}, {"A1", "222"}, {"A2", "333"}}) {
    b.addNew();
    b.setText("ArtCEDI", art);
    b.setText("CodEan", ean);
    b.update();
  }
  EXPECT_EQ(conta("Select * from B_CEDI where ArtCEDI='A1' AND CodEAN='222'"), 1);
  auto multipli = db->openRecordset(
      QString("SELECT DISTINCTROW ArtCEDI, CodEAN ") + "From B_CEDI " +
      "WHERE (((B_CEDI.ArtCEDI) In (SELECT [ArtCEDI] FROM [B_CEDI] As Tmp GROUP BY [ArtCEDI] "
      "HAVING Count(*)>1 ))) " +
      "ORDER BY B_CEDI.ArtCEDI");
  EXPECT_EQ(multipli.recordCount(), 2);
  EXPECT_EQ(conta("Select * from Magazzino where CodArtCEDI='A1'"), 0);
  EXPECT_EQ(conta("Select * from Magazzino where CodArtCEDI='A1' and BarCode='111'"), 0);
}

TEST_F(IstruzioniArchivio, LabelLayoutAndLabelSelections) {
  EXPECT_EQ(conta("Select * from FormatoEtichetta"), 1);
  db->execute(
      "UPDATE FormatoEtichetta SET NumCol = 4, NumRow = 10, XFornitura = 60, YFornitura = "
      "120,XCliente = 700, YCliente = 120, XCodFornitura= 330, YCodFornitura = 120,XPicture = "
      "60, YPicture= 2300,XPeso = 1150, YPeso= 120,XBC= 1400, YBC= 120");
  db->execute(
      "UPDATE FormatoEtichetta SET FontF ='Arial', FontSizeF = 8.5, BoldF = -1, ItalicF = 0,"
      "UnderF = 0, ColorF = 255, FontCF ='Arial', FontSizeCF = 9, BoldCF = 0, ItalicCF = 0,"
      "UnderCF = 0, ColorCF = 0, FontC ='Arial', FontSizeC = 16, BoldC = -1, ItalicC = 0,"
      "UnderC = 0, ColorC = 0, FontP ='Arial', FontSizeP = 7, BoldP = 0, ItalicP = 0,"
      "UnderP = 0, ColorP = 0, FontBC ='Code EAN13', FontSizeBC = 22, BoldBC = 0, ItalicBC = 0,"
      "UnderBC = 0, ColorBC = 0");
  auto layout = db->openRecordset("Select * from FormatoEtichetta");
  EXPECT_EQ(layout.integer("NumCol"), 4);
  EXPECT_EQ(layout.number("FontSizeF"), 8.5);
  EXPECT_EQ(layout.text("FontsizecF"), "9");
  const QString campi =
      "Select Descrizione, Costo, TipoMateriale, CodProdottoFornitore, BarCode from Magazzino ";
  EXPECT_EQ(conta(campi + "where modificato =" + "-1" + " order by Descrizione"), 2);
  EXPECT_EQ(conta(campi + "order by Descrizione"), 3);
  EXPECT_EQ(conta(campi + "where TipoVariazione ='F' order by Descrizione"), 0);
  EXPECT_EQ(
      conta(campi + "where TipoVariazione ='F' or Modificato =" + "-1" + " order by Descrizione"),
      2);
}

TEST_F(IstruzioniArchivio, SalesQueryJoinsHistoryToProducts) {
  auto vendite = db->openRecordset(
      QString(
          "SELECT Magazzino.Descrizione, StoricoPLU.EAN, StoricoPLU.Qta, StoricoPLU.DataModif ") +
      "FROM Magazzino INNER JOIN StoricoPLU ON Magazzino.BarCode = StoricoPLU.EAN where "
      "DataModif>=Datevalue('" +
      "01/12/2026" + "') And DataModif<=Datevalue('" + "07/12/2026" + "') ");
  EXPECT_EQ(vendite.recordCount(), 2);
}

TEST_F(IstruzioniArchivio, WorkbookExportsHandTheirRowsToTheWriter) {
  std::vector<std::pair<WorkbookTarget, std::vector<QStringList>>> scritti;
  db->setWorkbookWriter([&](const WorkbookTarget& target, Recordset& rows) {
    std::vector<QStringList> righe;
    QStringList intestazione;
    for (int i = 0; i < rows.fieldCount(); ++i) intestazione << rows.fieldName(i);
    righe.push_back(intestazione);
    for (; !rows.eof(); rows.moveNext()) {
      QStringList riga;
      for (int i = 0; i < rows.fieldCount(); ++i) riga << rows.value(i).toString();
      righe.push_back(riga);
    }
    scritti.emplace_back(target, righe);
  });
  const QString file = dir.filePath("Magazzino.xls");
  db->execute(
      "SELECT BarCode, CodProdottoFornitore, Descrizione, [Costo2] AS CostoAcquisto, "
      "UnitaMisura, Quantità, [Costo] AS PrezzoVendita, ([Magazzino.Quantità] * "
      "[Magazzino.Costo2]) as ValoreMAGAZZINO, ([Magazzino.Quantità] * [Magazzino.Costo]) as "
      "ValoreVENDITA, Fornitore, Genere INTO [Excel 8.0;Database=" +
      file + "].[Foglio1] FROM Magazzino where Quantità<=" + "0" +
      " order by Magazzino.Descrizione ASC");
  db->execute(
      "SELECT  (SUM([Magazzino.Quantità] * [Magazzino.Costo2])) as ValoreTOTALEMAGAZZINO, "
      "(SUM([Magazzino.Quantità] * [Magazzino.Costo])) as "
      "ValoreTotCOMEVENDITA,((SUM([Magazzino.Quantità] * [Magazzino.Costo]))-(SUM([Magazzino."
      "Quantità] * [Magazzino.Costo2]))) as DIFFERENZA  INTO [Excel 8.0;Database=" +
      file + "].[Foglio2] FROM Magazzino ");
  db->execute(
      "SELECT Magazzino.Descrizione, StoricoPLU.EAN, StoricoPLU.Qta, StoricoPLU.DataModif INTO "
      "[Excel 8.0;Database=" +
      file +
      "].[Foglio1] FROM Magazzino INNER JOIN StoricoPLU ON Magazzino.BarCode = StoricoPLU.EAN "
      "where DataModif>=Datevalue('01/11/2026') And DataModif<=Datevalue('07/12/2026') order by "
      "Magazzino.Descrizione ASC");
  ASSERT_EQ(scritti.size(), 3u);
  EXPECT_EQ(scritti[0].first.file, file);
  EXPECT_EQ(scritti[0].first.sheet, "Foglio1");
  ASSERT_EQ(scritti[0].second.size(), 3u);  // heading and two products at or below zero
  EXPECT_EQ(scritti[0].second[0].at(3), "CostoAcquisto");
  EXPECT_EQ(scritti[0].second[1].at(2), "Latte intero");
  EXPECT_EQ(scritti[0].second[2].at(7), "-0.8");
  EXPECT_EQ(scritti[1].first.sheet, "Foglio2");
  EXPECT_DOUBLE_EQ(scritti[1].second[1].at(0).toDouble(), 10 * 0.9 + 0 * 0.7 - 2 * 0.4);
  EXPECT_EQ(scritti[2].second.size(), 4u);
}

}  // namespace
}  // namespace listinova
