// Scheduled jobs and the open window share the shop folder's lock: a job that finds it held
// does nothing, says so and ends with its own status; only the backup runs alongside.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "platform/single_instance.h"
#include "startup/lavoro_non_avviato.h"
#include "support/cartella_di_prova.h"
#include "support/file_helpers.h"

namespace listinova {
namespace {

TEST(CartellaOccupata, EveryJobButTheBackupRefusesAFolderHeldByTheWindow) {
  CartellaDiProva dir;
  QProcess lavoro;
  lavoro.setStandardInputFile(QProcess::nullDevice());
  const auto esegui = [&](const QStringList& argomenti) {
    lavoro.start(LISTINOVA_BINARY, QStringList{"--cartella", dir.file("negozio")} + argomenti);
    return lavoro.waitForFinished(60000) ? lavoro.exitCode() : -1;
  };
  ASSERT_EQ(esegui({"esporta", "magazzino", dir.file("prima.xlsx")}), 0);
  const QString prodotti = dir.file("prodotti.txt");
  ASSERT_TRUE(testing::writeAll(prodotti, ";;;8000000000017;Pane;1;;;;1,20;;5\n"));

  platform::SingleInstanceGuard finestra(dir.file("negozio"));
  ASSERT_TRUE(finestra.acquired());
  const QStringList lavori[] = {
      {"invia", "--si"},
      {"leggi", "--codice", "1"},
      {"interscambio"},
      {"importa", prodotti, "--si"},
      {"esporta", "magazzino", dir.file("x.xlsx")},
      {"stampa", "magazzino", dir.file("x.pdf")},
      {"etichette", dir.file("e.pdf")},
  };
  for (const QStringList& argomenti : lavori) {
    SCOPED_TRACE(argomenti.join(' ').toStdString());
    EXPECT_EQ(esegui(argomenti), kUscitaCartellaOccupata);
    const QString errori = QString::fromUtf8(lavoro.readAllStandardError());
    EXPECT_TRUE(errori.contains(QString::fromUtf8(kMessaggioCartellaOccupata) + ": "))
        << errori.toStdString();
  }
  EXPECT_FALSE(QFile::exists(dir.file("x.xlsx")));
  EXPECT_EQ(esegui({"salva", dir.file("copie")}), 0);
}

}  // namespace
}  // namespace listinova
