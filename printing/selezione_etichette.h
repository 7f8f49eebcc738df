#pragma once

#include <QDate>
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
// and the two boxes. Ordered by description. A product on offer on `oggi` carries the offer
// price and the lowest price of the 30 days before the offer began.
SelezioneEtichette SelezionaProdotti(platform::db::Database& db, const QString& selezioneStandard,
                                     const QString& contesto, const FiltriEtichette& filtri,
                                     const QDate& oggi = QDate::currentDate());

// [Etichetta] SelezioneStandard as the engine reads it: "Vero" used and written when
// missing or empty.
QString LeggiSelezioneStandard(const QString& percorsoSetup);

}  // namespace listinova
