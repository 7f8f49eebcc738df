#pragma once

#include <QImage>
#include <QString>
#include <array>

#include "printing/superficie_etichette.h"

namespace listinova {
namespace platform::db {
class Database;
}

// The five text elements of a label, by their index in the editor.
enum IndiceElemento : int {
  kPrezzoAlKg = 0,
  kDescrizione = 1,
  kPrezzo = 2,
  kNomeNegozio = 3,
  kCodiceBarre = 4,
};
inline constexpr int kElementiTesto = 5;

// Font and size the barcode element takes when it shows barcode-font text.
inline const QString kFontCodiceBarre = QStringLiteral("Code EAN13");
inline constexpr double kPuntiCodiceBarre = 22;

// A bar code takes the room its element's font would: as wide as the barcode font drew it,
// and one and a half times the font size tall.
inline constexpr double kAltezzaBarreSuCorpo = 1.5;
inline constexpr double kLarghezzaEAN13SuCorpo = 4.3;
inline constexpr double kLarghezzaEAN8SuCorpo = 3.1;
inline constexpr double kTwipsPerPunto = 20.0;
// The size, in twips, of the bars of an element of `punti` points for `cifre` digits, in the
// cell the layout is designed for.
QSizeF DimensioneCodice(double punti, qsizetype cifre);

// One text element: the caption it shows in the editor, where it sits inside the label
// (twips from the label's top-left corner) and its font.
struct ElementoTesto {
  QString didascalia;
  double top = 0;
  double left = 0;
  CarattereEtichetta carattere;
};

// The one label layout: what the editor shows and the engine reproduces in every cell.
struct LayoutEtichetta {
  std::array<ElementoTesto, kElementiTesto> testi;
  double logoTop = 60;
  double logoLeft = 2300;
  bool logoVisibile = true;
  QImage logo;
  QSizeF dimensioneLogo{450, 450};  // twips
  int numCol = 3;
  int numRow = 8;

  // The positions and fonts of a new store, as the editor is designed.
  static LayoutEtichetta progettato();
};

// The letters that name an element's font columns in FormatoEtichetta.
QString LettereGruppo(int indice);

// "Select * from FormatoEtichetta": with a row, its sheet sizes (null columns 3, null rows
// 8), positions (X is the Top, Y the Left) and fonts replace those in `layout`. Null
// positions and font values keep what the layout held. False when the table has no row.
bool CaricaLayout(platform::db::Database& db, LayoutEtichetta& layout);

// The two UPDATE statements that store a layout (positions, then fonts); no WHERE clause,
// the table holds one row.
QString IstruzionePosizioni(const LayoutEtichetta& layout, const QString& numCol,
                            const QString& numRow);
QString IstruzioneCaratteri(const LayoutEtichetta& layout);
// A number as the statements carry it: a leading blank when not negative, "." as the point.
QString NumeroPerIstruzione(double valore);

}  // namespace listinova
