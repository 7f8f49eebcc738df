#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

namespace listinova {

// Millimetres to twips.
inline constexpr double kTwipsPerMm = 1440.0 / 25.4;

// The font of one label element as the layout stores it.
struct CarattereEtichetta {
  QString nome = QStringLiteral("Arial");
  double punti = 8;
  bool grassetto = false;
  bool corsivo = false;
  bool sottolineato = false;
  bool barrato = false;
  quint32 colore = 0;  // RGB with red in the low byte
};

// What a sheet of labels is drawn on: a printer, a PDF file or the preview picture.
// Every position and size is in twips (1/1440 inch) from the top-left corner of the paper.
class SuperficieEtichette {
 public:
  virtual ~SuperficieEtichette() = default;
  // The text from the top-left corner of `area`; nothing of it outside the area.
  virtual void testo(const QRectF& area, const QString& testo, const CarattereEtichetta& c) = 0;
  // Real EAN bars of `cifre` (8 or 13 digits, check digit included) with the digits under
  // them, fitted into `area`.
  virtual void codiceEAN(const QRectF& area, const QString& cifre) = 0;
  virtual void immagine(const QRectF& area, const QImage& immagine) = 0;
  virtual void nuovaPagina() = 0;
  // Ends the document; false when the device refused it.
  virtual bool fine() = 0;
};

// A device that lays sheets out: it tells the paper size and opens a surface for one
// document.
class DispositivoEtichette {
 public:
  virtual ~DispositivoEtichette() = default;
  virtual QSizeF paginaTwips() const = 0;
  // Where the device can put ink, in the page's twips: the page less the printer's own
  // margins, moved back by any correction the device applies.
  virtual QRectF areaStampabileTwips() const { return {QPointF(0, 0), paginaTwips()}; }
  // Null when the device cannot start a document.
  virtual std::unique_ptr<SuperficieEtichette> apri() = 0;
};

}  // namespace listinova
