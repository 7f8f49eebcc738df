#include <gtest/gtest.h>

#include "catalogue/calcoli_prezzo.h"
#include "catalogue/formatta_in_euro.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

Money importo(const char* testo) { return *Money::parse(QString::fromLatin1(testo)); }

// Rounded once to the cent, half away from zero.
TEST(PiuPercentuale, PurchaseWithVatAndPriceFromMarkup) {
  const struct {
    const char* base;
    double percento;
    const char* atteso;
  } casi[] = {
      {"10", 22, "12,20"}, {"12,20", 50, "18,30"}, {"0,90", 22, "1,10"},
      {"20", -25, "15"},   {"0,05", 10, "0,06"},   {"-0,05", 10, "-0,06"},
      {"2,50", 7, "2,68"}, {"1", 0.495, "1"},  // 1,00495: no double rounding to 1,01
      {"1", 0.5, "1,01"},
  };
  for (const auto& c : casi)
    EXPECT_EQ(PiuPercentuale(importo(c.base), c.percento), importo(c.atteso))
        << c.base << " + " << c.percento;
}

TEST(LeggiImporto, WhatTheOperatorTyped) {
  EXPECT_EQ(LeggiImporto("12,"), importo("12"));
  EXPECT_EQ(LeggiImporto(" 1.234,50 "), importo("1234,5"));
  EXPECT_EQ(LeggiNumero("22,"), 22.0);
  EXPECT_EQ(LeggiNumero("1.234,5"), 1234.5);
  EXPECT_EQ(LeggiNumero("22.95081967213"), 22.95081967213);
  for (const char* rifiutato : {"", ",", "12a"}) {
    EXPECT_EQ(LeggiImporto(rifiutato), std::nullopt) << rifiutato;
    EXPECT_EQ(LeggiNumero(rifiutato), std::nullopt) << rifiutato;
  }
  EXPECT_EQ(TestoImporto(importo("1234,5")), "1234,50");
  EXPECT_EQ(TestoImporto(Money::fromUnits(26'750)), "2,68");
}

TEST(FormattaInEuro, ItalianMoneyText) {
  const std::pair<const char*, const char*> casi[] = {
      {"", "0,00"},      {"1234,5", "1.234,50"}, {"1234.5", "1.234,50"},
      {"0,005", "0,01"}, {"-2,345", "-2,35"},    {"abc", "abc"}};
  for (const auto& [testo, atteso] : casi) EXPECT_EQ(FormattaInEuro(testo), atteso) << testo;
}

}  // namespace
}  // namespace listinova
