#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace listinova {
namespace platform::db {
class Database;
}

// How the registers were read: one "h/" question per product, or their own sales lists.
enum class MetodoLettura { PerProdotto = 1, Lista = 2 };

// Where the barcode and the sold quantity sit in an answer split at "/" (the result code is
// field 0).
struct CampiVendita {
  int barCode;
  int quantita;
};
CampiVendita CampiPerMetodo(MetodoLettura metodo, bool torvane);

// A quantity field in thousandths, as a whole number: empty counts as 0; anything that is not
// a whole number gives nothing.
std::optional<qint64> MillesimiDa(const QString& campo);

struct EsitoPrenotazione {
  bool riuscita = true;  // false: nothing was booked, `errore` says why
  int prenotate = 0;     // StoricoPLU rows added
  int sconosciute = 0;   // of which with a barcode no product carries (stock unchanged)
  int scartate = 0;      // lines without a barcode or a readable quantity
  QString errore;
};

// Books the receive-file lines from byte `da` on: a StoricoPLU row dated `oggi` for each
// answer, and its quantity taken from the stock of the product found by its additional barcode,
// its main barcode or, for the register's five-character in-store code, the in-store product
// that holds it. All of it or nothing: one transaction.
EsitoPrenotazione AggiornaStoricoPLU(platform::db::Database& db, const QString& percorso,
                                     MetodoLettura metodo, bool torvane, qint64 da,
                                     const QDate& oggi);

}  // namespace listinova
