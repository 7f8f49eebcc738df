#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace listinova::platform::db {

struct ConversionReport {
  int tables = 0;
  qint64 rows = 0;
  // "Table.Column" for every column that could not be carried over (attachments and other
  // complex columns of ACE files).
  QStringList skippedColumns;
};

// Copies every user table of the Access file into `target` under its own name, replacing a
// table of that name, with the store's declared types. All or nothing: on failure `target` is
// rolled back and std::runtime_error (in Italian) is thrown.
ConversionReport convertAccessToSqlite(const QString& accessPath, sqlite3* target);

// Copies one Access table (name matched without regard to case) into `target` as
// `targetName`, which may carry a schema ("temp.RepartiEsterno"); a table already there is
// replaced. All or nothing, like the whole conversion.
void copyAccessTable(const QString& accessPath, const QString& sourceTable, sqlite3* target,
                     const QString& targetName);

}  // namespace listinova::platform::db
