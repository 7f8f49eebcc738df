// Stock export of a big archive to .xlsx, and the stock report of the same archive to PDF.
// Run from the build folder: ./bench/bench_report [products]
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

#include "archivio_di_prova.h"
#include "catalogue/apri_database.h"
#include "platform/workbook_writer.h"
#include "printing/esportazioni.h"
#include "printing/report_anteprima.h"
#include "printing/report_archivio.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using namespace listinova;
  const int prodotti = argc > 1 ? QString(argv[1]).toInt() : 100000;
  QTemporaryDir dir;
  auto db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
  RiempiArchivioDiProva(*db, prodotti);
  QTextStream out(stdout);

  platform::XlsxWorkbookWriter scrittore;
  platform::AttachWorkbookWriter(*db, scrittore);
  const QString file = dir.filePath("magazzino.xlsx");
  QElapsedTimer t;
  t.start();
  // Wall time and the CPU time of this process: on a shared machine the second is the figure.
  auto cpuMs = [] { return std::clock() * 1000 / CLOCKS_PER_SEC; };
  std::clock_t cpu = cpuMs();
  ScriviCartellaDiLavoro(*db, scrittore, file, [](const QString& accanto) {
    return IstruzioniEsportaMagazzino(accanto, false);
  });
  out << "stock export, " << prodotti << " products: " << t.elapsed() << " ms (CPU "
      << cpuMs() - cpu << " ms), " << QFileInfo(file).size() / 1024 << " KiB" << Qt::endl;

  t.restart();
  cpu = cpuMs();
  const Money valore = RiempiRptMagazzino(*db, "Select * from Magazzino order by descrizione");
  const ModelloReport report = ReportMagazzino(*db, QDate::currentDate(), valore);
  const qint64 riempimento = t.elapsed();
  const std::clock_t cpuRiempimento = cpuMs() - cpu;
  t.restart();
  cpu = cpuMs();
  const QString pdf = dir.filePath("magazzino.pdf");
  const int pagine = SalvaReportPdf(report, pdf);
  const qint64 disegno = t.elapsed();
  const std::clock_t cpuDisegno = cpuMs() - cpu;
  out << "stock report, " << report.righe.size() << " rows: work table " << riempimento
      << " ms (CPU " << cpuRiempimento << " ms), PDF " << disegno << " ms (CPU " << cpuDisegno
      << " ms), " << pagine << " pages, " << (cpuDisegno > 0 ? pagine * 1000.0 / cpuDisegno : 0)
      << " pages per CPU second, " << QFileInfo(pdf).size() / 1024 << " KiB" << Qt::endl;
  return 0;
}
