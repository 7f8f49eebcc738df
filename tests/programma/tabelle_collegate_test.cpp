// The shop's external database: linked, synced into the store, and the start-up road through it
// (link, sync, the product list's lists, the main window), also when the operator presses a key
// on the splash window halfway.
#include "programma/tabelle_collegate.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

#include "catalogue/magazzino.h"
#include "programma/passi_avvio.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::db::Database;

QStringList voci(const QComboBox* combo) {
  QStringList testi;
  for (int i = 0; i < combo->count(); ++i) testi << combo->itemText(i);
  return testi;
}

class TabelleCollegate : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali().TabelleCollegate = true;
    installaErrorLog(&log);
    esterno->execute("CREATE TABLE Reparti (IDReparto INTEGER, NomeReparto TEXT)");
    esterno->execute(
        "CREATE TABLE MAGAZZINO (Descrizione TEXT, PrezzoVendita CURRENCY, CodiceEAN TEXT, "
        "Reparto INTEGER, Modificato BOOLEAN)");
    quale(negozio.file("esterno.db"));
  }
  void TearDown() override { installaErrorLog(nullptr); }
  void quale(const QString& file) { negozio.setup("DatabaseEsterno", "Quale", file); }
  bool collega() { return GestisciTabelleCollegate(Globali(), clock); }

  NegozioDiProva negozio;
  FakeClock clock;
  FakePrompts prompts;
  FakeNotice notice;
  ErrorLog log{negozio.cartella.root(), clock};
  std::unique_ptr<Database> esterno = Database::open(negozio.file("esterno.db"));
};

TEST_F(TabelleCollegate, OnlyModifiedExternalProductsComeWhenSomeAreMarked) {
  esterno->execute(
      "INSERT INTO Reparti VALUES (2, 'Ortofrutta fresca bio'), (1, 'Pane'), (3, 'Latte')");
  esterno->execute(
      "INSERT INTO MAGAZZINO VALUES ('Mele golden', 2.5, '8000001', 2, -1), ('Pane comune', "
      "NULL, NULL, 1, -1), ('Latte', 1.2, '8000003', 3, 0), ('Senza reparto', 1, '8000004', 99, "
      "-1)");
  negozio.prodotto("1", "vecchio", "1");
  negozio.sqlite("UPDATE Reparti SET Descrizione='Vecchio', Iva=22, Sconto=5 WHERE Cod=30");
  ASSERT_TRUE(collega());
  ASSERT_TRUE(collega());  // linking again replaces the links
  SincronizzaDatabaseEsterno(*Globali().Archivio, clock);
  // Department names are cut to 16 characters; an unknown one is a department of its own.
  EXPECT_EQ(negozio.righe("Select CodMateriale, Descrizione, Costo, BarCode, Genere, Fornitore, "
                          "Modificato from Magazzino order by CodMateriale"),
            QStringList({"51|Mele golden|2.5|8000001|Ortofrutta fresc|***|true",
                         "52|Pane comune|0|NULL|Pane|***|true",
                         "53|Senza reparto|1|8000004|Reparto41|***|true"}));
  // Departments are reset, then named from the external ids onto the local ones.
  EXPECT_EQ(negozio.righe("Select Cod, Descrizione, Iva, Sconto from Reparti where Cod in (1, 4, "
                          "30) order by Cod"),
            QStringList({"1|Pane|20|0", "4|Reparto4|0|0", "30|Reparto30|0|0"}));
}

// No link without the setting or the file; a file without the shop's tables, an Access one
// too, is logged and left unlinked.
TEST_F(TabelleCollegate, NothingIsLinkedWithoutAnExternalDatabaseOfTheShop) {
  Globali().TabelleCollegate = false;
  EXPECT_FALSE(collega());
  Globali().TabelleCollegate = true;
  for (const QString& file : {QString(), negozio.file("manca.mdb")}) {
    quale(file);
    EXPECT_FALSE(collega());
  }
  EXPECT_FALSE(QFile::exists(log.percorsoLog()));

  Database::open(negozio.file("altro.db"))
      ->execute("CREATE TABLE Reparti (IDReparto INTEGER, NomeReparto TEXT)");
  quale(negozio.file("altro.db"));
  EXPECT_FALSE(collega());
  EXPECT_TRUE(readAll(log.percorsoLog()).contains("*-Funzioni-GestisciTabelleCollegate-]"));
  EXPECT_FALSE(negozio.db->tableExists("RepartiEsterno"));

  const QString nwind = QStringLiteral(LISTINOVA_TESTDATA "/access/nwind.mdb");
  if (!QFile::exists(nwind)) return;
  quale(nwind);
  const QByteArray prima = readAll(log.percorsoLog());
  EXPECT_FALSE(collega());  // a real Access file, but with no Reparti table
  EXPECT_TRUE(readAll(log.percorsoLog()).mid(prima.size()).contains("Reparti"));
}

TEST_F(TabelleCollegate, MainWindowComesAfterTheSyncWithTheNewListsWhateverKeyIsPressed) {
  constexpr int kProdottiEsterni = 300;
  esterno->execute("INSERT INTO Reparti VALUES (1, 'Panetteria'), (2, 'Latticini')");
  esterno->execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM "
                                  "n WHERE i < %1) INSERT INTO MAGAZZINO SELECT 'Prodotto ' || "
                                  "i, 1.5, '80' || i, 1 + i % 2, 0 FROM n")
                       .arg(kProdottiEsterni));
  enum class Tasto { Nessuno, DuranteIlCollegamento, DuranteLaSincronizzazione };
  for (const Tasto tasto :
       {Tasto::Nessuno, Tasto::DuranteIlCollegamento, Tasto::DuranteLaSincronizzazione}) {
    SCOPED_TRACE(static_cast<int>(tasto));
    Database& db = *negozio.db;
    db.execute("Delete * from Magazzino");
    db.execute("UPDATE Reparti SET Descrizione = 'Reparto' & Cod");
    negozio.prodotto({.cod = "1", .descrizione = "vecchio", .fornitore = "VECCHIO FORNITORE"});
    Magazzino magazzino(db, prompts, notice, clock, [] { return nullptr; });

    int prodottiAllaFinestra = -1;
    bool inTransazione = true;
    FrmSplash* splash = nullptr;
    FrmSplash::Passi passi = PassiAvvio(Globali(), clock, &magazzino, [&] {
      prodottiAllaFinestra = db.openRecordset("Select * from Magazzino").recordCount();
      inTransazione = sqlite3_get_autocommit(db.handle()) == 0;
      magazzino.show();
    });
    // The key arrives while the step lets window events run, as an operator's would.
    const auto premi = [&] {
      QCoreApplication::postEvent(splash, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, {}));
    };
    if (tasto == Tasto::DuranteIlCollegamento) {
      passi.collegaTabelle = [collega = passi.collegaTabelle, premi] {
        premi();
        QCoreApplication::processEvents();
        return collega();
      };
    } else if (tasto == Tasto::DuranteLaSincronizzazione) {
      passi.sincronizza = [sincronizza = passi.sincronizza, premi] {
        premi();
        sincronizza();
      };
    }
    FrmSplash finestraSplash(std::move(passi));
    splash = &finestraSplash;
    finestraSplash.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prodottiAllaFinestra >= 0; }, 5000));

    EXPECT_EQ(prodottiAllaFinestra, kProdottiEsterni);
    EXPECT_FALSE(inTransazione);
    const QStringList reparti = voci(magazzino.findChild<QComboBox*>("Genere"));
    ASSERT_EQ(reparti.size(), 41);
    EXPECT_EQ(reparti.mid(0, 4), QStringList({"", "Panetteria", "Latticini", "Reparto3"}));
    EXPECT_EQ(voci(magazzino.findChild<QComboBox*>("Fornitore")), QStringList({"", "***"}));
  }
}

}  // namespace
}  // namespace listinova::testing
