#include "catalogue/ricerche_archivio.h"

#include <gtest/gtest.h>

#include "catalogue/formatta_in_euro.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

TEST(RicercheArchivio, CodesDepartmentsAndSupplierCodes) {
  NegozioDiProva negozio;
  auto& db = *negozio.db;
  EXPECT_EQ(NuovoCodiceMateriale(db), "1");
  negozio.prodotto("9", "A", "1").prodotto("10", "B", "1");
  negozio.prodotto({.cod = " 100 "}).prodotto({.cod = "5", .codFornitore = "F-22"});
  EXPECT_EQ(NuovoCodiceMateriale(db), "101");  // counted as numbers
  EXPECT_EQ(CodiceFornitoreProdotto(db, "5"), "F-22");
  EXPECT_EQ(CodiceFornitoreProdotto(db, "9"), "");
  EXPECT_EQ(CodiceFornitoreProdotto(db, "7"), "");

  negozio.reparto(7, "Bar d'Angelo", 10).reparto(3, "Reparto3", 22).reparto(5, "Reparto5", 22);
  EXPECT_EQ(TrovaCodiceRep(db, "BAR D'ANGELO"), "7");
  EXPECT_EQ(TrovaCodiceRep(db, "Nessuno"), "1");
  EXPECT_EQ(TrovaNomeRep(db, "7"), "Bar d'Angelo");
  EXPECT_EQ(TrovaNomeRep(db, "99"), "99");
  EXPECT_EQ(TrovaCodiceRepXIVA(db, "22"), 3);
  EXPECT_EQ(TrovaCodiceRepXIVA(db, "4"), 40);
  // Without a linked external database the look-up logs and gives its default.
  EXPECT_EQ(TrovaDescrizioneRep(db, "3"), "Reparto41");
}

TEST(FormattaInEuro, ItalianMoneyText) {
  const std::pair<const char*, const char*> casi[] = {
      {"", "0,00"},      {"1234,5", "1.234,50"}, {"1234.5", "1.234,50"},
      {"0,005", "0,01"}, {"-2,345", "-2,35"},    {"abc", "abc"}};
  for (const auto& [testo, atteso] : casi) EXPECT_EQ(FormattaInEuro(testo), atteso) << testo;
}

}  // namespace
}  // namespace listinova::testing
