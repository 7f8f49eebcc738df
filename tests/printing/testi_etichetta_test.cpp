// What the text elements of a label print for a product.
#include "printing/testi_etichetta.h"

#include <gtest/gtest.h>

#include "catalogue/modulo_ean.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(TestiEtichetta, PricePerKilo) {
  struct Caso {
    QVariant costo;
    QVariant contenuto;
    QString atteso;
  };
  const Caso casi[] = {
      {2.0, "500", "€ 4,00/Kg o LT"},
      {1.99, "750", "€ 2,65/Kg o LT"},
      {3.0, "0,25", "€ 12.000,00/Kg o LT"},
      {2.0, "0", ""},
      {2.0, "", ""},
      {2.0, "circa 500", ""},
      {2.0, QVariant(), ""},
  };
  for (const auto& c : casi)
    EXPECT_EQ(PrezzoAlKgEtichetta(c.costo, c.contenuto), c.atteso)
        << c.contenuto.toString().toStdString();
}

// Bars only of the code as stored: a wrong last digit prints the code plainly and is flagged.
TEST(TestiEtichetta, BarcodeElementByTheTwoSwitches) {
  struct Caso {
    QVariant barCode;
    QVariant fornitore;
    bool vedi;
    bool converti;
    CodiceStampato atteso;
  };
  const Caso casi[] = {
      {"8001234567897", "X1", true, false, {"8001234567897", "8001234567897", false}},
      {"8001234567890", "X1", true, false, {"8001234567890", "", true}},
      {"800123456789", "X1", true, false, {}},
      {"12345670", "X1", true, true, {"12345670", "12345670", false}},
      {QVariant(), "12345670", true, true, {}},
      {"8001234567890", "40123455", false, true, {"40123455", "40123455", false}},
      {"8001234567890", "40123454", false, true, {"40123454", "", true}},
      {"8001234567890", "ABC", false, true, {}},
      {"8001234567890", "800123456789", false, false, {"800123456789", "", false}},
      {"8001234567890", QVariant(), false, false, {}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE((c.barCode.toString() + "/" + c.fornitore.toString()).toStdString());
    const CodiceStampato codice =
        CodiceDaStampare({{}, {}, {}, c.fornitore, c.barCode}, {c.vedi, c.converti});
    EXPECT_EQ(codice.testo, c.atteso.testo);
    EXPECT_EQ(codice.cifre, c.atteso.cifre);
    EXPECT_EQ(codice.errato, c.atteso.errato);
  }
}

}  // namespace
}  // namespace listinova
