// When each register's sales were last read into the stock, so that a second reading of the
// same day (which subtracts the same sales again) is asked for, never done by accident.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace listinova {

// The time of day of register `numero`'s last booked reading, when it was on `oggi`.
std::optional<QTime> LettaOggiAlle(const QString& setup, int numero, const QDate& oggi);
// Remembers a booked reading of register `numero` (in [Acquisizione] of `setup`).
void SegnaLettura(const QString& setup, int numero, const QDateTime& quando);
// The question asked before reading again.
QString DomandaRilettura(int numero, const QTime& alle);

}  // namespace listinova
