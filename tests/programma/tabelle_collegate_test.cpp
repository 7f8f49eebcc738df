#include "programma/tabelle_collegate.h"

#include <gtest/gtest.h>

#include "platform/db/database.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using testing::NegozioDiProva;

class TabelleCollegate : public ::testing::Test {
 protected:
  void SetUp() override {
    g.PercorsoSetup = cartella.setup();
    g.TabelleCollegate = true;
    g.Archivio = negozio.db;
    log = std::make_unique<ErrorLog>(cartella.root(), clock);
    installaErrorLog(log.get());
    esterno = Database::open(cartella.file("esterno.db"));
    esterno->execute("CREATE TABLE Reparti (IDReparto INTEGER, NomeReparto TEXT)");
    esterno->execute(
        "CREATE TABLE MAGAZZINO (Descrizione TEXT, PrezzoVendita CURRENCY, CodiceEAN TEXT, "
        "Reparto INTEGER, Modificato BOOLEAN)");
    esterno->execute(
        "INSERT INTO Reparti VALUES (2, 'Ortofrutta fresca bio'), (1, 'Pane'), (3, 'Latte')");
    ScriviINI(g.PercorsoSetup, "DatabaseEsterno", "Quale", cartella.file("esterno.db"));
    negozio.prodotto("1", "vecchio", "1");
    negozio.sqlite("UPDATE Reparti SET Descrizione='Vecchio', Iva=22, Sconto=5 WHERE Cod=30");
  }
  void TearDown() override { installaErrorLog(nullptr); }

  void prodottoEsterno(const QString& descrizione, const QString& prezzo, const QString& ean,
                       const QString& reparto, int modificato) {
    esterno->execute(QStringLiteral("INSERT INTO MAGAZZINO VALUES ('%1', %2, %3, %4, %5)")
                         .arg(descrizione, prezzo, ean, reparto)
                         .arg(modificato));
  }
  bool collega() { return GestisciTabelleCollegate(g, clock); }

  NegozioDiProva negozio;
  const CartellaDiProva& cartella = negozio.cartella;
  VarGlobali g;
  testing::FakeClock clock;
  std::unique_ptr<ErrorLog> log;
  std::unique_ptr<Database> esterno;
};

TEST_F(TabelleCollegate, OnlyModifiedExternalProductsComeWhenSomeAreMarked) {
  prodottoEsterno("Mele golden", "2.5", "'8000001'", "2", -1);
  prodottoEsterno("Pane comune", "NULL", "NULL", "1", -1);
  prodottoEsterno("Latte", "1.2", "'8000003'", "3", 0);
  prodottoEsterno("Senza reparto", "1", "'8000004'", "99", -1);
  ASSERT_TRUE(collega());
  ASSERT_TRUE(collega());  // linking again replaces the links
  SincronizzaDatabaseEsterno(*g.Archivio, clock);
  auto rs = g.Archivio->openRecordset("Select * from Magazzino order by CodMateriale");
  ASSERT_EQ(rs.recordCount(), 3);
  EXPECT_EQ(rs.text("CodMateriale"), "51");
  EXPECT_EQ(rs.text("Descrizione"), "Mele golden");
  EXPECT_EQ(rs.money("Costo").toPlain(), "2.50");
  EXPECT_EQ(rs.text("BarCode"), "8000001");
  EXPECT_EQ(rs.text("Genere"), "Ortofrutta fresc");  // 16 characters
  EXPECT_EQ(rs.text("Fornitore"), "***");
  EXPECT_TRUE(rs.flag("Modificato"));
  rs.moveNext();
  EXPECT_EQ(rs.text("CodMateriale"), "52");
  EXPECT_TRUE(rs.isNull("BarCode"));
  EXPECT_EQ(rs.text("Genere"), "Pane");
  rs.moveNext();
  EXPECT_EQ(rs.text("Genere"), "Reparto41");

  // Departments are reset, then named from the external ids onto the local ones.
  auto reparti = g.Archivio->openRecordset("Select * from Reparti order by Cod");
  EXPECT_EQ(reparti.text("Descrizione"), "Pane");
  EXPECT_EQ(reparti.number("Iva"), 20);
  for (const char* cod : {"4", "30"}) {
    auto reparto =
        g.Archivio->openRecordset(QStringLiteral("Select * from Reparti where Cod=%1").arg(cod));
    EXPECT_EQ(reparto.text("Descrizione"), QStringLiteral("Reparto") + cod);
    EXPECT_EQ(reparto.number("Iva"), 0);
    EXPECT_EQ(reparto.number("Sconto"), 0);
  }
}

// No link without the setting or the file; a file without the shop's tables, an Access one
// too, is logged and left unlinked.
TEST_F(TabelleCollegate, NothingIsLinkedWithoutAnExternalDatabaseOfTheShop) {
  g.TabelleCollegate = false;
  EXPECT_FALSE(collega());
  g.TabelleCollegate = true;
  ScriviINI(g.PercorsoSetup, "DatabaseEsterno", "Quale", "");
  EXPECT_FALSE(collega());
  ScriviINI(g.PercorsoSetup, "DatabaseEsterno", "Quale", cartella.file("manca.mdb"));
  EXPECT_FALSE(collega());
  EXPECT_FALSE(QFile::exists(log->percorsoLog()));

  Database::open(cartella.file("altro.db"))
      ->execute("CREATE TABLE Reparti (IDReparto INTEGER, NomeReparto TEXT)");
  ScriviINI(g.PercorsoSetup, "DatabaseEsterno", "Quale", cartella.file("altro.db"));
  EXPECT_FALSE(collega());
  EXPECT_TRUE(
      testing::readAll(log->percorsoLog()).contains("*-Funzioni-GestisciTabelleCollegate-]"));
  EXPECT_FALSE(g.Archivio->tableExists("RepartiEsterno"));

  const QString nwind = QStringLiteral(LISTINOVA_TESTDATA "/access/nwind.mdb");
  if (!QFile::exists(nwind)) return;
  ScriviINI(g.PercorsoSetup, "DatabaseEsterno", "Quale", nwind);
  const QByteArray prima = testing::readAll(log->percorsoLog());
  EXPECT_FALSE(collega());  // a real Access file, but with no Reparti table
  EXPECT_TRUE(testing::readAll(log->percorsoLog()).mid(prima.size()).contains("Reparti"));
}

}  // namespace
}  // namespace listinova
