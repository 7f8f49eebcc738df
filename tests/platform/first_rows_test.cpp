#include "platform/db/first_rows.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/db/database.h"
#include "support/qt_print.h"

namespace listinova::platform::db {
namespace {

class FirstRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_->execute(
        "CREATE TABLE Magazzino (Cod INTEGER, Descrizione TEXT COLLATE NOCASE, Eliminato "
        "INTEGER DEFAULT 0)");
    db_->execute("CREATE INDEX Magazzino_Descrizione ON Magazzino(Descrizione)");
    const char* descrizioni[] = {"caffè d'orzo", "CAFFE 10",  "Caffe 1",    "caffe 2",
                                 "CAFFÈ 1",      "CAFFEA",    "BISCOTTI",   "pane",
                                 "Pane nero",    "PANETTONE", "cafe",       "CAFFE 1 bis",
                                 "caffe 100",    "Olio 1 l",  "CAFFE 1000", "Àncora"};
    int cod = 0;
    for (const char* descrizione : descrizioni) {
      ++cod;
      db_->execute(QStringLiteral("INSERT INTO Magazzino (Cod, Descrizione, Eliminato) VALUES "
                                  "(%1, %2, %3)")
                       .arg(cod)
                       .arg(sqlText(QString::fromUtf8(descrizione)))
                       .arg(cod % 5 == 0 ? -1 : 0));
    }
    db_->execute("INSERT INTO Magazzino (Cod) VALUES (99)");
  }

  QStringList descrizioni(Recordset rs) {
    QStringList testi;
    for (; !rs.eof(); rs.moveNext()) testi << rs.text("Descrizione");
    return testi;
  }

  QTemporaryDir dir_;
  std::unique_ptr<Database> db_ = Database::open(dir_.filePath("negozio.db"));
};

// The count and the rows are those the plain statement gives, for patterns that are narrowed
// to a range of the index and for those that are not.
TEST_F(FirstRowsTest, CountAndRowsAreThoseOfThePlainStatement) {
  const char* istruzioni[] = {
      "Select * from Magazzino order by Descrizione",
      "Select * from Magazzino where Descrizione like 'caffe 1*' order by Descrizione",
      "Select * from Magazzino where Descrizione like 'CAFFÈ*' order by Descrizione",
      "Select * from Magazzino where Descrizione like 'caff?*' order by Descrizione",
      "Select * from Magazzino where Descrizione like 'caffe 1#*' order by Descrizione",
      "Select * from Magazzino where Descrizione like '*1' order by Descrizione",
      "Select * from Magazzino where not Descrizione like 'caffe*' order by Descrizione",
      "Select * from Magazzino where Cod > 3 or Descrizione like 'pan*' order by Descrizione",
      "Select * from Magazzino where Magazzino.Descrizione like 'àn*'",
      "Select * from Magazzino where Descrizione = 'x like ''caffe*''' order by Descrizione",
      "Select * from Magazzino where Descrizione <> 'order by' ORDER  BY Cod DESC",
      "Select * from Magazzino order by Descrizione limit 4",
      "Select * from (Select * from Magazzino order by Cod) order by Descrizione",
  };
  for (const char* istruzione : istruzioni) {
    SCOPED_TRACE(istruzione);
    Recordset tutte = db_->openRecordset(istruzione);
    EXPECT_EQ(countRows(*db_, istruzione), tutte.recordCount());
    QStringList attese;
    for (; !tutte.eof() && attese.size() < 3; tutte.moveNext())
      if (!tutte.flag("Eliminato")) attese << tutte.text("Descrizione");
    EXPECT_EQ(descrizioni(openFirstRows(*db_, istruzione, "coalesce(Eliminato, 0) = 0", 3)),
              attese);
  }
  // A prefix narrowed to a range of the index still finds every case, in the collation's order.
  const QString ricerca =
      "Select * From Magazzino where Descrizione like 'caffe 1*' order by descrizione";
  EXPECT_EQ(descrizioni(openFirstRows(*db_, ricerca, "1", 100)),
            QStringList({"Caffe 1", "CAFFE 1 bis", "CAFFE 10", "caffe 100", "CAFFE 1000"}));
}

}  // namespace
}  // namespace listinova::platform::db
