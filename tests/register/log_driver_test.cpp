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

class LogDelDriver : public ::testing::Test {
 protected:
  QStringList archiviati() const {
    return QDir(cartella.file("Err")).entryList(QDir::Files, QDir::Name);
  }

  CartellaDiProva cartella;
  testing::FakeClock orologio;
  LogDriver log{cartella.root(), orologio};
};

TEST_F(LogDelDriver, EachEntryIsADateLineAndTheText) {
  orologio.current = QDateTime(QDate(2026, 12, 4), QTime(15, 30, 7));
  log.ScriviLogDriver(QString::fromUtf8("  prima è"));
  orologio.current = orologio.current.addSecs(3600 * 24);
  log.ScriviLogDriver("seconda");

  EXPECT_EQ(log.percorsoLog(), cartella.file("BrindeloLOG.dat"));
  EXPECT_EQ(contenuto(log.percorsoLog()), QByteArray("-04/12/2026-15:30:07\r\n  prima \xc3\xa8\r\n"
                                                     "-05/12/2026-15:30:07\r\nseconda\r\n"));
  EXPECT_TRUE(orologio.waits.empty());
}

TEST_F(LogDelDriver, LogOfExactlyTheLimitIsKept) {
  scriviDimensione(log.percorsoLog(), LogDriver::kDimensioneMassima);

  log.ScriviLogDriver("ancora");

  EXPECT_EQ(QFileInfo(log.percorsoLog()).size(), LogDriver::kDimensioneMassima + 30);
  EXPECT_FALSE(QFileInfo::exists(cartella.file("Err")));
}

TEST_F(LogDelDriver, LongerLogIsMovedIntoErrBeforeTheEntry) {
  orologio.current = QDateTime(QDate(2026, 12, 4), QTime(15, 30, 59));
  scriviDimensione(log.percorsoLog(), LogDriver::kDimensioneMassima + 1);

  log.ScriviLogDriver("nuovo");

  EXPECT_EQ(archiviati(), QStringList({"LOG41220261530.bak"}));
  EXPECT_EQ(QFileInfo(cartella.file("Err/LOG41220261530.bak")).size(),
            LogDriver::kDimensioneMassima + 1);
  EXPECT_EQ(contenuto(log.percorsoLog()), QByteArray("-04/12/2026-15:30:59\r\nnuovo\r\n"));
  EXPECT_EQ(orologio.waits, std::vector<int>({100}));
}

TEST_F(LogDelDriver, SecondMoveInTheSameMinuteKeepsTheFirst) {
  orologio.current = QDateTime(QDate(2025, 1, 9), QTime(8, 5));
  for (int volta = 0; volta < 3; ++volta) {
    scriviDimensione(log.percorsoLog(), LogDriver::kDimensioneMassima + 1);
    log.ScriviLogDriver("x");
  }

  EXPECT_EQ(archiviati(),
            QStringList({"LOG9120250805.bak", "LOG9120250805_2.bak", "LOG9120250805_3.bak"}));
}

TEST(LogDriverNonScrivibile, FailureIsSilent) {
  CartellaDiProva cartella;
  testing::FakeClock orologio;
  scriviDimensione(cartella.file("file"), 1);
  LogDriver log(cartella.file("file/sotto"), orologio);

  log.ScriviLogDriver("perso");

  EXPECT_FALSE(QFileInfo::exists(log.percorsoLog()));
}

}  // namespace
}  // namespace listinova
