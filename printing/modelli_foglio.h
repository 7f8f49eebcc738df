#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace listinova {
class EasyPrint;

// Where Debian's glabels-data keeps the label-sheet catalogue.
inline const QString kCartellaModelliGlabels =
    QStringLiteral("/usr/share/libglabels-3.0/templates");

// An A4 sheet of equal rectangular labels the shop can buy, in millimetres.
struct ModelloFoglio {
  QString marca;
  QString codice;
  QString descrizione;
  double larghezza = 0;  // one label
  double altezza = 0;
  int colonne = 0;
  int righe = 0;
  double x0 = 0;  // top-left corner of the first label
  double y0 = 0;
  double passoX = 0;  // from one label to the next across
  double passoY = 0;
  // Why the engine cannot lay the sheet out ("ha etichette rotonde"); empty when it can.
  QString impedimento;

  // How the choice is stored: "Avery L7160".
  QString nome() const { return marca + " " + codice; }
};

inline const QString kFormaRotonda = QStringLiteral("ha etichette rotonde");
inline const QString kFormaEllittica = QStringLiteral("ha etichette ellittiche");

// The A4 sheets of one gLabels template file: one layout of rectangles each; a template
// that names an equivalent takes that one's sizes. With `ancheNonStampabili` the others
// too (round, elliptical, continuous...), each with its `impedimento`.
std::vector<ModelloFoglio> LeggiModelliFoglio(const QByteArray& xml,
                                              bool ancheNonStampabili = false);
// Every file of the catalogue folder, ordered by brand and part; empty when it is missing.
std::vector<ModelloFoglio> CatalogoModelliFoglio(const QString& cartella = kCartellaModelliGlabels,
                                                 bool ancheNonStampabili = false);
// The message that refuses a sheet named in the settings the engine cannot print on (not
// in the catalogue, round, elliptical, continuous...); empty for a sheet it can.
QString FoglioRifiutato(const QString& nome, const QString& cartella = kCartellaModelliGlabels);
std::optional<ModelloFoglio> TrovaModelloFoglio(const std::vector<ModelloFoglio>& catalogo,
                                                const QString& nome);

// Sets columns, rows, margins and gaps of the engine for the sheet (scale mode millimetres).
void ApplicaModelloFoglio(EasyPrint& motore, const ModelloFoglio& modello);

}  // namespace listinova
