#include "platform/db/access_to_sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVariant>
#include <map>
#include <stdexcept>

namespace listinova::platform::db {
namespace {

const QString kSamples = QStringLiteral(LISTINOVA_TESTDATA "/access");

QString sample(const char* name) { return kSamples + u'/' + QString::fromUtf8(name); }

// A fresh SQLite store file, closed at the end of the test.
class Store : public testing::Test {
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

TEST_F(Store, ConvertsEveryTableOfAJet3FileWithItsRows) {
  const ConversionReport report = convertAccessToSqlite(sample("nwind.mdb"), db_);
  const std::map<QString, qint64> expected = {
      {"Order Details", 2155}, {"Orders", 830},   {"Products", 77},
      {"Shippers", 3},         {"Categories", 8}, {"Customers", 91},
      {"Employees", 9},        {"Suppliers", 29}, {"Umsätze", 830}};
  for (const auto& [table, rows] : expected) EXPECT_EQ(count(table), rows) << table.toStdString();
  EXPECT_EQ(report.tables, 9);
  EXPECT_EQ(report.rows, 4032);
  EXPECT_TRUE(report.skippedColumns.isEmpty());
  EXPECT_EQ(value("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'").toInt(), 9);
  EXPECT_EQ(value("SELECT name FROM sqlite_master WHERE name LIKE 'Ums%'"),
            QVariant(QStringLiteral("Umsätze")));
}

TEST_F(Store, ConvertsJet4AndAceFiles) {
  const ConversionReport dates = convertAccessToSqlite(sample("DateTestDatabase.mdb"), db_);
  EXPECT_EQ(dates.tables, 1);
  EXPECT_EQ(count("DateTest"), 6);
  const ConversionReport assets = convertAccessToSqlite(sample("ASampleDatabase.accdb"), db_);
  EXPECT_EQ(assets.tables, 1);
  EXPECT_EQ(assets.rows, 65);
  EXPECT_EQ(count("Asset Items"), 65);
  EXPECT_EQ(
      row("SELECT \"Asset No\", Make, Acquired, Cost, typeof(Cost), Warranty, Comments "
          "FROM \"Asset Items\" WHERE \"Asset No\" = '30050'"),
      QVariantList({"30050", "GEO Rocket", "1997-09-02", 1995.5, "real", qint64(12), QVariant()}));
  EXPECT_EQ(value("SELECT SUM(CAST(ROUND(Cost * 10000) AS INTEGER)) FROM \"Asset Items\""),
            QVariant(qint64(981645000)));
}

TEST_F(Store, DeclaresTheStoreTypes) {
  convertAccessToSqlite(sample("nwind.mdb"), db_);
  const auto products = declaredTypes("Products");
  EXPECT_EQ(products.at("ProductID"), "INTEGER");
  EXPECT_EQ(products.at("ProductName"), "TEXT");
  EXPECT_EQ(products.at("UnitPrice"), "CURRENCY");
  EXPECT_EQ(products.at("UnitsInStock"), "INTEGER");
  EXPECT_EQ(products.at("Discontinued"), "BOOLEAN");
  EXPECT_EQ(declaredTypes("Order Details").at("Discount"), "REAL");
  const auto employees = declaredTypes("Employees");
  EXPECT_EQ(employees.size(), 17u);
  EXPECT_EQ(employees.at("BirthDate"), "DATETIME");
  EXPECT_EQ(employees.at("Photo"), "BLOB");
  EXPECT_EQ(employees.at("Notes"), "TEXT");
  // table_info leaves the collation out of the type.
  const QString create = value("SELECT sql FROM sqlite_master WHERE name = 'Employees'").toString();
  EXPECT_TRUE(create.contains(R"("LastName" TEXT COLLATE NOCASE)")) << create.toStdString();
  EXPECT_TRUE(create.contains(R"("Notes" TEXT COLLATE NOCASE)")) << create.toStdString();
  EXPECT_EQ(value("SELECT COUNT(*) FROM Products WHERE ProductName = 'CHAI'").toInt(), 1);
}

// Numbers exact, yes/no as -1 and 0, memo and objects whole, names and values beyond ASCII,
// nulls, and dates as ISO text.
TEST_F(Store, EveryValueComesAcrossExactly) {
  convertAccessToSqlite(sample("nwind.mdb"), db_);
  convertAccessToSqlite(sample("DateTestDatabase.mdb"), db_);
  const std::pair<const char*, QVariantList> casi[] = {
      {"SELECT UnitPrice, typeof(UnitPrice), UnitsInStock FROM Products WHERE ProductID = 5",
       {21.35, "real", qint64(0)}},
      {"SELECT UnitPrice, typeof(UnitPrice) FROM Products WHERE ProductID = 1",
       {qint64(18), "integer"}},
      {"SELECT UnitPrice, Quantity, Discount FROM \"Order Details\" "
       "WHERE OrderID = 10250 AND ProductID = 51",
       {42.4, qint64(35), 0.15}},
      // Totals in ten-thousandths, as Access adds them up.
      {"SELECT SUM(CAST(ROUND(Freight * 10000) AS INTEGER)) FROM Orders", {qint64(649426900)}},
      {"SELECT SUM(CAST(ROUND(UnitPrice * Quantity * 10000) AS INTEGER)) FROM \"Order Details\"",
       {qint64(13544585900)}},
      {"SELECT COUNT(*) FROM Products WHERE Discontinued = -1", {qint64(8)}},
      {"SELECT Discontinued, typeof(Discontinued) FROM Products WHERE ProductID = 9",
       {qint64(-1), "integer"}},
      {"SELECT LastName, length(Notes), substr(Notes, -40), length(Photo), "
       "hex(substr(Photo, 1, 4)), ReportsTo FROM Employees WHERE EmployeeID = 2",
       {"Fuller", qint64(448), "d the Pacific Rim Importers Association.", qint64(21626),
        "151C2F00", QVariant()}},
      {"SELECT SUM(length(Picture)), typeof(Picture) FROM Categories", {qint64(8 * 10746), "blob"}},
      {"SELECT ShipRegion, ShipName, OrderDate FROM \"Umsätze\" WHERE OrderID = 10332",
       {QStringLiteral("Québec"), QStringLiteral("Mère Paillarde"), "1994-11-17"}},
      {"SELECT ProductName FROM Products WHERE ProductID = 77",
       {QStringLiteral("Original Frankfurter grüne Soße")}},
      {"SELECT COUNT(*) FROM Orders WHERE ShippedDate IS NULL", {qint64(21)}},
      {"SELECT BirthDate, HireDate FROM Employees WHERE EmployeeID = 1",
       {"1948-12-08", "1992-05-01"}},
      {"SELECT DateTimeCol, DateCol, TimeCol, typeof(DateCol) FROM DateTest WHERE IDCol = 1",
       {"2021-12-02", "2021-12-02", "2021-12-02", "text"}},
      {"SELECT DateTimeCol, ShortTextCol FROM DateTest WHERE IDCol = 2",
       {"9999-01-01", "Year 1999"}},
      {"SELECT DateTimeCol, DateCol, TimeCol FROM DateTest WHERE IDCol = 4",
       {"0632-01-01", "0633-01-01", "0634-01-01"}},
      {"SELECT LongTextCol FROM DateTest WHERE IDCol = 6", {"New line\r\nin field"}},
  };
  for (const auto& [sql, atteso] : casi) EXPECT_EQ(row(QString::fromUtf8(sql)), atteso) << sql;
}

TEST_F(Store, CopiesOneTableIntoTheTempSchemaReplacingIt) {
  exec("CREATE TEMP TABLE MagazzinoEsterno (Codice TEXT)");
  exec("INSERT INTO temp.MagazzinoEsterno VALUES ('vecchio')");
  copyAccessTable(sample("nwind.mdb"), "PRODUCTS", db_, "temp.MagazzinoEsterno");
  EXPECT_EQ(value("SELECT COUNT(*) FROM temp.MagazzinoEsterno").toInt(), 77);
  EXPECT_EQ(declaredTypes("MagazzinoEsterno").at("UnitPrice"), "CURRENCY");
  EXPECT_EQ(value("SELECT ProductName FROM temp.MagazzinoEsterno WHERE ProductID = 22"),
            QVariant(QStringLiteral("Gustaf's Knäckebröd")));
  EXPECT_EQ(value("SELECT COUNT(*) FROM sqlite_master").toInt(), 0) << "main resta vuoto";

  copyAccessTable(sample("nwind.mdb"), "shippers", db_, "temp.RepartiEsterno");
  copyAccessTable(sample("nwind.mdb"), "Shippers", db_, "temp.RepartiEsterno");
  EXPECT_EQ(value("SELECT COUNT(*) FROM temp.RepartiEsterno").toInt(), 3);
}

TEST_F(Store, MissingSourceTableLeavesTheTargetAlone) {
  exec("CREATE TEMP TABLE RepartiEsterno (Codice TEXT)");
  exec("INSERT INTO temp.RepartiEsterno VALUES ('01')");
  const std::string error =
      errorOf([&] { copyAccessTable(sample("nwind.mdb"), "Reparti", db_, "temp.RepartiEsterno"); });
  EXPECT_NE(error.find("La tabella Reparti non esiste nel database Access"), std::string::npos)
      << error;
  EXPECT_EQ(value("SELECT Codice FROM temp.RepartiEsterno"), QVariant("01"));
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

TEST_F(Store, UnreadableAccessFilesThrowWithoutTouchingTheTarget) {
  QFile garbage(folder_.filePath("rotto.mdb"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write(QByteArray(5000, 'x'));
  garbage.close();
  EXPECT_NE(errorOf([&] {
              convertAccessToSqlite(garbage.fileName(), db_);
            }).find("non è un database Access"),
            std::string::npos);
  EXPECT_NE(errorOf([&] {
              convertAccessToSqlite(folder_.filePath("assente.mdb"), db_);
            }).find("non esiste"),
            std::string::npos);
  EXPECT_EQ(value("SELECT COUNT(*) FROM sqlite_master").toInt(), 0);
}

}  // namespace
}  // namespace listinova::platform::db
