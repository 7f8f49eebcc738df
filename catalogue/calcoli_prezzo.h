#pragma once

#include <QString>
#include <optional>

#include "platform/money.h"

namespace listinova {

// `base` plus `percentuale` per cent of it, rounded once to the cent, half away from zero:
// the purchase cost with VAT, and a price from a markup.
Money PiuPercentuale(Money base, double percentuale);

// How many per cent `prezzo` is above `base`; zero when `base` is zero.
double RicaricoPercentuale(Money prezzo, Money base);

// What the operator typed: "12,2", "1.234,50", "12," (a comma typed last is still nothing).
std::optional<Money> LeggiImporto(const QString& testo);
std::optional<double> LeggiNumero(const QString& testo);

// "12,20", for the boxes the operator edits (no thousands grouping, which cannot be typed).
QString TestoImporto(Money importo);
// "25", "22,95081967213": at most 13 significant digits, no trailing zeros, decimal comma.
QString TestoNumero(double valore);

}  // namespace listinova
