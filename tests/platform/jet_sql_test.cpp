#include <gtest/gtest.h>

#include "platform/db/jet_sql.h"
#include "platform/db/sql_functions.h"
#include "support/qt_print.h"

namespace listinova::platform::db {
namespace {

QString sqlOf(const char* jet) { return translateJet(QString::fromUtf8(jet)).sql; }

// Plain deletes, bracketed names, UPDATE targets and texts beyond ASCII also run through the
// store in DatabaseTest; here the forms it does not meet.
TEST(JetTranslation, JetStatementsBecomeSqlite) {
  const std::pair<const char*, const char*> casi[] = {
      {"Delete Offerte.* from Offerte where Articolo=5", "Delete from Offerte where Articolo=5"},
      // Brackets and bang name columns of tables.
      {"SELECT * From Magazzino WHERE ((Len([Magazzino]![BarCode])=4))",
       "SELECT * From Magazzino WHERE ((Len(\"Magazzino\".\"BarCode\")=4))"},
      // Double-quoted text becomes apostrophes; text literals are left alone.
      {"Select Cod from Reparti where Descrizione=\"Bar d'Angelo\"",
       "Select Cod from Reparti where Descrizione='Bar d''Angelo'"},
      {"where x=\"say \"\"hi\"\"\"", "where x='say \"hi\"'"},
      {"where Descrizione like 'A&B [x]!y *' and Note='True'",
       "where Descrizione like 'A&B [x]!y *' and Note='True'"},
      // Jet words and operators.
      {"SELECT DISTINCTROW ArtCEDI, CodEAN From B_CEDI",
       "SELECT DISTINCT ArtCEDI, CodEAN From B_CEDI"},
      {"where Eliminato =False and Modificato=True", "where Eliminato =0 and Modificato=-1"},
      {"select Descrizione & ' ' & BarCode, 7 Mod 3",
       "select Descrizione || ' ' || BarCode, 7 % 3"},
      {"where DataDal >= #12/31/2026#", "where DataDal >= '2026-12-31'"},
      // UPDATE ... SET targets lose their table.
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
}

TEST(JetTranslation, WorkbookTargetIsTakenOut) {
  auto s = translateJet(
      "SELECT BarCode INTO [Excel 8.0;Database=/tmp/Mag azzino.xls].[Foglio1] FROM Magazzino");
  ASSERT_TRUE(s.workbook.has_value());
  EXPECT_EQ(s.workbook->file, "/tmp/Mag azzino.xls");
  EXPECT_EQ(s.workbook->sheet, "Foglio1");
  EXPECT_EQ(s.sql, "SELECT BarCode  FROM Magazzino");
  EXPECT_FALSE(translateJet("SELECT a INTO b FROM c").workbook.has_value());
}

TEST(JetLike, WildcardsOfJet) {
  const struct {
    const char* pattern;
    const char* value;
    bool matches;
  } casi[] = {
      {"CAF*", "caffè lungo", true},
      {"*LATTE*", "caffe latte bio", true},
      {"A?C", "abc", true},
      {"##-*", "12-x", true},
      {"##-*", "1a-x", false},
      {"[a-c]x", "Bx", true},
      {"100%", "100%", true},
      {"100%", "1000", false},
      {"ÀRANCIA*", "àrancia rossa", true},
      {"*", "", true},
      {"a", "", false},
      {"", "", true},
      // A star gives back what the next element needs, however far back.
      {"*ab", "aab", true},
      {"*a*b*c", "cbacbabc", true},
      {"*a*b*c", "cbacbab", false},
      {"a*?", "a", false},
      {"a*?", "ab", true},
      {"*[0-9]", "caffè 1", true},
      {"*#?", "x1", false},
      {"[abc", "[abc", true},  // no closing bracket: the "[" is itself
      {"[]x", "x", false},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.value);
    EXPECT_EQ(jetLike(QString::fromUtf8(c.pattern), QString::fromUtf8(c.value)), c.matches);
  }
}

TEST(JetLike, ManyStarsOnALongTextAnswerAtOnce) {
  // Each star once multiplied the work by the length of the text.
  const QString thirteenStars = "A*A*A*A*A*A*A*A*A*A*A*A*A*Z";
  const QString many(5000, 'a');
  EXPECT_FALSE(jetLike(thirteenStars, many));
  EXPECT_TRUE(jetLike(thirteenStars, many + "z"));
  EXPECT_FALSE(jetLike("*?*?*?*?*?*?*?*?*?*?*?*?*?#", many));
  EXPECT_TRUE(jetLike(
      "*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*", many));
}

}  // namespace
}  // namespace listinova::platform::db
