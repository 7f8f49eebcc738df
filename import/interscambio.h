#pragma once

#include <QString>
#include <QStringList>

#include "import/catalogo_cedi.h"
#include "import/riepilogo_import.h"

namespace listinova::platform {
class Clock;
}

namespace listinova {

// How often the product list looks into the exchange folder.
constexpr int kIntervalloInterscambioMs = 60000;

// What one pass over the exchange folder did.
struct EsitoInterscambio {
  QStringList importati;      // file names, in the order they were imported
  QString fermatoSu;          // the file that stopped the pass (unknown name or failure), if any
  QString errore;             // why it stopped, when it failed
  RiepilogoImport riepilogo;  // the figures of all the files together
};

// The exchange folder of the central catalogue ([Cartelle] IN): "A*.txt" article files and
// "B*.txt" barcode files, taken in name order. A file is copied into the program folder's
// "InterScambioINStorico" and removed only after its import committed, so a crash leaves it
// to be imported again. The articles of the last A file stay held for the B files after it.
class Interscambio {
 public:
  Interscambio(platform::db::Database& db, QString cartellaProgramma, platform::Clock& clock);

  EsitoInterscambio ImportaInterscambio(const QString& cartellaIN,
                                        const SchermoImport& schermo = {});

  QString cartellaStorico() const;

 private:
  QString cartellaProgramma_;
  platform::Clock& clock_;
  CatalogoCedi catalogo_;
};

}  // namespace listinova
