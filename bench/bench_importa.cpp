// The imports on large files, each run in a child process of its own so that its CPU time and
// peak memory are its alone: a 100,000-line delimited text (beside the stock sqlite3 shell
// importing the same lines into a table with two indexes), a 50,000-row .xlsx updating an
// archive of 50,000 products, an A file of 50,000 article records, and with --grande a
// 2,000,000-line text and a 1 GB file of zero bytes. Prints the figures beside those of the
// code before the imports were made to stream (measured on the same machine with that code's
// own benchmark; the peaks of the large files are those first seen in the shop).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <functional>

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
constexpr int kRigheGrandi = 2000000;
constexpr qint64 kByteZero = 1024LL * 1024 * 1024;

struct Misura {
  double cpuMs = 0;
  double muroMs = 0;
  double piccoMb = 0;
};

double ms(const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; }

// Runs `lavoro` in a child process; its CPU (user + system), wall time and peak memory.
Misura inFiglio(const std::function<void()>& lavoro) {
  QElapsedTimer muro;
  muro.start();
  std::fflush(stdout);
  const pid_t figlio = fork();
  if (figlio == 0) {
    lavoro();
    std::fflush(stdout);
    _exit(0);
  }
  int stato = 0;
  rusage uso{};
  wait4(figlio, &stato, 0, &uso);
  return {ms(uso.ru_utime) + ms(uso.ru_stime), muro.nsecsElapsed() / 1e6, uso.ru_maxrss / 1024.0};
}

// The stock sqlite3 shell importing the file into a table with two indexes.
Misura sqlite3Shell(const QString& cartella, const QString& file) {
  const QString script = cartella + "/importa.sql";
  QFile s(script);
  if (s.open(QIODevice::WriteOnly))
    s.write(
        "CREATE TABLE t(a,b,c,barcode,descrizione,reparto,x1,x2,x3,prezzo,x4,q);\n"
        "CREATE INDEX t_barcode ON t(barcode);\nCREATE INDEX t_descrizione ON "
        "t(descrizione);\n.mode csv\n.separator ;\n.import '" +
        file.toUtf8() + "' t\n");
  s.close();
  const QByteArray db = (cartella + "/shell.db").toUtf8();
  const QByteArray ingresso = script.toUtf8();
  return inFiglio([&] {
    if (!freopen(ingresso.constData(), "r", stdin)) _exit(1);
    execlp("sqlite3", "sqlite3", db.constData(), static_cast<char*>(nullptr));
    _exit(1);
  });
}

void scrivi(const QString& percorso, const QByteArray& contenuto) {
  QFile file(percorso);
  if (file.open(QIODevice::WriteOnly)) file.write(contenuto);
}

QByteArray righeDelimitate(int quante) {
  QByteArray testo;
  for (int i = 1; i <= quante; ++i)
    testo += "A;B;C;" + QByteArray::number(8000000000000LL + i) + ";PRODOTTO " +
             QByteArray::number(i) + ";" + QByteArray::number(1 + i % 40) + ";x;x;x;" +
             QByteArray::number(1 + i % 1000) + ".5;x;1\n";
  return testo;
}

void stampa(QTextStream& out, const char* nome, const Misura& m, const char* prima) {
  out << nome << ": CPU " << qRound(m.cpuMs) << " ms, tempo " << qRound(m.muroMs) << " ms, picco "
      << qRound(m.piccoMb) << " MB   [prima: " << prima << "]" << Qt::endl;
}

// Each phase opens the store afresh in its child and reports what it did.
void importaTesto(const QString& db, const QString& file) {
  auto archivio = ApriDatabase(db);
  try {
    const auto r =
        ImportaTestoDelimitato(*archivio, file, {QChar(';'), false, PredefinitePerTesto({})});
    std::printf("  %d prodotti\n", r.aggiunti);
  } catch (const ErroreImport& e) {
    std::printf("  rifiutato: %s\n", e.messaggio().left(120).toUtf8().constData());
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const bool grande = app.arguments().contains("--grande");
  QTextStream out(stdout);
  QTemporaryDir dir;
  const QString db = dir.filePath("DbNegozio.mdb");
  ApriDatabase(db);

  // The files are written by children too, so that the parent's own memory stays small: a
  // child's peak starts from what it inherits.
  inFiglio([&] { scrivi(dir.filePath("listino.txt"), righeDelimitate(kRigheTesto)); });
  const Misura testo = inFiglio([&] { importaTesto(db, dir.filePath("listino.txt")); });
  const Misura shell = sqlite3Shell(dir.path(), dir.filePath("listino.txt"));
  stampa(out, "testo delimitato, 100.000 righe", testo, "CPU 2314 ms, rapporto 11,6");
  out << "  sqlite3 (tabella con due indici): CPU " << qRound(shell.cpuMs) << " ms; rapporto "
      << QString::number(testo.cpuMs / shell.cpuMs, 'f', 1) << " (al massimo 3)" << Qt::endl;

  inFiglio([&] {
    auto archivio = ApriDatabase(db);
    archivio->execute("Delete * from Magazzino");
    RiempiArchivioDiProva(*archivio, kRigheFoglio);
  });
  inFiglio([&] {
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
  });
  const Misura xlsx = inFiglio([&] {
    auto archivio = ApriDatabase(db);
    auto cartella = platform::openWorkbook(dir.filePath("listino.xlsx"));
    const auto r = ImportaFoglio(*archivio, *cartella, PredefinitePerFoglio(), QString());
    std::printf("  %d aggiunti, %d aggiornati\n", r.aggiunti, r.aggiornati);
  });
  stampa(out, ".xlsx, 50.000 righe", xlsx, "CPU 1860 ms");

  inFiglio([&] {
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
  });
  const Misura cedi = inFiglio([&] {
    auto archivio = ApriDatabase(db);
    CatalogoCedi catalogo(*archivio);
    std::printf("  %d aggiunti\n", catalogo.DatiPLUSigma(dir.filePath("A1.txt")).aggiunti);
  });
  stampa(out, "file A, 50.000 articoli", cedi, "CPU 1488 ms");

  if (grande) {
    inFiglio([&] {
      QFile f(dir.filePath("grande.txt"));
      if (f.open(QIODevice::WriteOnly))
        for (int blocco = 0; blocco < kRigheGrandi / kRigheTesto; ++blocco)
          f.write(righeDelimitate(kRigheTesto));
    });
    const Misura grandi = inFiglio([&] { importaTesto(db, dir.filePath("grande.txt")); });
    stampa(out, "testo delimitato, 2.000.000 righe", grandi, "picco 1170 MB");
    QFile::remove(dir.filePath("grande.txt"));
    inFiglio([&] {
      QFile f(dir.filePath("zeri.txt"));
      const QByteArray zeri(1024 * 1024, '\0');
      if (f.open(QIODevice::WriteOnly))
        for (qint64 scritti = 0; scritti < kByteZero; scritti += zeri.size()) f.write(zeri);
    });
    const Misura zeri = inFiglio([&] { importaTesto(db, dir.filePath("zeri.txt")); });
    stampa(out, "1 GB di byte zero", zeri, "picco 5270 MB");
  }
  return 0;
}
