// Label sheets drawn with QPainter, in twips converted to the device's dots.
#include "printing/superficie_painter.h"

#include <QPagedPaintDevice>

namespace listinova {
namespace {

constexpr double kTwipsPerPollice = 1440.0;

}  // namespace

QColor ColoreEtichetta(quint32 valore) {
  return QColor(valore & 0xff, (valore >> 8) & 0xff, (valore >> 16) & 0xff);
}

QFont FontEtichetta(const CarattereEtichetta& c) {
  QFont font(c.nome);
  font.setPointSizeF(c.punti > 0 ? c.punti : 8);
  font.setBold(c.grassetto);
  font.setItalic(c.corsivo);
  font.setUnderline(c.sottolineato);
  font.setStrikeOut(c.barrato);
  return font;
}

SuperficiePainter::SuperficiePainter(QPaintDevice& device, QPagedPaintDevice* pagine,
                                     const platform::BarcodeDrawing& barre, QPointF spostamento)
    : pagine_(pagine),
      barre_(barre),
      spostamento_(spostamento),
      scalaX_(device.logicalDpiX() / kTwipsPerPollice),
      scalaY_(device.logicalDpiY() / kTwipsPerPollice) {
  riuscita_ = painter_.begin(&device);
  if (riuscita_) painter_.setRenderHint(QPainter::TextAntialiasing);
}

QPointF SuperficiePainter::punto(QPointF twips) const {
  twips += spostamento_;
  return {twips.x() * scalaX_, twips.y() * scalaY_};
}

QRectF SuperficiePainter::rettangolo(const QRectF& twips) const {
  return {punto(twips.topLeft()), QSizeF(twips.width() * scalaX_, twips.height() * scalaY_)};
}

void SuperficiePainter::testo(const QRectF& area, const QString& testo,
                              const CarattereEtichetta& c) {
  if (!painter_.isActive() || testo.isEmpty()) return;
  painter_.setFont(FontEtichetta(c));
  painter_.setPen(ColoreEtichetta(c.colore));
  // Clipped to its area: a face wider on this device than measured never reaches the next label.
  painter_.drawText(rettangolo(area), Qt::AlignLeft | Qt::AlignTop, testo);
}

void SuperficiePainter::codiceEAN(const QRectF& area, const QString& cifre) {
  if (painter_.isActive()) barre_.drawEan(painter_, rettangolo(area), cifre);
}

void SuperficiePainter::immagine(const QRectF& area, const QImage& immagine) {
  if (painter_.isActive() && !immagine.isNull()) painter_.drawImage(rettangolo(area), immagine);
}

void SuperficiePainter::nuovaPagina() {
  if (painter_.isActive() && pagine_ && !pagine_->newPage()) riuscita_ = false;
}

bool SuperficiePainter::fine() {
  if (painter_.isActive() && !painter_.end()) riuscita_ = false;
  return riuscita_;
}

}  // namespace listinova
