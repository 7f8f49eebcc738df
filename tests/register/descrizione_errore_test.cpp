#include "register/descrizione_errore.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace listinova {
namespace {

struct Voce {
  QString codice;
  QString descrizione;
  int classe;
};

Voce cerca(const QString& campo) {
  Voce voce{campo, "non toccata", -1};
  voce.classe = DescrizioneErrore(voce.codice, voce.descrizione);
  return voce;
}

TEST(DescrizioneErrore, FieldIsReadAsHexadecimalAndWrittenBackDecimal) {
  EXPECT_EQ(cerca("0A").codice, "10");
  EXPECT_EQ(cerca("0a").codice, "10");
  EXPECT_EQ(cerca("A").codice, "10");
  EXPECT_EQ(cerca("10").codice, "16");
  EXPECT_EQ(cerca("00").codice, "0");
  EXPECT_EQ(cerca("").codice, "0");
  EXPECT_EQ(cerca(" 7").codice, "7");
  EXPECT_EQ(cerca("1G").codice, "1");  // reading stops at the first non-digit
  EXPECT_EQ(cerca("xy").codice, "0");
}

TEST(DescrizioneErrore, SpotChecksOfTheTable) {
  const auto voce = [](const QString& campo) {
    const Voce v = cerca(campo);
    return std::make_pair(v.descrizione, v.classe);
  };
  EXPECT_EQ(voce("01"), std::make_pair(QString("Campi del comando insufficienti"), 2));
  EXPECT_EQ(voce("1A"), std::make_pair(QString("Stampante Busy, reinviare il comando"), 1));
  EXPECT_EQ(voce("1D"),
            std::make_pair(QString("Raggiunto limite massimo Programmazione Intestazioni "
                                   "scontrino"),
                           9));
  EXPECT_EQ(voce("2C"), std::make_pair(QString("Carta finita"), 4));
  EXPECT_EQ(voce("33"), std::make_pair(QString("Portello rotolo aperto"), 4));
  EXPECT_EQ(voce("57"), std::make_pair(QString::fromUtf8("La SD è PIENA!!!"), 9));
  EXPECT_EQ(voce("0D"),
            std::make_pair(QString::fromUtf8("The requested Fiscal record doesn’t exist"), 2));
  EXPECT_EQ(voce("03"), std::make_pair(QString("Un campo del comando e' troppo corto"), 2));
  EXPECT_EQ(voce("59"), std::make_pair(QString("Superati i limiti della SD!!!"), 9));
}

TEST(DescrizioneErrore, CodesOutsideTheTableHaveNoTextAndClassZero) {
  for (const QString campo : {"5A", "00", "", "FF"}) {
    const Voce v = cerca(campo);
    EXPECT_EQ(v.descrizione, "") << campo.toStdString();
    EXPECT_EQ(v.classe, 0) << campo.toStdString();
  }
}

TEST(DescrizioneErrore, EveryCodeUpTo0x59HasATextAndAClass) {
  for (int codice = 1; codice <= 89; ++codice) {
    const Voce v = cerca(QString::number(codice, 16));
    EXPECT_FALSE(v.descrizione.isEmpty()) << codice;
    EXPECT_NE(v.classe, 0) << codice;
  }
}

}  // namespace
}  // namespace listinova
