#pragma once

#include <sqlite3.h>

#include <QString>
#include <QVariant>

namespace listinova::platform::db {

// One prepared statement, finalised when it goes out of scope.
class SqliteStatement {
 public:
  SqliteStatement(sqlite3* connection, const QString& sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Binds by Qt type: null, bool (as -1/0), integers, doubles, byte arrays, else text.
  void bind(int position, const QVariant& value);
  // True while a row is there; throws DatabaseError on failure.
  bool step();
  sqlite3_stmt* get() const { return statement_; }
  // Ready to run again with new bindings.
  void reset();
  QVariant column(int index) const;

 private:
  sqlite3* connection_;
  sqlite3_stmt* statement_ = nullptr;
  QString sql_;
};

// Whether the main or temp schema holds an object of that name (any letter case) and kind.
bool schemaHasObject(sqlite3* connection, const QString& name, bool viewsToo);

[[noreturn]] void throwSqliteError(sqlite3* connection, const QString& sql);

}  // namespace listinova::platform::db
