// Scheduled jobs and the open window share the shop folder's lock: a job that finds it held
// does nothing, says so and ends with its own status; only the backup runs alongside.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/single_instance.h"
#include "startup/lavoro_non_avviato.h"
#include "support/qt_print.h"

namespace {

struct Esito {
  int stato = -1;
  QString errori;
};

Esito esegui(const QTemporaryDir& dir, const QStringList& argomenti) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LISTINOVA_CARTELLA", dir.filePath("negozio"));
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  p.setProcessEnvironment(env);
  p.setStandardInputFile(QProcess::nullDevice());
  p.start(LISTINOVA_BINARY, argomenti);
  if (!p.waitForFinished(60000)) return {};
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

TEST(CartellaOccupata, EveryJobButTheBackupRefusesAFolderHeldByTheWindow) {
  QTemporaryDir dir;
  ASSERT_EQ(esegui(dir, {"esporta", "magazzino", dir.filePath("prima.xlsx")}).stato, 0);
  QFile prodotti(dir.filePath("prodotti.txt"));
  ASSERT_TRUE(prodotti.open(QIODevice::WriteOnly));
  prodotti.write(";;;8000000000017;Pane;1;;;;1,20;;5\n");
  prodotti.close();

  listinova::platform::SingleInstanceGuard finestra(dir.filePath("negozio"));
  ASSERT_TRUE(finestra.acquired());
  const QStringList lavori[] = {
      {"invia", "--si"},
      {"leggi", "--codice", "1"},
      {"interscambio"},
      {"importa", prodotti.fileName(), "--si"},
      {"esporta", "magazzino", dir.filePath("x.xlsx")},
      {"stampa", "magazzino", dir.filePath("x.pdf")},
      {"etichette", dir.filePath("e.pdf")},
  };
  for (const QStringList& lavoro : lavori) {
    SCOPED_TRACE(lavoro.join(' ').toStdString());
    const Esito esito = esegui(dir, lavoro);
    EXPECT_EQ(esito.stato, listinova::kUscitaCartellaOccupata);
    EXPECT_TRUE(
        esito.errori.contains(QString::fromUtf8(listinova::kMessaggioCartellaOccupata) + ": "))
        << esito.errori.toStdString();
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("x.xlsx")));
  EXPECT_EQ(esegui(dir, {"salva", dir.filePath("copie")}).stato, 0);
}

}  // namespace
