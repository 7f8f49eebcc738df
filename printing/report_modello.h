#pragma once

#include <QString>
#include <QStringList>
#include <Qt>
#include <utility>
#include <vector>

#include "platform/money.h"

namespace listinova {

// One column of a report: its caption, its share of the page width and how its cells align.
struct ColonnaReport {
  QString intestazione;
  double peso = 1;
  Qt::Alignment allineamento = Qt::AlignLeft;
};

// What a report prints: already formatted texts, so that the engine only lays them out.
struct ModelloReport {
  QString titolo;
  QString didascalia;  // "Situazione alla data:" and its value, beside the title
  QString valoreDidascalia;
  bool orizzontale = false;  // landscape for the wide reports
  std::vector<ColonnaReport> colonne;
  std::vector<QStringList> righe;
  std::vector<std::pair<QString, QString>> totali;  // after the last row
};

// "€ 1.234,50": the amounts of the reports.
QString TestoEuro(Money importo);
// "12", "1,5", "-3": stock and sold quantities without needless decimals.
QString TestoQuantita(double quantita);

}  // namespace listinova
