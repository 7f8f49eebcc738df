// Every statement form the program sends to the store, exactly as the program writes it,
// run against the store schema.
#include <gtest/gtest.h>

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

class IstruzioniArchivio : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio
        .prodotto({.cod = "5",
                   .descrizione = "CAFFE' ARABICA",
                   .barCode = "8001",
                   .genere = "Bar",
                   .quantita = 10,
                   .costo = "1,50",
                   .costo2 = "0,90",
                   .fornitore = "ROSSI",
                   .modificato = true})
        .prodotto({.cod = "9",
                   .descrizione = "Latte intero",
                   .barCode = "1234",
                   .genere = "Frigo",
                   .quantita = 0,
                   .costo = "1,20",
                   .costo2 = "0,70",
                   .fornitore = "BIANCHI"})
        .prodotto({.cod = "10",
                   .descrizione = "Zucchero",
                   .barCode = "4321",
                   .genere = "3",
                   .quantita = -2,
                   .costo = "0,00",
                   .costo2 = "0,40",
                   .fornitore = "ROSSI",
                   .modificato = true,
                   .eliminato = true})
        .reparto(1, "Bar", 22)
        .reparto(2, "Frigo", 10)
        .reparto(7, "Bar d'Angelo")
        .offerta({"5", QDate(2026, 12, 7), QDate(2026, 12, 14), "1,20"})
        .offerta({"9", QDate(2026, 11, 1), QDate(2026, 12, 7), "1"})
        .barCodeUlteriore("5", "99887766")
        .vendita("8001", 2, QDate(2026, 12, 6))
        .vendita("1234", 1, QDate(2026, 12, 7))
        .vendita("8001", 5, QDate(2026, 11, 30));
  }

  int conta(const QString& jet) { return negozio.conta(jet); }
  QString primo(const QString& jet, const QString& campo) {
    auto rs = db->openRecordset(jet);
    return rs.eof() ? QString("<nessuno>") : rs.text(campo);
  }

  NegozioDiProva negozio;
  platform::db::Database* db = negozio.db.get();
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
      {"Select Cod from Reparti where Descrizione=\"Bar d'Angelo\"", 1, "Cod", "7"},
      {"Select Cod from reparti where Descrizione='bar'", 1, "Cod", "1"},
      {"SELECT Fornitore From Magazzino GROUP BY Fornitore order by Fornitore ASC", 2, "Fornitore",
       "BIANCHI"},
      // Codes compared bare and quoted; the highest numeric code; text order of codes.
      {"select Max(CLng([CodMateriale])) AS CodMat from Magazzino", 1, "CodMat", "10"},
      {"Select * from magazzino where codMateriale=9", 1, "Descrizione", "Latte intero"},
      {"Select * from Magazzino order by CodMateriale ASC", 3, "CodMateriale", "10"},
      // Product list searches: like with '*', doubled quotes, case-insensitive text, booleans.
      {"Select * From Magazzino where Descrizione like 'caffe''*'", 1},
      {"Select * From Magazzino where Descrizione like 'CAFFE'' ARABICA*' and Genere='Bar' and "
       "Fornitore='ROSSI'",
       1},
      {"Select * from magazzino order by descrizione", 3, "Descrizione", "CAFFE' ARABICA"},
      {"Select * from Magazzino where BarCode='1234' And Eliminato =False", 1},
      {"Select * from Magazzino where Modificato=-1 order by BarCode ASC", 2, "BarCode", "4321"},
      // Promotions by date, in the Italian day order.
      {"Select * from Offerte where DataDal=Datevalue('07/12/2026') ", 1},
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
  const std::pair<const char*, int> casi[] = {
      {"Delete * from BarCodeUlteriori where CodProd=5", 1},
      {"Delete * from Offerte where DataDal=DateValue('07/12/2026') and "
       "DataAl=DateValue('14/12/2026') and Articolo=5",
       1},
      {"UPDATE Magazzino SET Magazzino.Quantità =25", 3},
      {"UPDATE Magazzino SET Magazzino.Modificato = 0 WHERE Quantità=25", 3},
      {"UPDATE FormatoEtichetta SET NumCol = 4, FontSizeF = 8.5, FontSizeCF = 9", 1},
      {"INSERT INTO B_CEDI (ArtCEDI, CodEan) VALUES ('A1', '111'), ('A1', '222'), ('A2', '333')",
       3},
      {"Delete * from Magazzino where CodMateriale=5", 1},
  };
  for (const auto& [jet, righe] : casi)
    EXPECT_EQ(db->execute(QString::fromUtf8(jet)), righe) << jet;
  EXPECT_EQ(conta("SELECT DISTINCTROW ArtCEDI, CodEAN From B_CEDI WHERE (((B_CEDI.ArtCEDI) In "
                  "(SELECT [ArtCEDI] FROM [B_CEDI] As Tmp GROUP BY [ArtCEDI] HAVING Count(*)>1 "
                  "))) ORDER BY B_CEDI.ArtCEDI"),
            2);
  EXPECT_EQ(primo("Select * from FormatoEtichetta", "FontsizecF"), "9");
  db->execute("Delete * from Magazzino");
  EXPECT_EQ(primo("select Max(CLng([CodMateriale])) AS CodMat from Magazzino", "CodMat"), "");
}

}  // namespace
}  // namespace listinova::testing
