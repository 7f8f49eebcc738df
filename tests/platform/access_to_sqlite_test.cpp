// Access files: recognised, read, and converted into the store.
#include "platform/db/access_to_sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>
#include <QVariant>
#include <map>
#include <random>
#include <stdexcept>

#include "platform/db/access_file.h"
#include "support/file_helpers.h"

namespace listinova::platform::db {
namespace {

const QString kSamples = QStringLiteral(LISTINOVA_TESTDATA "/access");

QString sample(const char* name) { return kSamples + u'/' + QString::fromUtf8(name); }

// A fresh SQLite store file, closed at the end of the test.
class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QDir(kSamples).exists())
      GTEST_SKIP() << "Cartella dei database Access di prova assente: " << kSamples.toStdString();
    ASSERT_TRUE(folder_.isValid());
    ASSERT_EQ(sqlite3_open(folder_.filePath("DbNegozio.mdb").toUtf8().constData(), &db_),
              SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db_); }

  void exec(const char* sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
  }

  // Every column of the first row, typed as SQLite holds it.
  QVariantList row(const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db_);
    QVariantList values;
    if (statement && sqlite3_step(statement) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        switch (sqlite3_column_type(statement, i)) {
          case SQLITE_INTEGER:
            values << qint64(sqlite3_column_int64(statement, i));
            break;
          case SQLITE_FLOAT:
            values << sqlite3_column_double(statement, i);
            break;
          case SQLITE_BLOB:
            values << QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, i)),
                                 sqlite3_column_bytes(statement, i));
            break;
          case SQLITE_TEXT:
            values << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
            break;
          default:
            values << QVariant();
            break;
        }
      }
    }
    sqlite3_finalize(statement);
    return values;
  }
  QVariant value(const QString& sql) {
    const QVariantList values = row(sql);
    return values.isEmpty() ? QVariant() : values.first();
  }
  qint64 count(const QString& table) {
    return value(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)).toLongLong();
  }
  std::map<std::string, std::string> declaredTypes(const QString& table) {
    std::map<std::string, std::string> types;
    sqlite3_stmt* statement = nullptr;
    const QString sql =
        QStringLiteral("SELECT name, type, pk FROM pragma_table_info('%1')").arg(table);
    sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
      EXPECT_EQ(sqlite3_column_int(statement, 2), 0) << "nessuna chiave primaria";
      types[reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))] =
          reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    }
    sqlite3_finalize(statement);
    return types;
  }

  QTemporaryDir folder_;
  sqlite3* db_ = nullptr;
};

template <typename Call>
std::string errorOf(Call call) {
  try {
    call();
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return {};
}

// Every table of Jet 3, Jet 4 and ACE files with all its rows, under the store's types.
TEST_F(Store, ConvertsEveryTableWithItsRowsAndTheStoreTypes) {
  const ConversionReport report = convertAccessToSqlite(sample("nwind.mdb"), db_);
  const std::map<QString, qint64> expected = {
      {"Order Details", 2155}, {"Orders", 830},   {"Products", 77},
      {"Shippers", 3},         {"Categories", 8}, {"Customers", 91},
      {"Employees", 9},        {"Suppliers", 29}, {"Umsätze", 830}};
  for (const auto& [table, rows] : expected) EXPECT_EQ(count(table), rows) << table.toStdString();
  EXPECT_EQ(report.tables, 9);
  EXPECT_EQ(report.rows, 4032);
  EXPECT_TRUE(report.skippedColumns.isEmpty());
  const ConversionReport assets = convertAccessToSqlite(sample("ASampleDatabase.accdb"), db_);
  EXPECT_EQ(assets.rows, 65);
  EXPECT_EQ(count("Asset Items"), 65);

  const auto products = declaredTypes("Products");
  EXPECT_EQ(products.at("ProductName"), "TEXT");
  EXPECT_EQ(products.at("UnitPrice"), "CURRENCY");
  EXPECT_EQ(products.at("Discontinued"), "BOOLEAN");
  EXPECT_EQ(declaredTypes("Order Details").at("Discount"), "REAL");
  const auto employees = declaredTypes("Employees");
  EXPECT_EQ(employees.at("BirthDate"), "DATETIME");
  EXPECT_EQ(employees.at("Photo"), "BLOB");
  EXPECT_EQ(value("SELECT COUNT(*) FROM Products WHERE ProductName = 'CHAI'").toInt(), 1);
}

// Numbers exact, yes/no as -1 and 0, memo and objects whole, names and values beyond ASCII,
// nulls, and dates as ISO text.
TEST_F(Store, EveryValueComesAcrossExactly) {
  convertAccessToSqlite(sample("nwind.mdb"), db_);
  convertAccessToSqlite(sample("DateTestDatabase.mdb"), db_);
  convertAccessToSqlite(sample("ASampleDatabase.accdb"), db_);
  const std::pair<const char*, QVariantList> casi[] = {
      {"SELECT UnitPrice, typeof(UnitPrice), UnitsInStock FROM Products WHERE ProductID = 5",
       {21.35, "real", qint64(0)}},
      {"SELECT UnitPrice, Quantity, Discount FROM \"Order Details\" "
       "WHERE OrderID = 10250 AND ProductID = 51",
       {42.4, qint64(35), 0.15}},
      // Totals in ten-thousandths, as Access adds them up.
      {"SELECT SUM(CAST(ROUND(Freight * 10000) AS INTEGER)) FROM Orders", {qint64(649426900)}},
      {"SELECT SUM(CAST(ROUND(UnitPrice * Quantity * 10000) AS INTEGER)) FROM \"Order Details\"",
       {qint64(13544585900)}},
      {"SELECT Discontinued, typeof(Discontinued) FROM Products WHERE ProductID = 9",
       {qint64(-1), "integer"}},
      {"SELECT LastName, length(Notes), substr(Notes, -40), length(Photo), "
       "hex(substr(Photo, 1, 4)), ReportsTo FROM Employees WHERE EmployeeID = 2",
       {"Fuller", qint64(448), "d the Pacific Rim Importers Association.", qint64(21626),
        "151C2F00", QVariant()}},
      {"SELECT ShipRegion, ShipName, OrderDate FROM \"Umsätze\" WHERE OrderID = 10332",
       {QStringLiteral("Québec"), QStringLiteral("Mère Paillarde"), "1994-11-17"}},
      {"SELECT ProductName FROM Products WHERE ProductID = 77",
       {QStringLiteral("Original Frankfurter grüne Soße")}},
      {"SELECT DateTimeCol, DateCol, TimeCol, typeof(DateCol) FROM DateTest WHERE IDCol = 1",
       {"2021-12-02", "2021-12-02", "2021-12-02", "text"}},
      {"SELECT DateTimeCol, DateCol, TimeCol FROM DateTest WHERE IDCol = 4",
       {"0632-01-01", "0633-01-01", "0634-01-01"}},
      {"SELECT LongTextCol FROM DateTest WHERE IDCol = 6", {"New line\r\nin field"}},
      {"SELECT Make, Acquired, Cost FROM \"Asset Items\" WHERE \"Asset No\" = '30050'",
       {"GEO Rocket", "1997-09-02", 1995.5}},
  };
  for (const auto& [sql, atteso] : casi) EXPECT_EQ(row(QString::fromUtf8(sql)), atteso) << sql;
}

// The table is found whatever its case and replaces the target; a missing one leaves it alone.
TEST_F(Store, CopiesOneTableIntoTheTempSchemaReplacingIt) {
  exec("CREATE TEMP TABLE MagazzinoEsterno (Codice TEXT)");
  exec("INSERT INTO temp.MagazzinoEsterno VALUES ('vecchio')");
  copyAccessTable(sample("nwind.mdb"), "PRODUCTS", db_, "temp.MagazzinoEsterno");
  EXPECT_EQ(value("SELECT COUNT(*) FROM temp.MagazzinoEsterno").toInt(), 77);
  EXPECT_EQ(value("SELECT ProductName FROM temp.MagazzinoEsterno WHERE ProductID = 22"),
            QVariant(QStringLiteral("Gustaf's Knäckebröd")));
  EXPECT_EQ(value("SELECT COUNT(*) FROM sqlite_master").toInt(), 0) << "main resta vuoto";

  const std::string error = errorOf(
      [&] { copyAccessTable(sample("nwind.mdb"), "Reparti", db_, "temp.MagazzinoEsterno"); });
  EXPECT_NE(error.find("La tabella Reparti non esiste nel database Access"), std::string::npos)
      << error;
  EXPECT_EQ(value("SELECT COUNT(*) FROM temp.MagazzinoEsterno").toInt(), 77);
}

TEST_F(Store, FailedConversionRollsEverythingBack) {
  exec("CREATE TABLE Magazzino (Codice TEXT)");
  exec("INSERT INTO Magazzino VALUES ('A1')");
  // A view blocks the fourth table, after three have been copied.
  exec("CREATE VIEW Shippers AS SELECT 1");
  const std::string error = errorOf([&] { convertAccessToSqlite(sample("nwind.mdb"), db_); });
  EXPECT_NE(error.find("durante la copia della tabella Shippers"), std::string::npos) << error;
  EXPECT_EQ(value("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master ORDER BY name)"),
            QVariant("Magazzino,Shippers"));
  EXPECT_EQ(value("SELECT Codice FROM Magazzino"), QVariant("A1"));
  EXPECT_TRUE(sqlite3_get_autocommit(db_)) << "nessuna transazione rimasta aperta";
}

QDateTime day(int year, int month, int dayOfMonth, QTime time = QTime(0, 0)) {
  return QDateTime(QDate(year, month, dayOfMonth), time, Qt::UTC);
}

QByteArray noise(int size) {
  std::mt19937 generator(20240611);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& byte : bytes) byte = char(generator() & 0xff);
  return bytes;
}

// Access files are known by their header; what cannot be read throws an Italian message.
TEST_F(Store, RecognisesAccessFilesAndRefusesBrokenOnes) {
  EXPECT_TRUE(isAccessFile(sample("nwind.mdb")));
  EXPECT_TRUE(isAccessFile(sample("ASampleDatabase.accdb")));
  exec("CREATE TABLE Magazzino (Codice TEXT)");
  EXPECT_FALSE(isAccessFile(folder_.filePath("DbNegozio.mdb")));
  EXPECT_FALSE(isAccessFile(folder_.filePath("assente.mdb")));

  const QByteArray nwindStart = testing::readAll(sample("nwind.mdb")).left(4096);
  const std::pair<QByteArray, const char*> casi[] = {
      {"Standard Jet DB, ma solo come testo\n", "non è un database Access"},
      {noise(8192), "non è un database Access"},
      // A genuine header over broken pages is left to libmdb, which must refuse it cleanly.
      {nwindStart, "Impossibile"},
      {nwindStart.left(2048) + noise(200000), "Impossibile"},
  };
  for (const auto& [contenuto, errore] : casi) {
    ASSERT_TRUE(testing::writeAll(folder_.filePath("rotto.mdb"), contenuto));
    EXPECT_NE(errorOf([&] { AccessFile file(folder_.filePath("rotto.mdb")); }).find(errore),
              std::string::npos)
        << errore;
  }
  EXPECT_NE(errorOf([&] { AccessFile file(folder_.filePath("assente.mdb")); }).find("non esiste"),
            std::string::npos);
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
