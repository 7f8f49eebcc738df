#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace listinova::platform::db {

// True when the file starts with an Access header (Jet 3/4 or ACE).
bool isAccessFile(const QString& path);

// Access keeps dates as days since 30/12/1899; before that day the whole part counts
// backwards while the fraction is still the time of day. Rounded to the second.
QDateTime dateTimeFromAccess(double days);

enum class AccessType {
  Text,
  Memo,
  Boolean,
  Byte,
  Integer,
  LongInteger,
  Currency,
  Single,
  Double,
  DateTime,
  Binary,
  Ole,
  Guid,
  Decimal,
  Other
};

struct AccessColumn {
  QString name;
  AccessType type;
  int size;
};

// An Access file opened read-only. Every failure throws std::runtime_error in Italian.
class AccessFile {
 public:
  explicit AccessFile(const QString& path);
  ~AccessFile();
  AccessFile(const AccessFile&) = delete;
  AccessFile& operator=(const AccessFile&) = delete;

  // User tables only: no system, hidden or linked ones. The other calls match table names
  // without regard to case and throw when the table is missing.
  QStringList tables() const;
  std::vector<AccessColumn> columns(const QString& table) const;
  // One value per column: QString (text, memo, GUID), qint64, bool, double (currency is the
  // exact four-decimal amount), QDateTime, QByteArray, or a null QVariant. Columns of type
  // Other always come as null.
  void forEachRow(const QString& table, const std::function<void(const QVariantList&)>& row) const;
  qint64 rowCount(const QString& table) const;

 private:
  struct Handle;
  QString path_;
  std::unique_ptr<Handle> handle_;
};

}  // namespace listinova::platform::db
