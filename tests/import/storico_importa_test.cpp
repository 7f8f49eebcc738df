// The price history an import leaves: the same rows, in the same order, whether the products
// are written one by one or many at once.
#include <gtest/gtest.h>

#include <QFile>

#include "import/importa_testo.h"
#include "import/testo_fornitore.h"
#include "support/negozio_di_prova.h"

namespace listinova {
namespace {

TEST(StoricoImporta, ARepeatedImportRecordsOnlyTheChangedPricesInFileOrder) {
  testing::NegozioDiProva negozio;
  negozio.prodotto("1", "Uno", "1,00").prodotto("2", "Due", "2,00").prodotto("3", "Tre", "3,00");
  // Another trigger on the archive keeps running through the import.
  negozio.sqlite(
      "CREATE TABLE Visti (BarCode TEXT);"
      "CREATE TRIGGER visto AFTER INSERT ON Magazzino BEGIN "
      "INSERT INTO Visti VALUES (NEW.BarCode); END");
  const QString percorso = negozio.file("listino.txt");
  QFile file(percorso);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  // Codes 1-3 come back with the same, a new and a new price; 4 is new; barcode 222 comes
  // again with another price, and 5 is written after it.
  file.write(
      "x;x;x;111;Uno;1;x;x;x;1\nx;x;x;222;Due;1;x;x;x;2.5\nx;x;x;333;Tre;1;x;x;x;4\n"
      "x;x;x;444;Quattro;1;x;x;x;5\nx;x;x;222;Due bis;1;x;x;x;6\nx;x;x;555;Cinque;1;x;x;x;7\n");
  file.close();
  const RiepilogoImport r =
      ImportaTestoDelimitato(*negozio.db, percorso, {QChar(';'), false, PredefinitePerTesto({})});
  EXPECT_EQ(r.aggiunti, 5);
  EXPECT_EQ(negozio.righe("SELECT CodMateriale, BarCode, Descrizione, Costo FROM Magazzino "
                          "ORDER BY rowid"),
            QStringList({"1|111|Uno|1", "2|222|Due bis|6", "3|333|Tre|4", "4|444|Quattro|5",
                         "5|555|Cinque|7"}));
  EXPECT_EQ(negozio.righe("SELECT CodMateriale, Vecchio, Nuovo, "
                          "Quando >= datetime('now', 'localtime', '-1 minute') FROM "
                          "StoricoPrezzi ORDER BY rowid"),
            QStringList({"1|NULL|1|1", "2|NULL|2|1", "3|NULL|3|1", "2|2|2.5|1", "3|3|4|1",
                         "4|NULL|5|1", "2|2.5|6|1", "5|NULL|7|1"}));
  EXPECT_EQ(negozio.righe("SELECT BarCode FROM Visti"),
            QStringList({"111", "222", "333", "444", "555"}));
  // The store keeps its history triggers as they were.
  EXPECT_EQ(negozio.valore("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND name "
                           "IN ('StoricoPrezzi_Nuovo', 'StoricoPrezzi_Inserimento')"),
            "2");
}

}  // namespace
}  // namespace listinova
