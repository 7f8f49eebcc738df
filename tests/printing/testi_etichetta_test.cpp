// What the text elements of a label print for a product.
#include "printing/testi_etichetta.h"

#include <gtest/gtest.h>

#include "catalogue/modulo_ean.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(TestiEtichetta, DescriptionPriceAndPricePerKilo) {
  EXPECT_EQ(DescrizioneEtichetta("Biscotti al burro confezione famiglia"),
            "BISCOTTI AL BURRO CONFEZ");
  EXPECT_EQ(DescrizioneEtichetta(QVariant()), "");
  EXPECT_EQ(PrezzoEtichetta(QVariant()), "€ ");
  EXPECT_EQ(PrezzoEtichetta(1234.5), "€ 1.234,50");

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

TEST(TestiEtichetta, BarcodeElementByTheTwoSwitches) {
  struct Caso {
    QVariant barCode;
    QVariant fornitore;
    bool vedi;
    bool converti;
    QString cifreAttese;  // what the barcode-font text draws; "=" + text for plain text
  };
  const Caso casi[] = {
      {"8001234567890", "X1", true, false, "8001234567897"},
      {"800123456789", "X1", true, false, "="},
      {"12345678", "X1", true, true, "12345670"},
      {QVariant(), "12345678", true, true, "="},
      {"8001234567890", "40123455", false, true, "40123455"},
      {"8001234567890", "ABC", false, true, "="},
      {"8001234567890", "800123456789", false, false, "=800123456789"},
      {"8001234567890", QVariant(), false, false, "="},
  };
  for (const auto& c : casi) {
    const QString testo =
        CodiceEtichetta({{}, {}, {}, c.fornitore, c.barCode}, {c.vedi, c.converti});
    SCOPED_TRACE((c.barCode.toString() + "/" + c.fornitore.toString()).toStdString());
    if (c.cifreAttese.startsWith('='))
      EXPECT_EQ(testo, c.cifreAttese.mid(1));
    else
      EXPECT_EQ(DigitiDaTestoEAN(testo), c.cifreAttese);
  }
}

}  // namespace
}  // namespace listinova
