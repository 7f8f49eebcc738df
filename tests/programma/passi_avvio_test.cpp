// The start-up road with an external database: link, sync, the product list's lists and the
// main window, also when the operator presses a key on the splash window halfway.
#include "programma/passi_avvio.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include "catalogue/magazzino.h"
#include "platform/db/database.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;

constexpr int kProdottiEsterni = 300;

QStringList voci(const QComboBox* combo) {
  QStringList testi;
  for (int i = 0; i < combo->count(); ++i) testi << combo->itemText(i);
  return testi;
}

class PassiAvvioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali().TabelleCollegate = true;
    log = std::make_unique<ErrorLog>(cartella.root(), clock);
    installaErrorLog(log.get());
    auto esterno = Database::open(cartella.file("esterno.db"));
    esterno->execute("CREATE TABLE Reparti (IDReparto INTEGER, NomeReparto TEXT)");
    esterno->execute(
        "CREATE TABLE MAGAZZINO (Descrizione TEXT, PrezzoVendita CURRENCY, CodiceEAN TEXT, "
        "Reparto INTEGER, Modificato BOOLEAN)");
    esterno->execute("INSERT INTO Reparti VALUES (1, 'Panetteria'), (2, 'Latticini')");
    esterno->execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM "
                                    "n WHERE i < %1) INSERT INTO MAGAZZINO SELECT 'Prodotto ' || "
                                    "i, 1.5, '80' || i, 1 + i % 2, 0 FROM n")
                         .arg(kProdottiEsterni));
    negozio.setup("DatabaseEsterno", "Quale", cartella.file("esterno.db"));
  }
  void TearDown() override { installaErrorLog(nullptr); }

  testing::NegozioDiProva negozio;
  const CartellaDiProva& cartella = negozio.cartella;
  testing::FakeClock clock;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  std::unique_ptr<ErrorLog> log;
};

TEST_F(PassiAvvioTest, MainWindowComesAfterTheSyncWithTheNewListsWhateverKeyIsPressed) {
  enum class Tasto { Nessuno, DuranteIlCollegamento, DuranteLaSincronizzazione };
  for (const Tasto tasto :
       {Tasto::Nessuno, Tasto::DuranteIlCollegamento, Tasto::DuranteLaSincronizzazione}) {
    SCOPED_TRACE(static_cast<int>(tasto));
    Database& db = *Globali().Archivio;
    db.execute("Delete * from Magazzino");
    db.execute("UPDATE Reparti SET Descrizione = 'Reparto' & Cod");
    negozio.prodotto({.cod = "1", .descrizione = "vecchio", .fornitore = "VECCHIO FORNITORE"});
    Magazzino magazzino(db, prompts, notice, clock, [] { return nullptr; });
    ASSERT_EQ(voci(magazzino.findChild<QComboBox*>("Genere")).value(1), "Reparto1");

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
    auto* trovate = magazzino.findChild<QLabel*>("lblTotVociMaga");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return trovate->text() == QString::number(kProdottiEsterni); }, 5000))
        << trovate->text().toStdString();
    magazzino.close();
  }
}

}  // namespace
}  // namespace listinova
