#include "platform/db/database.h"

#include <sqlite3.h>

#include <QFile>

#include "platform/db/sql_functions.h"
#include "platform/db/sqlite_statement.h"

namespace listinova::platform::db {
namespace {

bool isSqliteFileOrEmpty(const QString& path) {
  QFile file(path);
  if (!file.exists() || file.size() == 0) return true;
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

}  // namespace

std::unique_ptr<Database> Database::open(const QString& path) {
  if (!isSqliteFileOrEmpty(path))
    throw DatabaseError(
        QStringLiteral("Il file \"%1\" non è un archivio dati riconosciuto.").arg(path), 26);
  sqlite3* connection = nullptr;
  int rc = sqlite3_open_v2(path.toUtf8().constData(), &connection,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    QString message = QString::fromUtf8(sqlite3_errmsg(connection));
    sqlite3_close(connection);
    throw DatabaseError(
        QStringLiteral("Impossibile aprire l'archivio \"%1\": %2").arg(path, message), rc);
  }
  std::unique_ptr<Database> db(new Database(connection, path));
  db->run("PRAGMA busy_timeout=3000");
  // One writer, many small commits: WAL keeps each commit cheap and the file intact.
  db->run("PRAGMA journal_mode=WAL");
  db->run("PRAGMA synchronous=NORMAL");
  registerJetFunctions(connection);
  return db;
}

Database::Database(sqlite3* connection, QString path)
    : connection_(connection), path_(std::move(path)) {}

Database::~Database() { sqlite3_close_v2(connection_); }

void Database::swap(Database& other) noexcept {
  std::swap(connection_, other.connection_);
  std::swap(path_, other.path_);
}

void Database::run(const QString& sqliteSql) {
  SqliteStatement statement(connection_, sqliteSql);
  while (statement.step()) {
  }
}

int Database::execute(const QString& jetSql) {
  JetStatement statement = translateJet(jetSql);
  if (statement.workbook) {
    if (!workbookWriter_)
      throw DatabaseError(QStringLiteral("Esportazione su foglio di calcolo non disponibile."),
                          3170);
    Recordset rows(connection_, statement.sql);
    workbookWriter_(*statement.workbook, rows);
    return rows.recordCount();
  }
  run(statement.sql);
  return sqlite3_changes(connection_);
}

Recordset Database::openRecordset(const QString& jetSql) {
  return Recordset(connection_, translateJet(jetSql).sql);
}

bool Database::tableExists(const QString& name) const {
  return schemaHasObject(connection_, name, true);
}

Database::Transaction::Transaction(Database& db) : db_(db) { db_.run("BEGIN"); }

Database::Transaction::~Transaction() {
  if (open_) sqlite3_exec(db_.connection_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Database::Transaction::commit() {
  db_.run("COMMIT");
  open_ = false;
}

}  // namespace listinova::platform::db
