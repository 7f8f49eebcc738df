// A store written by a newer Listinova is named at start, in the window's Abort/Retry/Ignore
// loop and on the command line, and never written to.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <QProcess>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/program_folder.h"
#include "startup/avvio.h"
#include "startup/lavoro_non_avviato.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(ArchivioPiuRecente, IsNamedInTheStartLoopAndOnTheCommandLineAndLeftUntouched) {
  CartellaDiProva cartella;
  const QString archivio = cartella.file("Dati/DbNegozio.mdb");
  ApriDatabase(archivio).reset();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(archivio.toUtf8().constData(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA user_version=99", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  const QByteArray prima = testing::readAll(archivio);
  const QString perche = "è stato scritto da una versione più recente di Listinova";

  Globali() = VarGlobali{};
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  prompts.answers = {platform::Answer::Ok, platform::Answer::Abort};
  platform::ProgramFolder cartellaProgramma(cartella.root());
  {
    Avvio avvio(cartellaProgramma, prompts, notice, clock, ApriDatabase);
    EXPECT_FALSE(avvio.Main());
  }
  Globali() = VarGlobali{};
  const QStringList domande = testing::askedTexts(prompts);
  ASSERT_EQ(domande.size(), 2);
  EXPECT_TRUE(domande[0].contains(perche)) << domande[0].toStdString();
  EXPECT_EQ(domande[1], "Errore in fase di inizializzazione.");

  QProcess lavoro;
  lavoro.setStandardInputFile(QProcess::nullDevice());
  lavoro.start(LISTINOVA_BINARY, {"--cartella", cartella.root(), "esporta", "magazzino",
                                  cartella.file("magazzino.xlsx")});
  ASSERT_TRUE(lavoro.waitForFinished(60000));
  EXPECT_EQ(lavoro.exitCode(), kUscitaAvvioNonRiuscito);
  EXPECT_TRUE(QString::fromUtf8(lavoro.readAllStandardOutput()).contains(perche));
  EXPECT_EQ(QString::fromUtf8(lavoro.readAllStandardError()).trimmed(),
            "Avvio non riuscito: esportazione non eseguita.");
  EXPECT_EQ(testing::readAll(archivio), prima);
}

}  // namespace
}  // namespace listinova
