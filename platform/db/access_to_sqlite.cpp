#include "platform/db/access_to_sqlite.h"

#include <sqlite3.h>

#include <stdexcept>
#include <vector>

#include "platform/db/access_file.h"
#include "platform/db/jet_sql.h"
#include "platform/db/stored_value.h"

namespace listinova::platform::db {

namespace {

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

// `table` is empty for the statements around the whole copy.
[[noreturn]] void failSqlite(sqlite3* db, const QString& table) {
  const QString reason = QString::fromUtf8(sqlite3_errmsg(db));
  if (table.isEmpty())
    fail(QStringLiteral("Errore del database SQLite durante la copia dal database Access: %1")
             .arg(reason));
  fail(QStringLiteral("Errore del database SQLite durante la copia della tabella %1: %2")
           .arg(table, reason));
}

struct TargetTable {
  QString schema;
  QString name;
  QString sql() const { return sqlIdentifier(schema) + u'.' + sqlIdentifier(name); }
};

// Unqualified names go to "main": a bare DROP TABLE would first look in "temp".
TargetTable targetTable(const QString& qualified) {
  const qsizetype dot = qualified.indexOf(u'.');
  if (dot <= 0) return {QStringLiteral("main"), qualified};
  return {qualified.left(dot), qualified.mid(dot + 1)};
}

// The store reads values back by these declared types.
QString declaredType(AccessType type) {
  switch (type) {
    case AccessType::Text:
    case AccessType::Memo:
    case AccessType::Guid:
      return QStringLiteral("TEXT COLLATE NOCASE");
    case AccessType::Boolean:
      return QStringLiteral("BOOLEAN");
    case AccessType::Byte:
    case AccessType::Integer:
    case AccessType::LongInteger:
      return QStringLiteral("INTEGER");
    case AccessType::Currency:
      return QStringLiteral("CURRENCY");
    case AccessType::Single:
    case AccessType::Double:
      return QStringLiteral("REAL");
    case AccessType::Decimal:
      return QStringLiteral("DECIMAL");
    case AccessType::DateTime:
      return QStringLiteral("DATETIME");
    case AccessType::Binary:
    case AccessType::Ole:
      return QStringLiteral("BLOB");
    case AccessType::Other:
      break;
  }
  return {};
}

void execute(sqlite3* db, const QString& sql, const QString& table) {
  if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
    failSqlite(db, table);
}

// Nests inside a transaction the caller may already have open.
class Savepoint {
 public:
  explicit Savepoint(sqlite3* db) : db_(db) {
    execute(db_, QStringLiteral("SAVEPOINT access_copy"), QString());
  }
  ~Savepoint() {
    if (released_) return;
    sqlite3_exec(db_, "ROLLBACK TO access_copy", nullptr, nullptr, nullptr);
    sqlite3_exec(db_, "RELEASE access_copy", nullptr, nullptr, nullptr);
  }
  Savepoint(const Savepoint&) = delete;
  Savepoint& operator=(const Savepoint&) = delete;
  void release() {
    execute(db_, QStringLiteral("RELEASE access_copy"), QString());
    released_ = true;
  }

 private:
  sqlite3* db_;
  bool released_ = false;
};

class Insert {
 public:
  Insert(sqlite3* db, const QString& sql, const QString& table) : db_(db), table_(table) {
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement_, nullptr) != SQLITE_OK)
      failSqlite(db, table);
  }
  ~Insert() { sqlite3_finalize(statement_); }
  Insert(const Insert&) = delete;
  Insert& operator=(const Insert&) = delete;

  void bind(int position, const QVariant& value) {
    int result = SQLITE_OK;
    switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
      case QMetaType::UnknownType:
        result = sqlite3_bind_null(statement_, position);
        break;
      case QMetaType::Bool:
        result = sqlite3_bind_int(statement_, position, value.toBool() ? -1 : 0);
        break;
      case QMetaType::LongLong:
        result = sqlite3_bind_int64(statement_, position, value.toLongLong());
        break;
      // A whole currency amount becomes an INTEGER through the column's numeric affinity.
      case QMetaType::Double:
        result = sqlite3_bind_double(statement_, position, value.toDouble());
        break;
      case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        result = sqlite3_bind_blob64(statement_, position, bytes.constData(), bytes.size(),
                                     SQLITE_TRANSIENT);
        break;
      }
      case QMetaType::QDateTime:
        result = bindText(position, storedDateTime(value.toDateTime()));
        break;
      default:
        result = bindText(position, value.toString());
        break;
    }
    if (result != SQLITE_OK) failSqlite(db_, table_);
  }

  void run() {
    if (sqlite3_step(statement_) != SQLITE_DONE) failSqlite(db_, table_);
    sqlite3_reset(statement_);
  }

 private:
  int bindText(int position, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text64(statement_, position, utf8.constData(), utf8.size(),
                               SQLITE_TRANSIENT, SQLITE_UTF8);
  }

  sqlite3* db_;
  QString table_;
  sqlite3_stmt* statement_ = nullptr;
};

qint64 copyTable(const AccessFile& file, const QString& source, sqlite3* db,
                 const TargetTable& target, QStringList& skippedColumns) {
  const std::vector<AccessColumn> columns = file.columns(source);
  QStringList definitions;
  QStringList names;
  std::vector<int> copied;
  for (int i = 0; i < int(columns.size()); ++i) {
    const AccessColumn& column = columns[i];
    if (column.type == AccessType::Other) {
      skippedColumns << source + u'.' + column.name;
      continue;
    }
    definitions << sqlIdentifier(column.name) + u' ' + declaredType(column.type);
    names << sqlIdentifier(column.name);
    copied.push_back(i);
  }
  if (copied.empty())
    fail(
        QStringLiteral("La tabella %1 del database Access non ha colonne da copiare.").arg(source));

  execute(db, QStringLiteral("DROP TABLE IF EXISTS ") + target.sql(), source);
  execute(db,
          QStringLiteral("CREATE TABLE %1 (%2)")
              .arg(target.sql(), definitions.join(QStringLiteral(", "))),
          source);
  QStringList placeholders(names.size(), QStringLiteral("?"));
  Insert insert(db,
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(target.sql(), names.join(QStringLiteral(", ")),
                         placeholders.join(QStringLiteral(", "))),
                source);
  qint64 rows = 0;
  file.forEachRow(source, [&](const QVariantList& values) {
    for (int k = 0; k < int(copied.size()); ++k) insert.bind(k + 1, values[copied[k]]);
    insert.run();
    ++rows;
  });
  return rows;
}

}  // namespace

ConversionReport convertAccessToSqlite(const QString& accessPath, sqlite3* target) {
  const AccessFile file(accessPath);
  ConversionReport report;
  Savepoint savepoint(target);
  for (const QString& table : file.tables()) {
    report.rows +=
        copyTable(file, table, target, {QStringLiteral("main"), table}, report.skippedColumns);
    ++report.tables;
  }
  savepoint.release();
  return report;
}

void copyAccessTable(const QString& accessPath, const QString& sourceTable, sqlite3* target,
                     const QString& targetName) {
  const AccessFile file(accessPath);
  QStringList skippedColumns;
  Savepoint savepoint(target);
  copyTable(file, sourceTable, target, targetTable(targetName), skippedColumns);
  savepoint.release();
}

}  // namespace listinova::platform::db
