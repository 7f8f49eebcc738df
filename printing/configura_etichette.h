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

// Sheet of the columns and rows boxes when they are empty or 0.
inline constexpr int kColonnePredefinite = 3;
inline constexpr int kRighePredefinite = 8;
inline constexpr double kDistanzaPredefinitaCm = 1;
// The columns-and-rows sheet keeps this far from the paper's edges, more where the printer
// cannot print closer: most printers clip the last 4 or 5 mm.
inline constexpr double kMarginePredefinitoCm = 0.5;

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

// Configures the engine as the editor does: centimetres, the boxes' sheet (3 x 8 when empty or
// 0) inside the printer's printable area and 5 mm from the edges, with 1 cm between labels, or
// the chosen sheet; then the label count
// (which runs the product selection), the counter and the layout.
void ConfiguraMotore(EasyPrint& motore, const LayoutEtichetta& layout,
                     const FoglioEtichette& foglio);

}  // namespace listinova
