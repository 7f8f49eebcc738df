// The store with 100,000 products: opening it, the new-code query, a description search and
// a whole-table update. Prints the figures.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include "bench/archivio_di_prova.h"
#include "catalogue/apri_database.h"
#include "catalogue/ricerche_archivio.h"
#include "platform/db/database.h"

using listinova::ApriDatabase;
using listinova::platform::db::Database;

namespace {

constexpr int kProdotti = 100000;

template <typename F>
double millisecondi(F&& f) {
  QElapsedTimer timer;
  timer.start();
  f();
  return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTemporaryDir dir;
  const QString percorso = dir.filePath("Dati/DbNegozio.mdb");
  {
    auto db = ApriDatabase(percorso);
    out << "riempimento di " << kProdotti
        << " prodotti: " << millisecondi([&] { RiempiArchivioDiProva(*db, kProdotti); }) << " ms"
        << Qt::endl;
  }
  std::unique_ptr<Database> db;
  out << "apertura dell'archivio: " << millisecondi([&] { db = ApriDatabase(percorso); }) << " ms"
      << Qt::endl;
  QString codice;
  out << "select Max(CLng([CodMateriale])): "
      << millisecondi([&] { codice = listinova::NuovoCodiceMateriale(*db); })
      << " ms (nuovo codice " << codice << ")" << Qt::endl;
  int trovati = 0;
  out << "ricerca Descrizione like 'CAFFE 1*': " << millisecondi([&] {
    trovati = db->openRecordset(
                    "Select * From Magazzino where Descrizione like 'CAFFE 1*' order by "
                    "descrizione")
                  .recordCount();
  }) << " ms ("
      << trovati << " righe)" << Qt::endl;
  int tutte = 0;
  out << "lettura di tutto l'archivio (Select * from Magazzino): "
      << millisecondi([&] { tutte = db->openRecordset("Select * from Magazzino").recordCount(); })
      << " ms (" << tutte << " righe)" << Qt::endl;
  int cambiate = 0;
  out << "UPDATE Magazzino SET Magazzino.Modificato = -1 su tutto l'archivio: "
      << millisecondi(
             [&] { cambiate = db->execute("UPDATE Magazzino SET Magazzino.Modificato =-1"); })
      << " ms (" << cambiate << " righe)" << Qt::endl;
  return 0;
}
