#include <gtest/gtest.h>

#include "catalogue/calcoli_prezzo.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

Money importo(const char* testo) { return *Money::parse(QString::fromLatin1(testo)); }

TEST(PiuPercentuale, PurchaseWithVatAndPriceFromMarkup) {
  EXPECT_EQ(PiuPercentuale(importo("10"), 22), importo("12,20"));
  EXPECT_EQ(PiuPercentuale(importo("12,20"), 50), importo("18,30"));
  EXPECT_EQ(PiuPercentuale(importo("0,90"), 22), importo("1,10"));
  EXPECT_EQ(PiuPercentuale(importo("12,20"), 0), importo("12,20"));
  EXPECT_EQ(PiuPercentuale(importo("20"), -25), importo("15"));
}

TEST(PiuPercentuale, RoundsOnceToTheCentHalfAwayFromZero) {
  EXPECT_EQ(PiuPercentuale(importo("0,05"), 10), importo("0,06"));    // 0,055
  EXPECT_EQ(PiuPercentuale(importo("-0,05"), 10), importo("-0,06"));  // -0,055
  EXPECT_EQ(PiuPercentuale(importo("2,50"), 7), importo("2,68"));     // 2,675
  // 1,00495: rounding first to ten-thousandths would give 1,0050 and then 1,01.
  EXPECT_EQ(PiuPercentuale(importo("1"), 0.495), importo("1"));
  EXPECT_EQ(PiuPercentuale(importo("1"), 0.5), importo("1,01"));
}

TEST(RicaricoPercentuale, HowFarThePriceIsAboveTheCost) {
  EXPECT_DOUBLE_EQ(RicaricoPercentuale(importo("15,25"), importo("12,20")), 25.0);
  EXPECT_NEAR(RicaricoPercentuale(importo("15"), importo("12,20")), 22.950819672131, 1e-9);
  EXPECT_DOUBLE_EQ(RicaricoPercentuale(importo("9"), importo("12")), -25.0);
  EXPECT_EQ(RicaricoPercentuale(importo("15"), Money()), 0.0);
}

TEST(TestoNumero, ItalianWithAtMostThirteenSignificantDigits) {
  EXPECT_EQ(TestoNumero(25), "25");
  EXPECT_EQ(TestoNumero(RicaricoPercentuale(importo("15"), importo("12,20"))), "22,95081967213");
  EXPECT_EQ(TestoNumero(22.5), "22,5");
  EXPECT_EQ(TestoNumero(0.125), "0,125");
  EXPECT_EQ(TestoNumero(-3.25), "-3,25");
  EXPECT_EQ(TestoNumero(1234567.5), "1234567,5");
  EXPECT_EQ(TestoNumero(0), "0");
  EXPECT_EQ(TestoNumero(-1e-14), "0");
  EXPECT_EQ(TestoNumero(1.0 / 3.0), "0,333333333333");
}

TEST(LeggiImporto, WhatTheOperatorTyped) {
  EXPECT_EQ(LeggiImporto("12,2"), importo("12,20"));
  EXPECT_EQ(LeggiImporto("12,"), importo("12"));
  EXPECT_EQ(LeggiImporto(" 1.234,50 "), importo("1234,5"));
  EXPECT_EQ(LeggiImporto(""), std::nullopt);
  EXPECT_EQ(LeggiImporto(","), std::nullopt);
  EXPECT_EQ(LeggiImporto("12a"), std::nullopt);
}

TEST(LeggiNumero, PercentagesAndQuantities) {
  EXPECT_EQ(LeggiNumero("22"), 22.0);
  EXPECT_EQ(LeggiNumero("22,5"), 22.5);
  EXPECT_EQ(LeggiNumero("22,"), 22.0);
  EXPECT_EQ(LeggiNumero("1.234,5"), 1234.5);
  EXPECT_EQ(LeggiNumero("22.95081967213"), 22.95081967213);
  EXPECT_EQ(LeggiNumero(""), std::nullopt);
  EXPECT_EQ(LeggiNumero(","), std::nullopt);
  EXPECT_EQ(LeggiNumero("x"), std::nullopt);
}

TEST(TestoImporto, TwoDecimalsWithoutGrouping) {
  EXPECT_EQ(TestoImporto(importo("12,2")), "12,20");
  EXPECT_EQ(TestoImporto(importo("1234,5")), "1234,50");
  EXPECT_EQ(TestoImporto(Money()), "0,00");
  EXPECT_EQ(TestoImporto(Money::fromUnits(26'750)), "2,68");
}

}  // namespace
}  // namespace listinova
