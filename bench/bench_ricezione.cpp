// Reading sold quantities from the register simulator with each method, over UDP loopback and
// over a pseudo-terminal, with instant answers; and booking a large receive file. The simulator
// runs as a program of its own.
// Usage: bench_ricezione [products, default 10000] [lines booked, default 100000]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>
#include <memory>

#include "bench/archivio_di_prova.h"
#include "bench/simulatore_esterno.h"
#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "platform/qt_clock.h"
#include "platform/text_viewer.h"
#include "register/aggiorna_storico_plu.h"
#include "register/collegamento_casse.h"
#include "register/ricezione_plu.h"
#include "startup/var_globali.h"

namespace {

using namespace listinova;
using bench::portaLibera;
using bench::Simulatore;

class SempreOk : public platform::Prompts {
 public:
  platform::Answer ask(const platform::Question&) override { return platform::Answer::Ok; }
  std::optional<QString> input(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
};
class Muto : public platform::Notice {
 public:
  void show(const QString&) override {}
};
class NessunVisualizzatore : public platform::TextViewer {
 public:
  void showAndWait(const QString&) override {}
};

void scrivi(const QString& percorso, const QStringList& righe) {
  QFile file(percorso);
  if (!file.open(QIODevice::WriteOnly)) std::exit(2);
  file.write(righe.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}

struct Prova {
  QString nome;
  bool rete;
  MetodoLettura metodo;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  const int prodotti = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int righeDaPrenotare = argc > 2 ? std::atoi(argv[2]) : 100000;

  QTemporaryDir dati;
  const QString tabella = dati.filePath("tabella.txt");
  const QString venduti = dati.filePath("venduti.txt");
  QStringList plu;
  QStringList vendite;
  for (int i = 1; i <= prodotti; ++i) {
    const QString barCode = QString::number(8000000000000LL + i);
    plu << QStringLiteral("P/%1/%2/PRODOTTO %1/1/0/1.00/150.00/0.000/00010000/")
               .arg(50 + i)
               .arg(barCode);
    vendite << barCode + QStringLiteral("=1500");
  }
  scrivi(tabella, plu);
  scrivi(venduti, vendite);

  const Prova prove[] = {{"UDP, per prodotto", true, MetodoLettura::PerProdotto},
                         {"UDP, elenco", true, MetodoLettura::Lista},
                         {"pty, per prodotto", false, MetodoLettura::PerProdotto},
                         {"pty, elenco", false, MetodoLettura::Lista}};
  out << "Lettura di " << prodotti << " prodotti dal simulatore (risposte immediate)" << Qt::endl;
  for (const Prova& prova : prove) {
    QTemporaryDir cartella;
    auto db = ApriDatabase(cartella.filePath("DbNegozio.mdb"));
    RiempiArchivioDiProva(*db, prodotti);
    const quint16 portaSimulatore = portaLibera();
    QStringList argomenti = {"--tabella", tabella, "--venduti", venduti};
    argomenti << (prova.rete
                      ? QStringList{"--udp", QStringLiteral("127.0.0.1:%1").arg(portaSimulatore)}
                      : QStringList{"--pty"});
    Simulatore simulatore(argomenti);
    VarGlobali& g = Globali();
    g = VarGlobali{};
    g.CartellaProgramma = cartella.path();
    g.PercorsoSetup = cartella.filePath("Setup.ini");
    (prova.rete ? g.IndirizzoRete : g.RegCassa.porta) =
        prova.rete ? QStringLiteral("127.0.0.1") : simulatore.linea;
    SempreOk prompts;
    Muto notice;
    platform::QtClock clock;
    NessunVisualizzatore visualizzatore;
    CollegamentoCasse casse({*db, prompts, notice, clock, visualizzatore, g.CartellaProgramma,
                             g.PercorsoSetup, [] { std::exit(3); },
                             PorteUdp{portaSimulatore, portaLibera()}});
    RicezionePlu ricezione(
        {*db, casse.trasporto(), casse.driver(), prompts, clock, [] { return true; }, {}});
    QElapsedTimer timer;
    timer.start();
    const EsitoLettura esito = ricezione.cmdRiceviPLU_Click(prova.metodo, false);
    const double secondi = timer.nsecsElapsed() / 1e9;
    const int righe = esito.lette.empty() ? 0 : esito.lette[0].righe;
    out << "  " << prova.nome << ": " << righe << " righe in " << QString::number(secondi, 'f', 2)
        << " s, " << QString::number(righe / secondi, 'f', 0) << " prodotti/s"
        << (esito.tutteComplete() ? "" : "  (LETTURA NON COMPLETA)") << Qt::endl;
  }

  QTemporaryDir cartella;
  auto db = ApriDatabase(cartella.filePath("DbNegozio.mdb"));
  RiempiArchivioDiProva(*db, prodotti);
  QStringList righe;
  for (int i = 0; i < righeDaPrenotare; ++i)
    righe << QStringLiteral("00/00/00/%1/PRODOTTO/1/1.00/51/%2/0/0/0/0/0/0")
                 .arg(8000000000000LL + 1 + (i * 7919) % prodotti)
                 .arg(1 + i % 3000);
  const QString file = cartella.filePath("PLUOstrel1.txt");
  scrivi(file, righe);
  QElapsedTimer timer;
  timer.start();
  const EsitoPrenotazione esito =
      AggiornaStoricoPLU(*db, file, MetodoLettura::PerProdotto, false, QDate::currentDate());
  const double secondi = timer.nsecsElapsed() / 1e9;
  out << "Registrazione di " << righeDaPrenotare << " righe su " << prodotti
      << " prodotti: " << esito.prenotate << " righe in " << QString::number(secondi, 'f', 2)
      << " s (obiettivo sotto 2 s)" << (esito.riuscita ? "" : "  ERRORE: " + esito.errore)
      << Qt::endl;
  return esito.riuscita && secondi < 2 ? 0 : 1;
}
