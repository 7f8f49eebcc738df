#include "startup/modulo_file_ini.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/file_helpers.h"

namespace listinova {
namespace {

class ModuloFileIniTest : public ::testing::Test {
 protected:
  void put(const QByteArray& bytes) const { ASSERT_TRUE(testing::writeAll(ini_, bytes)); }

  QTemporaryDir folder_;
  QString ini_ = folder_.filePath(QStringLiteral("Setup.ini"));
};

TEST_F(ModuloFileIniTest, LineBreaksInAValueAreStoredAsBlanks) {
  ScriviINI(ini_, "Negozio", "Intestazione", "Riga uno\r\nRiga due\rtre\nquattro");
  EXPECT_EQ(LeggiINI(ini_, "Negozio", "Intestazione", "?"), "Riga uno  Riga due tre quattro");
  EXPECT_EQ(LeggiINI(ini_, "Negozio", "Altro", "?"), "?");
}

TEST_F(ModuloFileIniTest, ReadingIsCutTo254Characters) {
  ScriviINI(ini_, "Negozio", "Nota", QString(300, u'a'));
  EXPECT_EQ(LeggiINI(ini_, "Negozio", "Nota", "?"), QString(254, u'a'));
}

TEST_F(ModuloFileIniTest, LetteraParitaTableIsCaseSensitive) {
  EXPECT_EQ(LetteraParita("Dispari"), "o");
  EXPECT_EQ(LetteraParita("Mark"), "m");
  EXPECT_EQ(LetteraParita("pari"), "n");
  EXPECT_EQ(LetteraParita("SPAZIO"), "n");
}

TEST_F(ModuloFileIniTest, AbsentKeysGiveTheSerialDefaults) {
  put("[Cassa]\r\n");
  const auto cassa = ImpostazioniSeriali::leggi(ini_, "Cassa");
  EXPECT_EQ(cassa.porta, "");
  EXPECT_EQ(cassa.testoImpostazioni(), "9600,n,8,1");
  EXPECT_EQ(cassa.controlloFlusso(), ControlloFlusso::Nessuno);
  EXPECT_EQ(
      ImpostazioniSeriali::leggi(folder_.filePath("Assente.ini"), "Cassa").testoImpostazioni(),
      "9600,n,8,1");
  put("[Cassa]\r\nPortaCOM=\r\nVelocitaCOM=?\r\n");
  EXPECT_TRUE(ImpostazioniSeriali::leggi(ini_, "Cassa").porta.isEmpty());
  EXPECT_EQ(ImpostazioniSeriali::leggi(ini_, "Cassa").velocita, "9600");
}

TEST_F(ModuloFileIniTest, StoredSerialValuesAreReadAndQuestionMarkTakesTheDefault) {
  put("[Bilancia]\r\nPortaCOM=COM2\r\nvelocitacom=4800\r\nBitDatiCOM=7\r\n"
      "ParitaDatiCOM=Dispari\r\nBitStopDatiCOM=?\r\nFlussoDatiCOM=Hardware\r\n");
  const auto bilancia = ImpostazioniSeriali::leggi(ini_, "Bilancia");
  EXPECT_EQ(bilancia.porta, "COM2");
  EXPECT_EQ(bilancia.bitStop, "1");
  EXPECT_EQ(bilancia.testoImpostazioni(), "4800,o,7,1");
  EXPECT_EQ(bilancia.controlloFlusso(), ControlloFlusso::Hardware);
}

TEST_F(ModuloFileIniTest, FlowWords) {
  ImpostazioniSeriali impostazioni;
  const auto flussoDi = [&](const QString& parola) {
    impostazioni.flusso = parola;
    return impostazioni.controlloFlusso();
  };
  EXPECT_EQ(flussoDi("Xon / Xoff"), ControlloFlusso::XonXoff);
  EXPECT_EQ(flussoDi("Xon/Xoff"), ControlloFlusso::Nessuno);
  EXPECT_EQ(flussoDi("hardware"), ControlloFlusso::Nessuno);
}

}  // namespace
}  // namespace listinova
