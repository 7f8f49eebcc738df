// The lowest price a product had in the 30 days before a price reduction starts: what an
// announced reduction must show beside the reduced price.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "platform/money.h"

namespace listinova {
namespace platform::db {
class Database;
}

// The days before the start of a reduction whose prices count.
inline constexpr int kGiorniPrezzoPrecedente = 30;

// The lowest selling price of the product over the days before `inizio`, from the price
// history; today's price when the history says nothing about those days. Nothing when the
// product is not in the store. Throws DatabaseError.
std::optional<Money> PrezzoPiuBasso30gg(platform::db::Database& db, const QString& articolo,
                                        const QDate& inizio);

}  // namespace listinova
