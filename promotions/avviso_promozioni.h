// The start-of-day notice: offers that start or end today must reach the registers.
#pragma once

#include <QDate>
#include <QString>

namespace listinova {
namespace platform::db {
class Database;
}

struct AvvisoOfferte {
  QString testo;  // empty: no banner
  int punti = 0;  // font size of the banner
};

// Reads [Promozioni] AvvisoAttivo of `setup` (an absent key is written "Falso" and counts as
// such) and, when it is on, looks for offers starting or ending on `oggi`. Store failures
// throw DatabaseError.
AvvisoOfferte AvvisoPromozioni(platform::db::Database& db, const QString& setup, const QDate& oggi);

}  // namespace listinova
