#pragma once

#include <QString>
#include <optional>

namespace listinova::platform::db {

// "INTO [Excel 8.0;Database=file].[Sheet]" of a Jet SELECT: the rows go to a workbook.
struct WorkbookTarget {
  QString file;
  QString sheet;
};

struct JetStatement {
  QString sql;  // what SQLite runs
  std::optional<WorkbookTarget> workbook;
};

// Rewrites the Jet dialect the program's statements are written in into SQLite's:
// "Delete * from", DISTINCTROW, [T]![C] and [T.C], "..." text, #dates#, True/False as -1/0,
// "&" joins, Mod, and table names in UPDATE ... SET.  Functions such as CLng and DateValue
// are left as calls: the database registers them.
JetStatement translateJet(const QString& jetSql);

// 'text' with embedded apostrophes doubled, ready to be joined into a statement.
QString sqlText(const QString& value);
// "name" with embedded double quotes doubled: a table or column name in a statement.
QString sqlIdentifier(const QString& name);

}  // namespace listinova::platform::db
