#pragma once

#include <QDate>
#include <QString>
#include <vector>

namespace listinova {
namespace platform::db {
class Database;
}

// One barcode's sales in the period, summed.
struct VenditaProdotto {
  QString ean;
  QString descrizione;
  qint64 millesimi = 0;
};

struct VenditePeriodo {
  std::vector<VenditaProdotto> righe;  // by description, then barcode
  qint64 totaleMillesimi = 0;
};

// The sales booked from `dal` to `al` (both included) of the products the archive carries,
// one line per barcode that sold something.
VenditePeriodo VenditeDelPeriodo(platform::db::Database& db, const QDate& dal, const QDate& al);

// "1.234,5", "0,001", "3": a quantity the Italian way, with the decimals it has.
QString TestoQuantita(qint64 millesimi);

}  // namespace listinova
