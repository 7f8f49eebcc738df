// Access files: recognised, read, and converted into the store.
#include "platform/db/access_to_sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>
#include <random>
#include <stdexcept>

#include "platform/db/access_file.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova::platform::db {
namespace {

QString sample(const char* name) { return QStringLiteral(LISTINOVA_TESTDATA "/access/") + name; }

template <typename Call>
QString errorOf(Call call) {
  try {
    call();
  } catch (const std::runtime_error& error) {
    return QString::fromUtf8(error.what());
  }
  return {};
}

// A fresh SQLite store file, closed at the end of the test.
class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QDir(sample("")).exists())
      GTEST_SKIP() << "Cartella dei database Access di prova assente: " << LISTINOVA_TESTDATA;
    ASSERT_EQ(sqlite3_open(folder_.filePath("DbNegozio.mdb").toUtf8().constData(), &db_),
              SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db_); }

  void exec(const char* sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
  }
  // The first row's columns as SQLite gives them as text, "|"-joined, "NULL" for a null.
  QString row(const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db_);
    QStringList values;
    if (statement && sqlite3_step(statement) == SQLITE_ROW)
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        values << (text ? QString::fromUtf8(text) : QStringLiteral("NULL"));
      }
    sqlite3_finalize(statement);
    return values.join(u'|');
  }

  QTemporaryDir folder_;
  sqlite3* db_ = nullptr;
};

// Every table of Jet 3, Jet 4 and ACE files with all its rows under the store's types; numbers
// exact, yes/no as -1 and 0, memo and objects whole, text beyond ASCII, nulls, dates as ISO text.
TEST_F(Store, ConvertsEveryTableAndEveryValueExactly) {
  const ConversionReport report = convertAccessToSqlite(sample("nwind.mdb"), db_);
  EXPECT_EQ(report.tables, 9);
  EXPECT_EQ(report.rows, 4032);
  EXPECT_TRUE(report.skippedColumns.isEmpty());
  EXPECT_EQ(convertAccessToSqlite(sample("ASampleDatabase.accdb"), db_).rows, 65);
  convertAccessToSqlite(sample("DateTestDatabase.mdb"), db_);
  const std::pair<const char*, const char*> casi[] = {
      {"SELECT (SELECT COUNT(*) FROM \"Order Details\"), (SELECT COUNT(*) FROM \"Umsätze\"), "
       "(SELECT COUNT(*) FROM \"Asset Items\")",
       "2155|830|65"},
      {"SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info('Products') "
       "WHERE name IN ('ProductName', 'UnitPrice', 'Discontinued')",
       "ProductName TEXT, UnitPrice CURRENCY, Discontinued BOOLEAN"},
      {"SELECT (SELECT max(pk) FROM pragma_table_info('Products')), (SELECT type FROM "
       "pragma_table_info('Order Details') WHERE name = 'Discount')",
       "0|REAL"},
      {"SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info('Employees') "
       "WHERE name IN ('BirthDate', 'Photo')",
       "BirthDate DATETIME, Photo BLOB"},
      {"SELECT UnitPrice, typeof(UnitPrice), UnitsInStock FROM Products WHERE ProductID = 5",
       "21.35|real|0"},
      {"SELECT UnitPrice, Quantity, Discount FROM \"Order Details\" "
       "WHERE OrderID = 10250 AND ProductID = 51",
       "42.4|35|0.15"},
      // Totals in ten-thousandths, as Access adds them up.
      {"SELECT SUM(CAST(ROUND(Freight * 10000) AS INTEGER)) FROM Orders", "649426900"},
      {"SELECT SUM(CAST(ROUND(UnitPrice * Quantity * 10000) AS INTEGER)) FROM \"Order Details\"",
       "13544585900"},
      {"SELECT Discontinued, typeof(Discontinued) FROM Products WHERE ProductID = 9", "-1|integer"},
      {"SELECT LastName, length(Notes), substr(Notes, -40), length(Photo), "
       "hex(substr(Photo, 1, 4)), ReportsTo FROM Employees WHERE EmployeeID = 2",
       "Fuller|448|d the Pacific Rim Importers Association.|21626|151C2F00|NULL"},
      {"SELECT ShipRegion, ShipName, OrderDate FROM \"Umsätze\" WHERE OrderID = 10332",
       "Québec|Mère Paillarde|1994-11-17"},
      {"SELECT ProductName, (SELECT COUNT(*) FROM Products WHERE ProductName = 'CHAI') FROM "
       "Products WHERE ProductID = 77",
       "Original Frankfurter grüne Soße|1"},
      {"SELECT DateTimeCol, DateCol, TimeCol, typeof(DateCol) FROM DateTest WHERE IDCol = 1",
       "2021-12-02|2021-12-02|2021-12-02|text"},
      {"SELECT DateTimeCol, DateCol, TimeCol FROM DateTest WHERE IDCol = 4",
       "0632-01-01|0633-01-01|0634-01-01"},
      {"SELECT LongTextCol FROM DateTest WHERE IDCol = 6", "New line\r\nin field"},
      {"SELECT Make, Acquired, Cost FROM \"Asset Items\" WHERE \"Asset No\" = '30050'",
       "GEO Rocket|1997-09-02|1995.5"},
  };
  for (const auto& [sql, atteso] : casi)
    EXPECT_EQ(row(QString::fromUtf8(sql)), QString::fromUtf8(atteso)) << sql;
}

// One table is found whatever its case and replaces the target, which a missing one leaves
// alone; a conversion that fails half-way (a view blocks the fourth table, after three are
// copied) leaves the store as it was, with no transaction open.
TEST_F(Store, AFailedCopyOrConversionLeavesTheStoreAsItWas) {
  exec(
      "CREATE TABLE Magazzino (Codice TEXT); INSERT INTO Magazzino VALUES ('A1'); "
      "CREATE VIEW Shippers AS SELECT 1; CREATE TEMP TABLE MagazzinoEsterno (Codice TEXT); "
      "INSERT INTO temp.MagazzinoEsterno VALUES ('vecchio')");
  copyAccessTable(sample("nwind.mdb"), "PRODUCTS", db_, "temp.MagazzinoEsterno");
  const QString stato = QStringLiteral(
      "SELECT COUNT(*), (SELECT ProductName FROM temp.MagazzinoEsterno WHERE ProductID = 22), "
      "(SELECT group_concat(name) FROM (SELECT name FROM sqlite_master ORDER BY name)), "
      "(SELECT Codice FROM Magazzino) FROM temp.MagazzinoEsterno");
  EXPECT_EQ(row(stato), "77|Gustaf's Knäckebröd|Magazzino,Shippers|A1");

  QString error = errorOf(
      [&] { copyAccessTable(sample("nwind.mdb"), "Reparti", db_, "temp.MagazzinoEsterno"); });
  EXPECT_TRUE(error.contains("La tabella Reparti non esiste nel database Access"))
      << error.toStdString();
  error = errorOf([&] { convertAccessToSqlite(sample("nwind.mdb"), db_); });
  EXPECT_TRUE(error.contains("durante la copia della tabella Shippers")) << error.toStdString();
  EXPECT_EQ(row(stato), "77|Gustaf's Knäckebröd|Magazzino,Shippers|A1");
  EXPECT_TRUE(sqlite3_get_autocommit(db_));
}

// What cannot be read as an Access file throws an Italian message, whatever its bytes.
TEST_F(Store, RefusesBrokenAccessFiles) {
  std::mt19937 generator(20240611);
  QByteArray noise(200000, Qt::Uninitialized);
  for (char& byte : noise) byte = char(generator() & 0xff);
  const QByteArray nwindStart = testing::readAll(sample("nwind.mdb")).left(4096);
  const std::pair<QByteArray, const char*> casi[] = {
      {"Standard Jet DB, ma solo come testo\n", "non è un database Access"},
      {noise, "non è un database Access"},
      // A genuine header over broken pages is left to libmdb, which must refuse it cleanly.
      {nwindStart, "Impossibile"},
      {nwindStart.left(2048) + noise, "Impossibile"},
      {QByteArray(), "non esiste"},
  };
  for (const auto& [contenuto, errore] : casi) {
    const QString file = folder_.filePath(contenuto.isNull() ? "assente.mdb" : "rotto.mdb");
    ASSERT_TRUE(contenuto.isNull() || testing::writeAll(file, contenuto));
    const QString error = errorOf([&] { AccessFile access(file); });
    EXPECT_TRUE(error.contains(QString::fromUtf8(errore))) << error.toStdString();
  }
}

}  // namespace
}  // namespace listinova::platform::db
