#include "platform/db/database.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "platform/db/sql_functions.h"
#include "platform/db/sqlite_statement.h"
#include "platform/db/store_failure.h"

namespace listinova::platform::db {
namespace {

bool isSqliteFileOrEmpty(const QString& path) {
  QFile file(path);
  if (!file.exists() || file.size() == 0) return true;
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// The shared-memory index beside a store in WAL mode is rebuilt by whoever opens the store
// first. One left read-only (by another user, a copy, a restore) would make every later
// connection read-only; when no process has it open it is simply removed.
void removeStaleSharedMemory(const QString& storePath) {
  const QString shm = storePath + QStringLiteral("-shm");
  const QFileInfo info(shm);
  if (!info.exists() || info.permissions().testFlag(QFileDevice::WriteOwner)) return;
  const QByteArray name = QFile::encodeName(shm);
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct flock probe = {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  const bool unused = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type == F_UNLCK;
  ::close(fd);
  if (unused) QFile::remove(shm);
}

// A quick look at every page: a damaged store is refused before anything writes to it.
bool isDamaged(Database& db) {
  try {
    SqliteStatement check(db.handle(), QStringLiteral("PRAGMA quick_check(1)"));
    return !check.step() || check.column(0).toString() != QLatin1String("ok");
  } catch (const DatabaseError& e) {
    const int primary = e.code() & 0xff;
    if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB) throw;
    return true;
  }
}

}  // namespace

std::unique_ptr<Database> Database::open(const QString& path) {
  if (!isSqliteFileOrEmpty(path))
    throw DatabaseError(
        QStringLiteral("Il file \"%1\" non è un archivio dati riconosciuto.").arg(path), 26);
  removeStaleSharedMemory(path);
  sqlite3* connection = nullptr;
  int rc = sqlite3_open_v2(path.toUtf8().constData(), &connection,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    const int code = sqlite3_extended_errcode(connection);
    QString message = describeStoreFailure(code, path);
    if (message.isEmpty())
      message = QStringLiteral("Impossibile aprire l'archivio \"%1\": %2")
                    .arg(path, QString::fromUtf8(sqlite3_errmsg(connection)));
    sqlite3_close(connection);
    throw DatabaseError(message, code);
  }
  std::unique_ptr<Database> db(new Database(connection, path));
  db->run("PRAGMA busy_timeout=3000");
  if (sqlite3_db_readonly(connection, "main") == 1)
    throw DatabaseError(describeStoreFailure(SQLITE_READONLY, path), SQLITE_READONLY);
  if (isDamaged(*db)) throw DatabaseError(damagedStoreText(path), SQLITE_CORRUPT);
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
