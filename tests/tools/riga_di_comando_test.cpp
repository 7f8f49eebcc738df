// "listinova invia" and "listinova leggi" as a scheduled job runs them: the program as a process
// of its own on the test shop, without a display, against a simulated register on a
// pseudo-terminal that this thread serves meanwhile.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <memory>

#include "catalogue/apri_database.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tools/simulatore/simulatore_pty.h"
#include "tools/simulatore/simulatore_registratore.h"

namespace listinova::testing {
namespace {

using simulatore::Comportamento;
using simulatore::RegolaCodice;
using simulatore::SimulatoreRegistratore;

const QString kAcqua = "8001234567890";
const QString kPane = "8009876543210";

struct Uscita {
  int codice;
  QString testo;  // all the job printed
};

// Water and bread, ten of each; the register holds them and reads by list.
class RigaDiComando : public ::testing::Test {
 protected:
  RigaDiComando() {
    negozio.prodotto({"1", "ACQUA", kAcqua, "1", 10}).prodotto({"2", "PANE", kPane, "1", 10});
    negozio.setup("Acquisizione", "Metodo", "2");
  }
  // A fresh register on the shop's port, which sold 2,5 waters.
  SimulatoreRegistratore& cassa(const Comportamento& modo = {}) {
    pty.reset();
    registratore = std::make_unique<SimulatoreRegistratore>(modo);
    pty = std::make_unique<simulatore::SimulatorePty>(*registratore);
    EXPECT_TRUE(pty->apri());
    negozio.setup("RegCassa", "PortaCOM", pty->percorso());
    registratore->tabelle().applica("P/51/8001234567890/ACQUA/1/0/0.35/150.00/0.000/0/");
    registratore->tabelle().applica("P/52/8009876543210/PANE/1/0/1.20/150.00/0.000/0/");
    registratore->letture().impostaVenduto(kAcqua, 2500);
    return *registratore;
  }
  // The store is closed while the program runs, and open again for the checks after.
  void avvia(QProcess& programma, const QStringList& argomenti) {
    negozio.chiudi();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LISTINOVA_CARTELLA", negozio.cartella.root());
    env.insert("XDG_CONFIG_HOME", negozio.file("config"));
    env.remove("DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    programma.setProcessEnvironment(env);
    programma.start(LISTINOVA_BINARY, argomenti);
  }
  Uscita attendi(QProcess& programma) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return programma.state() == QProcess::NotRunning; }, 60000));
    negozio.db = ApriDatabase(negozio.percorsoArchivio());
    return {
        programma.exitStatus() == QProcess::NormalExit ? programma.exitCode() : -1,
        QString::fromUtf8(programma.readAllStandardOutput() + programma.readAllStandardError())};
  }
  Uscita esegui(const QStringList& argomenti) {
    QProcess programma;
    avvia(programma, argomenti);
    return attendi(programma);
  }

  NegozioDiProva negozio;
  QString ricezione = negozio.file("PLUOstrel1.txt");
  std::unique_ptr<SimulatoreRegistratore> registratore;
  std::unique_ptr<simulatore::SimulatorePty> pty;
};

// The exit status tells every record taken from records refused from a register not served.
TEST_F(RigaDiComando, InviaExitStatusTellsTakenRefusedAndNotServed) {
  const struct {
    const char* nome;
    Comportamento modo;
    bool configurata;
    int stato;
  } casi[] = {
      {"every record taken", {}, true, 0},
      {"a record refused", {.codici = {RegolaCodice::perRiga(2, "09")}}, true, 2},
      {"no register", {}, false, 1},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    SimulatoreRegistratore& registratore = cassa(caso.modo);
    if (!caso.configurata) negozio.setup("RegCassa", "PortaCOM", "");
    const Uscita uscita = esegui({"invia", "--si"});
    EXPECT_EQ(uscita.codice, caso.stato) << uscita.testo.toStdString();
    EXPECT_EQ(registratore.comandi().size(), caso.configurata ? 2 : 0);
    EXPECT_EQ(uscita.testo.contains("Nessuna cassa configurata: impostare la porta della cassa"),
              !caso.configurata)
        << uscita.testo.toStdString();
  }
}

// Unattended: only with the code, once a day unless asked again.
TEST_F(RigaDiComando, LeggiReadsWithTheCodeOnceADayUnlessAskedAgain) {
  cassa();
  const struct {
    QStringList argomenti;
    int uscita;
    const char* messaggio;  // in what the job prints
    double giacenza;
  } casi[] = {
      {{"leggi"}, 2, "--codice", 10},
      {{"leggi", "--codice", "korvade"}, 1, "PASSWORD ERRATA", 10},
      {{"leggi", "--codice", "KORVADE"}, 0, "Cassa 1: letta fino in fondo", 7.5},
      {{"leggi", "--codice", "KORVADE"}, 1, "sono già state lette oggi alle", 7.5},
      {{"leggi", "--codice", "KORVADE", "--ancora"}, 0, "Continuare? Sì", 5},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.argomenti.join(' ').toStdString());
    const Uscita uscita = esegui(c.argomenti);
    EXPECT_EQ(uscita.codice, c.uscita) << uscita.testo.toStdString();
    EXPECT_TRUE(uscita.testo.contains(QString::fromUtf8(c.messaggio)))
        << uscita.testo.toStdString();
    EXPECT_EQ(negozio.quantita("1"), c.giacenza);
    EXPECT_EQ(QFile::exists(ricezione), c.giacenza < 10);
  }
}

// A reading killed (kill -9) after appending a sale and before booking it leaves the sale
// pending; the next reading books it, once, before its own lines, and exits 2 for a quantity
// it could not book.
TEST_F(RigaDiComando, KilledReadingIsBookedOnceByTheNextAndExitSaysWhatWasNotBooked) {
  const QStringList leggi{"leggi", "--codice", "KORVADE"};
  cassa({.ritardoMs = 300});
  QProcess uccisa;
  avvia(uccisa, leggi);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(ricezione).size() > 0; }, 20000));
  uccisa.kill();
  EXPECT_EQ(attendi(uccisa).codice, -1);
  EXPECT_TRUE(negozio.storico().empty());
  EXPECT_EQ(negozio.quantita("1"), 10);

  cassa().letture().impostaVendutoTesto(kPane, "1e9");
  const Uscita uscita = esegui(leggi);
  EXPECT_EQ(uscita.codice, 2) << uscita.testo.toStdString();
  EXPECT_TRUE(uscita.testo.contains(
      "Cassa 1: letta fino in fondo, righe lette 2, vendite rimaste da una lettura interrotta "
      "registrate ora 1, vendite registrate 2, righe NON registrate 1 (elencate in " +
      negozio.file("RigheNonRegistrate1.txt") + ")"))
      << uscita.testo.toStdString();
  EXPECT_TRUE(uscita.testo.contains("CASSA 1: 1 RIGHE LETTE NON REGISTRATE IN ARCHIVIO"));
  // the killed reading's water and this reading's; the bread's "1e9" is listed, not booked
  EXPECT_EQ(negozio.storico(), (std::map<QString, std::vector<double>>{{kAcqua, {2.5, 2.5}}}));
  EXPECT_EQ(negozio.quantita("1"), 5);
  EXPECT_EQ(negozio.quantita("2"), 10);
  EXPECT_TRUE(readAll(negozio.file("RigheNonRegistrate1.txt"))
                  .endsWith("/1e9/0/0/0\tquantità \"1e9\" non numerica\r\n"));
}

}  // namespace
}  // namespace listinova::testing
