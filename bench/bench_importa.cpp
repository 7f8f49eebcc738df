// The imports on large files: a 100,000-line delimited text, a 50,000-row .xlsx updating an
// archive of 50,000 products, and an A file of 50,000 article records. Prints the figures.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

#include "bench/archivio_di_prova.h"
#include "catalogue/apri_database.h"
#include "import/catalogo_cedi.h"
#include "import/importa_foglio.h"
#include "import/importa_testo.h"
#include "platform/workbook_reader.h"
#include "tests/import/cartelle_di_prova.h"

using namespace listinova;

namespace {

constexpr int kRigheTesto = 100000;
constexpr int kRigheFoglio = 50000;
constexpr int kArticoli = 50000;

// Wall time and the process's own CPU time: on a busy machine the second is the fair figure.
template <typename F>
QString millisecondi(F&& f) {
  QElapsedTimer timer;
  const std::clock_t cpu = std::clock();
  timer.start();
  f();
  return QStringLiteral("%1 ms (CPU %2 ms)")
      .arg(timer.nsecsElapsed() / 1e6, 0, 'f', 0)
      .arg(1000.0 * (std::clock() - cpu) / CLOCKS_PER_SEC, 0, 'f', 0);
}

void scrivi(const QString& percorso, const QByteArray& contenuto) {
  QFile file(percorso);
  if (file.open(QIODevice::WriteOnly)) file.write(contenuto);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTemporaryDir dir;
  auto db = ApriDatabase(dir.filePath("DbNegozio.mdb"));

  QByteArray testo;
  for (int i = 1; i <= kRigheTesto; ++i)
    testo += "A;B;C;" + QByteArray::number(8000000000000LL + i) + ";PRODOTTO " +
             QByteArray::number(i) + ";" + QByteArray::number(1 + i % 40) + ";x;x;x;" +
             QByteArray::number(1 + i % 1000) + ".5;x;1\n";
  scrivi(dir.filePath("listino.txt"), testo);
  RiepilogoImport r;
  out << "testo delimitato, " << kRigheTesto << " righe: " << millisecondi([&] {
    r = ImportaTestoDelimitato(*db, dir.filePath("listino.txt"),
                               {QChar(';'), false, PredefinitePerTesto({})});
  }) << ", "
      << r.aggiunti << " prodotti" << Qt::endl;

  db->execute("Delete * from Magazzino");
  RiempiArchivioDiProva(*db, kRigheFoglio);
  testing::FoglioDiProva foglio{{{"titoli"}}};
  for (int i = 1; i <= kRigheFoglio; ++i) {
    // Half the rows update products already there, half add new ones.
    const qint64 barcode = 8000000000000LL + (i % 2 ? i : kRigheFoglio + i);
    std::vector<testing::CellaDiProva> riga(17);
    riga[3] = {QStringLiteral("ARTICOLO %1").arg(i)};
    riga[5] = {"3", true};
    riga[6] = {QString::number(1 + i % 500) + ".99", true};
    riga[7] = {"22", true};
    riga[8] = {QString::number(barcode), true};
    riga[13] = {"0.5", true};
    riga[14] = {QStringLiteral("F%1").arg(i)};
    riga[16] = {QStringLiteral("FORNITORE")};
    foglio.push_back(std::move(riga));
  }
  testing::ScriviXlsx(dir.filePath("listino.xlsx"), {{"PRODOTTI", foglio}});
  out << ".xlsx, " << kRigheFoglio << " righe: " << millisecondi([&] {
    auto cartella = platform::openWorkbook(dir.filePath("listino.xlsx"));
    r = ImportaFoglio(*db, *cartella, PredefinitePerFoglio(), QString());
  }) << ", "
      << r.aggiunti << " aggiunti, " << r.aggiornati << " aggiornati" << Qt::endl;

  QByteArray articoli;
  for (int i = 1; i <= kArticoli; ++i) {
    QByteArray riga(358, ' ');
    riga.replace(0, 1, i % 2 ? "M" : "N");
    riga.replace(25, 18, "ARTICOLO CATALOGO ");
    riga.replace(102, 9, QByteArray::number(i).rightJustified(9, '0'));
    riga.replace(166, 4, "0012");
    riga.replace(218, 13, "0000000001990");
    riga.replace(302, 3, "003");
    articoli += riga + "\r\n";
  }
  scrivi(dir.filePath("A1.txt"), articoli);
  CatalogoCedi catalogo(*db);
  out << "file A, " << kArticoli
      << " articoli: " << millisecondi([&] { r = catalogo.DatiPLUSigma(dir.filePath("A1.txt")); })
      << ", " << r.aggiunti << " aggiunti" << Qt::endl;
  return 0;
}
