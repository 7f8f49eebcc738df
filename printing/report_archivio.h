#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "platform/money.h"
#include "printing/report_modello.h"
#include "promotions/offerte.h"

namespace listinova {
namespace platform::db {
class Database;
}

// Empties rptMagazzino and fills it with one row per product the search statement `sqlRicerca`
// lists (deleted products left out), in one transaction. Returns the stock value of those
// rows, price times quantity.
Money RiempiRptMagazzino(platform::db::Database& db, const QString& sqlRicerca);

// The sales of the period, joined to the products, as the report and the export select them.
QString IstruzioneVendite(const QDate& dal, const QDate& al);

// The three reports, read from their work tables or query.
ModelloReport ReportMagazzino(platform::db::Database& db, const QDate& data, Money valore);
ModelloReport ReportVendite(platform::db::Database& db, const QDate& dal, const QDate& al);
ModelloReport ReportOfferte(platform::db::Database& db, const QDate& dataStampa);

}  // namespace listinova
