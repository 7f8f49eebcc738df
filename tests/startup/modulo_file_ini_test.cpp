#include "startup/modulo_file_ini.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/file_helpers.h"

namespace listinova {
namespace {

TEST(ModuloFileIni, LineBreaksInAValueAreStoredAsBlanks) {
  QTemporaryDir cartella;
  const QString ini = cartella.filePath("Setup.ini");
  ScriviINI(ini, "Negozio", "Intestazione", "Riga uno\r\nRiga due\rtre\nquattro");
  EXPECT_EQ(LeggiINI(ini, "Negozio", "Intestazione", "?"), "Riga uno  Riga due tre quattro");
}

// Absent keys and "?" take the defaults; the parity and flow words are matched exactly.
TEST(ImpostazioniSeriali, ReadWithTheirDefaults) {
  QTemporaryDir cartella;
  const QString ini = cartella.filePath("Setup.ini");
  EXPECT_EQ(ImpostazioniSeriali::leggi(ini, "Cassa").testoImpostazioni(), "9600,n,8,1");
  ASSERT_TRUE(
      testing::writeAll(ini,
                        "[Cassa]\r\nPortaCOM=\r\nVelocitaCOM=?\r\n"
                        "[Bilancia]\r\nPortaCOM=COM2\r\nvelocitacom=4800\r\nBitDatiCOM=7\r\n"
                        "ParitaDatiCOM=Dispari\r\nBitStopDatiCOM=?\r\nFlussoDatiCOM=Hardware\r\n"));
  const auto cassa = ImpostazioniSeriali::leggi(ini, "Cassa");
  EXPECT_EQ(cassa.porta, "");
  EXPECT_EQ(cassa.testoImpostazioni(), "9600,n,8,1");
  EXPECT_EQ(cassa.controlloFlusso(), ControlloFlusso::Nessuno);
  const auto bilancia = ImpostazioniSeriali::leggi(ini, "Bilancia");
  EXPECT_EQ(bilancia.porta, "COM2");
  EXPECT_EQ(bilancia.testoImpostazioni(), "4800,o,7,1");
  EXPECT_EQ(bilancia.controlloFlusso(), ControlloFlusso::Hardware);

  const std::pair<const char*, const char*> parita[] = {
      {"Dispari", "o"}, {"Mark", "m"}, {"pari", "n"}, {"SPAZIO", "n"}};
  for (const auto& [parola, lettera] : parita) EXPECT_EQ(LetteraParita(parola), lettera) << parola;
  const std::pair<const char*, ControlloFlusso> flussi[] = {
      {"Xon / Xoff", ControlloFlusso::XonXoff},
      {"Xon/Xoff", ControlloFlusso::Nessuno},
      {"hardware", ControlloFlusso::Nessuno}};
  for (const auto& [parola, flusso] : flussi) {
    ImpostazioniSeriali impostazioni;
    impostazioni.flusso = parola;
    EXPECT_EQ(impostazioni.controlloFlusso(), flusso) << parola;
  }
}

}  // namespace
}  // namespace listinova
