#include "catalogue/calcoli_prezzo.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace listinova {

namespace {

constexpr int kCifreSignificative = 13;

QString senzaSeparatoreFinale(const QString& testo) {
  QString pulito = testo.trimmed();
  if (pulito.endsWith(u',') || pulito.endsWith(u'.')) pulito.chop(1);
  return pulito;
}

}  // namespace

Money PiuPercentuale(Money base, double percentuale) {
  // Ten-thousandths times (100 + p) / 10000 are cents: one rounding, straight to the cent.
  const Money centesimi = base.times((100.0 + percentuale) / 10000.0);
  return Money::fromCents(centesimi.units());
}

double RicaricoPercentuale(Money prezzo, Money base) {
  if (base.units() == 0) return 0;
  return static_cast<double>((prezzo - base).units()) * 100.0 / static_cast<double>(base.units());
}

std::optional<Money> LeggiImporto(const QString& testo) {
  return Money::parse(senzaSeparatoreFinale(testo));
}

std::optional<double> LeggiNumero(const QString& testo) {
  QString numero = senzaSeparatoreFinale(testo);
  if (numero.contains(u',')) numero.remove(u'.').replace(u',', u'.');
  bool ok = false;
  const double valore = QLocale::c().toDouble(numero, &ok);
  if (!ok || !std::isfinite(valore)) return std::nullopt;
  return valore;
}

QString TestoImporto(Money importo) { return importo.toItalian(2, false); }

QString TestoNumero(double valore) {
  if (!std::isfinite(valore)) return QStringLiteral("0");
  const double assoluto = std::abs(valore);
  const int cifreIntere = assoluto < 1 ? 1 : static_cast<int>(std::floor(std::log10(assoluto))) + 1;
  QString testo = QString::number(valore, 'f', std::max(0, kCifreSignificative - cifreIntere));
  if (testo.contains(u'.')) {
    while (testo.endsWith(u'0')) testo.chop(1);
    if (testo.endsWith(u'.')) testo.chop(1);
  }
  if (testo == u"-0") testo = QStringLiteral("0");
  return testo.replace(u'.', u',');
}

}  // namespace listinova
