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

// The class decides what the driver does: 1 resend, 2 skip, 4 ask the operator, 9 stop.
TEST(DescrizioneErrore, EveryCodeUpTo0x59HasATextAndTheClassOfItsHandling) {
  const std::pair<const char*, int> classi[] = {{"1A", 1}, {"01", 2}, {"2C", 4}, {"33", 4},
                                                {"1D", 9}, {"57", 9}, {"5A", 0}, {"FF", 0}};
  for (const auto& [campo, classe] : classi) EXPECT_EQ(cerca(campo).classe, classe) << campo;
  EXPECT_EQ(cerca("5A").descrizione, "");
  for (int codice = 1; codice <= 89; ++codice) {
    const Voce v = cerca(QString::number(codice, 16));
    EXPECT_FALSE(v.descrizione.isEmpty()) << codice;
    EXPECT_NE(v.classe, 0) << codice;
  }
}

}  // namespace
}  // namespace listinova
