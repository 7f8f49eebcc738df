#pragma once

#include <QRectF>
#include <QString>

class QPainter;

namespace listinova::platform {

// Draws a real, scannable EAN bar code with its digits printed under the bars.
class BarcodeDrawing {
 public:
  virtual ~BarcodeDrawing() = default;
  // `digits` holds the 8 or 13 digits of an EAN-8 or EAN-13 with its check digit; the
  // symbol, quiet zones included, is fitted into `area` (painter units). False, with
  // nothing drawn, when the digits are not a valid EAN.
  virtual bool drawEan(QPainter& painter, const QRectF& area, const QString& digits) const = 0;
};

// libzint encodes, the painter draws its bars and texts, so the symbol stays vector in a PDF.
class ZintBarcodeDrawing : public BarcodeDrawing {
 public:
  bool drawEan(QPainter& painter, const QRectF& area, const QString& digits) const override;
};

}  // namespace listinova::platform
