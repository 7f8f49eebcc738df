// Copies of a live store that are sound databases: taken through SQLite's online backup,
// never by copying the file, which in WAL mode may lack committed changes still in the log.
#pragma once

#include <QString>

namespace listinova::platform::db {

// True when the file starts as a SQLite database.
bool isStoreFile(const QString& path);

// Writes `target` (replaced if there) as one consistent snapshot of the store at `source`:
// everything committed, also what is still in the write-ahead log; nothing of a write another
// connection has not committed. Throws DatabaseError.
void backupStore(const QString& source, const QString& target);

// "ok" when SQLite's integrity check finds the store sound, else what it found.
QString integrityCheck(const QString& path);

}  // namespace listinova::platform::db
