// Shelf labels: laying out and drawing 1,000 labels (3 x 8 on A4) to a PDF file, and one
// preview page as a picture.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include "bench/archivio_di_prova.h"
#include "catalogue/apri_database.h"
#include "printing/configura_etichette.h"
#include "printing/easy_print.h"
#include "printing/stampante_etichette.h"

namespace {

constexpr int kEtichette = 1000;
constexpr int kRipetizioni = 3;

}  // namespace

int main(int argc, char** argv) {
  using namespace listinova;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTextStream out(stdout);
  QTemporaryDir dir;
  auto db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
  RiempiArchivioDiProva(*db, kEtichette);

  LayoutEtichetta layout = LayoutEtichetta::progettato();
  layout.testi[kCodiceBarre].top = 600;
  ImpostaDidascalie(layout, {"Bottega", "Vero", {true, false}, {}}, kContestoToolbar);
  double migliore = 1e300;
  int pagine = 0;
  qint64 byte = 0;
  for (int i = 0; i < kRipetizioni; ++i) {
    const QString pdf = dir.filePath(QString("etichette%1.pdf").arg(i));
    QElapsedTimer timer;
    timer.start();
    auto stampante = StampanteEtichette::suPdf(pdf);
    EasyPrint motore(*stampante);
    motore.setOpzioniCodice({true, false});
    motore.setSelezione(
        [&](const QString& contesto) { return SelezionaProdotti(*db, "Vero", contesto, {}); });
    ConfiguraMotore(motore, layout, {"3", "8"});
    pagine = motore.Pages();
    if (!motore.PrintDoc(1, pagine, 0)) {
      out << "stampa non riuscita\n";
      return 1;
    }
    migliore = std::min(migliore, timer.nsecsElapsed() / 1e9);
    byte = QFileInfo(pdf).size();
  }
  out << "etichette: " << kEtichette << " su " << pagine << " pagine A4, PDF di " << byte / 1024
      << " KiB\n";
  out << "  migliore di " << kRipetizioni << ": " << QString::number(migliore, 'f', 2) << " s, "
      << QString::number(pagine / migliore, 'f', 1) << " pagine/s, "
      << QString::number(kEtichette / migliore, 'f', 0) << " etichette/s\n";

  auto stampante = StampanteEtichette::suPdf(dir.filePath("anteprima.pdf"));
  EasyPrint motore(*stampante);
  motore.setOpzioniCodice({true, false});
  motore.setSelezione([&](const QString& c) { return SelezionaProdotti(*db, "Vero", c, {}); });
  ConfiguraMotore(motore, layout, {"3", "8"});
  QElapsedTimer timer;
  timer.start();
  const QImage pagina = ImmagineDellaPagina(motore, 1, 96);
  out << "anteprima: una pagina a 96 dpi (" << pagina.width() << " x " << pagina.height() << ") in "
      << QString::number(timer.nsecsElapsed() / 1e6, 'f', 1) << " ms\n";
  return 0;
}
