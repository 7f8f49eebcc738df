#include <gtest/gtest.h>

#include <QList>
#include <limits>

#include "platform/money.h"

namespace listinova {
namespace {

// Italian forms; a point is the decimal separator when there is no comma; beyond four decimals
// the value rounds half away from zero.
TEST(MoneyParsing, AcceptedFormsInTenThousandthsAndNothingElse) {
  const std::pair<const char*, std::int64_t> casi[] = {
      {"1.234,50", 12'345'000}, {",5", 5'000},   {"1234.5", 12'345'000},
      {"1.234", 12'340},        {"+3", 30'000},  {"  -1.234,50 \t", -12'345'000},
      {"0,00005", 1},           {"0,000049", 0}, {"-1,23455", -12'346}};
  for (const auto& [testo, unita] : casi) {
    const std::optional<Money> letto = Money::parse(testo);
    ASSERT_TRUE(letto.has_value()) << testo;
    EXPECT_EQ(letto->units(), unita) << testo;
  }
  for (const char* text : {"", "-", ",", "12a", "1,2,3", "1.2.3", "1.23,4", "12,34.5", "1 234,5",
                           "- 5", "5,", "5.", "1e3", "--5", "123456789012345"})
    EXPECT_FALSE(Money::parse(text).has_value()) << text;
}

// Rounded half away from zero, and shown so; a value that rounds to zero keeps no sign.
TEST(MoneyRounding, RoundedAndShownItalianAndPlainHalfAwayFromZero) {
  const struct {
    std::int64_t unita;
    int decimali;
    std::int64_t arrotondato;
    const char *italiano, *semplice;
  } casi[] = {
      {250, 2, 300, "0,03", "0.03"},
      {-250, 2, -300, "-0,03", "-0.03"},
      {249, 2, 200, "0,02", "0.02"},
      {-249, 2, -200, "-0,02", "-0.02"},
      {-15'000, 0, -20'000, "-2", "-2"},
      {12'345, 4, 12'345, "1,2345", "1.2345"},
      {12'345, 3, 12'350, "1,235", "1.235"},
      {12'345'000, 0, 12'350'000, "1.235", "1235"},
      {12'345'678'000, 2, 12'345'678'000, "1.234.567,80", "1234567.80"},
      {-26'750, 2, -26'800, "-2,68", "-2.68"},
      {-40, 2, 0, "0,00", "0.00"},
      {99'999'950, 2, 100'000'000, "10.000,00", "10000.00"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.italiano);
    EXPECT_EQ(Money::fromUnits(c.unita).roundedTo(c.decimali).units(), c.arrotondato);
    EXPECT_EQ(Money::fromUnits(c.unita).toItalian(c.decimali).toStdString(), c.italiano);
    EXPECT_EQ(Money::fromUnits(c.unita).toPlain(c.decimali).toStdString(), c.semplice);
  }
  EXPECT_EQ(Money::fromUnits(12'345'000).toItalian(2, false), "1234,50");

  // 2.675 is stored as 2.67499999...: the binary noise must not turn a half into less; a value
  // out of range saturates.
  constexpr auto kMassimo = std::numeric_limits<std::int64_t>::max();
  QList<std::int64_t> unita;
  for (double valore : {2.675, 1.005, 0.1 + 0.2, 1.00005, -0.00015, 1.00004999, 123456789.1234,
                        std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300})
    unita << Money::fromDouble(valore).units();
  EXPECT_EQ(unita, QList<std::int64_t>({26'750, 10'050, 3'000, 10'001, -2, 10'000,
                                        1'234'567'891'234, 0, kMassimo, -kMassimo}));
}

TEST(MoneyArithmetic, TimesAndDividedByRoundToTenThousandthsAndSumsStayExact) {
  const Money ten = Money::fromCents(1'000);
  EXPECT_EQ(ten.times(1.22), Money::fromUnits(122'000));
  EXPECT_EQ(ten.dividedBy(3).units(), 33'333);
  EXPECT_EQ(Money::fromCents(2'000).dividedBy(3).units(), 66'667);
  EXPECT_EQ(Money::fromCents(-2'000).dividedBy(3).units(), -66'667);
  EXPECT_EQ(Money::fromUnits(122'000).dividedBy(1.22), ten);
  EXPECT_EQ(Money::fromUnits(-1).times(0.5).units(), -1);
  EXPECT_EQ(Money::fromCents(100).times(0.00015).units(), 2);
  EXPECT_EQ(Money::fromCents(100).dividedBy(0.0), Money());

  Money total;
  for (int i = 0; i < 10; ++i) total = total + Money::fromDouble(0.1);
  EXPECT_EQ(total, Money::fromCents(100));
}

}  // namespace
}  // namespace listinova
