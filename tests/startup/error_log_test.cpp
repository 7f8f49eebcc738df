#include "startup/error_log.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "support/fakes.h"
#include "support/file_helpers.h"

namespace listinova {
namespace {

class ErrorLogTest : public ::testing::Test {
 protected:
  QString dati(const QString& name) const { return folder_.filePath("Dati/" + name); }
  void put(const QString& name, const QByteArray& bytes) const {
    ASSERT_TRUE(testing::writeAll(dati(name), bytes));
  }
  QByteArray bytes(const QString& name) const { return testing::readAll(dati(name)); }

  QTemporaryDir folder_;
  testing::FakeClock clock_;
  ErrorLog log_{folder_.path(), clock_};
};

// Only through the installed log; one line per error, oldest first, breaks as blanks.
TEST_F(ErrorLogTest, WritesOneLinePerErrorThroughTheInstalledLog) {
  ScriviErrore("M", "P", "prima di installare", 1);
  EXPECT_FALSE(QFileInfo::exists(dati("ErrorLog.dat")));
  installaErrorLog(&log_);
  ScriviErrore("AggiungiMateriale", "SalvaDatiMateriale", "Divisione per zero", 11);
  clock_.current = QDateTime(QDate(2027, 1, 2), QTime(23, 59, 58));
  ScriviErrore("Funzioni", "ApriArchivio", QStringLiteral("Già\r\naperto\nqui"), "E7");
  installaErrorLog(nullptr);
  ScriviErrore("M", "P", "dopo", 2);
  EXPECT_EQ(bytes("ErrorLog.dat"),
            QStringLiteral("[-15/03/2024-09:30:00- Des.:Divisione per zero Err.N.:11 "
                           "*-AggiungiMateriale-SalvaDatiMateriale-]\r\n"
                           "[-02/01/2027-23:59:58- Des.:Già  aperto qui Err.N.:E7 "
                           "*-Funzioni-ApriArchivio-]\r\n")
                .toUtf8());
}

// Exactly the limit stays; one byte over is moved to Errori.bak, LogErr.ini first so that
// ErrorLog.dat takes the plain name and the older backup the dated one, with a suffix when that
// is taken too.
TEST_F(ErrorLogTest, AnOversizedLogIsMovedAndNoBackupIsLost) {
  put("LogErr.ini", QByteArray(120000, 'x'));
  log_.controllaDimensione();
  EXPECT_EQ(bytes("LogErr.ini").size(), 120000);
  EXPECT_FALSE(QFileInfo::exists(dati("Err")));

  put("Err/Errori153202409_30_00.bak", "primo");
  put("LogErr.ini", QByteArray(120001, 'i'));
  put("ErrorLog.dat", QByteArray(140000, 'd'));
  log_.controllaDimensione();
  EXPECT_EQ(bytes("Err/Errori153202409_30_00.bak"), "primo");
  EXPECT_EQ(bytes("Err/Errori153202409_30_00_2.bak"), QByteArray(120001, 'i'));
  EXPECT_EQ(bytes("Err/Errori.bak"), QByteArray(140000, 'd'));
  EXPECT_FALSE(QFileInfo::exists(dati("LogErr.ini")));
  EXPECT_FALSE(QFileInfo::exists(dati("ErrorLog.dat")));
  EXPECT_EQ(clock_.waits, std::vector<int>({100, 100}));
}

// A folder that cannot be made is logged, and the logs stay where they are.
TEST_F(ErrorLogTest, FailureIsLoggedAndStopsTheRule) {
  put("Err", "un file dove serve la cartella");
  put("LogErr.ini", QByteArray(120001, 'i'));
  put("ErrorLog.dat", QByteArray(120001, 'd'));
  log_.controllaDimensione();
  EXPECT_EQ(bytes("LogErr.ini").size(), 120001);
  const QByteArray logged = bytes("ErrorLog.dat");
  ASSERT_TRUE(logged.startsWith(QByteArray(120001, 'd'))) << "ErrorLog.dat was not rotated";
  const QByteArray line = logged.mid(120001);
  EXPECT_TRUE(line.startsWith("[-15/03/2024-09:30:00- Des.:")) << line.constData();
  EXPECT_TRUE(line.endsWith(" Err.N.:75 *-Funzioni-ControllaDimensioneErrori-]\r\n"))
      << line.constData();
  EXPECT_EQ(line.count("\r\n"), 1);
  EXPECT_TRUE(clock_.waits.empty());
}

}  // namespace
}  // namespace listinova
