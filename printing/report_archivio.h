#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "platform/money.h"
#include "printing/report_modello.h"

namespace listinova {
namespace platform::db {
class Database;
}

// One row of the promotions list as the operator sees it.
struct RigaElencoOfferte {
  QString descrizione;
  QString dal;
  QString al;
  QString scontoValore;
  QString scontoPercentuale;
  QString prezzoScontato;
};

// Empties rptMagazzino and fills it with one row per product the search statement `sqlRicerca`
// lists (deleted products left out), in one transaction. Returns the stock value of those
// rows, price times quantity.
Money RiempiRptMagazzino(platform::db::Database& db, const QString& sqlRicerca);

// Empties rptProdotti and fills it with the promotions list, in order, in one transaction.
void RiempiRptProdotti(platform::db::Database& db, const std::vector<RigaElencoOfferte>& righe);

// The sales of the period, joined to the products, as the report and the export select them.
QString IstruzioneVendite(const QDate& dal, const QDate& al);

// The three reports, read from their work tables or query.
ModelloReport ReportMagazzino(platform::db::Database& db, const QDate& data, Money valore);
ModelloReport ReportVendite(platform::db::Database& db, const QDate& dal, const QDate& al);
ModelloReport ReportOfferte(platform::db::Database& db, const QDate& dataStampa);

}  // namespace listinova
