#pragma once

#include <QString>
#include <vector>

#include "printing/easy_print.h"
#include "printing/impostazioni_etichetta.h"
#include "printing/layout_etichetta.h"
#include "printing/modelli_foglio.h"

namespace listinova {

// The grid row a "GRIGLIA" label is made from (its sub-items 1, 6 and 16, and its code).
struct RigaPerEtichetta {
  QString descrizione;
  QString prezzo;
  QString contenuto;
  QString codice;
};

// Font and size the barcode element takes when it shows barcode-font text.
inline const QString kFontCodiceBarre = QStringLiteral("Code EAN13");
inline constexpr double kPuntiCodiceBarre = 22;
// Sheet of the columns and rows boxes when they are empty or 0.
inline constexpr int kColonnePredefinite = 3;
inline constexpr int kRighePredefinite = 8;
inline constexpr double kDistanzaPredefinitaCm = 1;

// The sample captions of the editor for a print context; `riga` is used in "GRIGLIA".
void ImpostaDidascalie(LayoutEtichetta& layout, const ImpostazioniEtichetta& impostazioni,
                       const QString& contesto, const RigaPerEtichetta& riga = {});

// How the sheet is set up: the two boxes as typed, the sheet chosen, where printing starts.
struct FoglioEtichette {
  QString colonne;
  QString righe;
  const ModelloFoglio* modello = nullptr;
  int primaEtichetta = 1;  // "Inizia dalla etichetta"
};

// Configures the engine as the editor does: centimetres, no margins, the boxes' sheet (3 x 8
// when empty or 0) with 1 cm between labels, or the chosen sheet; then the label count
// (which runs the product selection), the counter and the layout.
void ConfiguraMotore(EasyPrint& motore, const LayoutEtichetta& layout,
                     const FoglioEtichette& foglio);

}  // namespace listinova
