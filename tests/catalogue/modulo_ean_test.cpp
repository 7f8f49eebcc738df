#include "catalogue/modulo_ean.h"

#include <gtest/gtest.h>

#include <random>

#include "support/qt_print.h"

namespace listinova {
namespace {

// Worked examples gain their check digit; wrong lengths and non-digits leave the code alone.
TEST(CodificaEAN, CheckDigitAndFontTextOrNothing) {
  const struct {
    const char* codice;
    const char* completo;  // "" when refused
    const char* testo;
  } casi[] = {
      {"1234567", "12345670", ":BCDE*fgha+"},
      {"400638133393", "4006381333931", "4AKGDSL*dddjdb+"},
      {"012345678901", "0123456789012", "0BCDEFG*hijabc+"},
      {"123456", "", ""},
      {"123A567", "", ""},
      {"１２３４５６７", "", ""},
      {"40063813339x", "", ""},
      {"4006381333931", "", ""},
  };
  for (const auto& c : casi) {
    QString codice = QString::fromUtf8(c.codice);
    const QString testo = codice.size() == 7 ? CodificaEAN8(codice) : CodificaEAN13(codice);
    EXPECT_EQ(testo, c.testo) << c.codice;
    EXPECT_EQ(codice, *c.completo ? QString(c.completo) : QString::fromUtf8(c.codice)) << c.codice;
  }
  // The first digit chooses the sets of the left half: 5 is 'F' in set A, 'P' in set B.
  const char* parita[] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                          "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
  for (int primo = 0; primo <= 9; ++primo) {
    QString codice = QString::number(primo) + "55555555555";
    const QString t = CodificaEAN13(codice);
    QString insiemi;
    for (int i = 1; i <= 6; ++i) insiemi += t.at(i) == u'F' ? u'A' : t.at(i) == u'P' ? u'B' : u'?';
    EXPECT_EQ(insiemi, parita[primo]) << primo;
  }
}

TEST(DigitiDaTestoEAN, RoundTripsEveryDrawnCodeAndRejectsTextsNoCodeDraws) {
  std::mt19937 caso(11);
  std::uniform_int_distribution<int> cifra(0, 9);
  for (int n = 0; n < 500; ++n) {
    QString c8, c13;
    for (int i = 0; i < 7; ++i) c8 += QChar(u'0' + cifra(caso));
    for (int i = 0; i < 12; ++i) c13 += QChar(u'0' + cifra(caso));
    const QString t8 = CodificaEAN8(c8);
    const QString t13 = CodificaEAN13(c13);
    EXPECT_EQ(DigitiDaTestoEAN(t8), c8);
    EXPECT_EQ(DigitiDaTestoEAN(t13), c13);
  }
  for (const char* rifiutato : {"", ":BCDE*fghb+" /* check digit */, ":BCDE*fgha" /* end */,
                                "BCDE*fgha+:", ":LCDE*fgha+" /* set B in EAN-8 */, ":BCDEfgha*+",
                                "4AAGDSL*dddjdb+" /* parity */, "4AKGDSL*DDDJDB+" /* set C */,
                                "4AKGDSL*dddjdb+ ", "4AKGDSL5*dddjdb+"})
    EXPECT_EQ(DigitiDaTestoEAN(rifiutato), "") << rifiutato;
}

}  // namespace
}  // namespace listinova
