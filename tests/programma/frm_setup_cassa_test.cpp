// The setup window driven as the operator does, and the settings file it leaves.
#include "programma/frm_setup_cassa.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "platform/printers.h"
#include "startup/impostazioni.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"
#include "support/widgets.h"

namespace listinova::testing {
namespace {

using platform::Answer;

// Lines of the operator's own that the window never touches.
const QByteArray kFileUtente =
    "; impostazioni del negozio\r\n"
    "[Acquisizione]\r\nMetodo=1\r\n"
    "[RegCassa]\r\nPortaCOM = 2\r\nVelocitaCOM=9600\r\nTorvane=Falso\r\nPortaETH1=?\r\n"
    "[Altro]\r\nVoce =  con spazi \r\n";

class SetupCassa : public ::testing::Test {
 public:
  void SetUp() override { apri(kFileUtente); }
  void TearDown() override { Globali() = VarGlobali{}; }

  void apri(const QByteArray& contenuto) {
    finestra.reset();
    ASSERT_TRUE(writeAll(cartella.setup(), contenuto));
    Globali() = VarGlobali{};
    Globali().PercorsoSetup = cartella.setup();
    LeggiImpostazioni(Globali());
    // The file, folder and colour dialogs answer at once.
    const auto file = [](const QString&, const QString& filtro) {
      return QString(filtro.contains("mdb") ? "/negozio/Esterno.mdb" : "/negozio/sfondo.png");
    };
    const auto dove = [](const QString& titolo) {
      return QString(titolo.endsWith("ingresso") ? "/negozio/in" : "/negozio/out");
    };
    const auto colore = [](const QColor&) { return std::optional<QColor>(QColor(1, 2, 3)); };
    finestra = std::make_unique<FrmSetupCassa>(
        AmbienteSetup{prompts, stampanti, {{"/dev/ttyUSB0", "USB"}}, file, dove, colore, {}},
        Globali());
  }
  template <typename T>
  T* w(const QString& nome) {
    return testing::figlio<T>(*finestra, nome);
  }
  void scegli(const QString& elenco, const QString& voce) {
    auto* cb = w<QComboBox>(elenco);
    cb->setCurrentIndex(cb->findData(voce));
    emit cb->activated(cb->currentIndex());
  }
  void scrivi(const QString& casella, const QString& testo) {
    auto* t = w<QLineEdit>(casella);
    t->clear();
    QTest::keyClicks(t, testo);
  }
  void clicca(const QString& nome) { w<QAbstractButton>(nome)->click(); }
  QString ini(const QString& sezione, const QString& chiave) {
    return LeggiINI(cartella.setup(), sezione, chiave, "?");
  }

  CartellaDiProva cartella;
  FakePrompts prompts;
  platform::FixedPrinters stampanti;
  std::unique_ptr<FrmSetupCassa> finestra;
};

TEST_F(SetupCassa, ARefusedStoreWritesNothingAndAnAcceptedOneOnlyItsKeys) {
  struct Caso {
    const char* nome;
    std::function<void(SetupCassa&)> modifica;
    QString messaggio;  // empty: stored
    QString chiave, valore;
  };
  const Caso casi[] = {
      {"both acquisition boxes", [](SetupCassa& t) { t.clicca("ckPrendiPLU1"); },
       "Effettuare una sola selezione per il metodo di acquisizione PLU"},
      {"three address boxes",
       [](SetupCassa& t) {
         for (const char* c : {"txtIP1", "txtIP2", "txtIP3"}) t.scrivi(c, "10");
       },
       "Indirizzo IP non valido"},
      {"four empty address boxes", [](SetupCassa&) {}, "", "RegCassa/PortaETH1", "?"},
      {"the empty entry clears a port", [](SetupCassa& t) { t.scegli("cbPortaComCassa", ""); }, "",
       "RegCassa/PortaCOM", ""},
      {"a device of the machine",
       [](SetupCassa& t) { t.scegli("cbPortaComCassa1", "/dev/ttyUSB0"); }, "",
       "RegCassa/PortaCOM1", "/dev/ttyUSB0"},
      {"an address",
       [](SetupCassa& t) {
         for (const char* c : {"txtIP1", "txtIP2", "txtIP3", "txtIP4"}) t.scrivi(c, "192");
       },
       "", "RegCassa/PortaETH1", "192.192.192.192"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    apri(kFileUtente);
    prompts.asked.clear();
    c.modifica(*this);
    EXPECT_EQ(finestra->salva(), c.messaggio.isEmpty());
    const QByteArray dopo = readAll(cartella.setup());
    if (!c.messaggio.isEmpty()) {
      EXPECT_TRUE(askedTexts(prompts).value(0).startsWith(c.messaggio));
      EXPECT_EQ(dopo, kFileUtente);
      EXPECT_TRUE(finestra->modificato());
      continue;
    }
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_FALSE(finestra->modificato());
    EXPECT_EQ(ini(c.chiave.section('/', 0, 0), c.chiave.section('/', 1)), c.valore);
    // What the window does not own is kept byte for byte.
    EXPECT_TRUE(dopo.startsWith("; impostazioni del negozio\r\n[Acquisizione]\r\nMetodo=1\r\n"));
    EXPECT_TRUE(dopo.contains("\r\nVelocitaCOM=9600\r\nTorvane=Falso\r\n"));
    EXPECT_TRUE(dopo.contains("[Altro]\r\nVoce =  con spazi \r\n"));
    EXPECT_EQ(dopo.contains("PortaCOM = 2\r\n"), c.chiave != "RegCassa/PortaCOM");
  }
}

TEST_F(SetupCassa, ANewFileGetsEveryKeyInOrderAndTheProgramTakesThemAtOnce) {
  apri("");
  scegli("cbPortaComCassa", "/dev/ttyUSB0");
  scegli("cbVelocitaComCassa", "19200");
  scegli("cbParitaComCassa", "Pari");
  scegli("cbBitStopComCassa", "1,5");
  scrivi("txtNomeAttivita", "Bottega");
  for (const char* pulsante :
       {"cmdCambiaSfondo", "CmdColore", "cmdSelezionaDBEsterno", "cmdCartellaIN", "cmdCartellaOUT"})
    clicca(pulsante);
  clicca("ckPrendiPLU0");
  clicca("ckPrendiPLU1");
  ASSERT_TRUE(finestra->salva());

  EXPECT_EQ(QString::fromUtf8(readAll(cartella.setup())),
            "[Acquisizione]\r\nMetodo=2\r\n"
            "[RegCassa]\r\nTorvane=Falso\r\nPortaCOM=/dev/ttyUSB0\r\nPortaCOM1=\r\nPortaCOM2=\r\n"
            "VelocitaCOM=19200\r\nBitDatiCOM=8\r\nParitaDatiCOM=Pari\r\nBitStopDatiCOM=1,5\r\n"
            "FlussoDatiCOM=Nessuno\r\nModello=OSTREL\r\nPortaETH1=?\r\n"
            "[Cartelle]\r\nIN=/negozio/in\r\nOUT=/negozio/out\r\n"
            "[Etichetta]\r\nNomeAttivita=Bottega\r\n"
            "[DatabaseEsterno]\r\nQuale=/negozio/Esterno.mdb\r\n"
            "[InterfacciaUtente]\r\nColore=197121\r\nImgSfondo=/negozio/sfondo.png\r\n");
  const VarGlobali& g = Globali();
  EXPECT_EQ(QStringList({g.RegCassa.porta, g.RegCassa.testoImpostazioni(), g.IndirizzoRete}),
            QStringList({"/dev/ttyUSB0", "19200,e,8,1,5", ""}));
  EXPECT_EQ(g.MetodoAcquisizione, 2);
}

TEST_F(SetupCassa, NoOnCloseLeavesTheFileAsItWasButForTorvane) {
  scrivi("txtNomeAttivita", "Bottega");
  clicca("ckTipoST");
  prompts.answers = {Answer::No};
  clicca("Command1");
  EXPECT_EQ(askedTexts(prompts),
            QStringList{"Le nuove impostazioni non sono state salvate!!! Salvare ora?"});
  EXPECT_EQ(readAll(cartella.setup()),
            QByteArray(kFileUtente).replace("Torvane=Falso", "Torvane=Vero"));

  apri(kFileUtente);  // Yes stores first
  scrivi("txtNomeAttivita", "Bottega");
  prompts.answers = {Answer::Yes};
  clicca("Command1");
  EXPECT_EQ(ini("Etichetta", "NomeAttivita"), "Bottega");
}

TEST_F(SetupCassa, OpeningShowsTheSettingsAndLeavesTheListsUnchosen) {
  apri(
      "[Acquisizione]\r\nMetodo=3\r\n[RegCassa]\r\nPortaCOM=/dev/ttyACM0\r\nTorvane=vero\r\n"
      "PortaETH1=10.0.0.7\r\n[STdiSISTEMA]\r\nPredefinita=?\r\nxFrontalini=Zebra\r\n");
  EXPECT_TRUE(w<QCheckBox>("ckPrendiPLU0")->isChecked());  // only "2" is the fast method
  EXPECT_EQ(ini("Acquisizione", "Metodo"), "1");
  EXPECT_TRUE(w<QCheckBox>("ckTipoST")->isChecked());
  EXPECT_EQ(w<QLineEdit>("txtStFR")->text(), "Zebra");
  EXPECT_EQ(w<QLineEdit>("txtIP4")->text(), "7");
  EXPECT_EQ(w<QComboBox>("cbPortaComCassa")->currentIndex(), -1);
  EXPECT_FALSE(finestra->modificato());
}

}  // namespace
}  // namespace listinova::testing
