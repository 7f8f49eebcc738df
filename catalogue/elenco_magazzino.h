#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "platform/money.h"

namespace listinova {
namespace platform::db {
class Database;
}

// What the search boxes of the product list hold.
struct CriteriRicerca {
  // optCerca: 0 description, 1 bar code, 2 supplier's code, 3 price 0, 4 stock <= 0
  int opzione = 0;
  QString testo;
  QString reparto;  // as Genere stores it: the name, or the code
  QString fornitore;
};

// The statement the search runs for `criteri`.
QString IstruzioneRicerca(const CriteriRicerca& criteri);

// The department as Genere holds it: the code of `nomeReparto` when [Config]
// SalvaRepartoComeCODICE of `setup` reads "VERO", else the name. An absent key is written
// back as "Falso".
QString RepartoPerRicerca(platform::db::Database& db, const QString& setup,
                          const QString& nomeReparto);

inline constexpr int kMassimoRigheMagazzino = 1000;
inline constexpr int kColonneMagazzino = 18;  // CodMateriale and its 17 columns

// Text colours of a row; a later rule repaints an earlier one.
inline const QColor kColoreEsaurito{255, 0, 0};
// Pure green is unreadable on white: a darker one.
inline const QColor kColoreModificato{0, 160, 0};
inline const QColor kColoreRicaricoBasso{0, 0, 255};
inline constexpr double kRicaricoMinimo = 35.0;

struct RigaMagazzino {
  std::array<QString, kColonneMagazzino> celle;
  QColor colore;  // invalid: the grid's own text colour
};

struct ElencoMagazzino {
  int vociTrovate = 0;  // every row the statement matched, deleted ones included
  std::vector<RigaMagazzino> righe;
  Money valore;  // Costo x Quantità of the listed products
};

QStringList IntestazioniMagazzino();

// Runs `sql` and builds the grid rows: deleted products are skipped, at most
// kMassimoRigheMagazzino are listed. With `togliMarcheEtichetta` every listed product gets
// TipoVariazione "N". Store failures throw DatabaseError.
ElencoMagazzino LeggiElencoMagazzino(platform::db::Database& db, const QString& sql,
                                     bool togliMarcheEtichetta);

// "1.234,56": the stock value as the list shows it, money with its two decimals.
QString TestoValoreMagazzino(Money valore);

// A scanner or a supplier's list may drop an EAN-13's leading zeros: the code of 1 to 12
// digits completed to 13 with zeros in front, else empty.
inline constexpr int kCifreEan13 = 13;
QString CodiceCompletato13(const QString& codice);

}  // namespace listinova
