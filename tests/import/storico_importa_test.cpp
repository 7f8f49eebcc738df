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
  negozio.prodotto("251", "Uno", "1,00")
      .prodotto("252", "Due", "2,00")
      .prodotto("253", "Tre", "3,00")
      .prodotto("5", "Quinto", "9,00");
  // Another trigger on the archive keeps running through the import.
  negozio.sqlite(
      "CREATE TABLE Visti (BarCode TEXT);"
      "CREATE TRIGGER visto AFTER INSERT ON Magazzino BEGIN "
      "INSERT INTO Visti VALUES (NEW.BarCode); END");
  // Enough lines to be written in a block: codes 1-250, all at 8 (code 5 was at 9). Then codes
  // 251-253 come back with the same, a new and a new price; 254 is new; barcode 222 comes
  // again with another price, and 255 is written after it.
  QByteArray righe;
  for (int i = 1; i <= 250; ++i)
    righe += "x;x;x;" + QByteArray::number(9000 + i) + ";P;1;x;x;x;8\n";
  righe +=
      "x;x;x;111;Uno;1;x;x;x;1\nx;x;x;222;Due;1;x;x;x;2.5\nx;x;x;333;Tre;1;x;x;x;4\n"
      "x;x;x;444;Quattro;1;x;x;x;5\nx;x;x;222;Due bis;1;x;x;x;6\nx;x;x;555;Cinque;1;x;x;x;7\n";
  const QString percorso = negozio.file("listino.txt");
  QFile file(percorso);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(righe);
  file.close();
  const RiepilogoImport r =
      ImportaTestoDelimitato(*negozio.db, percorso, {QChar(';'), false, PredefinitePerTesto({})});
  EXPECT_EQ(r.aggiunti, 255);
  EXPECT_EQ(negozio.righe("SELECT CodMateriale, BarCode, Descrizione, Costo FROM Magazzino "
                          "WHERE rowid > 249 ORDER BY rowid"),
            QStringList({"250|9250|P|8", "251|111|Uno|1", "252|222|Due bis|6", "253|333|Tre|4",
                         "254|444|Quattro|5", "255|555|Cinque|7"}));
  EXPECT_EQ(negozio.righe("SELECT CodMateriale, Vecchio, Nuovo, "
                          "Quando >= datetime('now', 'localtime', '-1 minute') FROM "
                          "StoricoPrezzi WHERE CodMateriale IN ('5', '250', '251', '252', "
                          "'253', '254', '255') ORDER BY rowid"),
            QStringList({"251|NULL|1|1", "252|NULL|2|1", "253|NULL|3|1", "5|NULL|9|1", "5|9|8|1",
                         "250|NULL|8|1", "252|2|2.5|1", "253|3|4|1", "254|NULL|5|1", "252|2.5|6|1",
                         "255|NULL|7|1"}));
  EXPECT_EQ(negozio.valore("SELECT count(*) FROM StoricoPrezzi"), "259");
  EXPECT_EQ(negozio.valore("SELECT count(*) FROM Visti"), "255");
  // The store keeps its history triggers as they were.
  EXPECT_EQ(negozio.valore("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND name "
                           "IN ('StoricoPrezzi_Nuovo', 'StoricoPrezzi_Inserimento')"),
            "2");
}

}  // namespace
}  // namespace listinova
