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

TEST_F(AccessSamples, ListsOnlyUserTables) {
  EXPECT_EQ(AccessFile(sample("nwind.mdb")).tables(),
            QStringList({"Order Details", "Orders", "Products", "Shippers", "Categories",
                         "Customers", "Employees", "Suppliers", "Umsätze"}));
  // The hidden f_..._Data table and the MSys ones stay out.
  EXPECT_EQ(AccessFile(sample("DateTestDatabase.mdb")).tables(), QStringList{"DateTest"});
  EXPECT_EQ(AccessFile(sample("ASampleDatabase.accdb")).tables(), QStringList{"Asset Items"});
}

TEST_F(AccessSamples, CountsRowsAndMatchesTableNamesWithoutCase) {
  const AccessFile nwind(sample("nwind.mdb"));
  EXPECT_EQ(nwind.rowCount("Order Details"), 2155);
  EXPECT_EQ(nwind.rowCount("ORDER DETAILS"), 2155);
  EXPECT_EQ(nwind.rowCount("umsätze"), 830);
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

// The values read are checked after conversion, in access_to_sqlite_test.
TEST_F(AccessSamples, DescribesColumnTypes) {
  const AccessFile nwind(sample("nwind.mdb"));
  const auto products = nwind.columns("Products");
  ASSERT_EQ(products.size(), 10u);
  EXPECT_EQ(products[0].name, "ProductID");
  EXPECT_EQ(products[0].type, AccessType::LongInteger);
  EXPECT_EQ(products[1].type, AccessType::Text);
  EXPECT_EQ(products[1].size, 40);
  EXPECT_EQ(products[5].name, "UnitPrice");
  EXPECT_EQ(products[5].type, AccessType::Currency);
  EXPECT_EQ(products[6].type, AccessType::Integer);
  EXPECT_EQ(products[9].name, "Discontinued");
  EXPECT_EQ(products[9].type, AccessType::Boolean);

  const auto details = nwind.columns("Order Details");
  EXPECT_EQ(details[3].type, AccessType::Integer);
  EXPECT_EQ(details[4].type, AccessType::Single);

  const auto employees = nwind.columns("Employees");
  EXPECT_EQ(employees[5].type, AccessType::DateTime);
  EXPECT_EQ(employees[14].name, "Photo");
  EXPECT_EQ(employees[14].type, AccessType::Ole);
  EXPECT_EQ(employees[15].name, "Notes");
  EXPECT_EQ(employees[15].type, AccessType::Memo);

  const auto assets = AccessFile(sample("ASampleDatabase.accdb")).columns("Asset Items");
  ASSERT_EQ(assets.size(), 13u);
  EXPECT_EQ(assets[0].name, "Asset No");
  EXPECT_EQ(assets[8].type, AccessType::Currency);
  EXPECT_EQ(assets[12].type, AccessType::Memo);
}

TEST(AccessDates, KeepTheTimeOfDayOnBothSidesOfTheEpoch) {
  EXPECT_EQ(dateTimeFromAccess(0), day(1899, 12, 30));
  EXPECT_EQ(dateTimeFromAccess(0.5), day(1899, 12, 30, QTime(12, 0)));
  EXPECT_EQ(dateTimeFromAccess(2.75), day(1900, 1, 1, QTime(18, 0)));
  // Before the epoch the fraction still counts forward from midnight.
  EXPECT_EQ(dateTimeFromAccess(-1.25), day(1899, 12, 29, QTime(6, 0)));
  EXPECT_EQ(dateTimeFromAccess(-0.5), day(1899, 12, 30, QTime(12, 0)));
  const double afternoon = 44532 + (13 * 3600 + 45 * 60 + 30.4) / 86400.0;
  EXPECT_EQ(dateTimeFromAccess(afternoon), day(2021, 12, 2, QTime(13, 45, 30)));
  EXPECT_EQ(dateTimeFromAccess(44532 + 86399.6 / 86400.0), day(2021, 12, 3));
  EXPECT_EQ(dateTimeFromAccess(-2 - 86399.6 / 86400.0), day(1899, 12, 29));
}

}  // namespace
}  // namespace listinova::platform::db
