#include "startup/error_log.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "support/file_helpers.h"

namespace listinova {
namespace {

class FixedClock : public platform::Clock {
 public:
  QDateTime now() const override { return time; }
  void wait(int milliseconds) override { waited += milliseconds; }

  QDateTime time{QDate(2026, 12, 7), QTime(9, 5, 3)};
  int waited = 0;
};

class ErrorLogTest : public ::testing::Test {
 protected:
  QString dati(const QString& name) const { return folder_.filePath("Dati/" + name); }
  void put(const QString& name, const QByteArray& bytes) const {
    ASSERT_TRUE(testing::writeAll(dati(name), bytes));
  }
  QByteArray bytes(const QString& name) const { return testing::readAll(dati(name)); }

  QTemporaryDir folder_;
  FixedClock clock_;
  ErrorLog log_{folder_.path(), clock_};
};

TEST_F(ErrorLogTest, WritesOneLinePerErrorOldestFirstWithBreaksAsBlanks) {
  EXPECT_EQ(log_.percorsoLog(), folder_.path() + "/Dati/ErrorLog.dat");
  log_.scrivi("AggiungiMateriale", "SalvaDatiMateriale", "Divisione per zero", "11");
  clock_.time = QDateTime(QDate(2027, 1, 2), QTime(23, 59, 58));
  log_.scrivi("Funzioni", "ApriArchivio", QStringLiteral("Già\r\naperto\nqui"), "3021");
  EXPECT_EQ(bytes("ErrorLog.dat"),
            QStringLiteral("[-07/12/2026-09:05:03- Des.:Divisione per zero Err.N.:11 "
                           "*-AggiungiMateriale-SalvaDatiMateriale-]\r\n"
                           "[-02/01/2027-23:59:58- Des.:Già  aperto qui Err.N.:3021 "
                           "*-Funzioni-ApriArchivio-]\r\n")
                .toUtf8());
}

TEST_F(ErrorLogTest, AnUnwritableLogIsIgnored) {
  put("ErrorLog.dat/occupato", "");
  log_.scrivi("M", "P", "nulla", "1");
  EXPECT_TRUE(QFileInfo(dati("ErrorLog.dat")).isDir());
}

TEST_F(ErrorLogTest, ScriviErroreWritesThroughTheInstalledLogOnly) {
  ScriviErrore("M", "P", "prima di installare", 1);
  EXPECT_FALSE(QFile::exists(dati("ErrorLog.dat")));
  installaErrorLog(&log_);
  ScriviErrore("M", "P", "numero intero", 13);
  ScriviErrore("M", "P", "numero testo", "E7");
  installaErrorLog(nullptr);
  ScriviErrore("M", "P", "dopo", 2);
  EXPECT_EQ(bytes("ErrorLog.dat"),
            "[-07/12/2026-09:05:03- Des.:numero intero Err.N.:13 *-M-P-]\r\n"
            "[-07/12/2026-09:05:03- Des.:numero testo Err.N.:E7 *-M-P-]\r\n");
}

class ErrorLogSizeRuleTest : public ErrorLogTest,
                             public ::testing::WithParamInterface<const char*> {
 protected:
  QString logName() const { return QString::fromLatin1(GetParam()); }
};

// Exactly the limit stays; one byte over is moved to Errori.bak, an older backup taking the
// dated name, with a suffix when that is taken too.
TEST_P(ErrorLogSizeRuleTest, AnOversizedLogIsMovedAndNoBackupIsLost) {
  put(logName(), QByteArray(120000, 'x'));
  log_.controllaDimensione();
  EXPECT_EQ(bytes(logName()).size(), 120000);
  EXPECT_FALSE(QFileInfo::exists(dati("Err")));

  put(logName(), QByteArray(120001, 'x'));
  log_.controllaDimensione();
  EXPECT_FALSE(QFileInfo::exists(dati(logName())));
  EXPECT_EQ(QDir(dati("Err")).entryList(QDir::Files), QStringList{"Errori.bak"});

  put("Err/Errori712202609_05_03.bak", "primo");
  put(logName(), QByteArray(120001, 'n'));
  log_.controllaDimensione();
  EXPECT_EQ(bytes("Err/Errori712202609_05_03.bak"), "primo");
  EXPECT_EQ(bytes("Err/Errori712202609_05_03_2.bak"), QByteArray(120001, 'x'));
  EXPECT_EQ(bytes("Err/Errori.bak"), QByteArray(120001, 'n'));
  EXPECT_EQ(clock_.waited, 200);
}

INSTANTIATE_TEST_SUITE_P(BothLogs, ErrorLogSizeRuleTest,
                         ::testing::Values("LogErr.ini", "ErrorLog.dat"));

TEST_F(ErrorLogTest, BothOversizedLogsAreRotatedLogErrFirst) {
  put("LogErr.ini", QByteArray(130000, 'i'));
  put("ErrorLog.dat", QByteArray(140000, 'd'));
  log_.controllaDimensione();
  EXPECT_EQ(bytes("Err/Errori712202609_05_03.bak"), QByteArray(130000, 'i'));
  EXPECT_EQ(bytes("Err/Errori.bak"), QByteArray(140000, 'd'));
  EXPECT_FALSE(QFileInfo::exists(dati("LogErr.ini")));
  EXPECT_FALSE(QFileInfo::exists(dati("ErrorLog.dat")));
}

TEST_F(ErrorLogTest, FailureIsLoggedAndStopsTheRule) {
  put("Err", "un file dove serve la cartella");
  put("LogErr.ini", QByteArray(120001, 'i'));
  put("ErrorLog.dat", QByteArray(120001, 'd'));
  log_.controllaDimensione();
  EXPECT_EQ(bytes("LogErr.ini").size(), 120001);
  const QByteArray logged = bytes("ErrorLog.dat");
  ASSERT_TRUE(logged.startsWith(QByteArray(120001, 'd'))) << "ErrorLog.dat was not rotated";
  const QByteArray line = logged.mid(120001);
  EXPECT_TRUE(line.startsWith("[-07/12/2026-09:05:03- Des.:")) << line.constData();
  EXPECT_TRUE(line.endsWith(" Err.N.:75 *-Funzioni-ControllaDimensioneErrori-]\r\n"))
      << line.constData();
  EXPECT_EQ(line.count("\r\n"), 1);
  EXPECT_EQ(clock_.waited, 0);
}

}  // namespace
}  // namespace listinova
