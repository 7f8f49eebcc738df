#include "startup/filtro_tasti.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace listinova {

namespace {

constexpr int kBackspace = 8;
constexpr int kInvio = 13;

bool cifra(int codice) { return codice >= '0' && codice <= '9'; }
bool lettera(int codice) {
  return (codice >= 'A' && codice <= 'Z') || (codice >= 'a' && codice <= 'z');
}

}  // namespace

bool TastoAmmesso(int codiceTasto, int modo) {
  const int c = codiceTasto;
  switch (modo) {
    case 1:
      return cifra(c) || c == kBackspace || c == kInvio;
    case 2:
      return lettera(c) || cifra(c) || c == kBackspace || c == ' ';
    case 3:
      return cifra(c) || c == kBackspace || c == ',';
    case 4:
      return lettera(c) || cifra(c) || c == kBackspace || c == '.' || c == '@';
    default:
      return false;
  }
}

bool TastoAmmesso(QChar carattere, int modo) { return TastoAmmesso(carattere.unicode(), modo); }

std::optional<QChar> TastoDecimale(QChar carattere, const QString& testo) {
  const int c = carattere.unicode();
  if (cifra(c) || c == kBackspace || c == kInvio) return carattere;
  if (c != '.' && c != ',') return std::nullopt;
  if (testo.isEmpty() || testo.contains(u',')) return std::nullopt;
  return QChar(u',');
}

FiltroTasti::FiltroTasti(int modo, QObject* parent) : QObject(parent), modo_(modo) {}

void FiltroTasti::applica(QLineEdit* campo, int modo) {
  campo->installEventFilter(new FiltroTasti(modo, campo));
}

bool FiltroTasti::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* tasto = static_cast<QKeyEvent*>(event);
  if (tasto->text().size() != 1) return false;
  const QChar carattere = tasto->text().at(0);
  const bool comando = carattere.unicode() == kBackspace || carattere.unicode() == kInvio;
  if (!carattere.isPrint() && !comando) return false;

  if (modo_ != kDecimale) return !TastoAmmesso(carattere, modo_);

  const auto* campo = qobject_cast<const QLineEdit*>(watched);
  const std::optional<QChar> scelto = TastoDecimale(carattere, campo ? campo->text() : QString());
  if (!scelto) return true;
  if (*scelto == carattere) return false;
  // The field gets the comma as if it had been typed, with its usual editing and signals.
  QKeyEvent virgola(QEvent::KeyPress, Qt::Key_Comma, tasto->modifiers(), QString(*scelto));
  QCoreApplication::sendEvent(watched, &virgola);
  return true;
}

}  // namespace listinova
