#include "printing/report_modello.h"

#include <QLocale>
#include <cmath>

namespace listinova {
namespace {

// Quantities are weighed to the gram at most.
constexpr int kDecimaliQuantita = 3;

}  // namespace

QString TestoEuro(Money importo) { return QStringLiteral("€ ") + importo.toItalian(2, true); }

QString TestoQuantita(double quantita) {
  static const QLocale italiano(QLocale::Italian, QLocale::Italy);
  const double arrotondata = std::round(quantita * 1000) / 1000;
  QString testo = italiano.toString(arrotondata, 'f', kDecimaliQuantita);
  while (testo.endsWith('0')) testo.chop(1);
  if (testo.endsWith(',')) testo.chop(1);
  return testo == "-0" ? QStringLiteral("0") : testo;
}

}  // namespace listinova
