#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

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

// The register's quantity field holds at most ±99,999.999: anything beyond is no sale.
inline constexpr qint64 kMassimiMillesimi = 99'999'999;

// A quantity field in thousandths, as a whole number: empty counts as 0; a field that is not a
// whole number, or beyond the register's field, gives nothing and says why in `motivo`.
std::optional<qint64> MillesimiDa(const QString& campo, QString* motivo = nullptr);

// A line of a receive file that was not booked, and why.
struct RigaNonRegistrata {
  QString riga;
  QString motivo;
};

struct EsitoPrenotazione {
  bool riuscita = true;  // false: nothing was booked, `errore` says why
  int prenotate = 0;     // StoricoPLU rows added
  int sconosciute = 0;   // of which with a barcode no product carries (stock unchanged)
  std::vector<RigaNonRegistrata> nonRegistrate;
  QString errore;
};

// Books the receive file from its booking mark (see posizione_ricezione.h; the start of a file
// the store does not know, read with `metodo`) to its last whole line: a StoricoPLU row dated
// `oggi` for each answer, and its quantity taken from the stock of the product found by its
// additional barcode, its main barcode or, for the register's five-character in-store code, the
// in-store product that holds it. The rows, the stock and the moved mark are one transaction.
// Lines after a mark of a table dump are passed over.
EsitoPrenotazione AggiornaStoricoPLU(platform::db::Database& db, const QString& percorso,
                                     MetodoLettura metodo, bool torvane, const QDate& oggi);

}  // namespace listinova
