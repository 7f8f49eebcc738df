#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <unordered_map>

#include <vector>
#include "platform/db/sqlite_statement.h"

#include "platform/money.h"

namespace listinova::platform::db {

enum class FieldType { Other, Text, Integer, Real, Boolean, Currency, Date, Binary };

// The rows of one SELECT, held in memory, with DAO-style navigation and editing.
// A recordset on a single table (no join, grouping or DISTINCT) can add, edit and delete rows.
class Recordset {
 public:
  Recordset(sqlite3* connection, const QString& sqliteSql);
  // A copy would share the original's prepared statements.
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;
  Recordset(Recordset&&) = default;
  Recordset& operator=(Recordset&&) = default;

  bool eof() const { return position_ >= static_cast<qsizetype>(rows_.size()) || rows_.empty(); }
  bool bof() const { return position_ < 0 || rows_.empty(); }
  int recordCount() const { return static_cast<int>(rows_.size()); }
  void moveFirst() {
    deletedCurrent_ = false;
    position_ = 0;
  }
  void moveLast() {
    deletedCurrent_ = false;
    position_ = static_cast<qsizetype>(rows_.size()) - 1;
  }
  void moveNext();
  void movePrevious();

  int fieldCount() const { return static_cast<int>(names_.size()); }
  QString fieldName(int index) const { return names_.at(index); }
  FieldType fieldType(int index) const { return types_.at(index); }
  bool hasField(const QString& name) const;

  // Field values by case-insensitive name. Null is an invalid QVariant.
  QVariant value(const QString& field) const;
  QVariant value(int index) const;
  bool isNull(const QString& field) const { return value(field).isNull(); }
  QString text(const QString& field) const;  // "" for Null
  qint64 integer(const QString& field) const;
  double number(const QString& field) const;
  Money money(const QString& field) const;  // 0 for Null
  bool flag(const QString& field) const;    // any non-zero value is true
  QDateTime dateTime(const QString& field) const;

  // Editing: addNew() or edit(), then the setters, then update().
  void addNew();
  void edit();
  void setValue(const QString& field, const QVariant& value);
  void setText(const QString& field, const QString& value) { setValue(field, value); }
  void setMoney(const QString& field, Money value);
  void setFlag(const QString& field, bool value) { setValue(field, value ? -1 : 0); }
  void setNull(const QString& field) { setValue(field, QVariant()); }
  void update();
  void cancelUpdate();
  void remove();  // deletes the current row
  bool updatable() const { return !table_.isEmpty(); }

 private:
  enum class EditMode { None, Editing, Adding };
  int index(const QString& field) const;
  const std::vector<QVariant>& currentRow() const;
  void requireCurrentRow() const;
  std::vector<QVariant> fetchRow(qint64 rowid);
  // Writes repeat the same few statements; each is prepared once per recordset.
  SqliteStatement& prepared(const QString& sql);

  sqlite3* connection_;
  QString table_;  // the one table rows can be written back to; empty when read-only
  QStringList names_;
  std::vector<FieldType> types_;
  QHash<QString, int> byName_;  // case-folded name -> column
  std::vector<std::vector<QVariant>> rows_;
  std::vector<qint64> rowids_;
  qsizetype position_ = 0;
  EditMode mode_ = EditMode::None;
  bool deletedCurrent_ = false;  // after remove() the next moveNext() stays put
  std::vector<QVariant> buffer_;
  std::vector<bool> changed_;
  QString selectList_;
  std::unordered_map<QString, std::shared_ptr<SqliteStatement>> statements_;
};

}  // namespace listinova::platform::db
