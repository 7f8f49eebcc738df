#pragma once

#include <QString>
#include <optional>

namespace listinova::platform::db {

// "INTO [Excel 8.0;Database=file].[Sheet]" of a Jet SELECT: the rows go to a workbook.
struct WorkbookTarget {
  QString file;
  QString sheet;
};

// Text compares as Jet did, letter case ignored for accented letters too. The file's columns
// use SQLite's NOCASE (ASCII letters only), which every SQLite tool knows; a comparison with a
// text holding other letters is given this collation, registered on the program's connections.
inline constexpr char kJetTextCollation[] = "JET_NOCASE";

struct JetStatement {
  QString sql;  // what SQLite runs
  std::optional<WorkbookTarget> workbook;
};

// Rewrites the Jet dialect the program's statements are written in into SQLite's:
// "Delete * from", DISTINCTROW, [T]![C] and [T.C], "..." text, #dates#, True/False as -1/0,
// "&" joins, Mod, and table names in UPDATE ... SET; a comparison with a non-ASCII text
// compares under kJetTextCollation.  Functions such as CLng and DateValue
// are left as calls: the database registers them.
JetStatement translateJet(const QString& jetSql);

// 'text' with embedded apostrophes doubled, ready to be joined into a statement.
QString sqlText(const QString& value);
// "name" with embedded double quotes doubled: a table or column name in a statement.
QString sqlIdentifier(const QString& name);

}  // namespace listinova::platform::db
