// The store as the program sees it: Jet statements translated, text compared without case,
// money exact, recordsets, transactions, and the first rows of a long search.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/db/database.h"
#include "platform/db/first_rows.h"
#include "platform/db/jet_sql.h"
#include "platform/db/sql_functions.h"
#include "support/qt_print.h"

namespace listinova::platform::db {
namespace {

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
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
}

TEST_F(DatabaseTest, TextWithoutCaseJetFunctionsAndTransactions) {
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

  // Execute reports the rows changed and the failures; an uncommitted transaction rolls back.
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
  auto somme = db->openRecordset(
      "Select Sum(Costo) AS A, Sum([M.Quantità] * [M.Costo]) AS B, Sum(Peso * 2.99) AS C, "
      "Avg(Costo) AS D, Sum(Costo) - 100 AS E, Sum(Pezzi) AS P from M");
  QList<double> totali;
  for (const char* colonna : {"A", "B", "C", "D", "E"}) totali << somme.number(colonna);
  EXPECT_EQ(totali, QList<double>({100.0, 300.0, 995.67, 0.1, 0.0}));
  EXPECT_EQ(somme.value("P").typeId(), QMetaType::LongLong);
  EXPECT_EQ(somme.integer("P"), 2000);
  // A sum of no rows is Null, as in Jet.
  EXPECT_TRUE(db->openRecordset("Select Sum(Costo) AS V from M where Costo > 1").isNull("V"));
  // As a running sum too.
  auto finestra = db->openRecordset(
      "Select Sum(Costo) OVER (ORDER BY rowid ROWS BETWEEN 9 PRECEDING AND CURRENT ROW) AS V "
      "from M");
  finestra.moveLast();
  EXPECT_EQ(finestra.number("V"), 1.0);
}

// The count and the rows are those the plain statement gives, for patterns that are narrowed
// to a range of the index and for those that are not.
TEST(FirstRows, CountAndRowsAreThoseOfThePlainStatement) {
  QTemporaryDir dir;
  auto db = Database::open(dir.filePath("negozio.db"));
  db->execute(
      "CREATE TABLE Magazzino (Cod INTEGER, Descrizione TEXT COLLATE NOCASE, "
      "Eliminato INTEGER DEFAULT 0)");
  db->execute("CREATE INDEX Magazzino_Descrizione ON Magazzino(Descrizione)");
  db->execute(
      "INSERT INTO Magazzino VALUES (1, 'caffè d''orzo', 0), (2, 'CAFFE 10', 0), "
      "(3, 'Caffe 1', 0), (4, 'caffe 2', 0), (5, 'CAFFÈ 1', -1), (6, 'CAFFEA', 0), "
      "(7, 'BISCOTTI', 0), (8, 'pane', 0), (9, 'Pane nero', 0), (10, 'PANETTONE', -1), "
      "(11, 'cafe', 0), (12, 'CAFFE 1 bis', 0), (13, 'caffe 100', 0), (14, 'Olio 1 l', 0), "
      "(15, 'CAFFE 1000', -1), (16, 'Àncora', 0), (99, NULL, NULL)");
  const auto descrizioni = [](Recordset rs) {
    QStringList testi;
    for (; !rs.eof(); rs.moveNext()) testi << rs.text("Descrizione");
    return testi;
  };
  const char* condizioni[] = {
      "order by Descrizione",
      "where Descrizione like 'caffe 1*' order by Descrizione",
      "where Descrizione like 'CAFFÈ*' order by Descrizione",
      "where Descrizione like '*1' order by Descrizione",
      "where not Descrizione like 'caffe*' order by Descrizione",
      "where Cod > 3 or Descrizione like 'pan*' order by Descrizione",
      "where Magazzino.Descrizione like 'àn*'",
      "where Descrizione = 'x like ''caffe*''' order by Descrizione",
      "where Descrizione <> 'order by' ORDER  BY Cod DESC",
      "order by Descrizione limit 4",
      "as m where Cod in (Select Cod from Magazzino order by Cod) order by Descrizione",
  };
  for (const char* condizione : condizioni) {
    const QString istruzione = QStringLiteral("Select * from Magazzino ") + condizione;
    SCOPED_TRACE(istruzione.toStdString());
    Recordset tutte = db->openRecordset(istruzione);
    EXPECT_EQ(countRows(*db, istruzione), tutte.recordCount());
    QStringList attese;
    for (; !tutte.eof() && attese.size() < 3; tutte.moveNext())
      if (!tutte.flag("Eliminato")) attese << tutte.text("Descrizione");
    EXPECT_EQ(descrizioni(openFirstRows(*db, istruzione, "coalesce(Eliminato, 0) = 0", 3)), attese);
  }
  // A prefix narrowed to a range of the index still finds every case, in the collation's order.
  const QString ricerca =
      "Select * From Magazzino where Descrizione like 'caffe 1*' order by descrizione";
  EXPECT_EQ(descrizioni(openFirstRows(*db, ricerca, "1", 100)),
            QStringList({"Caffe 1", "CAFFE 1 bis", "CAFFE 10", "caffe 100", "CAFFE 1000"}));
}

QString sqlOf(const char* jet) { return translateJet(QString::fromUtf8(jet)).sql; }

// Plain deletes, bracketed names, UPDATE targets and texts beyond ASCII also run through the
// store in DatabaseTest; here the forms it does not meet.
TEST(JetTranslation, JetStatementsBecomeSqliteAndWorkbookTargetsAreTakenOut) {
  const std::pair<const char*, const char*> casi[] = {
      {"Delete Offerte.* from Offerte where Articolo=5", "Delete from Offerte where Articolo=5"},
      {"SELECT * From Magazzino WHERE ((Len([Magazzino]![BarCode])=4))",
       "SELECT * From Magazzino WHERE ((Len(\"Magazzino\".\"BarCode\")=4))"},
      // Double-quoted text becomes apostrophes; text literals are left alone.
      {"Select Cod from Reparti where Descrizione=\"Bar d'Angelo\"",
       "Select Cod from Reparti where Descrizione='Bar d''Angelo'"},
      {"where x=\"say \"\"hi\"\"\"", "where x='say \"hi\"'"},
      {"where Descrizione like 'A&B [x]!y *' and Note='True'",
       "where Descrizione like 'A&B [x]!y *' and Note='True'"},
      {"SELECT DISTINCTROW ArtCEDI, CodEAN From B_CEDI",
       "SELECT DISTINCT ArtCEDI, CodEAN From B_CEDI"},
      {"where Eliminato =False and Modificato=True", "where Eliminato =0 and Modificato=-1"},
      {"select Descrizione & ' ' & BarCode, 7 Mod 3",
       "select Descrizione || ' ' || BarCode, 7 % 3"},
      {"where DataDal >= #12/31/2026#", "where DataDal >= '2026-12-31'"},
      {"UPDATE M SET M.a = M.b, M.c = (1,2) WHERE M.d = 1",
       "UPDATE M SET a = M.b, c = (1,2) WHERE M.d = 1"},
      // Texts with letters beyond ASCII compare under the program's own case folding.
      {"where 'Città' <> Genere and Genere like 'Città*' and Note='x'",
       "where 'Città' COLLATE JET_NOCASE <> Genere and Genere like 'Città*' and Note='x'"},
  };
  for (const auto& [jet, sql] : casi) {
    SCOPED_TRACE(jet);
    EXPECT_EQ(sqlOf(jet), QString::fromUtf8(sql));
  }
  // A workbook target is taken out of the statement.
  auto s = translateJet(
      "SELECT BarCode INTO [Excel 8.0;Database=/tmp/Mag azzino.xls].[Foglio1] FROM Magazzino");
  ASSERT_TRUE(s.workbook.has_value());
  EXPECT_EQ(s.workbook->file, "/tmp/Mag azzino.xls");
  EXPECT_EQ(s.workbook->sheet, "Foglio1");
  EXPECT_EQ(s.sql, "SELECT BarCode  FROM Magazzino");
  EXPECT_FALSE(translateJet("SELECT a INTO b FROM c").workbook.has_value());
}

// A star gives back what the next element needs, however far back, without the work growing
// with each star times the length of the text. Each case is "pattern|text"; a "[" without its
// closing bracket is itself.
TEST(JetLike, WildcardsOfJet) {
  const auto like = [](const char* caso, const QString& coda = {}) {
    const QStringList parti = QString::fromUtf8(caso).split(u'|');
    return jetLike(parti[0], parti[1] + coda);
  };
  for (const char* caso : {"CAF*|caffè lungo", "*LATTE*|caffe latte bio", "A?C|abc", "##-*|12-x",
                           "[a-c]x|Bx", "100%|100%", "ÀRANCIA*|àrancia rossa", "*|", "|", "*ab|aab",
                           "*a*b*c|cbacbabc", "a*?|ab", "*[0-9]|caffè 1", "[abc|[abc"})
    EXPECT_TRUE(like(caso)) << caso;
  for (const char* caso :
       {"##-*|1a-x", "100%|1000", "a|", "*a*b*c|cbacbab", "a*?|a", "*#?|x1", "[]x|x"})
    EXPECT_FALSE(like(caso)) << caso;
  const QString many(5000, 'a');
  EXPECT_FALSE(like("A*A*A*A*A*A*A*A*A*A*A*A*A*Z|", many));
  EXPECT_TRUE(like("A*A*A*A*A*A*A*A*A*A*A*A*A*Z|", many + "z"));
  EXPECT_FALSE(like("*?*?*?*?*?*?*?*?*?*?*?*?*?#|", many));
  EXPECT_TRUE(
      like("*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*|", many));
}

}  // namespace
}  // namespace listinova::platform::db
