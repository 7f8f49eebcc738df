#include "platform/db/recordset.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <cmath>

#include "platform/db/database_error.h"
#include "platform/db/jet_sql.h"
#include "platform/db/sqlite_statement.h"
#include "platform/db/stored_value.h"

namespace listinova::platform::db {
namespace {

constexpr char kRowid[] = "__rowid__";

FieldType typeFromDeclaration(const char* declared) {
  if (!declared) return FieldType::Other;
  const QString d = QString::fromLatin1(declared).toUpper();
  if (d.contains("BOOL")) return FieldType::Boolean;
  if (d.contains("CURRENCY") || d.contains("MONEY")) return FieldType::Currency;
  if (d.contains("DATE") || d.contains("TIME")) return FieldType::Date;
  if (d.contains("CHAR") || d.contains("TEXT") || d.contains("CLOB")) return FieldType::Text;
  if (d.contains("INT")) return FieldType::Integer;
  if (d.contains("BLOB")) return FieldType::Binary;
  return FieldType::Real;
}

// The table a plain "SELECT list FROM table [WHERE ...] [ORDER BY ...]" reads, else empty.
struct SingleTable {
  QString table;
  QString selectList;
};

SingleTable singleTableOf(const QString& sql) {
  static const QRegularExpression plain(
      R"(^\s*SELECT\s+(.+?)\s+FROM\s+("(?:[^"]|"")+"|[\w$]+)\s*(?:(WHERE|ORDER)\b(.*))?;?\s*$)",
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption |
          QRegularExpression::UseUnicodePropertiesOption);
  static const QRegularExpression literals(R"('(?:[^']|'')*')");
  static const QRegularExpression notSingle(R"(\b(JOIN|GROUP|UNION|DISTINCT|SELECT|FROM)\b|,)",
                                            QRegularExpression::CaseInsensitiveOption);
  auto m = plain.match(sql);
  if (!m.hasMatch()) return {};
  QString list = m.captured(1);
  QString tail = QString(m.captured(4)).replace(literals, "''");
  static const QRegularExpression distinct(R"(^\s*(DISTINCT|DISTINCTROW|TOP)\b)",
                                           QRegularExpression::CaseInsensitiveOption);
  if (distinct.match(list).hasMatch() || list.contains('(') || notSingle.match(tail).hasMatch())
    return {};
  QString table = m.captured(2);
  if (table.startsWith('"')) table = table.mid(1, table.size() - 2).replace("\"\"", "\"");
  return {table, list};
}

QVariant readValue(const QVariant& stored, FieldType type) {
  if (stored.isNull()) return stored;
  switch (type) {
    case FieldType::Boolean:
      return QVariant(stored.toLongLong() != 0);
    case FieldType::Currency:
      return QVariant(Money::fromDouble(stored.toDouble()).toDouble());
    case FieldType::Date: {
      if (stored.typeId() != QMetaType::QString) return stored;
      QDateTime moment = parseStoredDateTime(stored.toString());
      return moment.isValid() ? QVariant(moment) : stored;
    }
    default:
      return stored;
  }
}

QVariant storedValue(const QVariant& value, FieldType type) {
  if (value.isNull() || !value.isValid()) return QVariant();
  switch (type) {
    case FieldType::Boolean:
      if (value.typeId() == QMetaType::QString) {
        const QString t = value.toString().trimmed().toUpper();
        return QVariant(t == "VERO" || t == "TRUE" || t == "-1" || t == "1" ? -1 : 0);
      }
      return QVariant(value.toBool() ? -1 : 0);
    case FieldType::Currency: {
      if (value.typeId() == QMetaType::QString) {
        auto parsed = Money::parse(value.toString());
        if (!parsed)
          throw DatabaseError(QStringLiteral("Importo non valido: %1").arg(value.toString()), 13);
        return QVariant(parsed->toDouble());
      }
      return QVariant(Money::fromDouble(value.toDouble()).toDouble());
    }
    case FieldType::Date: {
      if (value.typeId() == QMetaType::QDate) return storedDate(value.toDate());
      if (value.typeId() == QMetaType::QDateTime) return storedDateTime(value.toDateTime());
      QDate date = parseShopDate(value.toString());
      if (!date.isValid())
        throw DatabaseError(QStringLiteral("Data non valida: %1").arg(value.toString()), 13);
      return storedDate(date);
    }
    case FieldType::Text:
      return QVariant(value.toString());
    default:
      return value;
  }
}

}  // namespace

Recordset::Recordset(sqlite3* connection, const QString& sqliteSql) : connection_(connection) {
  SingleTable single = singleTableOf(sqliteSql);
  QString sql = sqliteSql;
  if (!single.table.isEmpty() && schemaHasObject(connection, single.table, false)) {
    table_ = single.table;
    selectList_ = single.selectList;
    static const QRegularExpression select(R"(^\s*SELECT\s)",
                                           QRegularExpression::CaseInsensitiveOption);
    sql.replace(select, QStringLiteral("SELECT _rowid_ AS %1, ").arg(kRowid));
  }
  SqliteStatement statement(connection, sql);
  const int first = table_.isEmpty() ? 0 : 1;
  const int columns = sqlite3_column_count(statement.get());
  for (int i = first; i < columns; ++i) {
    QString name = QString::fromUtf8(sqlite3_column_name(statement.get(), i));
    byName_.insert(name.toCaseFolded(), static_cast<int>(names_.size()));
    names_ << name;
    types_.push_back(typeFromDeclaration(sqlite3_column_decltype(statement.get(), i)));
  }
  while (statement.step()) {
    std::vector<QVariant> row;
    row.reserve(names_.size());
    for (int i = first; i < columns; ++i)
      row.push_back(readValue(statement.column(i), types_[i - first]));
    rows_.push_back(std::move(row));
    if (first) rowids_.push_back(sqlite3_column_int64(statement.get(), 0));
  }
}

void Recordset::moveNext() {
  if (deletedCurrent_) {
    deletedCurrent_ = false;
    return;
  }
  if (position_ < static_cast<qsizetype>(rows_.size())) ++position_;
}

void Recordset::movePrevious() {
  deletedCurrent_ = false;
  if (position_ >= 0) --position_;
}

bool Recordset::hasField(const QString& name) const {
  return byName_.contains(name.toCaseFolded());
}

int Recordset::index(const QString& field) const {
  auto it = byName_.constFind(field.toCaseFolded());
  if (it == byName_.constEnd())
    throw DatabaseError(QStringLiteral("Campo non trovato: %1").arg(field), 3265);
  return it.value();
}

void Recordset::requireCurrentRow() const {
  if (bof() || eof() || deletedCurrent_)
    throw DatabaseError(QStringLiteral("Nessun record corrente."), 3021);
}

const std::vector<QVariant>& Recordset::currentRow() const {
  if (mode_ != EditMode::None) return buffer_;
  requireCurrentRow();
  return rows_[position_];
}

QVariant Recordset::value(int index) const { return currentRow().at(index); }
QVariant Recordset::value(const QString& field) const { return value(index(field)); }

QString Recordset::text(const QString& field) const {
  QVariant v = value(field);
  if (v.isNull()) return {};
  if (v.typeId() == QMetaType::QDateTime) {
    QDateTime moment = v.toDateTime();
    return moment.time() == QTime(0, 0) ? moment.toString("dd/MM/yyyy")
                                        : moment.toString("dd/MM/yyyy HH:mm:ss");
  }
  return v.toString();
}

qint64 Recordset::integer(const QString& field) const {
  QVariant v = value(field);
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? -1 : 0;
  if (v.typeId() == QMetaType::Double) return std::llround(v.toDouble());
  return v.toLongLong();
}

double Recordset::number(const QString& field) const { return value(field).toDouble(); }

Money Recordset::money(const QString& field) const {
  QVariant v = value(field);
  if (v.isNull()) return Money();
  if (v.typeId() == QMetaType::QString) return Money::parse(v.toString()).value_or(Money());
  return Money::fromDouble(v.toDouble());
}

bool Recordset::flag(const QString& field) const {
  QVariant v = value(field);
  if (v.typeId() == QMetaType::QString) return v.toString().toUpper() == "VERO";
  return v.toLongLong() != 0 || v.toBool();
}

QDateTime Recordset::dateTime(const QString& field) const {
  QVariant v = value(field);
  if (v.typeId() == QMetaType::QDateTime) return v.toDateTime();
  QDate date = parseShopDate(v.toString());
  return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

void Recordset::addNew() {
  if (!updatable()) throw DatabaseError(QStringLiteral("Il recordset non è aggiornabile."), 3027);
  mode_ = EditMode::Adding;
  buffer_.assign(names_.size(), QVariant());
  changed_.assign(names_.size(), false);
}

void Recordset::edit() {
  if (!updatable()) throw DatabaseError(QStringLiteral("Il recordset non è aggiornabile."), 3027);
  requireCurrentRow();
  mode_ = EditMode::Editing;
  buffer_ = rows_[position_];
  changed_.assign(names_.size(), false);
}

void Recordset::setValue(const QString& field, const QVariant& value) {
  if (mode_ == EditMode::None)
    throw DatabaseError(QStringLiteral("Modifica non avviata: usare Edit o AddNew."), 3020);
  int i = index(field);
  buffer_[i] = readValue(storedValue(value, types_[i]), types_[i]);
  changed_[i] = true;
}

void Recordset::setMoney(const QString& field, Money value) {
  setValue(field, QVariant(value.toDouble()));
}

SqliteStatement& Recordset::prepared(const QString& sql) {
  auto& slot = statements_[sql];
  if (!slot)
    slot = std::make_shared<SqliteStatement>(connection_, sql);
  else
    slot->reset();
  return *slot;
}

std::vector<QVariant> Recordset::fetchRow(qint64 rowid) {
  const QString quotedTable = sqlIdentifier(table_);
  SqliteStatement& s =
      prepared(QStringLiteral("SELECT %1 FROM %2 WHERE _rowid_=?").arg(selectList_, quotedTable));
  s.bind(1, rowid);
  std::vector<QVariant> row;
  if (s.step())
    for (int i = 0; i < fieldCount(); ++i) row.push_back(readValue(s.column(i), types_[i]));
  return row;
}

void Recordset::update() {
  if (mode_ == EditMode::None)
    throw DatabaseError(QStringLiteral("Modifica non avviata: usare Edit o AddNew."), 3020);
  const QString quotedTable = sqlIdentifier(table_);
  QStringList columns;
  std::vector<QVariant> values;
  for (int i = 0; i < fieldCount(); ++i) {
    if (!changed_[i]) continue;
    columns << sqlIdentifier(names_[i]);
    values.push_back(storedValue(buffer_[i], types_[i]));
  }
  const EditMode mode = mode_;
  mode_ = EditMode::None;
  if (mode == EditMode::Adding) {
    QString sql =
        columns.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedTable)
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quotedTable, columns.join(','), QStringList(columns.size(), "?").join(','));
    SqliteStatement& s = prepared(sql);
    for (size_t i = 0; i < values.size(); ++i) s.bind(static_cast<int>(i + 1), values[i]);
    s.step();
    qint64 rowid = sqlite3_last_insert_rowid(connection_);
    std::vector<QVariant> row = fetchRow(rowid);
    if (row.empty()) row = buffer_;  // the row no longer matches the select list's filter
    rows_.push_back(std::move(row));
    rowids_.push_back(rowid);
    return;
  }
  if (columns.isEmpty()) return;
  QStringList assignments;
  for (const QString& c : columns) assignments << c + "=?";
  SqliteStatement& s = prepared(
      QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_=?").arg(quotedTable, assignments.join(',')));
  for (size_t i = 0; i < values.size(); ++i) s.bind(static_cast<int>(i + 1), values[i]);
  s.bind(static_cast<int>(values.size() + 1), rowids_[position_]);
  s.step();
  std::vector<QVariant> row = fetchRow(rowids_[position_]);
  rows_[position_] = row.empty() ? buffer_ : std::move(row);
}

void Recordset::cancelUpdate() { mode_ = EditMode::None; }

void Recordset::remove() {
  if (!updatable()) throw DatabaseError(QStringLiteral("Il recordset non è aggiornabile."), 3027);
  requireCurrentRow();
  const QString quotedTable = sqlIdentifier(table_);
  SqliteStatement& s = prepared(QStringLiteral("DELETE FROM %1 WHERE _rowid_=?").arg(quotedTable));
  s.bind(1, rowids_[position_]);
  s.step();
  rows_.erase(rows_.begin() + position_);
  rowids_.erase(rowids_.begin() + position_);
  deletedCurrent_ = true;
}

}  // namespace listinova::platform::db
