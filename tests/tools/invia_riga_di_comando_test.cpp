// "listinova invia" as a scheduled job runs it, against a simulated register on a
// pseudo-terminal: its exit status tells every record taken from records refused from a
// register that was not served.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tools/simulatore/simulatore_pty.h"
#include "tools/simulatore/simulatore_registratore.h"

namespace listinova::testing {
namespace {

using simulatore::Comportamento;
using simulatore::RegolaCodice;

TEST(InviaDaRigaDiComando, ExitStatusTellsTakenRefusedAndNotServed) {
  NegozioDiProva negozio;
  negozio.prodotti(2);
  negozio.chiudi();
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
    simulatore::SimulatoreRegistratore registratore(caso.modo);
    simulatore::SimulatorePty pty(registratore);
    ASSERT_TRUE(pty.apri());
    negozio.setup("RegCassa", "PortaCOM", caso.configurata ? pty.percorso() : QString());

    QProcess programma;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LISTINOVA_CARTELLA", negozio.cartella.root());
    env.remove("DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    programma.setProcessEnvironment(env);
    QEventLoop attesa;
    QObject::connect(&programma, &QProcess::finished, &attesa, &QEventLoop::quit);
    QTimer::singleShot(60000, &attesa, &QEventLoop::quit);
    programma.start(LISTINOVA_PROGRAMMA, {"invia", "--si"});
    attesa.exec();

    const QString uscita = QString::fromUtf8(programma.readAll());
    ASSERT_EQ(programma.state(), QProcess::NotRunning) << uscita.toStdString();
    EXPECT_EQ(programma.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(programma.exitCode(), caso.stato) << uscita.toStdString();
    EXPECT_EQ(registratore.comandi().size(), caso.configurata ? 2 : 0);
    if (!caso.configurata) {
      EXPECT_TRUE(uscita.contains("Nessuna cassa configurata: impostare la porta della cassa"))
          << uscita.toStdString();
    }
  }
}

}  // namespace
}  // namespace listinova::testing
