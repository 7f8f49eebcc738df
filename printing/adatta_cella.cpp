// One label cell laid out from the stored layout, whatever the size of the sheet's cells.
#include "printing/adatta_cella.h"

#include <QFontMetricsF>
#include <QImage>
#include <algorithm>

#include "printing/superficie_painter.h"

namespace listinova {
namespace {

// Measured widths grow a little on coarser devices (hinting): the room kept for them.
constexpr double kAgioMisura = 1.04;
constexpr int kModuliEAN13 = 113;  // 95 of bars, 11 and 7 of quiet zone
constexpr int kModuliEAN8 = 81;    // 67 of bars, 7 on each side
constexpr int kPassiRiduzione = 4;
constexpr double kPassoOltre = 0.98;  // each step a little past the ratio, to land inside
// The share of a text's width that must stay free before an obstacle for it to give way.
constexpr double kQuotaMinimaPrimaDiUnOstacolo = 0.4;

// A paint device whose pixels are twips, for measuring texts as they print.
const QImage& MisuratoreTwips() {
  static const QImage immagine = [] {
    QImage i(1, 1, QImage::Format_RGB32);
    const int puntiPerMetro = static_cast<int>(std::lround(1440.0 / 0.0254));
    i.setDotsPerMeterX(puntiPerMetro);
    i.setDotsPerMeterY(puntiPerMetro);
    return i;
  }();
  return immagine;
}

// `r` moved, and shrunk when it must be, so that it lies inside `cella`.
QRectF DentroCella(QRectF r, const QRectF& cella) {
  const double riduzione = std::min({1.0, cella.width() / r.width(), cella.height() / r.height()});
  r.setSize(r.size() * riduzione);
  r.moveLeft(std::max(cella.left(), std::min(r.left(), cella.right() - r.width())));
  r.moveTop(std::max(cella.top(), std::min(r.top(), cella.bottom() - r.height())));
  return r;
}

class Impaginatore {
 public:
  Impaginatore(const LayoutEtichetta& layout, const QRectF& cella)
      : layout_(layout),
        cella_(cella),
        sx_(cella.width() / kLarghezzaCellaProgettata),
        sy_(cella.height() / kAltezzaCellaProgettata),
        s_(std::min({sx_, sy_, kIngrandimentoLayoutMassimo})) {}

  QPointF posizione(double left, double top) const {
    return cella_.topLeft() + QPointF(std::max(0.0, left) * sx_, std::max(0.0, top) * sy_);
  }

  void logo() {
    if (!layout_.logoVisibile || layout_.logo.isNull()) return;
    const QRectF r(posizione(layout_.logoLeft, layout_.logoTop), layout_.dimensioneLogo * s_);
    if (r.isEmpty()) return;
    aggiungi({PezzoEtichetta::kImmagine, DentroCella(r, cella_)}, true);
  }

  // False when the cell cannot hold the bars at the smallest magnification.
  bool barre(const QString& cifre) {
    const double minima = LarghezzaMinimaEAN(cifre.size());
    const double massima = minima / kIngrandimentoMinimoEAN * kIngrandimentoMassimoEAN;
    const double altezzaMinima = kAltezzaMinimaCodiceMm * kTwipsPerMm;
    if (cella_.width() < minima || cella_.height() < altezzaMinima) return false;
    const ElementoTesto& e = layout_.testi[kCodiceBarre];
    QSizeF d = DimensioneCodice(e.carattere.punti, cifre.size()) * s_;
    d.setWidth(std::clamp(d.width(), minima, std::min(massima, cella_.width())));
    d.setHeight(std::clamp(d.height(), altezzaMinima, cella_.height()));
    PezzoEtichetta p{PezzoEtichetta::kBarre,
                     DentroCella(QRectF(posizione(e.left, e.top), d), cella_)};
    p.cifre = cifre;
    aggiungi(p, true);
    return true;
  }

  // The text from `dove`, in the cell and short of what stands on its right; the area it
  // took, empty when nothing was drawn.
  // `intero`: a figure (a price, a code) is never cut short, only made smaller.
  QRectF testo(const QString& testo, CarattereEtichetta c, QPointF dove, bool intero) {
    if (testo.isEmpty()) return {};
    c.punti *= s_;
    QSizeF m = MisuraTesto(testo, c);
    if (m.height() > cella_.height()) {
      c.punti *= cella_.height() / m.height();
      m = MisuraTesto(testo, c);
    }
    dove.setY(std::max(cella_.top(), std::min(dove.y(), cella_.bottom() - m.height())));
    // A line drawn lower already (the earlier price of an offer) pushes this one under it.
    for (const QRectF& altro : testi_)
      if (altro.intersects(QRectF(dove, m)) && altro.bottom() + m.height() <= cella_.bottom())
        dove.setY(altro.bottom());
    const double spazio = margineDestro(QRectF(dove, m)) - dove.x();
    if (spazio <= 0) return {};
    // Widths do not follow the size exactly (hinting): a few smaller steps until it fits.
    const double minimo = c.punti * (intero ? kRiduzioneCifreMassima : kRiduzioneTestoMassima);
    for (int passo = 0; passo < kPassiRiduzione && m.width() * kAgioMisura > spazio; ++passo) {
      c.punti = std::max(minimo, c.punti * spazio / (m.width() * kAgioMisura) * kPassoOltre);
      m = MisuraTesto(testo, c);
    }
    QString visibile = testo;
    if (m.width() * kAgioMisura > spazio)
      visibile = QFontMetricsF(FontEtichetta(c), &MisuratoreTwips())
                     .elidedText(testo, Qt::ElideRight, spazio / kAgioMisura);
    const double altezza = std::min(m.height() * kAgioMisura, cella_.bottom() - dove.y());
    PezzoEtichetta p{PezzoEtichetta::kTesto,
                     QRectF(dove, QSizeF(std::min(m.width() * kAgioMisura, spazio), altezza))};
    p.testo = visibile;
    p.carattere = c;
    aggiungi(p, false);
    testi_.push_back(p.area);
    return p.area;
  }

  CellaAdattata esito;

 private:
  // The nearest left edge of the bars or the logo that starts right of the text and shares
  // its lines, else the cell's right edge. Bars laid out over most of the text (a layout
  // that put them there) are ignored: the text keeps its size rather than vanish.
  double margineDestro(const QRectF& r) const {
    double destra = cella_.right();
    for (const QRectF& o : ostacoli_)
      if (o.left() - r.left() >= kQuotaMinimaPrimaDiUnOstacolo * r.width() &&
          o.top() < r.bottom() && o.bottom() > r.top())
        destra = std::min(destra, o.left());
    return destra;
  }

  void aggiungi(const PezzoEtichetta& p, bool ostacolo) {
    esito.pezzi.push_back(p);
    if (ostacolo) ostacoli_.push_back(p.area);
  }

  const LayoutEtichetta& layout_;
  QRectF cella_;
  double sx_;
  double sy_;
  double s_;
  std::vector<QRectF> ostacoli_;
  std::vector<QRectF> testi_;
};

}  // namespace

int ModuliEAN(qsizetype cifre) { return cifre == 8 ? kModuliEAN8 : kModuliEAN13; }

double LarghezzaMinimaEAN(qsizetype cifre) {
  return ModuliEAN(cifre) * kModuloNominaleMm * kIngrandimentoMinimoEAN * kTwipsPerMm;
}

QSizeF MisuraTesto(const QString& testo, const CarattereEtichetta& carattere) {
  const QFontMetricsF metrica(FontEtichetta(carattere), &MisuratoreTwips());
  return {metrica.horizontalAdvance(testo), metrica.height()};
}

CellaAdattata AdattaCella(const LayoutEtichetta& layout, const QRectF& cella,
                          const ContenutoCella& contenuto) {
  Impaginatore imp(layout, cella);
  if (cella.width() <= 0 || cella.height() <= 0) return {};
  imp.logo();
  bool conBarre = false;
  if (!contenuto.cifre.isEmpty()) {
    conBarre = imp.barre(contenuto.cifre);
    imp.esito.barreNonEntrano = !conBarre;
  }
  // The price before the lines that may have to make room under it.
  constexpr std::array<int, kElementiTesto> ordine = {kNomeNegozio, kDescrizione, kPrezzo,
                                                      kPrezzoAlKg, kCodiceBarre};
  for (int i : ordine) {
    const ElementoTesto& e = layout.testi[i];
    if (i == kCodiceBarre && conBarre) continue;
    CarattereEtichetta c = e.carattere;
    // A code without bars is printed in digits anyone can read.
    if (i == kCodiceBarre && c.nome == kFontCodiceBarre) {
      c.nome = kFontInChiaro;
      c.punti = kPuntiCodiceInChiaro;
    }
    const bool intero = i != kDescrizione && i != kNomeNegozio;
    const QRectF area = imp.testo(contenuto.testi[i], c, imp.posizione(e.left, e.top), intero);
    if (i == kPrezzo && !contenuto.sottoIlPrezzo.isEmpty()) {
      CarattereEtichetta piccolo = e.carattere;
      piccolo.punti = kPuntiPrezzoPrecedente;
      piccolo.grassetto = false;
      const QPointF sotto = area.isEmpty() ? imp.posizione(e.left, e.top) : area.bottomLeft();
      imp.testo(contenuto.sottoIlPrezzo, piccolo, sotto, true);
    }
  }
  return imp.esito;
}

}  // namespace listinova
