#include "startup/avvio.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/program_folder.h"
#include "startup/impostazioni.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::db::Database;

class AvvioTest : public ::testing::Test {
 protected:
  void SetUp() override { Globali() = VarGlobali{}; }
  void TearDown() override { Globali() = VarGlobali{}; }

  bool avvia() {
    avvio = std::make_unique<Avvio>(cartellaProgramma, prompts, notice, clock, ApriDatabase);
    return avvio->Main();
  }
  void scriviFile(const QString& relativo, const QByteArray& contenuto) {
    ASSERT_TRUE(testing::writeAll(cartella.file(relativo), contenuto));
  }

  CartellaDiProva cartella;
  platform::ProgramFolder cartellaProgramma{cartella.root()};
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::unique_ptr<Avvio> avvio;
};

// A second copy on the same folder is refused; the oversized error log is set aside.
TEST_F(AvvioTest, AnEmptyFolderGetsANewStoreWithEveryTable) {
  scriviFile("Dati/ErrorLog.dat", QByteArray(120001, 'x'));
  ASSERT_TRUE(avvia());
  EXPECT_TRUE(prompts.asked.empty());
  ASSERT_TRUE(QFile::exists(cartella.file("Dati/DbNegozio.mdb")));
  auto& db = *Globali().Archivio;
  auto reparti = db.openRecordset("Select * from Reparti order by Cod");
  ASSERT_EQ(reparti.recordCount(), 40);
  reparti.moveLast();
  EXPECT_EQ(reparti.text("Descrizione"), "Reparto40");
  EXPECT_EQ(db.openRecordset("Select * from FormatoEtichetta").recordCount(), 1);
  EXPECT_EQ(LeggiINI(platform::ProgramFolder::dovePrgPath(), "Listinova", "Percorso", "?"),
            cartella.root());
  // With no settings file nothing is read: the in-memory settings stay empty.
  EXPECT_FALSE(QFile::exists(cartella.setup()));
  EXPECT_EQ(Globali().PercorsoSetup, cartella.setup());
  EXPECT_TRUE(QFile::exists(cartella.file("Dati/Err/Errori.bak")));

  testing::FakeNotice altra;
  Avvio seconda(cartellaProgramma, prompts, altra, clock, ApriDatabase);
  EXPECT_FALSE(seconda.Main());
  EXPECT_EQ(altra.messages, QStringList{"ATTENZIONE l'applicazione risulta già in uso"});
}

// Retry checks again; Ignore goes on with the next step; the store is left as it was.
TEST_F(AvvioTest, ADamagedStoreIsNamedInTheStartLoopAndNeverShownEmpty) {
  const QString archivio = cartella.file("Dati/DbNegozio.mdb");
  {
    auto db = ApriDatabase(archivio);
    Database::Transaction t(*db);
    for (int i = 1; i <= 2000; ++i)
      db->execute(QStringLiteral("INSERT INTO Magazzino (CodMateriale, Descrizione) VALUES "
                                 "('%1', 'Un prodotto dalla descrizione piuttosto lunga %1')")
                      .arg(i));
    t.commit();
  }
  QByteArray bytes = testing::readAll(archivio);
  bytes.replace(8 * 4096, 4096, QByteArray(4096, '\0'));
  ASSERT_TRUE(testing::writeAll(archivio, bytes));
  scriviFile("Setup.ini", "[Acquisizione]\r\nMetodo=2\r\n");

  prompts.answers = {Answer::Ok, Answer::Retry, Answer::Ok, Answer::Ignore};
  ASSERT_TRUE(avvia());
  const QStringList domande = testing::askedTexts(prompts);
  ASSERT_EQ(domande.size(), 4);
  EXPECT_TRUE(domande[0].contains(QString::fromUtf8("è danneggiato"))) << domande[0].toStdString();
  EXPECT_EQ(domande[1], "Errore in fase di inizializzazione.");
  EXPECT_EQ(prompts.asked[1].buttons, Buttons::AbortRetryIgnore);
  EXPECT_EQ(domande[2], domande[0]);
  EXPECT_EQ(Globali().Archivio, nullptr);
  EXPECT_EQ(Globali().MetodoAcquisizione, 2);
  EXPECT_EQ(testing::readAll(archivio), bytes);
}

TEST_F(AvvioTest, AnEmptyStoreFileIsKeptAsideAndTheNewStoreIsAnnounced) {
  scriviFile("Dati/DbNegozio.mdb", "");
  ASSERT_TRUE(avvia());
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].icon, platform::Icon::Information);
  EXPECT_TRUE(prompts.asked[0].text.contains("DbNegozio.mdb.vuoto-"))
      << prompts.asked[0].text.toStdString();
  ASSERT_NE(Globali().Archivio, nullptr);
  EXPECT_EQ(Globali().Archivio->openRecordset("Select * from Reparti").recordCount(), 40);
}

TEST(LeggiImpostazioni, KeysAndTheirDefaults) {
  CartellaDiProva cartella;
  VarGlobali g;
  g.PercorsoSetup = cartella.setup();
  for (const auto& [valore, metodo] : {std::pair{"0", 1}, {"3", 1}, {"2", 2}}) {
    ScriviINI(g.PercorsoSetup, "Acquisizione", "Metodo", valore);
    LeggiImpostazioni(g);
    EXPECT_EQ(g.MetodoAcquisizione, metodo) << valore;
  }

  EXPECT_TRUE(g.TabelleCollegate);  // absent
  EXPECT_EQ(g.ColoreInterfaccia, 0x8000000Fu);
  EXPECT_EQ(g.IndirizzoRete, "");
  EXPECT_EQ(g.RegCassa.testoImpostazioni(), "9600,n,8,1");

  ScriviINI(g.PercorsoSetup, "Gestione", "TabCollegate", "falso");
  ScriviINI(g.PercorsoSetup, "InterfacciaUtente", "Colore", "255");
  ScriviINI(g.PercorsoSetup, "RegCassa", "PortaETH1", "192.168.1.50");
  ScriviINI(g.PercorsoSetup, "RegCassa", "PortaCOM", "1");
  ScriviINI(g.PercorsoSetup, "RegCassa", "PortaCOM2", "/dev/ttyUSB0");
  ScriviINI(g.PercorsoSetup, "RegCassa", "VelocitaCOM", "19200");
  ScriviINI(g.PercorsoSetup, "BarCode", "ParitaDatiCOM", "Pari");
  LeggiImpostazioni(g);
  EXPECT_FALSE(g.TabelleCollegate);
  EXPECT_EQ(g.ColoreInterfaccia, 255u);
  EXPECT_EQ(g.IndirizzoRete, "192.168.1.50");
  EXPECT_EQ(g.RegCassa.porta, "1");
  EXPECT_EQ(g.PortaCOM2, "/dev/ttyUSB0");
  EXPECT_EQ(g.RegCassa.testoImpostazioni(), "19200,n,8,1");
  EXPECT_EQ(g.BarCode.testoImpostazioni(), "9600,e,8,1");

  ScriviINI(g.PercorsoSetup, "RegCassa", "PortaETH1", "?");
  ScriviINI(g.PercorsoSetup, "InterfacciaUtente", "Colore", "rosso");
  LeggiImpostazioni(g);
  EXPECT_EQ(g.IndirizzoRete, "");
  EXPECT_EQ(g.ColoreInterfaccia, 0x8000000Fu);

  // Only "falso" hides the on-screen keyboard.
  EXPECT_TRUE(LeggiTastieraVisibile(g.PercorsoSetup));
  for (const auto& [valore, visibile] : {std::pair{"falso", false}, {"no", true}}) {
    ScriviINI(g.PercorsoSetup, "Config", "TastieraVisibile", valore);
    EXPECT_EQ(LeggiTastieraVisibile(g.PercorsoSetup), visibile) << valore;
  }
}

// The parity and flow words are matched exactly; line breaks in a value are stored as blanks.
TEST(ImpostazioniSeriali, WordsOfTheSettingsFile) {
  CartellaDiProva cartella;
  const QString ini = cartella.setup();
  ASSERT_TRUE(
      testing::writeAll(ini,
                        "[Cassa]\r\nPortaCOM=\r\nVelocitaCOM=?\r\n"
                        "[Bilancia]\r\nPortaCOM=COM2\r\nvelocitacom=4800\r\nBitDatiCOM=7\r\n"
                        "ParitaDatiCOM=Dispari\r\nBitStopDatiCOM=?\r\nFlussoDatiCOM=Hardware\r\n"));
  EXPECT_EQ(ImpostazioniSeriali::leggi(ini, "Cassa").testoImpostazioni(), "9600,n,8,1");
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
  ScriviINI(ini, "Negozio", "Intestazione", "Riga uno\r\nRiga due\rtre\nquattro");
  EXPECT_EQ(LeggiINI(ini, "Negozio", "Intestazione", "?"), "Riga uno  Riga due tre quattro");
}

}  // namespace
}  // namespace listinova
