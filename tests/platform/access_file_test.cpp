#include "platform/db/access_file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <stdexcept>

#include "support/file_helpers.h"

namespace listinova::platform::db {
namespace {

const QString kSamples = QStringLiteral(LISTINOVA_TESTDATA "/access");

QString sample(const char* name) { return kSamples + u'/' + QString::fromUtf8(name); }

class AccessSamples : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QDir(kSamples).exists())
      GTEST_SKIP() << "Cartella dei database Access di prova assente: " << kSamples.toStdString();
  }
};

QDateTime day(int year, int month, int dayOfMonth, QTime time = QTime(0, 0)) {
  return QDateTime(QDate(year, month, dayOfMonth), time, Qt::UTC);
}

void writeFile(const QString& path, const QByteArray& bytes) {
  ASSERT_TRUE(listinova::testing::writeAll(path, bytes));
}

QByteArray noise(int size) {
  std::mt19937 generator(20240611);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& byte : bytes) byte = char(generator() & 0xff);
  return bytes;
}

std::string openingError(const QString& path) {
  try {
    AccessFile file(path);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return {};
}

TEST_F(AccessSamples, RecognisesAccessFilesByTheirHeader) {
  EXPECT_TRUE(isAccessFile(sample("nwind.mdb")));
  EXPECT_TRUE(isAccessFile(sample("DateTestDatabase.mdb")));
  EXPECT_TRUE(isAccessFile(sample("ASampleDatabase.accdb")));

  QTemporaryDir folder;
  const QString sqlitePath = folder.filePath("DbNegozio.mdb");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(sqlitePath.toUtf8().constData(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE Magazzino (Codice TEXT)", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  writeFile(folder.filePath("vuoto.mdb"), {});
  writeFile(folder.filePath("testo.mdb"), "Standard Jet DB, ma solo come testo\n");

  EXPECT_FALSE(isAccessFile(sqlitePath));
  EXPECT_FALSE(isAccessFile(folder.filePath("vuoto.mdb")));
  EXPECT_FALSE(isAccessFile(folder.filePath("testo.mdb")));
  EXPECT_FALSE(isAccessFile(folder.filePath("assente.mdb")));
}

TEST_F(AccessSamples, UnreadableFilesThrowItalianMessages) {
  QTemporaryDir folder;
  writeFile(folder.filePath("rumore.mdb"), noise(8192));
  const QByteArray nwindStart = listinova::testing::readAll(sample("nwind.mdb")).left(4096);
  writeFile(folder.filePath("troncato.mdb"), nwindStart);
  writeFile(folder.filePath("rovinato.mdb"), nwindStart.left(2048) + noise(200000));

  EXPECT_NE(openingError(folder.filePath("assente.mdb")).find("non esiste"), std::string::npos);
  EXPECT_NE(openingError(folder.filePath("rumore.mdb")).find("non è un database Access"),
            std::string::npos);
  // A genuine header over broken pages is left to libmdb, which must refuse it cleanly.
  EXPECT_NE(openingError(folder.filePath("troncato.mdb")).find("Impossibile"), std::string::npos);
  EXPECT_NE(openingError(folder.filePath("rovinato.mdb")).find("Impossibile"), std::string::npos);
}

// Tables, their columns and values are checked after conversion, in access_to_sqlite_test.
TEST_F(AccessSamples, CountsRowsAndMatchesTableNamesWithoutCase) {
  const AccessFile nwind(sample("nwind.mdb"));
  EXPECT_EQ(nwind.rowCount("ORDER DETAILS"), 2155);
  EXPECT_EQ(nwind.rowCount("UMSÄTZE"), 830);
  qint64 fetched = 0;
  nwind.forEachRow("orders", [&](const QVariantList&) { ++fetched; });
  EXPECT_EQ(fetched, 830);
  try {
    nwind.rowCount("Magazzino");
    FAIL() << "una tabella assente deve dare un errore";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("La tabella Magazzino non esiste"), std::string::npos);
  }
}

// Before the epoch the fraction still counts forward from midnight; a time a breath before
// midnight rounds to the next day.
TEST(AccessDates, KeepTheTimeOfDayOnBothSidesOfTheEpoch) {
  const std::pair<double, QDateTime> casi[] = {
      {0, day(1899, 12, 30)},
      {2.75, day(1900, 1, 1, QTime(18, 0))},
      {-1.25, day(1899, 12, 29, QTime(6, 0))},
      {-0.5, day(1899, 12, 30, QTime(12, 0))},
      {44532 + (13 * 3600 + 45 * 60 + 30.4) / 86400.0, day(2021, 12, 2, QTime(13, 45, 30))},
      {44532 + 86399.6 / 86400.0, day(2021, 12, 3)},
      {-2 - 86399.6 / 86400.0, day(1899, 12, 29)},
  };
  for (const auto& [giorni, atteso] : casi) EXPECT_EQ(dateTimeFromAccess(giorni), atteso) << giorni;
}

}  // namespace
}  // namespace listinova::platform::db
