#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/db/database.h"
#include "support/qt_print.h"

namespace listinova::platform::db {
namespace {

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    db = Database::open(dir.filePath("prova.mdb"));
    db->execute(
        "CREATE TABLE Articoli (Cod TEXT COLLATE NOCASE, Nome TEXT COLLATE NOCASE, "
        "Prezzo CURRENCY DEFAULT 0, Attivo BOOLEAN DEFAULT 0, Dal DATETIME, Qta DOUBLE)");
    db->execute(
        "INSERT INTO Articoli VALUES ('9','Caffè',1.1,-1,'2026-12-07',3),"
        "('10','caffè d''orzo',2.2,0,'2026-12-01 08:30:00',NULL)");
  }
  int conta(const char* sql) { return db->openRecordset(sql).recordCount(); }

  QTemporaryDir dir;
  std::unique_ptr<Database> db;
};

TEST_F(DatabaseTest, NavigationAndFieldsByTypeAndNull) {
  auto rs = db->openRecordset("Select * from Articoli order by Cod");
  EXPECT_EQ(rs.recordCount(), 2);
  EXPECT_EQ(rs.text("Cod"), "10");  // text order, as the archive always sorted codes
  EXPECT_TRUE(rs.isNull("Qta"));
  EXPECT_EQ(rs.text("Dal"), "01/12/2026 08:30:00");
  EXPECT_FALSE(rs.flag("Attivo"));
  rs.moveNext();
  EXPECT_EQ(rs.text("cod"), "9");
  EXPECT_EQ(rs.money("Prezzo"), Money::fromCents(110));
  EXPECT_EQ(rs.integer("Attivo"), -1);
  EXPECT_EQ(rs.dateTime("Dal"), QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
  EXPECT_EQ(rs.text("Dal"), "07/12/2026");
  EXPECT_THROW(rs.value("Inesistente"), DatabaseError);
  rs.moveNext();
  EXPECT_TRUE(rs.eof());
  auto empty = db->openRecordset("Select * from Articoli where Cod='x'");
  EXPECT_TRUE(empty.eof() && empty.bof());
  EXPECT_THROW(empty.text("Cod"), DatabaseError);
}

TEST_F(DatabaseTest, AddNewEditUpdateAndRemove) {
  auto rs = db->openRecordset("Select * from Articoli");
  rs.addNew();
  rs.setText("Cod", "11");
  rs.setMoney("Prezzo", Money::parse("18,30").value());
  rs.setFlag("Attivo", true);
  rs.setValue("Dal", QDate(2026, 1, 31));
  rs.update();
  EXPECT_EQ(rs.recordCount(), 3);
  auto check = db->openRecordset("Select * from Articoli where Cod='11'");
  EXPECT_EQ(check.money("Prezzo").toPlain(), "18.30");
  // Money stays exact through many edits and a double's binary noise.
  for (int i = 0; i < 100; ++i) {
    check.edit();
    check.setMoney("Prezzo", check.money("Prezzo") + Money::fromCents(10));
    check.update();
  }
  EXPECT_EQ(db->openRecordset("Select Prezzo from Articoli where Cod='11'").money("Prezzo"),
            Money::fromCents(1830 + 100 * 10));
  check.edit();
  check.setValue("Prezzo", 2.675);
  check.update();
  EXPECT_EQ(check.money("Prezzo").units(), 26750);
  check.edit();
  EXPECT_THROW(check.setValue("Prezzo", "due euro"), DatabaseError);
  check.update();
  EXPECT_EQ(check.integer("Attivo"), -1);
  EXPECT_EQ(check.text("Dal"), "31/01/2026");

  auto all = db->openRecordset("Select * from Articoli order by Cod");
  all.remove();  // "10"
  all.moveNext();
  EXPECT_EQ(all.text("Cod"), "11");
  EXPECT_EQ(conta("Select * from Articoli"), 2);

  // A new row keeps the defaults of the columns it does not set.
  rs.addNew();
  rs.setText("Cod", "12");
  rs.update();
  check = db->openRecordset("Select * from Articoli where Cod='12'");
  EXPECT_EQ(check.money("Prezzo"), Money());
  EXPECT_FALSE(check.flag("Attivo"));

  // Editing needs edit or addNew and a plain table.
  EXPECT_THROW(check.setText("Nome", "x"), DatabaseError);
  auto grouped = db->openRecordset("Select Nome, count(*) from Articoli group by Nome");
  EXPECT_THROW(grouped.edit(), DatabaseError);
  EXPECT_FALSE(
      db->openRecordset("Select a.Cod from Articoli a inner join Articoli b on a.Cod=b.Cod")
          .updatable());
}

TEST_F(DatabaseTest, TextWithoutCaseAndJetFunctions) {
  EXPECT_EQ(conta("Select * from Articoli where Nome='CAFFÈ'"), 1);
  EXPECT_EQ(conta("Select * from Articoli where Nome like 'CAFF*'"), 2);
  EXPECT_EQ(conta("Select * from Articoli where Nome like '*D''ORZO'"), 1);
  EXPECT_EQ(conta("Select * from Articoli where Dal>=DateValue('02/12/2026')"), 1);
  auto rs = db->openRecordset(
      "select Max(CLng([Cod])) AS M, CLng('2,5') AS Pari, CLng(3.5) AS Dispari, "
      "DateValue('7/12/2026') AS D, DateValue('nonsense') AS N, UCase('tè') AS U, Val('12.5kg') AS "
      "V, Nz(NULL, 4) AS Z "
      "from Articoli");
  EXPECT_EQ(rs.integer("M"), 10);
  EXPECT_EQ(rs.integer("Pari"), 2);  // halves to even, as Jet does
  EXPECT_EQ(rs.integer("Dispari"), 4);
  EXPECT_EQ(rs.text("D"), "2026-12-07");
  EXPECT_TRUE(rs.isNull("N"));
  EXPECT_EQ(rs.text("U"), QString::fromUtf8("TÈ"));
  EXPECT_EQ(rs.number("V"), 12.5);
  EXPECT_EQ(rs.integer("Z"), 4);
}

TEST_F(DatabaseTest, ExecuteReportsChangedRowsFailuresAndRollsBackUncommitted) {
  EXPECT_EQ(db->execute("UPDATE Articoli SET Articoli.Qta = 1"), 2);
  try {
    db->execute("Select * from Nessuna");
    FAIL() << "no error";
  } catch (const DatabaseError& e) {
    EXPECT_TRUE(e.description().contains("Nessuna"));
  }
  {
    Database::Transaction t(*db);
    db->execute("Delete * from Articoli");
  }
  EXPECT_EQ(conta("Select * from Articoli"), 2);
  {
    Database::Transaction t(*db);
    EXPECT_EQ(db->execute("Delete * from Articoli where Cod=9"), 1);
    t.commit();
  }
  EXPECT_EQ(conta("Select * from Articoli"), 1);
}

TEST(DatabaseSums, MoneyAndQuantitiesAddUpExactlyInStatements) {
  QTemporaryDir dir;
  auto db = Database::open(dir.filePath("somme.mdb"));
  db->execute("CREATE TABLE M (Costo CURRENCY, Quantità DOUBLE, Peso DOUBLE, Pezzi INTEGER)");
  {
    Database::Transaction t(*db);
    for (int i = 0; i < 1000; ++i) db->execute("INSERT INTO M VALUES (0.1, 3, 0.333, 2)");
    t.commit();
  }
  const std::pair<const char*, double> casi[] = {
      {"Select Sum(Costo) AS V from M", 100.0},
      {"Select Sum([M.Quantità] * [M.Costo]) AS V from M", 300.0},
      {"Select Sum(Peso * 2.99) AS V from M", 995.67},
      {"Select Avg(Costo) AS V from M", 0.1},
      {"Select Sum(Costo) - 100 AS V from M", 0.0},
  };
  for (const auto& [sql, totale] : casi)
    EXPECT_EQ(db->openRecordset(QString::fromUtf8(sql)).number("V"), totale) << sql;
  // A sum of no rows is Null, as in Jet.
  EXPECT_TRUE(db->openRecordset("Select Sum(Costo) AS V from M where Costo > 1").isNull("V"));
  auto pezzi = db->openRecordset("Select Sum(Pezzi) AS V from M");
  EXPECT_EQ(pezzi.value("V").typeId(), QMetaType::LongLong);
  EXPECT_EQ(pezzi.integer("V"), 2000);
  // As a running sum too.
  auto finestra = db->openRecordset(
      "Select Sum(Costo) OVER (ORDER BY rowid ROWS BETWEEN 9 PRECEDING AND CURRENT ROW) AS V "
      "from M");
  finestra.moveLast();
  EXPECT_EQ(finestra.number("V"), 1.0);
}

}  // namespace
}  // namespace listinova::platform::db
