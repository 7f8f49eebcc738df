#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace listinova {

// An exact amount in ten-thousandths, like the Currency type of the old store files.
// Every conversion from a binary number rounds half away from zero.
class Money {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Money() = default;
  static constexpr Money fromUnits(std::int64_t tenThousandths) { return Money(tenThousandths); }
  static Money fromDouble(double value);
  static Money fromCents(std::int64_t cents) { return Money(cents * 100); }
  // Accepts "1234,5", "1.234,50", "1234.5" and a leading sign; nothing else.
  // Without a comma a dot is the decimal point: "1.234" is one and a bit.
  static std::optional<Money> parse(const QString& text);

  constexpr std::int64_t units() const { return units_; }
  double toDouble() const { return static_cast<double>(units_) / kScale; }
  Money roundedTo(int decimals) const;

  // "1.234,50": Italian grouping and comma, the given decimals.
  QString toItalian(int decimals = 2, bool grouping = true) const;
  // "1234.50": what the registers and other programs read.
  QString toPlain(int decimals = 2) const;

  Money operator+(Money other) const { return Money(units_ + other.units_); }
  Money operator-(Money other) const { return Money(units_ - other.units_); }
  Money operator-() const { return Money(-units_); }
  // Rounded to ten-thousandths, half away from zero; a division by zero gives zero.
  Money times(double factor) const;
  Money dividedBy(double divisor) const;
  auto operator<=>(const Money&) const = default;

 private:
  constexpr explicit Money(std::int64_t units) : units_(units) {}
  std::int64_t units_ = 0;
};

}  // namespace listinova
