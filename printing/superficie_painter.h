#pragma once

#include <QPainter>

#include "platform/barcode_drawing.h"
#include "printing/superficie_etichette.h"

class QPagedPaintDevice;

namespace listinova {

// A surface over any Qt paint device: a QPrinter (a CUPS queue or a PDF file) or the
// preview's QImage. `spostamento` (twips) moves everything, to correct a printer that
// prints a little off.
class SuperficiePainter : public SuperficieEtichette {
 public:
  // `pagine` is the device again when it takes more than one page, else null.
  SuperficiePainter(QPaintDevice& device, QPagedPaintDevice* pagine,
                    const platform::BarcodeDrawing& barre, QPointF spostamento = {});

  bool attiva() const { return painter_.isActive(); }
  void testo(const QRectF& area, const QString& testo, const CarattereEtichetta& c) override;
  void codiceEAN(const QRectF& area, const QString& cifre) override;
  void immagine(const QRectF& area, const QImage& immagine) override;
  void nuovaPagina() override;
  bool fine() override;

 private:
  QPointF punto(QPointF twips) const;
  QRectF rettangolo(const QRectF& twips) const;

  QPainter painter_;
  QPagedPaintDevice* pagine_;
  const platform::BarcodeDrawing& barre_;
  QPointF spostamento_;
  double scalaX_;
  double scalaY_;
  bool riuscita_ = true;
};

QColor ColoreEtichetta(quint32 valore);
QFont FontEtichetta(const CarattereEtichetta& c);

}  // namespace listinova
