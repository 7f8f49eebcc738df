#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "platform/db/database_error.h"
#include "platform/db/jet_sql.h"
#include "platform/db/recordset.h"

struct sqlite3;

namespace listinova::platform::db {

// Receives the rows of a "SELECT ... INTO [Excel 8.0;Database=...]" statement.
using WorkbookWriter = std::function<void(const WorkbookTarget&, Recordset&)>;

// The store: one SQLite file spoken to in the Jet dialect of the program's statements.
class Database {
 public:
  // Opens (or creates) a SQLite file. Throws DatabaseError when the file is not a database.
  static std::unique_ptr<Database> open(const QString& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const QString& path() const { return path_; }

  // Runs one statement; returns the rows it changed.
  int execute(const QString& jetSql);
  Recordset openRecordset(const QString& jetSql);
  bool tableExists(const QString& name) const;

  void setWorkbookWriter(WorkbookWriter writer) { workbookWriter_ = std::move(writer); }

  // Many writes in one transaction: committed by commit(), rolled back otherwise.
  class Transaction {
   public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();

   private:
    Database& db_;
    bool open_ = true;
  };

  sqlite3* handle() const { return connection_; }

  // Puts `other`'s file in place of this one's: whoever holds this object works on that file
  // from now on, and `other` holds the old one. No recordset may be open on either.
  void swap(Database& other) noexcept;

 private:
  Database(sqlite3* connection, QString path);
  void run(const QString& sqliteSql);

  sqlite3* connection_;
  QString path_;
  WorkbookWriter workbookWriter_;
};

}  // namespace listinova::platform::db
