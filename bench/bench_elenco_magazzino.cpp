// The product list over 100,000 products: the 1000-row grid for the whole archive and for a
// description search, built by the list logic alone and by the window (offscreen).
#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

#include "bench/archivio_di_prova.h"
#include "catalogue/apri_database.h"
#include "catalogue/elenco_magazzino.h"
#include "catalogue/magazzino.h"
#include "platform/db/database.h"
#include "platform/qt_clock.h"
#include "platform/qt_prompts.h"
#include "startup/frm_info.h"
#include "startup/var_globali.h"

using listinova::platform::db::Database;

namespace {

constexpr int kProdotti = 100000;
constexpr int kRipetizioni = 5;
constexpr char kTutti[] = "Select * from magazzino order by descrizione";
constexpr char kRicerca[] =
    "Select * From Magazzino where Descrizione like 'CAFFE 1*' order by descrizione";

// The CPU time of the process in milliseconds: on a busy machine it tells more than the
// clock on the wall.
double cpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Best and mean of a few runs, in milliseconds, on the wall clock and in CPU time.
template <typename F>
QString tempi(F&& f) {
  double migliore = 1e300, totale = 0, cpuMigliore = 1e300;
  for (int i = 0; i < kRipetizioni; ++i) {
    QElapsedTimer timer;
    const double cpu = cpuMs();
    timer.start();
    f();
    const double ms = timer.nsecsElapsed() / 1e6;
    migliore = std::min(migliore, ms);
    cpuMigliore = std::min(cpuMigliore, cpuMs() - cpu);
    totale += ms;
  }
  return QStringLiteral("migliore %1 ms, media %2 ms, CPU migliore %3 ms")
      .arg(migliore, 0, 'f', 1)
      .arg(totale / kRipetizioni, 0, 'f', 1)
      .arg(cpuMigliore, 0, 'f', 1);
}

// The process's peak resident memory in MB, from /proc (VmHWM).
double piccoMemoriaMb() {
  QFile stato(QStringLiteral("/proc/self/status"));
  if (!stato.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& riga : stato.readAll().split('\n'))
    if (riga.startsWith("VmHWM:"))
      return riga.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
  return -1;
}

// Starts the peak over from what the process holds now (Linux: "5" to clear_refs).
void azzeraPiccoMemoria() {
  QFile richiesta(QStringLiteral("/proc/self/clear_refs"));
  if (richiesta.open(QIODevice::WriteOnly)) richiesta.write("5");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTextStream out(stdout);
  QTemporaryDir dir;
  auto& globali = listinova::Globali();
  globali.PercorsoSetup = dir.filePath("Setup.ini");
  globali.CartellaProgramma = dir.path();
  auto db = listinova::ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
  QElapsedTimer riempimento;
  riempimento.start();
  RiempiArchivioDiProva(*db, kProdotti);
  out << kProdotti << " prodotti scritti in " << riempimento.elapsed() << " ms (picco di memoria "
      << piccoMemoriaMb() << " MB)" << Qt::endl;
  // From here on the peak is the product list's, not the writing of the test archive.
  azzeraPiccoMemoria();

  for (const char* sql : {kTutti, kRicerca}) {
    int righe = 0;
    out << "solo il recordset (lo strato dati), \"" << sql
        << "\": " << tempi([&] { righe = db->openRecordset(sql).recordCount(); }) << " (" << righe
        << " righe)" << Qt::endl;
    listinova::ElencoMagazzino elenco;
    const QString misura =
        tempi([&] { elenco = listinova::LeggiElencoMagazzino(*db, sql, false); });
    out << "righe della griglia senza finestra, \"" << sql << "\": " << misura << " ("
        << elenco.vociTrovate << " trovate, " << elenco.righe.size() << " elencate)" << Qt::endl;
  }

  listinova::platform::QtPrompts prompts;
  listinova::QtNotice notice;
  listinova::platform::QtClock clock;
  listinova::Magazzino finestra(*db, prompts, notice, clock, [] { return nullptr; });
  auto* griglia = finestra.findChild<QTreeView*>("ListMagazzino");
  const auto righe = [griglia] { return griglia->model()->rowCount(); };
  QElapsedTimer apertura;
  const double cpuApertura = cpuMs();
  apertura.start();
  finestra.show();
  while (righe() == 0 && apertura.elapsed() < 60000)
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  if (righe() == 0) {
    out << "la finestra non ha caricato la griglia" << Qt::endl;
    return 1;
  }
  out << "apertura della finestra fino alla griglia piena: " << apertura.elapsed() << " ms, CPU "
      << cpuMs() - cpuApertura << " ms" << Qt::endl;

  auto* tutti = finestra.findChild<QPushButton*>("cmdTutti");
  auto* cerca = finestra.findChild<QPushButton*>("CmdCerca");
  auto* descrizione = finestra.findChild<QLineEdit*>("Descrizione");
  auto* voci = finestra.findChild<QLabel*>("lblTotVociMaga");
  out << "griglia nella finestra, \"" << kTutti << "\" (&Tutti): " << tempi([&] {
    tutti->click();
    QApplication::processEvents();
  }) << " ("
      << voci->text() << " trovate, " << righe() << " elencate)" << Qt::endl;
  descrizione->setText("CAFFE 1");
  out << "griglia nella finestra, ricerca 'CAFFE 1' (Cerca): " << tempi([&] {
    cerca->click();
    QApplication::processEvents();
  }) << " ("
      << voci->text() << " trovate, " << righe() << " elencate)" << Qt::endl;
  struct rusage uso {};
  getrusage(RUSAGE_SELF, &uso);
  out << "picco di memoria dopo la scrittura dell'archivio: " << piccoMemoriaMb()
      << " MB; picco dell'intero processo: " << uso.ru_maxrss / 1024.0 << " MB" << Qt::endl;
  return 0;
}
