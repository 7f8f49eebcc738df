#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace listinova::platform::db {

// Dates are kept as ISO text so that they sort and compare as they should.
QString storedDate(const QDate& date);
// Date only when the time is midnight, so DateValue comparisons keep working.
QString storedDateTime(const QDateTime& moment);
// Reads back what storedDateTime wrote; invalid for anything else.
QDateTime parseStoredDateTime(const QString& text);
// What an operator or a statement writes: "07/12/2026", "7/12/26", "2026-12-07",
// optionally followed by a time.  Invalid when it is none of these.
QDate parseShopDate(const QString& text);

}  // namespace listinova::platform::db
