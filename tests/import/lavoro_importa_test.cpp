#include "import/lavoro_importa.h"

#include <gtest/gtest.h>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

class LavoroImportaTest : public ::testing::Test {
 protected:
  void TearDown() override { Globali() = VarGlobali{}; }

  // Runs a job as the command line would, in this process; gives the exit status.
  int esegui(const LavoroRigaDiComando& lavoro, QStringList argomenti) {
    argomenti.prepend("listinova");
    argomenti << "--cartella" << cartella.root();
    QTextStream out(&uscita);
    QTextStream err(&errori);
    const int stato = lavoro.esegui(argomenti, out, err);
    Globali() = VarGlobali{};
    return stato;
  }
  QString prodotti() {
    auto db = ApriDatabase(cartella.file("Dati/DbNegozio.mdb"));
    QStringList righe;
    for (auto rs = db->openRecordset("SELECT BarCode, Descrizione FROM Magazzino ORDER BY "
                                     "CLng(CodMateriale)");
         !rs.eof(); rs.moveNext())
      righe << rs.text("BarCode") + " " + rs.text("Descrizione");
    return righe.join(", ");
  }

  CartellaDiProva cartella;
  QString uscita;
  QString errori;
};

TEST_F(LavoroImportaTest, ImportaTakesItsOptionsAndAsksUnlessToldYes) {
  const QString file = cartella.file("listino.txt");
  ASSERT_TRUE(testing::writeAll(file, "Pasta,8001234567897,3,1.5\nSale,8000000000017,,0.45\n"));
  const QStringList colonne{"--separatore", ",", "--descrizione", "1", "--barcode",  "2",
                            "--reparto",    "3", "--prezzo",      "4", "--quantita", "5"};
  EXPECT_EQ(esegui(LavoroImporta(), QStringList{"importa", file} + colonne), 3);
  EXPECT_EQ(prodotti(), "");
  EXPECT_EQ(esegui(LavoroImporta(), QStringList{"importa", file, "--si"} + colonne), 0);
  EXPECT_EQ(prodotti(), "8001234567897 Pasta, 8000000000017 Sale");
  EXPECT_TRUE(uscita.contains("Prodotti aggiunti: 2"));
  const std::pair<QStringList, const char*> sbagliate[] = {
      {{"importa"}, "Indicare il file da importare"},
      {{"importa", file, "--separatore", "tab"}, "Separatore \"tab\" non ammesso"},
      {{"importa", file, "--prezzo", "4"}, "Valori di colonna replicati - Controllare"},
      {{"importa", file, "--barcode", "0"}, "--barcode vuole una colonna da 1 a 100"},
  };
  for (const auto& [argomenti, messaggio] : sbagliate) {
    errori.clear();
    EXPECT_EQ(esegui(LavoroImporta(), argomenti), 2);
    EXPECT_TRUE(errori.contains(QString::fromUtf8(messaggio))) << errori.toStdString();
  }
}

TEST_F(LavoroImportaTest, InterscambioProcessesTheFolderOnce) {
  EXPECT_EQ(esegui(LavoroInterscambio(), {"interscambio"}), 2);
  ScriviINI(cartella.setup(), "Cartelle", "IN", "C:\\Scambio");
  QByteArray articolo(120, ' ');
  articolo.replace(0, 1, "N").replace(25, 5, "Pasta").replace(102, 9, "000000001");
  ASSERT_TRUE(testing::writeAll(cartella.file("Scambio/A1.txt"), articolo + "\r\n"));
  EXPECT_EQ(esegui(LavoroInterscambio(), {"interscambio"}), 0);
  EXPECT_TRUE(uscita.contains("Importato: A1.txt"));
  EXPECT_EQ(prodotti(), " Pasta");
  EXPECT_TRUE(QFile::exists(cartella.file("InterScambioINStorico/A1.txt")));
  EXPECT_FALSE(QFile::exists(cartella.file("Scambio/A1.txt")));
}

}  // namespace
}  // namespace listinova
