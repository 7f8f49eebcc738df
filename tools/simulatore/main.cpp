#include <QCoreApplication>
#include <QTextStream>
#include <memory>

#include "tools/simulatore/arresto_su_segnale.h"
#include "tools/simulatore/opzioni_simulatore.h"
#include "tools/simulatore/registro_simulatore.h"
#include "tools/simulatore/simulatore_pty.h"
#include "tools/simulatore/simulatore_registratore.h"
#include "tools/simulatore/simulatore_udp.h"

int main(int argc, char** argv) {
  using namespace listinova::simulatore;
  QCoreApplication app(argc, argv);
  QTextStream uscita(stdout);
  QTextStream errori(stderr);

  QString errore;
  const auto opzioni = LeggiOpzioniSimulatore(app.arguments(), errore);
  if (!opzioni) {
    errori << errore << "\nUsare: listinova-simulatore --help" << Qt::endl;
    return 2;
  }
  if (opzioni->aiuto) {
    uscita << TestoAiutoSimulatore() << Qt::flush;
    return 0;
  }

  SimulatoreRegistratore simulatore(opzioni->comportamento);
  RegistroSimulatore registro(simulatore);
  if (!opzioni->registro.isEmpty() && !registro.apri(opzioni->registro)) {
    errori << "Impossibile scrivere il registro " << opzioni->registro << ": " << registro.errore()
           << Qt::endl;
    return 1;
  }
  simulatore.letture().impostaTorvane(opzioni->torvane);
  if ((!opzioni->tabella.isEmpty() &&
       !LettureRegistratore::caricaTabella(opzioni->tabella, simulatore.tabelle(), errore)) ||
      (!opzioni->venduti.isEmpty() &&
       !simulatore.letture().caricaVenduti(opzioni->venduti, errore))) {
    errori << errore << Qt::endl;
    return 2;
  }
  ArrestoSuSegnale arresto;

  std::unique_ptr<SimulatorePty> pty;
  std::unique_ptr<SimulatoreUdp> udp;
  if (opzioni->linea == OpzioniSimulatore::Linea::Pty) {
    pty = std::make_unique<SimulatorePty>(simulatore);
    if (!pty->apri()) {
      errori << pty->errore() << Qt::endl;
      return 1;
    }
    uscita << "Porta seriale del simulatore: " << pty->percorso() << Qt::endl;
  } else {
    udp = std::make_unique<SimulatoreUdp>(simulatore);
    if (!udp->apri(opzioni->indirizzo, opzioni->porta)) {
      errori << udp->errore() << Qt::endl;
      return 1;
    }
    uscita << "Simulatore in ascolto su UDP " << opzioni->indirizzo.toString() << ":"
           << udp->porta() << Qt::endl;
  }
  uscita << "Ctrl+C per fermarlo." << Qt::endl;
  const int esito = app.exec();
  uscita << "Simulatore fermato (comandi ricevuti: " << simulatore.comandi().size() << ")."
         << Qt::endl;
  return esito;
}
