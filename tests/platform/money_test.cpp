#include <gtest/gtest.h>

#include <limits>

#include "platform/money.h"

namespace listinova {
namespace {

// Italian forms; a point is the decimal separator when there is no comma; beyond four decimals
// the value rounds half away from zero.
TEST(MoneyParsing, AcceptedFormsInTenThousandths) {
  const std::pair<const char*, std::int64_t> casi[] = {
      {"1234,5", 12'345'000},
      {"1.234,50", 12'345'000},
      {"1.234.567,8", 12'345'678'000},
      {"0,0001", 1},
      {",5", 5'000},
      {"1234.5", 12'345'000},
      {"12.50", 125'000},
      {"1.234", 12'340},
      {"7", 70'000},
      {"-0,50", -5'000},
      {"+3", 30'000},
      {"  -1.234,50 \t", -12'345'000},
      {"0,00005", 1},
      {"0,000049", 0},
      {"-1,23455", -12'346},
  };
  for (const auto& [testo, unita] : casi) {
    const std::optional<Money> letto = Money::parse(testo);
    ASSERT_TRUE(letto.has_value()) << testo;
    EXPECT_EQ(letto->units(), unita) << testo;
  }
}

TEST(MoneyParsing, RejectsEverythingElse) {
  for (const char* text : {"", "   ", "-", ",", "abc", "12a", "1,2,3", "1.2.3", "1.23,4", "12,34.5",
                           "1 234,5", "- 5", "5,", "5.", "1e3", "--5", "123456789012345"}) {
    EXPECT_FALSE(Money::parse(text).has_value()) << text;
  }
}

TEST(MoneyFormatting, Italian) {
  EXPECT_EQ(Money::fromUnits(12'345'000).toItalian(2), "1.234,50");
  EXPECT_EQ(Money::fromUnits(-5'000).toItalian(2), "-0,50");
  EXPECT_EQ(Money().toItalian(2), "0,00");
  EXPECT_EQ(Money::fromUnits(12'345'678'000).toItalian(2), "1.234.567,80");
  EXPECT_EQ(Money::fromUnits(9'990'000).toItalian(2), "999,00");
  EXPECT_EQ(Money::fromUnits(12'345'000).toItalian(2, false), "1234,50");
  EXPECT_EQ(Money::fromUnits(12'345).toItalian(4), "1,2345");
  EXPECT_EQ(Money::fromUnits(12'345'000).toItalian(0), "1.235");
}

TEST(MoneyFormatting, PlainForTheRegisters) {
  EXPECT_EQ(Money::fromUnits(12'345'000).toPlain(2), "1234.50");
  EXPECT_EQ(Money::fromUnits(-12'345'000).toPlain(2), "-1234.50");
  EXPECT_EQ(Money::fromUnits(123'456).toPlain(3), "12.346");
  EXPECT_EQ(Money::fromUnits(125'000).toPlain(0), "13");
}

TEST(MoneyFormatting, ShowsTheRoundedValueNotTheTruncatedOne) {
  EXPECT_EQ(Money::fromUnits(26'750).toItalian(2), "2,68");
  EXPECT_EQ(Money::fromUnits(-26'750).toPlain(2), "-2.68");
  // Rounds to zero, so no sign is left.
  EXPECT_EQ(Money::fromUnits(-40).toItalian(2), "0,00");
  EXPECT_EQ(Money::fromUnits(99'999'950).toItalian(2), "10.000,00");
}

TEST(MoneyRounding, FromDoubleIgnoresBinaryRepresentationNoise) {
  EXPECT_EQ(Money::fromDouble(2.675).units(), 26'750);
  EXPECT_EQ(Money::fromDouble(1.005).units(), 10'050);
  EXPECT_EQ(Money::fromDouble(0.1 + 0.2).units(), 3'000);
  EXPECT_EQ(Money::fromDouble(1.00005).units(), 10'001);
  EXPECT_EQ(Money::fromDouble(0.00015).units(), 2);
  EXPECT_EQ(Money::fromDouble(-0.00015).units(), -2);
  EXPECT_EQ(Money::fromDouble(1.00004999).units(), 10'000);
  EXPECT_EQ(Money::fromDouble(123456789.1234).units(), 1'234'567'891'234);
}

TEST(MoneyRounding, FromDoubleOutOfRangeOrNotANumber) {
  EXPECT_EQ(Money::fromDouble(std::numeric_limits<double>::quiet_NaN()).units(), 0);
  EXPECT_EQ(Money::fromDouble(1e300).units(), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(Money::fromDouble(-1e300).units(), -std::numeric_limits<std::int64_t>::max());
}

TEST(MoneyRounding, RoundedToHalfAwayFromZero) {
  EXPECT_EQ(Money::fromUnits(250).roundedTo(2).units(), 300);    // 2.5 cents
  EXPECT_EQ(Money::fromUnits(-250).roundedTo(2).units(), -300);  // -2.5 cents
  EXPECT_EQ(Money::fromUnits(249).roundedTo(2).units(), 200);
  EXPECT_EQ(Money::fromUnits(-249).roundedTo(2).units(), -200);
  EXPECT_EQ(Money::fromUnits(25'000).roundedTo(0).units(), 30'000);
  EXPECT_EQ(Money::fromUnits(-15'000).roundedTo(0).units(), -20'000);
  EXPECT_EQ(Money::fromUnits(12'345).roundedTo(4).units(), 12'345);
  EXPECT_EQ(Money::fromUnits(12'345).roundedTo(3).units(), 12'350);
}

TEST(MoneyArithmetic, TimesAndDividedByRoundToTenThousandths) {
  const Money ten = Money::fromCents(1'000);
  EXPECT_EQ(ten.times(1.22), Money::fromUnits(122'000));
  EXPECT_EQ(Money::fromUnits(122'000).times(1.5), Money::fromUnits(183'000));
  EXPECT_EQ(ten.dividedBy(3).units(), 33'333);
  EXPECT_EQ(Money::fromCents(2'000).dividedBy(3).units(), 66'667);
  EXPECT_EQ(Money::fromCents(-2'000).dividedBy(3).units(), -66'667);
  EXPECT_EQ(Money::fromUnits(122'000).dividedBy(1.22), ten);
  EXPECT_EQ(Money::fromUnits(1).times(0.5).units(), 1);
  EXPECT_EQ(Money::fromUnits(-1).times(0.5).units(), -1);
  EXPECT_EQ(Money::fromCents(100).times(0.00015).units(), 2);
}

TEST(MoneyArithmetic, DivisionByZeroGivesZero) {
  EXPECT_EQ(Money::fromCents(100).dividedBy(0.0), Money());
}

TEST(MoneyArithmetic, SumsStayExact) {
  Money total;
  for (int i = 0; i < 10; ++i) total = total + Money::fromDouble(0.1);
  EXPECT_EQ(total, Money::fromCents(100));
  EXPECT_EQ(Money::fromCents(150) - Money::fromCents(200), -Money::fromCents(50));
  EXPECT_LT(Money::fromCents(-1), Money());
  EXPECT_DOUBLE_EQ(Money::fromUnits(12'345).toDouble(), 1.2345);
}

}  // namespace
}  // namespace listinova
