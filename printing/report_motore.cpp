// The report engine: lays a table of texts out on A4 pages, header and column captions on
// every page, rows never split, the totals at the end and the page numbers at the foot.
#include "printing/report_motore.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace listinova {
namespace {

constexpr double kMarginiMm = 12;
constexpr double kPuntiTitolo = 14;
constexpr double kPuntiTesto = 9;
constexpr double kPuntiPiede = 8;
// Row height as a share of the font's: room enough that accents and descenders never touch.
constexpr double kInterlinea = 1.35;
const QColor kColoreRigheAlterne{242, 242, 242};

struct Caratteri {
  QFont titolo, didascalia, intestazione, testo, piede;
};

Caratteri caratteri() {
  Caratteri c;
  c.titolo = QFont(QStringLiteral("DejaVu Sans"));
  c.titolo.setPointSizeF(kPuntiTitolo);
  c.titolo.setBold(true);
  c.didascalia = QFont(QStringLiteral("DejaVu Sans"));
  c.didascalia.setPointSizeF(kPuntiTesto + 1);
  c.testo = QFont(QStringLiteral("DejaVu Sans"));
  c.testo.setPointSizeF(kPuntiTesto);
  c.intestazione = c.testo;
  c.intestazione.setBold(true);
  c.piede = QFont(QStringLiteral("DejaVu Sans"));
  c.piede.setPointSizeF(kPuntiPiede);
  return c;
}

double altezzaRiga(const QFont& font, QPaintDevice* device) {
  return std::ceil(QFontMetricsF(font, device).height() * kInterlinea);
}

// Where each column starts and how wide it is, from the columns' weights.
std::vector<std::pair<double, double>> colonneSuPagina(const ModelloReport& modello,
                                                       double larghezza) {
  double pesoTotale = 0;
  for (const auto& c : modello.colonne) pesoTotale += c.peso;
  std::vector<std::pair<double, double>> posizioni;
  double x = 0;
  for (const auto& c : modello.colonne) {
    const double w = pesoTotale > 0 ? larghezza * c.peso / pesoTotale : 0;
    posizioni.emplace_back(x, w);
    x += w;
  }
  return posizioni;
}

class Disegno {
 public:
  Disegno(const ModelloReport& modello, QPagedPaintDevice& pagina, QPainter& p)
      : m_(modello), pagina_(pagina), p_(p), f_(caratteri()) {
    larghezza_ = pagina.width();
    altezza_ = pagina.height();
    rigaTitolo_ = altezzaRiga(f_.titolo, &pagina) * 1.2;
    rigaTesto_ = altezzaRiga(f_.testo, &pagina);
    rigaPiede_ = altezzaRiga(f_.piede, &pagina) * 2;
    inizioRighe_ = rigaTitolo_ + rigaTesto_ * 1.5;
    colonne_ = colonneSuPagina(m_, larghezza_);
    padding_ = rigaTesto_ * 0.2;
  }

  int righePerPagina() const {
    return std::max(1, int((altezza_ - inizioRighe_ - rigaPiede_) / rigaTesto_));
  }

  void pagina(int numero, int pagine, std::pair<int, int> intervallo, bool ultima) {
    intestazione();
    double y = inizioRighe_;
    for (int r = intervallo.first; r < intervallo.second; ++r) {
      if ((r - intervallo.first) % 2 == 1)
        p_.fillRect(QRectF(0, y, larghezza_, rigaTesto_), kColoreRigheAlterne);
      riga(m_.righe[r], y, f_.testo);
      y += rigaTesto_;
    }
    if (ultima) totali(y);
    piede(numero, pagine);
  }

 private:
  void intestazione() {
    p_.setPen(Qt::black);
    p_.setFont(f_.titolo);
    p_.drawText(QRectF(0, 0, larghezza_ * 0.6, rigaTitolo_), Qt::AlignLeft | Qt::AlignVCenter,
                m_.titolo);
    if (!m_.didascalia.isEmpty()) {
      p_.setFont(f_.didascalia);
      p_.drawText(QRectF(larghezza_ * 0.4, 0, larghezza_ * 0.6, rigaTitolo_),
                  Qt::AlignRight | Qt::AlignVCenter, m_.didascalia + ' ' + m_.valoreDidascalia);
    }
    const double y = rigaTitolo_ + rigaTesto_ * 0.25;
    QStringList didascalie;
    for (const auto& c : m_.colonne) didascalie << c.intestazione;
    riga(didascalie, y, f_.intestazione);
    p_.setPen(QPen(Qt::black, rigaTesto_ / 20));
    p_.drawLine(QPointF(0, y + rigaTesto_), QPointF(larghezza_, y + rigaTesto_));
  }

  void riga(const QStringList& celle, double y, const QFont& font) {
    p_.setFont(font);
    p_.setPen(Qt::black);
    const QFontMetricsF metriche(font, &pagina_);
    for (size_t c = 0; c < colonne_.size() && c < size_t(celle.size()); ++c) {
      const auto [x, w] = colonne_[c];
      const QRectF cella(x + padding_, y, std::max(0.0, w - 2 * padding_), rigaTesto_);
      p_.drawText(cella, m_.colonne[c].allineamento | Qt::AlignVCenter,
                  metriche.elidedText(celle[int(c)], Qt::ElideRight, cella.width()));
    }
  }

  void totali(double y) {
    if (m_.totali.empty()) return;
    p_.setPen(QPen(Qt::black, rigaTesto_ / 20));
    p_.drawLine(QPointF(0, y + rigaTesto_ * 0.5), QPointF(larghezza_, y + rigaTesto_ * 0.5));
    y += rigaTesto_;
    for (const auto& [voce, valore] : m_.totali) {
      p_.setFont(f_.intestazione);
      p_.drawText(QRectF(0, y, larghezza_ * 0.3, rigaTesto_), Qt::AlignLeft | Qt::AlignVCenter,
                  voce);
      p_.drawText(QRectF(larghezza_ * 0.3, y, larghezza_ * 0.3, rigaTesto_),
                  Qt::AlignLeft | Qt::AlignVCenter, valore);
      y += rigaTesto_;
    }
  }

  void piede(int numero, int pagine) {
    const double y = altezza_ - rigaPiede_ / 2;
    p_.setPen(QPen(Qt::black, rigaTesto_ / 30));
    p_.drawLine(QPointF(0, y), QPointF(larghezza_, y));
    p_.setFont(f_.piede);
    p_.drawText(QRectF(0, y, larghezza_, rigaPiede_ / 2), Qt::AlignRight | Qt::AlignVCenter,
                QStringLiteral("Pag. %1 di %2").arg(numero).arg(pagine));
  }

  const ModelloReport& m_;
  QPagedPaintDevice& pagina_;
  QPainter& p_;
  Caratteri f_;
  double larghezza_ = 0, altezza_ = 0;
  double rigaTitolo_ = 0, rigaTesto_ = 0, rigaPiede_ = 0, inizioRighe_ = 0, padding_ = 0;
  std::vector<std::pair<double, double>> colonne_;
};

}  // namespace

std::vector<std::pair<int, int>> ImpaginaRighe(int righe, int righePerPagina, int righeTotali) {
  righePerPagina = std::max(1, righePerPagina);
  std::vector<std::pair<int, int>> pagine;
  for (int inizio = 0; inizio < righe; inizio += righePerPagina)
    pagine.emplace_back(inizio, std::min(righe, inizio + righePerPagina));
  const int usate = pagine.empty() ? 0 : pagine.back().second - pagine.back().first;
  // The totals are a rule, a blank and their lines: kept together, never split.
  const int spazioTotali = righeTotali > 0 ? righeTotali + 1 : 0;
  if (pagine.empty() || usate + spazioTotali > righePerPagina)
    if (pagine.empty() || spazioTotali > 0) pagine.emplace_back(righe, righe);
  return pagine;
}

void PreparaPagina(QPagedPaintDevice& pagina, const ModelloReport& modello) {
  pagina.setPageLayout(QPageLayout(
      QPageSize(QPageSize::A4),
      modello.orizzontale ? QPageLayout::Landscape : QPageLayout::Portrait,
      QMarginsF(kMarginiMm, kMarginiMm, kMarginiMm, kMarginiMm), QPageLayout::Millimeter));
}

int DisegnaReport(const ModelloReport& modello, QPagedPaintDevice& pagina) {
  QPainter p;
  if (!p.begin(&pagina)) return 0;
  Disegno disegno(modello, pagina, p);
  const auto pagine = ImpaginaRighe(int(modello.righe.size()), disegno.righePerPagina(),
                                    int(modello.totali.size()));
  for (size_t i = 0; i < pagine.size(); ++i) {
    if (i > 0) pagina.newPage();
    disegno.pagina(int(i) + 1, int(pagine.size()), pagine[i], i + 1 == pagine.size());
  }
  p.end();
  return int(pagine.size());
}

}  // namespace listinova
