#include "startup/avvio.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/program_folder.h"
#include "startup/impostazioni.h"
#include "startup/lavoro_non_avviato.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;

class AvvioTest : public ::testing::Test {
 protected:
  void SetUp() override { Globali() = VarGlobali{}; }
  void TearDown() override { Globali() = VarGlobali{}; }

  bool avvia() {
    avvio = std::make_unique<Avvio>(cartellaProgramma, prompts, notice, clock, ApriDatabase);
    return avvio->Main();
  }

  CartellaDiProva cartella;
  const QString archivio = cartella.file("Dati/DbNegozio.mdb");
  platform::ProgramFolder cartellaProgramma{cartella.root()};
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::unique_ptr<Avvio> avvio;
};

// A second copy on the same folder is refused; the oversized error log is set aside.
TEST_F(AvvioTest, AnEmptyFolderGetsANewStoreWithEveryTable) {
  ASSERT_TRUE(testing::writeAll(cartella.file("Dati/ErrorLog.dat"), QByteArray(120001, 'x')));
  ASSERT_TRUE(avvia());
  EXPECT_TRUE(prompts.asked.empty());
  auto& db = *Globali().Archivio;
  EXPECT_EQ(db.openRecordset("Select * from Reparti").recordCount(), 40);
  EXPECT_EQ(db.openRecordset("Select * from FormatoEtichetta").recordCount(), 1);
  EXPECT_EQ(LeggiINI(platform::ProgramFolder::dovePrgPath(), "Listinova", "Percorso", "?"),
            cartella.root());
  // With no settings file nothing is written.
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
  ApriDatabase(archivio)->execute(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
      "INSERT INTO Magazzino (CodMateriale, Descrizione) "
      "SELECT i, 'Un prodotto dalla descrizione piuttosto lunga ' || i FROM n");
  QByteArray bytes = testing::readAll(archivio);
  bytes.replace(8 * 4096, 4096, QByteArray(4096, '\0'));
  ASSERT_TRUE(testing::writeAll(archivio, bytes));
  ASSERT_TRUE(testing::writeAll(cartella.setup(), "[Acquisizione]\r\nMetodo=2\r\n"));

  prompts.answers = {Answer::Ok, Answer::Retry, Answer::Ok, Answer::Ignore};
  ASSERT_TRUE(avvia());
  const QStringList domande = testing::askedTexts(prompts);
  ASSERT_EQ(domande.size(), 4);
  EXPECT_TRUE(domande[0].contains(QString::fromUtf8("è danneggiato"))) << domande[0].toStdString();
  EXPECT_EQ(domande[1], "Errore in fase di inizializzazione.");
  EXPECT_EQ(prompts.asked[1].buttons, platform::Buttons::AbortRetryIgnore);
  EXPECT_EQ(domande[2], domande[0]);
  EXPECT_EQ(Globali().Archivio, nullptr);
  EXPECT_EQ(Globali().MetodoAcquisizione, 2);
  EXPECT_EQ(testing::readAll(archivio), bytes);
}

// An empty store file is kept aside (its name said), and the shop starts on a new store.
TEST_F(AvvioTest, AnEmptyStoreFileIsKeptAsideAndTheNewStoreIsAnnounced) {
  ASSERT_TRUE(testing::writeAll(archivio, ""));
  ASSERT_TRUE(avvia());
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].icon, platform::Icon::Information);
  EXPECT_TRUE(prompts.asked[0].text.contains("DbNegozio.mdb.vuoto-"))
      << prompts.asked[0].text.toStdString();
  EXPECT_EQ(Globali().Archivio->openRecordset("Select * from Reparti").recordCount(), 40);
}

// A store written by a newer Listinova is named at start, in the window's loop and on the
// command line, and never written to.
TEST_F(AvvioTest, AStoreOfANewerVersionIsNamedAndLeftUntouched) {
  ApriDatabase(archivio).reset();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(archivio.toUtf8().constData(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA user_version=99", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  const QByteArray prima = testing::readAll(archivio);
  const QString perche = "è stato scritto da una versione più recente di Listinova";

  prompts.answers = {Answer::Ok, Answer::Abort};
  EXPECT_FALSE(avvia());
  avvio.reset();  // the window's lock goes with it
  Globali() = VarGlobali{};
  const QStringList domande = testing::askedTexts(prompts);
  ASSERT_EQ(domande.size(), 2);
  EXPECT_TRUE(domande[0].contains(perche)) << domande[0].toStdString();
  EXPECT_EQ(domande[1], "Errore in fase di inizializzazione.");

  QProcess lavoro;
  lavoro.setStandardInputFile(QProcess::nullDevice());
  lavoro.start(LISTINOVA_BINARY, {"--cartella", cartella.root(), "esporta", "magazzino",
                                  cartella.file("magazzino.xlsx")});
  ASSERT_TRUE(lavoro.waitForFinished(60000));
  EXPECT_EQ(lavoro.exitCode(), kUscitaAvvioNonRiuscito);
  EXPECT_TRUE(QString::fromUtf8(lavoro.readAllStandardOutput()).contains(perche));
  EXPECT_EQ(QString::fromUtf8(lavoro.readAllStandardError()).trimmed(),
            "Avvio non riuscito: esportazione non eseguita.");
  EXPECT_EQ(testing::readAll(archivio), prima);
}

// Keys and their defaults; an unreadable number is the default; the parity and flow words are
// matched exactly; line breaks in a value are stored as blanks.
TEST(LeggiImpostazioni, KeysDefaultsAndWordsOfTheSettingsFile) {
  CartellaDiProva cartella;
  VarGlobali g;
  g.PercorsoSetup = cartella.setup();
  for (const auto& [valore, metodo] : {std::pair{"0", 1}, {"3", 1}, {"2", 2}}) {
    ScriviINI(g.PercorsoSetup, "Acquisizione", "Metodo", valore);
    LeggiImpostazioni(g);
    EXPECT_EQ(g.MetodoAcquisizione, metodo) << valore;
  }
  EXPECT_TRUE(g.TabelleCollegate);
  EXPECT_EQ(g.ColoreInterfaccia, 0x8000000Fu);
  EXPECT_EQ(g.RegCassa.testoImpostazioni(), "9600,n,8,1");
  EXPECT_TRUE(LeggiTastieraVisibile(g.PercorsoSetup));

  ASSERT_TRUE(testing::writeAll(
      g.PercorsoSetup,
      "[Gestione]\r\nTabCollegate=falso\r\n[InterfacciaUtente]\r\nColore=255\r\n"
      "[RegCassa]\r\nPortaETH1=192.168.1.50\r\nPortaCOM2=/dev/ttyUSB0\r\nVelocitaCOM=?\r\n"
      "[BarCode]\r\nParitaDatiCOM=Pari\r\n[Config]\r\nTastieraVisibile=falso\r\n"
      "[Bilancia]\r\nPortaCOM=COM2\r\nvelocitacom=4800\r\nBitDatiCOM=7\r\n"
      "ParitaDatiCOM=Dispari\r\nBitStopDatiCOM=?\r\nFlussoDatiCOM=Hardware\r\n"));
  LeggiImpostazioni(g);
  EXPECT_FALSE(g.TabelleCollegate);
  EXPECT_EQ(g.ColoreInterfaccia, 255u);
  EXPECT_EQ(g.IndirizzoRete, "192.168.1.50");
  EXPECT_EQ(g.PortaCOM2, "/dev/ttyUSB0");
  EXPECT_EQ(g.RegCassa.testoImpostazioni(), "9600,n,8,1");
  EXPECT_EQ(g.BarCode.testoImpostazioni(), "9600,e,8,1");
  EXPECT_FALSE(LeggiTastieraVisibile(g.PercorsoSetup));
  const auto bilancia = ImpostazioniSeriali::leggi(g.PercorsoSetup, "Bilancia");
  EXPECT_EQ(bilancia.porta, "COM2");
  EXPECT_EQ(bilancia.testoImpostazioni(), "4800,o,7,1");
  EXPECT_EQ(bilancia.controlloFlusso(), ControlloFlusso::Hardware);

  ScriviINI(g.PercorsoSetup, "InterfacciaUtente", "Colore", "rosso");
  ScriviINI(g.PercorsoSetup, "Config", "TastieraVisibile", "no");  // only "falso" hides it
  LeggiImpostazioni(g);
  EXPECT_EQ(g.ColoreInterfaccia, 0x8000000Fu);
  EXPECT_TRUE(LeggiTastieraVisibile(g.PercorsoSetup));
  QStringList lettere;
  for (const char* parola : {"Dispari", "Mark", "pari", "SPAZIO"}) lettere << LetteraParita(parola);
  EXPECT_EQ(lettere, QStringList({"o", "m", "n", "n"}));
  QList<ControlloFlusso> flussi;
  for (const char* parola : {"Xon / Xoff", "Xon/Xoff", "hardware"}) {
    ImpostazioniSeriali impostazioni;
    impostazioni.flusso = parola;
    flussi << impostazioni.controlloFlusso();
  }
  EXPECT_EQ(flussi,
            QList({ControlloFlusso::XonXoff, ControlloFlusso::Nessuno, ControlloFlusso::Nessuno}));
  ScriviINI(g.PercorsoSetup, "Negozio", "Intestazione", "Riga uno\r\nRiga due\rtre\nquattro");
  EXPECT_EQ(LeggiINI(g.PercorsoSetup, "Negozio", "Intestazione", "?"),
            "Riga uno  Riga due tre quattro");
}

}  // namespace
}  // namespace listinova
