// The command driver sending a PLU file to the register simulator, over UDP loopback and over a
// pseudo-terminal, with instant answers; the CPU spent waiting on a silent register; and the
// preparation of the file. The simulator runs as a program of its own, so the CPU figures are
// this program's alone.
// Last, the serial receive handler against a flood of junk.
// Usage: bench_invio [lines sent, default 10000] [products prepared, default 30000]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "bench/archivio_di_prova.h"
#include "bench/simulatore_esterno.h"
#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "platform/qt_clock.h"
#include "platform/serial_port.h"
#include "platform/text_viewer.h"
#include "platform/udp_endpoint.h"
#include "register/casse_configurate.h"
#include "register/collegamento_casse.h"
#include "register/log_driver.h"
#include "register/record_plu.h"
#include "register/trasporto_registratore.h"
#include "startup/var_globali.h"

namespace {

using namespace listinova;
using bench::portaLibera;
using bench::Simulatore;

constexpr double kRigheUdpAlSecondo = 500;
constexpr double kRighePtyAlSecondo = 300;
constexpr double kCpuInAttesaPercento = 5;
constexpr int kAttesaSilenzioMs = 3000;

class SempreSi : public platform::Prompts {
 public:
  platform::Answer ask(const platform::Question&) override { return platform::Answer::Yes; }
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
  void showAndWait(const QString& percorso) override { mostrati << percorso; }
  QStringList mostrati;
};

double cpuSecondi(int chi = RUSAGE_SELF) {
  rusage uso{};
  getrusage(chi, &uso);
  return uso.ru_utime.tv_sec + uso.ru_stime.tv_sec +
         (uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

struct Misura {
  double secondi = 0;
  double cpu = 0;
};

template <typename F>
Misura misura(F&& f) {
  QElapsedTimer timer;
  timer.start();
  const double cpu = cpuSecondi();
  f();
  return {timer.nsecsElapsed() / 1e9, cpuSecondi() - cpu};
}

// A shop folder whose register 1 is `indirizzo`, and the program's link to it.
class Negozio {
 public:
  Negozio(platform::db::Database& db, const QString& indirizzo, PorteUdp porte = {}) {
    VarGlobali& g = Globali();
    g = VarGlobali{};
    g.CartellaProgramma = cartella_.path();
    g.PercorsoSetup = cartella_.filePath(QStringLiteral("Setup.ini"));
    (indirizzo.contains(u'.') ? g.IndirizzoRete : g.RegCassa.porta) = indirizzo;
    cassa_ = CasseConfigurate(g).front();
    collegamento_ = std::make_unique<CollegamentoCasse>(CollegamentoCasse::Ambiente{
        db, prompts_, notice_, clock_, visualizzatore_, g.CartellaProgramma, g.PercorsoSetup,
        [] { std::exit(3); }, porte});
    record_ =
        std::make_unique<RecordPlu>(db, g.CartellaProgramma, notice_, prompts_, clock_, false);
  }

  void preparaFile() {
    record_->PreparaTabxInvio(false);
    record_->ScriviFilePLU(cassa_.chiave);
  }
  bool invia() {
    collegamento_->trasporto().iniziaLavoro();
    return collegamento_->driver().EsameComandi(record_->PercorsoFilePLU(cassa_.chiave),
                                                cassa_.indirizzo);
  }
  // One enquiry that nobody answers, waited for as the driver waits.
  bool attendiAck() {
    TrasportoRegistratore& t = collegamento_->trasporto();
    t.iniziaLavoro();
    t.cmdInitCom(cassa_.indirizzo);
    return t.attendi([&t] { return t.risposta().Stato == u"ACK"; }, kAttesaSilenzioMs);
  }
  int nonTrasmessiMostrati() const { return visualizzatore_.mostrati.size(); }

 private:
  QTemporaryDir cartella_;
  SempreSi prompts_;
  Muto notice_;
  platform::QtClock clock_;
  NessunVisualizzatore visualizzatore_;
  CassaConfigurata cassa_;
  std::unique_ptr<CollegamentoCasse> collegamento_;
  std::unique_ptr<RecordPlu> record_;
};

QString numero(double valore, int decimali) { return QString::number(valore, 'f', decimali); }

struct Linea {
  QString nome;
  bool rete;
};

// The same file to an answering register, then one enquiry to a silent one.
bool provaLinea(QTextStream& out, platform::db::Database& db, int righe, const Linea& linea,
                double obiettivo) {
  const quint16 portaSimulatore = portaLibera();
  const PorteUdp porte{portaSimulatore, portaLibera()};
  const QString udp = QStringLiteral("127.0.0.1:%1").arg(portaSimulatore);
  const QStringList argomenti = linea.rete ? QStringList{"--udp", udp} : QStringList{"--pty"};

  bool riuscito = false;
  int ricevuti = 0;
  bool mostrati = false;
  Misura invio;
  // The simulator's share, counted once it has ended.
  const double cpuFigli = cpuSecondi(RUSAGE_CHILDREN);
  {
    Simulatore simulatore(argomenti);
    Negozio negozio(db, linea.rete ? QStringLiteral("127.0.0.1") : simulatore.linea, porte);
    negozio.preparaFile();
    invio = misura([&] { riuscito = negozio.invia(); });
    ricevuti = simulatore.ferma();
    mostrati = negozio.nonTrasmessiMostrati() > 0;
  }
  const double cpuSimulatore = cpuSecondi(RUSAGE_CHILDREN) - cpuFigli;
  Misura attesa;
  bool risposto = true;
  {
    Simulatore silenzioso(argomenti + QStringList{"--silenzioso"});
    Negozio negozio(db, linea.rete ? QStringLiteral("127.0.0.1") : silenzioso.linea, porte);
    attesa = misura([&] { risposto = negozio.attendiAck(); });
  }

  const double alSecondo = righe / invio.secondi;
  const double cpuAttesa = 100 * attesa.cpu / attesa.secondi;
  out << linea.nome << ":\n"
      << "  lines sent:                " << righe << " in " << numero(invio.secondi, 2)
      << " s, simulator received " << ricevuti << (riuscito && !mostrati ? "" : " (FAILED)") << "\n"
      << "  lines per second:          " << numero(alSecondo, 0) << " (target " << obiettivo
      << ")\n"
      << "  program CPU per line:      " << numero(invio.cpu / righe * 1e6, 1) << " us ("
      << numero(100 * invio.cpu / invio.secondi, 1) << "% of wall)\n"
      << "  simulator CPU per line:    " << numero(cpuSimulatore / righe * 1e6, 1) << " us\n"
      << "  silent register, 3 s wait: " << numero(attesa.cpu * 1e3, 2) << " ms CPU in "
      << numero(attesa.secondi, 2) << " s = " << numero(cpuAttesa, 3) << "% (target < "
      << kCpuInAttesaPercento << "%)" << (risposto ? " (ANSWERED?)" : "") << "\n"
      << Qt::flush;
  return riuscito && !mostrati && ricevuti == righe && alSecondo >= obiettivo &&
         cpuAttesa < kCpuInAttesaPercento && !risposto;
}

void provaPreparazione(QTextStream& out, int prodotti) {
  QTemporaryDir cartella;
  auto db = ApriDatabase(cartella.filePath(QStringLiteral("DbNegozio.mdb")));
  RiempiArchivioDiProva(*db, prodotti);
  SempreSi prompts;
  Muto notice;
  platform::QtClock clock;
  RecordPlu record(*db, cartella.path(), notice, prompts, clock, false);
  const Misura preparazione = misura([&] { record.PreparaTabxInvio(false); });
  const Misura scrittura = misura([&] { record.ScriviFilePLU(QStringLiteral("1")); });
  const double perProdotto = (preparazione.secondi + scrittura.secondi) / prodotti;
  out << "PLU file for " << prodotti << " products:\n"
      << "  PreparaTabxInvio:          " << numero(preparazione.secondi, 3) << " s\n"
      << "  ScriviFilePLU:             " << numero(scrittura.secondi, 3) << " s\n"
      << "  per product:               " << numero(perProdotto * 1e6, 1) << " us\n"
      << "  100,000 products at that:  " << numero(perProdotto * 100000, 2)
      << " s (extrapolated: the register numbers at most "
      << RecordPlu::kUltimoPlu - RecordPlu::kPrimoPlu + 1 << " PLUs per run)\n"
      << Qt::flush;
}

// A serial line that hands over whatever it is given, for the receive handler alone.
class LineaFinta : public platform::SerialPort {
 public:
  bool open(const QString&, const QString&, platform::FlowControl) override { return true; }
  void close() override {}
  bool isOpen() const override { return true; }
  qint64 write(const QByteArray& byte) override { return byte.size(); }
  QByteArray readAll() override { return std::exchange(inArrivo, {}); }
  QString errorText() const override { return {}; }
  void arriva(const QByteArray& byte) {
    inArrivo = byte;
    emit bytesArrived();
  }
  QByteArray inArrivo;
};

class ReteAssente : public platform::UdpEndpoint {
 public:
  bool open(const QString&, quint16, quint16) override { return false; }
  void close() override {}
  bool isOpen() const override { return false; }
  qint64 send(const QByteArray&) override { return -1; }
};

// 10 MB of junk inside a frame that never ends, in reads of 4 KB, then one good answer.
void provaRumore(QTextStream& out) {
  constexpr int kMegabyte = 10;
  QTemporaryDir cartella;
  platform::QtClock clock;
  LogDriver log(cartella.path(), clock);
  LineaFinta linea;
  ReteAssente rete;
  TrasportoRegistratore trasporto(linea, rete, log);
  const QByteArray blocco(4096, 'x');
  const Misura rumore = misura([&] {
    linea.arriva(QByteArray(1, '\x02'));
    for (int i = 0; i < kMegabyte * 256; ++i) linea.arriva(blocco);
    linea.arriva(
        QByteArray("\x02"
                   "00/00/0026\x03"));
  });
  out << "serial receive, " << kMegabyte << " MB of junk then an answer:\n"
      << "  CPU:                       " << numero(rumore.cpu, 2) << " s, buffer left "
      << trasporto.BufferRicezione().size() << " bytes, answer "
      << (trasporto.risposta().riuscita() ? "taken" : "LOST") << "\n"
      << Qt::flush;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int righe = argc > 1 ? QString(argv[1]).toInt() : 10000;
  const int prodotti = argc > 2 ? QString(argv[2]).toInt() : 30000;
  QTextStream out(stdout);

  QTemporaryDir cartella;
  auto db = ApriDatabase(cartella.filePath(QStringLiteral("DbNegozio.mdb")));
  RiempiArchivioDiProva(*db, righe);
  bool obiettivi = provaLinea(out, *db, righe, {"UDP loopback", true}, kRigheUdpAlSecondo);
  obiettivi =
      provaLinea(out, *db, righe, {"pseudo-terminal", false}, kRighePtyAlSecondo) && obiettivi;
  provaPreparazione(out, prodotti);
  provaRumore(out);
  Globali() = VarGlobali{};
  out << (obiettivi ? "all targets met" : "TARGET MISSED") << Qt::endl;
  return obiettivi ? 0 : 1;
}
