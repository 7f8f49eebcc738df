#include "platform/db/stored_value.h"

#include <QRegularExpression>

namespace listinova::platform::db {

QString storedDate(const QDate& date) { return date.toString("yyyy-MM-dd"); }

QString storedDateTime(const QDateTime& moment) {
  if (moment.time() == QTime(0, 0)) return storedDate(moment.date());
  return moment.toString("yyyy-MM-dd HH:mm:ss");
}

QDateTime parseStoredDateTime(const QString& text) {
  if (text.size() == 10) return QDateTime(QDate::fromString(text, "yyyy-MM-dd"), QTime(0, 0));
  return QDateTime::fromString(text.left(19), "yyyy-MM-dd HH:mm:ss");
}

QDate parseShopDate(const QString& text) {
  static const QRegularExpression italian(R"(^\s*(\d{1,2})[/.-](\d{1,2})[/.-](\d{2}|\d{4})\b)");
  static const QRegularExpression iso(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})\b)");
  if (auto m = iso.match(text); m.hasMatch())
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  if (auto m = italian.match(text); m.hasMatch()) {
    int year = m.captured(3).toInt();
    // Two-digit years fall in 1930-2029, as the old system read them.
    if (m.captured(3).size() == 2) year += year < 30 ? 2000 : 1900;
    return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
  }
  return {};
}

}  // namespace listinova::platform::db
