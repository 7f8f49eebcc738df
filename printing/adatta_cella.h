#pragma once

#include <QRectF>
#include <QString>
#include <array>
#include <vector>

#include "printing/layout_etichetta.h"

namespace listinova {

// The cell the stored layout is drawn for, in twips: a 3 x 8 A4 sheet with 5 mm margins and
// 1 cm between labels (6 x 2.7125 cm). Other cells get the layout scaled to them.
inline constexpr double kLarghezzaCellaProgettata = 6.0 * 567;
inline constexpr double kAltezzaCellaProgettata = 2.7125 * 567;
// Larger cells enlarge the layout at most this much.
inline constexpr double kIngrandimentoLayoutMassimo = 2.0;

// EAN symbols scan within 80 % to 200 % of the nominal 0.33 mm module; shorter bars than
// these still scan on a shelf-edge reader.
inline constexpr double kModuloNominaleMm = 0.33;
inline constexpr double kIngrandimentoMinimoEAN = 0.8;
inline constexpr double kIngrandimentoMassimoEAN = 2.0;
inline constexpr double kAltezzaMinimaCodiceMm = 6.0;
// Modules of a symbol with its quiet zones, as the bars are drawn.
int ModuliEAN(qsizetype cifre);
// The narrowest width (twips) a symbol of `cifre` digits may be printed at.
double LarghezzaMinimaEAN(qsizetype cifre);

// A text is shrunk at most to this share of its size before it is cut short; a price or a
// code is never cut, so it may shrink further (a cut price would read as another one).
inline constexpr double kRiduzioneTestoMassima = 0.6;
inline constexpr double kRiduzioneCifreMassima = 0.25;
// A code printed as plain digits instead of bars.
inline constexpr double kPuntiCodiceInChiaro = 8;
inline const QString kFontInChiaro = QStringLiteral("Arial");
// The line under an offer price.
inline constexpr double kPuntiPrezzoPrecedente = 6;

// What one cell carries before it is fitted.
struct ContenutoCella {
  std::array<QString, kElementiTesto> testi;
  // The digits the barcode element draws as bars (its text is then the same digits, printed
  // plainly when the bars do not fit); empty: the element prints its text.
  QString cifre;
  // "Prezzo più basso 30 gg: € 0,45" under the price of an offer; empty otherwise.
  QString sottoIlPrezzo;
};

// One thing drawn in a cell, where and how.
struct PezzoEtichetta {
  enum Tipo { kTesto, kBarre, kImmagine };
  Tipo tipo = kTesto;
  QRectF area;  // twips on the page, always inside the cell
  QString testo;
  CarattereEtichetta carattere;
  QString cifre;
};

struct CellaAdattata {
  std::vector<PezzoEtichetta> pezzi;
  bool barreNonEntrano = false;  // the cell is too small for bars at 80 %
};

// Lays the layout out in `cella`: positions follow the cell's proportions, sizes its smaller
// ratio; bars keep within the EAN magnifications; a text never runs past the cell nor into
// the bars or the logo on its right (it shrinks, then is cut); nothing leaves the cell.
CellaAdattata AdattaCella(const LayoutEtichetta& layout, const QRectF& cella,
                          const ContenutoCella& contenuto);

// The size of a text in twips as it prints.
QSizeF MisuraTesto(const QString& testo, const CarattereEtichetta& carattere);

}  // namespace listinova
