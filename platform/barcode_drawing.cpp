// EAN symbols through libzint's vector output.
#include "platform/barcode_drawing.h"

#include <zint.h>

#include <QFont>
#include <QPainter>
#include <memory>

namespace listinova::platform {
namespace {

struct ZintDelete {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

bool validDigits(const QString& digits) {
  if (digits.size() != 8 && digits.size() != 13) return false;
  for (QChar c : digits)
    if (c < u'0' || c > u'9') return false;
  return true;
}

}  // namespace

bool ZintBarcodeDrawing::drawEan(QPainter& painter, const QRectF& area,
                                 const QString& digits) const {
  if (!validDigits(digits) || area.width() <= 0 || area.height() <= 0) return false;
  std::unique_ptr<zint_symbol, ZintDelete> symbol(ZBarcode_Create());
  if (!symbol) return false;
  symbol->symbology = BARCODE_EANX_CHK;  // zint refuses a wrong check digit
  symbol->show_hrt = 1;
  const QByteArray data = digits.toLatin1();
  if (ZBarcode_Encode_and_Buffer_Vector(symbol.get(),
                                        reinterpret_cast<const unsigned char*>(data.constData()),
                                        static_cast<int>(data.size()), 0) >= ZINT_ERROR)
    return false;
  const zint_vector* vector = symbol->vector;
  if (!vector || vector->width <= 0 || vector->height <= 0) return false;

  const double sx = area.width() / vector->width;
  const double sy = area.height() / vector->height;
  painter.save();
  // No background: the paper is white, and a box would hide neighbouring text.
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (const zint_vector_rect* r = vector->rectangles; r; r = r->next)
    painter.drawRect(
        QRectF(area.left() + r->x * sx, area.top() + r->y * sy, r->width * sx, r->height * sy));
  painter.setPen(Qt::black);
  for (const zint_vector_string* s = vector->strings; s; s = s->next) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    // Sized by the smaller scale: digits of a short, wide symbol would spill past its ends.
    font.setPixelSize(std::max(1, static_cast<int>(s->fsize * std::min(sx, sy))));
    painter.setFont(font);
    // zint gives the baseline centre (or edge) of each text.
    const double x = area.left() + s->x * sx;
    const double baseline = area.top() + s->y * sy;
    const double width = std::max<double>(s->width * sx, 1.0);
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(s->text), s->length);
    QRectF box(x - width / 2, baseline - font.pixelSize(), width, font.pixelSize() * 1.2);
    Qt::Alignment align = Qt::AlignHCenter;
    if (s->halign == 1) box.moveLeft(x), align = Qt::AlignLeft;
    if (s->halign == 2) box.moveRight(x), align = Qt::AlignRight;
    painter.drawText(box, align | Qt::AlignTop | Qt::TextDontClip, text);
  }
  painter.restore();
  return true;
}

}  // namespace listinova::platform
