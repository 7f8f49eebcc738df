#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "printing/layout_etichetta.h"
#include "printing/selezione_etichette.h"
#include "printing/superficie_etichette.h"

namespace listinova {

// Units of the lengths given to and read from the engine.
enum ScaleMode : int {
  kTwips = 1,
  kPollici = 5,
  kMillimetri = 6,
  kCentimetri = 7,
};
// Twips per unit of a scale mode; 0 for a mode without one (every length then becomes 0).
double TwipsPerUnita(int scaleMode);

inline const QString kAvvisoBarreNonEntrano = QStringLiteral(
    "Le etichette di questo foglio sono troppo piccole per un codice a barre leggibile: "
    "sono stampate senza barre.");
inline const QString kAvvisoCodiciErrati = QStringLiteral(
    "Codici con la cifra di controllo errata, stampati senza barre (correggerli nella scheda "
    "del prodotto):");

// Label numbers and counts are kept within 16-bit integers; a sheet holds at most 255 labels.
inline constexpr int kMassimoEtichette = 32767;
inline constexpr int kMassimoEtichettePerFoglio = 255;

// The label engine: lays a sheet of equal labels out on the page and fills each cell with
// one product drawn in the editor's layout.
class EasyPrint {
 public:
  // The product selection the engine runs when its label count is set.
  using Selezione = std::function<SelezioneEtichette(const QString& contesto)>;

  explicit EasyPrint(DispositivoEtichette& dispositivo);

  int CtlCounter() const { return ctlCounter_; }
  void setCtlCounter(int indiceElemento) { ctlCounter_ = indiceElemento; }
  int LabelInitCounter() const { return labelInitCounter_; }
  void setLabelInitCounter(int n) { labelInitCounter_ = std::clamp(n, 0, kMassimoEtichette); }
  const LayoutEtichetta* ObjectToPrint() const { return layout_; }
  void setObjectToPrint(const LayoutEtichetta* layout) { layout_ = layout; }
  int LabelCopies() const { return labelCopies_; }
  // Runs the selection; a non-empty one makes the count its number of products.
  void setLabelCopies(int copie);
  double LabelDistance() const { return labelDistance_; }
  void setLabelDistance(double distanza);
  double LabelHeigth();
  double LabelWidth();
  int MaxRow() const { return maxRow_; }
  void setMaxRow(int righe);
  int MaxCol() const { return maxCol_; }
  void setMaxCol(int colonne);
  double MarginTop() const { return margini_[0]; }
  double MarginBottom() const { return margini_[1]; }
  double MarginLeft() const { return margini_[2]; }
  double MarginRight() const { return margini_[3]; }
  void setMarginTop(double v) { setMargine(0, v); }
  void setMarginBottom(double v) { setMargine(1, v); }
  void setMarginLeft(double v) { setMargine(2, v); }
  void setMarginRight(double v) { setMargine(3, v); }
  int ScaleMode() const { return scaleMode_; }
  void setScaleMode(int modo);
  int Pages();
  int PageSize() const { return pageSize_; }
  void setPageSize(int codice) { pageSize_ = codice; }

  // Sheets whose labels stand further apart across than down (a template's pitch): the
  // two gaps, in the current scale mode. LabelDistance sets both.
  void setDistanze(double traColonne, double traRighe);
  // A partly used sheet: the first `n` cells of the first page stay blank.
  void setCelleSaltate(int n);
  int CelleSaltate() const { return celleSaltate_; }

  // Where the labels come from.
  void setSelezione(Selezione selezione) { selezione_ = std::move(selezione); }
  const QString& contesto() const { return contesto_; }
  void setContesto(const QString& contesto) { contesto_ = contesto; }
  void setOpzioniCodice(OpzioniCodice opzioni) { opzioni_ = opzioni; }
  const OpzioniCodice& opzioniCodice() const { return opzioni_; }
  const std::vector<ProdottoEtichetta>& prodotti() const { return prodotti_; }
  // "&Chiudi" of the editor in print context "TOOLBAR".
  void chiudiSelezione() { prodotti_.clear(); }

  // Draws page `pagina` (from 1). `etichettaSingola` other than 0 draws only that label.
  void disegnaPagina(int pagina, SuperficieEtichette& superficie, int etichettaSingola = 0);
  // Prints pages `prima` to `ultima` on the device; with `etichettaSingola` one label only.
  // False, with the reason in the error log, when the device failed.
  bool PrintDoc(int prima, int ultima, int etichettaSingola);
  // The same pages on another device laid out like this one (a PDF file of the preview).
  bool stampaSu(DispositivoEtichette& dispositivo, int prima, int ultima, int etichettaSingola);
  // The preview window, when the program has one.
  void setApriAnteprima(std::function<void(EasyPrint&)> apri) { apriAnteprima_ = std::move(apri); }
  void Preview();

  // What the operator must hear after a print: the sheet's cells too small for bars, the
  // codes printed without bars because their check digit is wrong. Cleared by PrintDoc.
  QStringList avvisi() const;
  void azzeraAvvisi();

  // The top-left corner and size of a cell (column, row from 0), in twips.
  QRectF cella(int colonna, int riga);
  QSizeF paginaTwips() const { return dispositivo_.paginaTwips(); }
  QRectF areaStampabileTwips() const { return dispositivo_.areaStampabileTwips(); }

 private:
  void setMargine(int quale, double valore);
  void ricalcola();
  double daTwips(double twips) const;
  double inTwips(double valore) const;
  void disegnaCella(SuperficieEtichette& s, const QRectF& cella, const ProdottoEtichetta* prodotto);
  void annotaCodiceErrato(const ProdottoEtichetta& prodotto, const QString& codice);

  DispositivoEtichette& dispositivo_;
  const LayoutEtichetta* layout_ = nullptr;
  int ctlCounter_ = kNomeNegozio;
  int labelInitCounter_ = 1;
  int labelCopies_ = 1;
  double labelDistance_ = 0;
  double distanzaColonne_ = 0;
  double distanzaRighe_ = 0;
  int maxRow_ = 1;
  int maxCol_ = 1;
  std::array<double, 4> margini_{};       // top, bottom, left, right in the scale mode
  std::array<double, 4> marginiTwips_{};  // the same in twips
  int scaleMode_ = kTwips;
  int pageSize_ = 9;  // A4
  int celleSaltate_ = 0;
  double larghezzaTwips_ = 0;
  double altezzaTwips_ = 0;
  double gapColonneTwips_ = 0;
  double gapRigheTwips_ = 0;
  double stampabileLarghezza_ = 0;
  QString contesto_ = kContestoToolbar;
  OpzioniCodice opzioni_;
  Selezione selezione_;
  std::vector<ProdottoEtichetta> prodotti_;
  std::function<void(EasyPrint&)> apriAnteprima_;
  bool barreNonEntrano_ = false;
  QStringList codiciErrati_;
};

}  // namespace listinova
