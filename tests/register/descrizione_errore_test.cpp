#include "register/descrizione_errore.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace listinova {
namespace {

// The class decides what the driver does: 1 resend, 2 skip, 4 ask the operator, 9 stop; a code
// outside the table has no text and class 0.
TEST(DescrizioneErrore, EveryCodeUpTo0x59HasATextAndTheClassOfItsHandling) {
  const auto classe = [](const QString& campo, QString* descrizione = nullptr) {
    QString codice = campo, testo;
    const int c = DescrizioneErrore(codice, testo);
    if (descrizione) *descrizione = testo;
    return c;
  };
  const std::pair<const char*, int> classi[] = {{"1A", 1}, {"01", 2}, {"2C", 4}, {"33", 4},
                                                {"1D", 9}, {"57", 9}, {"5A", 0}, {"FF", 0}};
  for (const auto& [campo, attesa] : classi) EXPECT_EQ(classe(campo), attesa) << campo;
  for (int codice = 1; codice <= 0x5A; ++codice) {
    QString testo;
    EXPECT_EQ(classe(QString::number(codice, 16), &testo) != 0, codice < 0x5A) << codice;
    EXPECT_EQ(testo.isEmpty(), codice == 0x5A) << codice;
  }
}

}  // namespace
}  // namespace listinova
