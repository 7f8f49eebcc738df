#include "platform/money.h"

#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace listinova {

namespace {

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
constexpr int kMaxWholeDigits = 14;  // 10^14 euros still fits in ten-thousandths

std::int64_t powerOfTen(int exponent) {
  std::int64_t result = 1;
  while (exponent-- > 0) result *= 10;
  return result;
}

std::int64_t divideHalfAwayFromZero(std::int64_t value, std::int64_t divisor) {
  std::int64_t quotient = value / divisor;
  const std::int64_t remainder = value % divisor;
  if (2 * (remainder < 0 ? -remainder : remainder) >= divisor) quotient += value < 0 ? -1 : 1;
  return quotient;
}

// Keeps 15 significant digits before rounding, so the binary noise in 2.675 (stored as
// 2.67499999...) cannot turn a half into less than a half. Out of range saturates; a
// non-finite value (a division by zero) gives zero.
std::int64_t roundToUnits(long double scaled) {
  if (!std::isfinite(scaled)) return 0;
  char text[64];
  const auto written =
      std::to_chars(text, text + sizeof text, scaled, std::chars_format::scientific, 14);
  const char* cursor = text;
  const bool negative = *cursor == '-';
  if (negative) ++cursor;
  std::int64_t mantissa = 0;
  for (; *cursor != 'e'; ++cursor) {
    if (*cursor != '.') mantissa = mantissa * 10 + (*cursor - '0');
  }
  ++cursor;
  if (*cursor == '+') ++cursor;
  int exponent = 0;
  std::from_chars(cursor, written.ptr, exponent);

  const int shift = exponent - 14;
  std::int64_t magnitude = 0;
  if (shift >= 0) {
    magnitude = mantissa;
    for (int i = 0; i < shift; ++i) {
      if (__builtin_mul_overflow(magnitude, 10, &magnitude)) {
        magnitude = kLargest;
        break;
      }
    }
  } else if (shift >= -18) {
    magnitude = divideHalfAwayFromZero(mantissa, powerOfTen(-shift));
  }
  return negative ? -magnitude : magnitude;
}

QString format(std::int64_t units, int decimals, QChar point, bool grouping) {
  const std::int64_t magnitude = units < 0 ? -units : units;
  QString whole = QString::number(magnitude / Money::kScale);
  if (grouping) {
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, u'.');
  }
  QString text = (units < 0 ? QStringLiteral("-") : QString()) + whole;
  if (decimals > 0) {
    text += point;
    text += QString::number(magnitude % Money::kScale).rightJustified(4, u'0').left(decimals);
  }
  return text;
}

}  // namespace

Money Money::fromDouble(double value) {
  return Money(roundToUnits(static_cast<long double>(value) * kScale));
}

namespace {

// The forms nearly every file writes, "12" and "12,50" (an optional sign, digits, at most one
// comma and digits after it), read by a plain scan: an import reads a price on every line.
// Anything else (dots, "12,") goes to the expressions, which decide as before.
bool parseSimple(const QString& trimmed, QString& sign, QString& whole, QString& fraction) {
  qsizetype i = (trimmed.startsWith(u'+') || trimmed.startsWith(u'-')) ? 1 : 0;
  const qsizetype startWhole = i;
  while (i < trimmed.size() && trimmed[i] >= u'0' && trimmed[i] <= u'9') ++i;
  const qsizetype endWhole = i;
  if (i < trimmed.size()) {
    if (trimmed[i] != u',' || ++i == trimmed.size()) return false;
    while (i < trimmed.size() && trimmed[i] >= u'0' && trimmed[i] <= u'9') ++i;
    if (i < trimmed.size()) return false;
    fraction = trimmed.mid(endWhole + 1);
  }
  sign = trimmed.left(startWhole);
  whole = trimmed.mid(startWhole, endWhole - startWhole);
  return true;
}

}  // namespace

// With a comma the dots group thousands; without one a single dot is the decimal point,
// because the registers and the exchange files write "12.50". So "1.234" is 1,234.
std::optional<Money> Money::parse(const QString& text) {
  static const QRegularExpression withComma(
      QStringLiteral("^([+-]?)([0-9]{1,3}(?:\\.[0-9]{3})+|[0-9]*),([0-9]+)$"));
  static const QRegularExpression withPoint(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]+))?$"));
  const QString trimmed = text.trimmed();
  QString sign, whole, fraction;
  if (!parseSimple(trimmed, sign, whole, fraction)) {
    QRegularExpressionMatch match = withComma.match(trimmed);
    if (!match.hasMatch()) match = withPoint.match(trimmed);
    if (!match.hasMatch()) return std::nullopt;
    sign = match.captured(1);
    whole = match.captured(2).remove(u'.');
    fraction = match.captured(3);
  }
  if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt;
  if (whole.size() > kMaxWholeDigits) return std::nullopt;

  std::int64_t units = whole.isEmpty() ? 0 : whole.toLongLong() * kScale;
  units += fraction.left(4).leftJustified(4, u'0').toLongLong();
  if (fraction.size() > 4 && fraction.at(4) >= u'5') ++units;
  return Money(sign == QLatin1String("-") ? -units : units);
}

Money Money::roundedTo(int decimals) const {
  if (decimals >= 4) return *this;
  const std::int64_t step = powerOfTen(4 - std::max(decimals, 0));
  return Money(divideHalfAwayFromZero(units_, step) * step);
}

QString Money::toItalian(int decimals, bool grouping) const {
  decimals = std::clamp(decimals, 0, 4);
  return format(roundedTo(decimals).units_, decimals, u',', grouping);
}

QString Money::toPlain(int decimals) const {
  decimals = std::clamp(decimals, 0, 4);
  return format(roundedTo(decimals).units_, decimals, u'.', false);
}

Money Money::times(double factor) const {
  return Money(roundToUnits(static_cast<long double>(units_) * factor));
}

Money Money::dividedBy(double divisor) const {
  return Money(roundToUnits(static_cast<long double>(units_) / divisor));
}

}  // namespace listinova
