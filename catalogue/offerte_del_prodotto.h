// A product's offers as its selling price changes: an offer's price was worked out from the
// old selling price, so the editor asks whether it follows the new one.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "platform/money.h"

namespace listinova {
namespace platform::db {
class Database;
}

// The last day of the product's current or future offers; none when it has none.
std::optional<QDate> FineOfferteDelProdotto(platform::db::Database& db, const QString& codice,
                                            const QDate& oggi);
// Each current or future offer of the product gets the price its own discount makes on
// `nuovoPrezzo` (a money discount is taken off, a percentage taken as a share).
void AggiornaPrezzoOfferte(platform::db::Database& db, const QString& codice, Money nuovoPrezzo,
                           const QDate& oggi);
// The question the editor asks.
QString DomandaPrezzoOfferta(const QDate& fine);

}  // namespace listinova
