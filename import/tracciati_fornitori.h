#pragma once

#include <QStringList>
#include <optional>
#include <vector>

#include "import/riepilogo_import.h"

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// The fixed-column layouts of the suppliers that send them, by supplier name.
enum class Tracciato { QrzService, Feldro };

// The layout of a supplier (name trimmed, any case); none when there is no layout for it.
std::optional<Tracciato> TracciatoDi(const QString& fornitore);

// One article of a supplier's file.
struct ArticoloFornitore {
  int riga = 0;
  QString codiceFornitore;
  double quantita = 0;
  double prezzo = 0;  // purchase cost
  QString descrizione;
  QString iva;  // whole percent, "" when the field is blank
  QString barcode;
};

class LettoreRighe;

// Every article of the file; lines that cannot give one are refused in `riepilogo`.
std::vector<ArticoloFornitore> LeggiTracciato(Tracciato tracciato, LettoreRighe& lettore,
                                              RiepilogoImport& riepilogo);

constexpr char kTracciatoAssente[] =
    "Dati Tracciato Record per il Fornitore selezionato NON presenti - Impossibile continuare";

// Updates the archive from a supplier's file with the supplier's layout, in one transaction:
// found by barcode, then by supplier code; quantities are added; the supplier's price is the
// purchase cost. Throws ErroreImport (kTracciatoAssente for a supplier without a layout).
RiepilogoImport EseguiImport(platform::db::Database& db, const QString& percorso,
                             const QString& fornitore, const SchermoImport& schermo = {});

}  // namespace listinova
