#include "platform/db/sqlite_statement.h"

#include "platform/db/database_error.h"
#include "platform/db/store_failure.h"

namespace listinova::platform::db {

void throwSqliteError(sqlite3* connection, const QString& sql) {
  const int code = sqlite3_extended_errcode(connection);
  // A failure of the file itself is told in the operator's words, not the engine's.
  const char* file = sqlite3_db_filename(connection, "main");
  const QString told = describeStoreFailure(code, QString::fromUtf8(file ? file : ""));
  if (!told.isEmpty()) throw DatabaseError(told, code);
  throw DatabaseError(QStringLiteral("Errore nell'archivio: %1 (istruzione: %2)")
                          .arg(QString::fromUtf8(sqlite3_errmsg(connection)), sql),
                      code);
}

bool schemaHasObject(sqlite3* connection, const QString& name, bool viewsToo) {
  const QString types = viewsToo ? "('table','view')" : "('table')";
  SqliteStatement s(connection, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN %1 AND "
                                               "name=?1 COLLATE NOCASE UNION ALL SELECT 1 FROM "
                                               "sqlite_temp_master WHERE type IN %1 AND name=?1 "
                                               "COLLATE NOCASE")
                                    .arg(types));
  s.bind(1, name);
  return s.step();
}

SqliteStatement::SqliteStatement(sqlite3* connection, const QString& sql)
    : connection_(connection), sql_(sql) {
  QByteArray utf8 = sql.toUtf8();
  if (sqlite3_prepare_v2(connection, utf8.constData(), static_cast<int>(utf8.size()), &statement_,
                         nullptr) != SQLITE_OK)
    throwSqliteError(connection, sql);
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

void SqliteStatement::bind(int position, const QVariant& value) {
  if (value.isNull() || !value.isValid()) {
    sqlite3_bind_null(statement_, position);
    return;
  }
  switch (value.typeId()) {
    case QMetaType::Bool:
      sqlite3_bind_int(statement_, position, value.toBool() ? -1 : 0);
      break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
      sqlite3_bind_int64(statement_, position, value.toLongLong());
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      sqlite3_bind_double(statement_, position, value.toDouble());
      break;
    case QMetaType::QByteArray: {
      QByteArray bytes = value.toByteArray();
      sqlite3_bind_blob(statement_, position, bytes.constData(), static_cast<int>(bytes.size()),
                        SQLITE_TRANSIENT);
      break;
    }
    default: {
      QByteArray utf8 = value.toString().toUtf8();
      sqlite3_bind_text(statement_, position, utf8.constData(), static_cast<int>(utf8.size()),
                        SQLITE_TRANSIENT);
    }
  }
}

void SqliteStatement::reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

bool SqliteStatement::step() {
  int rc = sqlite3_step(statement_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throwSqliteError(connection_, sql_);
}

QVariant SqliteStatement::column(int index) const {
  switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_INTEGER:
      return QVariant(static_cast<qint64>(sqlite3_column_int64(statement_, index)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(statement_, index));
    case SQLITE_TEXT:
      return QVariant(
          QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement_, index)),
                            sqlite3_column_bytes(statement_, index)));
    case SQLITE_BLOB:
      return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, index)),
                                 sqlite3_column_bytes(statement_, index)));
    default:
      return QVariant();
  }
}

}  // namespace listinova::platform::db
