#include "platform/db/access_file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <stdexcept>

namespace listinova::platform::db {
namespace {

const QString kSamples = QStringLiteral(LISTINOVA_TESTDATA "/access");

QString sample(const char* name) { return kSamples + u'/' + QString::fromUtf8(name); }

class AccessSamples : public testing::Test {
 protected:
  void SetUp() override {
    if (!QDir(kSamples).exists())
      GTEST_SKIP() << "Cartella dei database Access di prova assente: " << kSamples.toStdString();
  }
};

QVariantList rowWhere(const AccessFile& file, const QString& table, int column,
                      const QVariant& key) {
  QVariantList found;
  file.forEachRow(table, [&](const QVariantList& values) {
    if (values[column] == key) found = values;
  });
  return found;
}

QDateTime day(int year, int month, int dayOfMonth, QTime time = QTime(0, 0)) {
  return QDateTime(QDate(year, month, dayOfMonth), time, Qt::UTC);
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray readFile(const QString& path, qint64 size) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return file.read(size);
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
  const QByteArray nwindStart = readFile(sample("nwind.mdb"), 4096);
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

TEST_F(AccessSamples, ReadsTypedValuesOfAJet3File) {
  const AccessFile nwind(sample("nwind.mdb"));

  const QVariantList product = rowWhere(nwind, "Products", 0, qint64(5));
  ASSERT_EQ(product.size(), 10);
  EXPECT_EQ(product[1], QVariant(QStringLiteral("Chef Anton's Gumbo Mix")));
  EXPECT_EQ(product[5].typeId(), QMetaType::Double);
  EXPECT_EQ(product[5].toDouble(), 21.35);
  EXPECT_EQ(product[9], QVariant(true));
  EXPECT_EQ(rowWhere(nwind, "Products", 0, qint64(1))[9], QVariant(false));

  int discontinued = 0;
  nwind.forEachRow("Products",
                   [&](const QVariantList& values) { discontinued += values[9].toBool(); });
  EXPECT_EQ(discontinued, 8);

  // Single 0.15 comes across as the decimal it shows, not as 0.15000000596...
  QVariantList detail;
  nwind.forEachRow("Order Details", [&](const QVariantList& values) {
    if (values[0] == qint64(10250) && values[1] == qint64(51)) detail = values;
  });
  ASSERT_FALSE(detail.isEmpty());
  EXPECT_EQ(detail[2].toDouble(), 42.4);
  EXPECT_EQ(detail[3], QVariant(qint64(35)));
  EXPECT_EQ(detail[4].toDouble(), 0.15);

  const QVariantList order = rowWhere(nwind, "Orders", 0, qint64(10331));
  EXPECT_EQ(order[3], QVariant(day(1994, 11, 16)));
  EXPECT_EQ(order[7].toDouble(), 10.19);
  EXPECT_EQ(order[9], QVariant(QStringLiteral("12, rue des Bouchers")));
  EXPECT_TRUE(order[11].isNull());

  const QVariantList employee = rowWhere(nwind, "Employees", 0, qint64(2));
  EXPECT_EQ(employee[5], QVariant(day(1952, 2, 19)));
  const QString notes = employee[15].toString();
  EXPECT_EQ(notes.size(), 448);
  EXPECT_TRUE(notes.startsWith("Andrew received his BTS commercial in 1974 and a Ph.D."));
  EXPECT_TRUE(notes.endsWith("the Pacific Rim Importers Association."));
  EXPECT_EQ(employee[14].toByteArray().size(), 21626);
  EXPECT_TRUE(employee[14].toByteArray().startsWith("\x15\x1c"));
  EXPECT_EQ(rowWhere(nwind, "Employees", 0, qint64(3))[14].toByteArray().size(), 21722);
}

TEST_F(AccessSamples, DecodesNonAsciiText) {
  const AccessFile nwind(sample("nwind.mdb"));
  EXPECT_EQ(rowWhere(nwind, "Umsätze", 0, qint64(10332))[11], QVariant(QStringLiteral("Québec")));
  const QVariantList supplier = rowWhere(nwind, "Suppliers", 0, qint64(9));
  EXPECT_EQ(supplier[1], QVariant(QStringLiteral("PB Knäckebröd AB")));
  EXPECT_EQ(supplier[5], QVariant(QStringLiteral("Göteborg")));
  int nonAscii = 0;
  nwind.forEachRow("Products", [&](const QVariantList& values) {
    const QString name = values[1].toString();
    nonAscii += std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 127; });
    if (values[0] == qint64(22)) {
      EXPECT_EQ(name, QStringLiteral("Gustaf's Knäckebröd"));
    }
  });
  EXPECT_EQ(nonAscii, 18);
}

TEST_F(AccessSamples, ReadsDatesBeforeAndAfterTheAccessEpoch) {
  const AccessFile file(sample("DateTestDatabase.mdb"));
  std::vector<QVariantList> rows;
  file.forEachRow("DateTest", [&](const QVariantList& values) { rows.push_back(values); });
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0][0], QVariant(qint64(1)));
  EXPECT_EQ(rows[0][1], QVariant(day(2021, 12, 2)));
  EXPECT_EQ(rows[1][1], QVariant(day(9999, 1, 1)));
  EXPECT_EQ(rows[2][1], QVariant(day(1898, 1, 1)));
  EXPECT_EQ(rows[2][2], QVariant(day(1899, 1, 1)));
  EXPECT_EQ(rows[2][3], QVariant(day(1900, 1, 1)));
  EXPECT_EQ(rows[3][1], QVariant(day(632, 1, 1)));
  EXPECT_EQ(rows[3][3], QVariant(day(634, 1, 1)));
  EXPECT_EQ(rows[1][4], QVariant(QStringLiteral("Year 9999")));
  EXPECT_EQ(rows[1][5], QVariant(QStringLiteral("Year 1999")));
  EXPECT_EQ(rows[5][4].toString(), QStringLiteral("New line\r\nin field"));
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

TEST_F(AccessSamples, ReadsAnAceFile) {
  const AccessFile file(sample("ASampleDatabase.accdb"));
  EXPECT_EQ(file.rowCount("Asset Items"), 65);
  const QVariantList first = rowWhere(file, "Asset Items", 0, QStringLiteral("30050"));
  ASSERT_EQ(first.size(), 13);
  EXPECT_EQ(first[2], QVariant(QStringLiteral("GEO Rocket")));
  EXPECT_EQ(first[7], QVariant(day(1997, 9, 2)));
  EXPECT_EQ(first[8].toDouble(), 1995.5);
  EXPECT_EQ(first[9], QVariant(qint64(12)));
  EXPECT_TRUE(first[12].isNull());
}

}  // namespace
}  // namespace listinova::platform::db
