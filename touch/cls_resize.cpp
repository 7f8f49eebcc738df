#include "touch/cls_resize.h"

#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QScreen>
#include <cmath>

namespace listinova {
namespace {

bool inLayout(const QLayout* layout, const QWidget* controllo) {
  for (int i = 0; i < layout->count(); ++i) {
    QLayoutItem* voce = layout->itemAt(i);
    if (voce->widget() == controllo) return true;
    if (voce->layout() && inLayout(voce->layout(), controllo)) return true;
  }
  return false;
}

// Only plain containers hold controls of the window; the parts of a list or a combo are
// theirs, not the window's.
bool contenitore(const QWidget* w) {
  const QMetaObject* tipo = w->metaObject();
  return qobject_cast<const QGroupBox*>(w) || tipo == &QWidget::staticMetaObject ||
         tipo == &QFrame::staticMetaObject;
}

// A control placed by a layout is the layout's to move: scaling it too would fight it.
void raccogli(QWidget* dentro, std::vector<QWidget*>& controlli) {
  for (QObject* figlio : dentro->children()) {
    auto* w = qobject_cast<QWidget*>(figlio);
    if (!w || w->isWindow()) continue;
    const QLayout* layout = dentro->layout();
    if (!layout || !inLayout(layout, w)) controlli.push_back(w);
    if (contenitore(w)) raccogli(w, controlli);
  }
}

std::array<qint32, 4> valoriDi(const QWidget* w) {
  const QRect g = w->geometry();
  return {g.x(), g.y(), g.width(), g.height()};
}

}  // namespace

int ClsResize::RegolaDaTag(const QString& tag) {
  if (!tag.startsWith(u'@')) return Tutte;
  int regola = 0;
  for (const QString& lettera : tag.mid(1).split(u',')) {
    const QString l = lettera.trimmed().toUpper();
    if (l == u"L") regola |= L;
    if (l == u"T") regola |= T;
    if (l == u"W") regola |= W;
    if (l == u"H") regola |= H;
  }
  return regola;
}

void ClsResize::setSourceForm(QWidget* finestra) {
  finestra_ = finestra;
  daRegistrare_ = true;
}

void ClsResize::registra() {
  daRegistrare_ = false;
  registrati_.clear();
  larghezzaRegistrata_ = finestra_->width();
  altezzaRegistrata_ = finestra_->height();
  std::vector<QWidget*> controlli;
  raccogli(finestra_, controlli);
  for (QWidget* controllo : controlli) registrati_.push_back({controllo, valoriDi(controllo)});
}

void ClsResize::SizeFormToScreen(int percentuale) {
  if (!finestra_) return;
  if (daRegistrare_) registra();
  const QScreen* schermo = finestra_->screen();
  if (!schermo) return;
  const QRect area = schermo->availableGeometry();
  const int larghezza = area.width() * percentuale / 100;
  const int altezza = area.height() * percentuale / 100;
  // The share is of the whole window, title bar and borders included, once they are known.
  const QSize bordi = finestra_->frameGeometry().size() - finestra_->size();
  finestra_->resize(larghezza - bordi.width(), altezza - bordi.height());
  finestra_->move(area.left() + (area.width() - larghezza) / 2,
                  area.top() + (area.height() - altezza) / 2);
}

void ClsResize::ResizeControls() {
  if (!finestra_ || finestra_->isMinimized()) return;
  if (daRegistrare_) registra();
  if (registrati_.empty() || larghezzaRegistrata_ <= 0 || altezzaRegistrata_ <= 0) return;
  const double rapportoX = double(finestra_->width()) / larghezzaRegistrata_;
  const double rapportoY = double(finestra_->height()) / altezzaRegistrata_;
  const double rapporti[4] = {rapportoX, rapportoY, rapportoX, rapportoY};
  const int lettere[4] = {L, T, W, H};

  finestra_->setUpdatesEnabled(false);
  for (const Registrato& registrato : registrati_) {
    QWidget* controllo = registrato.controllo;
    if (!controllo) continue;
    const int regola = RegolaDaTag(controllo->property("Tag").toString());
    // What the rule leaves out keeps its current value.
    std::array<qint32, 4> valori = valoriDi(controllo);
    for (int i = 0; i < 4; ++i)
      if (regola & lettere[i])
        valori[i] = static_cast<qint32>(std::lround(registrato.valori[i] * rapporti[i]));
    controllo->setGeometry(valori[0], valori[1], valori[2], valori[3]);
  }
  finestra_->setUpdatesEnabled(true);
}

}  // namespace listinova
