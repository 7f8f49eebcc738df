#include "register/log_driver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

QByteArray contenuto(const QString& percorso) {
  QFile file(percorso);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void scriviDimensione(const QString& percorso, qint64 byte) {
  QFile file(percorso);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(byte, 'x'));
}

// Each entry is a date line and the text. A log of exactly the limit is kept; a longer one is
// moved into Err before the entry, a second move in the same minute keeping the first.
TEST(LogDelDriver, EntriesAndTheMoveOfALogTooLong) {
  CartellaDiProva cartella;
  testing::FakeClock orologio;
  LogDriver log{cartella.root(), orologio};
  orologio.current = QDateTime(QDate(2026, 12, 4), QTime(15, 30, 7));
  log.ScriviLogDriver(QString::fromUtf8("  prima è"));
  orologio.current = orologio.current.addSecs(3600 * 24);
  log.ScriviLogDriver("seconda");
  EXPECT_EQ(log.percorsoLog(), cartella.file("BrindeloLOG.dat"));
  EXPECT_EQ(contenuto(log.percorsoLog()), QByteArray("-04/12/2026-15:30:07\r\n  prima \xc3\xa8\r\n"
                                                     "-05/12/2026-15:30:07\r\nseconda\r\n"));

  scriviDimensione(log.percorsoLog(), LogDriver::kDimensioneMassima);
  log.ScriviLogDriver("ancora");
  EXPECT_EQ(QFileInfo(log.percorsoLog()).size(), LogDriver::kDimensioneMassima + 30);
  EXPECT_FALSE(QFileInfo::exists(cartella.file("Err")));

  for (int volta = 0; volta < 3; ++volta) {
    scriviDimensione(log.percorsoLog(), LogDriver::kDimensioneMassima + 1);
    log.ScriviLogDriver("nuovo");
  }
  EXPECT_EQ(QDir(cartella.file("Err")).entryList(QDir::Files, QDir::Name),
            QStringList({"LOG51220261530.bak", "LOG51220261530_2.bak", "LOG51220261530_3.bak"}));
  EXPECT_EQ(QFileInfo(cartella.file("Err/LOG51220261530.bak")).size(),
            LogDriver::kDimensioneMassima + 1);
  EXPECT_EQ(contenuto(log.percorsoLog()), QByteArray("-05/12/2026-15:30:07\r\nnuovo\r\n"));
}

TEST(LogDelDriver, FailureIsSilent) {
  CartellaDiProva cartella;
  testing::FakeClock orologio;
  scriviDimensione(cartella.file("file"), 1);
  LogDriver log(cartella.file("file/sotto"), orologio);
  log.ScriviLogDriver("perso");
  EXPECT_FALSE(QFileInfo::exists(log.percorsoLog()));
}

}  // namespace
}  // namespace listinova
