#pragma once

#include <QString>
#include <vector>

#include "printing/testi_etichetta.h"

namespace listinova {
namespace platform::db {
class Database;
}

// Where label printing was started from: one label per product, or copies of the grid row.
inline const QString kContestoToolbar = QStringLiteral("TOOLBAR");
inline const QString kContestoGriglia = QStringLiteral("GRIGLIA");

// The product list's two check boxes the selection depends on.
struct FiltriEtichette {
  bool modificati = false;     // "Invio PLU Modificati"
  bool perFrontalini = false;  // "x Frontalini"
};

struct SelezioneEtichette {
  std::vector<ProdottoEtichetta> prodotti;
  QString contesto;  // the print context, which the selection may turn into "TOOLBAR"
};

// The products to label, by [Etichetta] SelezioneStandard (as read), the print context
// and the two boxes. Ordered by description.
SelezioneEtichette SelezionaProdotti(platform::db::Database& db, const QString& selezioneStandard,
                                     const QString& contesto, const FiltriEtichette& filtri);

// [Etichetta] SelezioneStandard as the engine reads it: "Vero" used and written when
// missing or empty.
QString LeggiSelezioneStandard(const QString& percorsoSetup);

}  // namespace listinova
