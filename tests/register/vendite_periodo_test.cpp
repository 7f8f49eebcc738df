#include "register/vendite_periodo.h"

#include <gtest/gtest.h>

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

// One line per known barcode, summed over the days of the period (both ends in), none for a
// sale of nothing or of a product the shop no longer has.
TEST(VenditePeriodo, OneLinePerBarcodeSummedOverThePeriod) {
  NegozioDiProva negozio;
  negozio.prodotto({.cod = "1", .descrizione = "ACQUA", .barCode = "8001"})
      .prodotto({.cod = "2", .descrizione = "BIRRA", .barCode = "8002"})
      .prodotto({.cod = "3", .descrizione = "ZUCCHERO", .barCode = "8003"})
      .vendita("8002", 0.1, QDate(2026, 12, 1))
      .vendita("8002", 0.2, QDate(2026, 12, 7))
      .vendita("8001", 2.5, QDate(2026, 12, 3))
      .vendita("8001", 1, QDate(2026, 11, 30))
      .vendita("8003", 4, QDate(2026, 12, 8))
      .vendita("8003", 0, QDate(2026, 12, 5))
      .vendita("9999", 7, QDate(2026, 12, 2));
  const VenditePeriodo vendite = VenditeDelPeriodo(*negozio.db, {2026, 12, 1}, {2026, 12, 7});
  ASSERT_EQ(vendite.righe.size(), 2u);
  EXPECT_EQ(vendite.righe[0].ean, "8001");
  EXPECT_EQ(vendite.righe[0].descrizione, "ACQUA");
  EXPECT_EQ(vendite.righe[0].millesimi, 2500);
  EXPECT_EQ(vendite.righe[1].ean, "8002");
  EXPECT_EQ(vendite.righe[1].millesimi, 300);
  EXPECT_EQ(vendite.totaleMillesimi, 2800);
  EXPECT_TRUE(VenditeDelPeriodo(*negozio.db, {2026, 12, 7}, {2026, 12, 1}).righe.empty());
}

TEST(VenditePeriodo, QuantitiesReadTheItalianWay) {
  const std::pair<qint64, const char*> casi[] = {{0, "0"},
                                                 {1, "0,001"},
                                                 {2500, "2,5"},
                                                 {3000, "3"},
                                                 {-1500, "-1,5"},
                                                 {1234500, "1.234,5"},
                                                 {1000000000, "1.000.000"}};
  for (const auto& [millesimi, testo] : casi) EXPECT_EQ(TestoQuantita(millesimi), testo);
}

}  // namespace
}  // namespace listinova::testing
