#include "catalogue/modulo_ean.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(CodificaEAN, WorkedExamplesGainTheirCheckDigit) {
  QString ean8 = "1234567";
  EXPECT_EQ(CodificaEAN8(ean8), ":BCDE*fgha+");
  EXPECT_EQ(ean8, "12345670");
  QString ean13 = "400638133393";
  EXPECT_EQ(CodificaEAN13(ean13), "4AKGDSL*dddjdb+");
  EXPECT_EQ(ean13, "4006381333931");
}

TEST(CodificaEAN, RejectsWrongLengthsAndNonDigitsLeavingTheCodeAlone) {
  for (QString codice : {"123456", "12345678", "123A567", "", " 234567", "１２３４５６７"}) {
    const QString prima = codice;
    EXPECT_EQ(CodificaEAN8(codice), "") << prima.toStdString();
    EXPECT_EQ(codice, prima);
  }
  for (QString codice : {"40063813339", "4006381333931", "40063813339x", "40063813-393"}) {
    const QString prima = codice;
    EXPECT_EQ(CodificaEAN13(codice), "") << prima.toStdString();
    EXPECT_EQ(codice, prima);
  }
}

TEST(CodificaEAN, FirstDigitChoosesTheLeftHalfSets) {
  QString zero = "012345678901";
  const QString testo = CodificaEAN13(zero);
  ASSERT_EQ(testo.size(), 15);
  EXPECT_EQ(testo.left(8), "0BCDEFG*");
  // Digit 5 is 'F' in set A and 'P' in set B.
  const QStringList parita = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                              "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
  for (int primo = 0; primo <= 9; ++primo) {
    QString codice = QString::number(primo) + "55555" + "555555";
    const QString t = CodificaEAN13(codice);
    ASSERT_EQ(t.size(), 15);
    QString insiemi;
    for (int i = 1; i <= 6; ++i) insiemi += t.at(i) == u'F' ? u'A' : t.at(i) == u'P' ? u'B' : u'?';
    EXPECT_EQ(insiemi, parita[primo]) << primo;
    EXPECT_EQ(t.at(0), QChar(u'0' + primo));
    EXPECT_EQ(t.mid(8, 5), "fffff");
  }
}

TEST(TestoEANPerCodice, RecomputesTheStoredCheckDigit) {
  EXPECT_EQ(TestoEANPerCodice("4006381333931"), "4AKGDSL*dddjdb+");
  EXPECT_EQ(TestoEANPerCodice("4006381333937"), "4AKGDSL*dddjdb+");
  EXPECT_EQ(TestoEANPerCodice("12345679"), ":BCDE*fgha+");
  EXPECT_EQ(TestoEANPerCodice("12345"), "");
  EXPECT_EQ(TestoEANPerCodice("123456789012"), "");
  EXPECT_EQ(TestoEANPerCodice("400638133393X"), "4AKGDSL*dddjdb+");
  EXPECT_EQ(TestoEANPerCodice("40063813339X1"), "");
}

TEST(DigitiDaTestoEAN, FixedLengthTextsRoundTripEveryDrawnCode) {
  std::mt19937 caso(11);
  std::uniform_int_distribution<int> cifra(0, 9);
  for (int n = 0; n < 500; ++n) {
    QString c8, c13;
    for (int i = 0; i < 7; ++i) c8 += QChar(u'0' + cifra(caso));
    for (int i = 0; i < 12; ++i) c13 += QChar(u'0' + cifra(caso));
    const QString t8 = CodificaEAN8(c8);
    const QString t13 = CodificaEAN13(c13);
    EXPECT_EQ(t8.size(), 11);
    EXPECT_EQ(t13.size(), 15);
    EXPECT_EQ(DigitiDaTestoEAN(t8), c8);
    EXPECT_EQ(DigitiDaTestoEAN(t13), c13);
  }
}

TEST(DigitiDaTestoEAN, RejectsTextsNoCodeDraws) {
  EXPECT_EQ(DigitiDaTestoEAN(":BCDE*fgha+"), "12345670");
  EXPECT_EQ(DigitiDaTestoEAN(""), "");
  EXPECT_EQ(DigitiDaTestoEAN(":BCDE*fghb+"), "");      // wrong check digit
  EXPECT_EQ(DigitiDaTestoEAN(":BCDE*fgha"), "");       // no end guard
  EXPECT_EQ(DigitiDaTestoEAN("BCDE*fgha+:"), "");      // guards out of place
  EXPECT_EQ(DigitiDaTestoEAN(":LCDE*fgha+"), "");      // set B in an EAN-8
  EXPECT_EQ(DigitiDaTestoEAN(":BCDEfgha*+"), "");      // centre guard misplaced
  EXPECT_EQ(DigitiDaTestoEAN("4AAGDSL*dddjdb+"), "");  // parity not the first digit's
  EXPECT_EQ(DigitiDaTestoEAN("4AKGDSL*DDDJDB+"), "");  // right half not in set C
  EXPECT_EQ(DigitiDaTestoEAN("4AKGDSL*dddjdb+"), "4006381333931");
  EXPECT_EQ(DigitiDaTestoEAN("4AKGDSL*dddjdb+ "), "");
  EXPECT_EQ(DigitiDaTestoEAN("4AKGDSL5*dddjdb+"), "");
}

}  // namespace
}  // namespace listinova
