// Every file the program writes is whole or absent: each job, run as the shop runs it, writes
// its file on a sound disk; on a full disk and in a read-only folder, fails with the real cause and
// leaves no partial file and the previous file as it was; a backup killed at any moment leaves no
// broken PLU_BCK.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cmath>
#include <csignal>

#include "startup/lavoro_non_avviato.h"
#include "support/disco_montato.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "tests/printing/fogli_scritti.h"

namespace listinova {
namespace {

constexpr int kProdotti = 600;

using testing::NegozioDiProva;

struct Esito {
  int stato = -1;
  QString testo;  // standard output and error together
};

// The program run on `negozio`, as a nightly job would run it: without a display.
QProcessEnvironment Ambiente(const QString& negozio) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LISTINOVA_CARTELLA", negozio);
  env.remove("DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  return env;
}

Esito Esegui(const QString& negozio, const QStringList& argomenti) {
  QProcess p;
  p.setProcessEnvironment(Ambiente(negozio));
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(LISTINOVA_BINARY, argomenti);
  if (!p.waitForFinished(120000)) return {};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAll())};
}

QString Sqlite(const QString& file, const QString& comando) {
  QProcess tool;
  tool.start("sqlite3", {file, comando});
  if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
    return "sqlite3 non riuscito: " + QString::fromUtf8(tool.readAllStandardError());
  return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// The scheduled jobs on a sound disk: each writes its file, or refuses with its status.
TEST(FileInteri, JobsWriteTheirFileOrRefuse) {
  NegozioDiProva negozio;
  negozio.prodotti(5).vendita("8000000000001", 2, QDate(2026, 5, 4)).chiudi();
  const QString u = negozio.file("uscita");
  ASSERT_TRUE(QDir().mkpath(u));
  const struct {
    QStringList argomenti;
    int stato;
    size_t fogli = 0;  // of the workbook written
  } casi[] = {
      {{"esporta", "magazzino", u + "/mag"}, 0, 2},
      {{"esporta", "vendite", "--dal", "01/01/2026", "--al", "31/12/2026", u + "/v.xlsx"}, 0, 1},
      {{"esporta", "vendite", u + "/senza_periodo.xlsx"}, 2},
      {{"esporta", "listino", u + "/x.xlsx"}, 2},
      {{"stampa", "magazzino", u + "/mag.pdf"}, 0},
      {{"stampa", "magazzino", u + "/manca/mag.pdf"}, 1},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.argomenti.join(' ').toStdString());
    const Esito esito = Esegui(negozio.cartella.root(), caso.argomenti);
    EXPECT_EQ(esito.stato, caso.stato) << esito.testo.toStdString();
    if (caso.fogli > 0) {
      const QString file = caso.argomenti.last();
      EXPECT_EQ(testing::FogliScritti(file.endsWith(".xlsx") ? file : file + ".xlsx").size(),
                caso.fogli);
    }
  }
  EXPECT_EQ(QDir(u).entryList(QDir::Files), (QStringList{"mag.pdf", "mag.xlsx", "v.xlsx"}));
}

struct Lavoro {
  const char* nome;
  QStringList argomenti;     // "%1" is the folder the job writes in
  const char* file;          // what the job writes in its folder; none: a new folder each time
  bool negozioSulDisco;      // the job writes into the shop folder itself
  int liberiKib;             // room left on the "full" disk
  const char* causaPieno;    // the words of a full disk
  int statoSolaLettura = 1;  // a shop folder that takes no write does not even start
};

// clang-format off
const Lavoro kLavori[] = {
    {"stampa", {"stampa", "magazzino", "%1/giacenze.pdf"}, "giacenze.pdf", false, 4, "Spazio su disco esaurito in"},
    {"etichette", {"etichette", "%1/etichette.pdf"}, "etichette.pdf", false, 4, "Spazio su disco esaurito in"},
    {"esporta", {"esporta", "magazzino", "%1/magazzino.xlsx"}, "magazzino.xlsx", false, 4, "Spazio su disco esaurito in"},
    // Below its free-space floor the backup is refused before a byte is written.
    {"salva", {"salva", "%1"}, nullptr, false, 4, "Spazio NON sufficiente"},
    {"invia", {"invia", "--si"}, "FilePLU1.txt", true, 48, "Spazio su disco esaurito in", kUscitaAvvioNonRiuscito},
};
// clang-format on

TEST(FileInteri, EveryJobOnAFullDiskOrAReadOnlyFolderFailsWithItsCauseAndLeavesNoPartialFile) {
  for (const Lavoro& lavoro : kLavori) {
    for (const bool pieno : {true, false}) {
      SCOPED_TRACE(std::string(lavoro.nome) + (pieno ? " su disco pieno" : " in sola lettura"));
      NegozioDiProva negozio;
      negozio.prodotti(kProdotti).setup("RegCassa", "PortaCOM", "1").chiudi();
      testing::DiscoMontato disco(negozio.file("disco"), 8192);
      if (!disco.montato()) {
        GTEST_SKIP() << "serve un file system montato dal test (root)";
      }
      // A job that writes into the shop folder runs on a copy of the shop on the small disk.
      QString cartella = negozio.cartella.root();
      if (lavoro.negozioSulDisco) {
        cartella = negozio.file("disco/negozio");
        ASSERT_TRUE(QDir().mkpath(cartella + "/Dati"));
        ASSERT_TRUE(QFile::copy(negozio.percorsoArchivio(), cartella + "/Dati/DbNegozio.mdb"));
        ASSERT_TRUE(QFile::copy(negozio.cartella.setup(), cartella + "/Setup.ini"));
      }
      const QString uscita = lavoro.negozioSulDisco ? cartella : negozio.file("disco");
      // The previous file is there and stays as it was.
      const QByteArray precedente = "versione precedente\r\n";
      const QString file = uscita + "/" + lavoro.file;
      ASSERT_TRUE(!lavoro.file || testing::writeAll(file, precedente));
      const auto voci = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
      const QStringList primaDelGuasto = QDir(uscita).entryList(voci);
      if (pieno)
        disco.riempi(lavoro.liberiKib);
      else
        ASSERT_TRUE(disco.soloLettura());

      const Esito esito =
          Esegui(cartella, QStringList(lavoro.argomenti).replaceInStrings("%1", uscita));

      const char* causa = pieno ? lavoro.causaPieno : "in sola lettura";
      EXPECT_EQ(esito.stato, pieno ? 1 : lavoro.statoSolaLettura) << esito.testo.toStdString();
      EXPECT_TRUE(esito.testo.contains(causa)) << esito.testo.toStdString();
      for (const char* interno : {".parziale", "-in-corso-", "Zip", "Nessun dato"})
        EXPECT_FALSE(esito.testo.contains(interno)) << esito.testo.toStdString();
      QStringList dopo = QDir(uscita).entryList(voci);
      dopo.removeAll("riempitivo");
      dopo.removeAll("listinova.lock");
      EXPECT_EQ(dopo, primaDelGuasto);
      EXPECT_EQ(lavoro.file ? testing::readAll(file) : precedente, precedente);
      // The cause is in the error log too, wherever the log could be written.
      const QString registro =
          QString::fromUtf8(testing::readAll(negozio.file("Dati/ErrorLog.dat")));
      EXPECT_TRUE(lavoro.negozioSulDisco || !lavoro.file || registro.contains(causa));
    }
  }
}

// The backup killed at ever later moments: whatever PLU_BCK folder exists holds a sound store
// with every product, and the next backup clears what the killed ones left.
TEST(FileInteri, ABackupKilledAtAnyMomentLeavesNoBrokenBackup) {
  constexpr int kMolti = 20000;
  NegozioDiProva negozio;
  negozio.prodotti(kMolti).chiudi();
  const QString uscita = negozio.file("copie");
  // A big file beside the store widens the window in which the copy is half done.
  ASSERT_TRUE(testing::writeAll(negozio.file("Dati/allegato.bin"), QByteArray(16 << 20, 'a')));
  QDir().mkpath(uscita);
  int interrotti = 0;
  bool finito = false;
  for (int attesaMs = 10; !finito && attesaMs < 5000; attesaMs += 10 + attesaMs / 5) {
    SCOPED_TRACE(attesaMs);
    QProcess salva;
    salva.setProcessEnvironment(Ambiente(negozio.cartella.root()));
    salva.start(LISTINOVA_BINARY, {"salva", uscita});
    ASSERT_TRUE(salva.waitForStarted());
    finito = salva.waitForFinished(attesaMs) && salva.exitCode() == 0;
    if (!finito) {
      ::kill(pid_t(salva.processId()), SIGKILL);
      salva.waitForFinished(10000);
      ++interrotti;
    }
    for (const QString& copia : QDir(uscita).entryList({"PLU_BCK*"}, QDir::Dirs)) {
      const QString archivio = uscita + "/" + copia + "/Dati/DbNegozio.mdb";
      ASSERT_TRUE(QFile::exists(archivio)) << copia.toStdString();
      EXPECT_FALSE(QFile::exists(archivio + "-journal")) << copia.toStdString();
      EXPECT_EQ(Sqlite(archivio, "PRAGMA integrity_check"), "ok");
      EXPECT_EQ(Sqlite(archivio, "SELECT count(*) FROM Magazzino"), QString::number(kMolti));
      EXPECT_EQ(QFileInfo(uscita + "/" + copia + "/Dati/allegato.bin").size(), 16 << 20);
    }
  }
  EXPECT_TRUE(finito);
  EXPECT_GT(interrotti, 3);
  EXPECT_TRUE(QDir(uscita).entryList({".PLU_BCK*"}, QDir::Dirs | QDir::Hidden).isEmpty());
}

// A store dumped and reloaded by the stock sqlite3 tool (".dump" drops the version number and
// nothing else) is recognised as current, marked, and neither copied aside nor rebuilt; its
// export's totals sheet holds the exact sums of quantity times amount (seven decimals each),
// not sums cut to four decimals.
TEST(FileInteri, ADumpedStoreIsCurrentAndItsTotalsSheetHoldsTheExactSums) {
  // Exact totals in ten-millionths: quantities have three decimals, amounts four.
  NegozioDiProva negozio;
  __int128 vendita = 0, acquisto = 0;
  platform::db::Database::Transaction insieme(*negozio.db);
  for (int i = 1; i <= 3000; ++i) {
    const int q = 1000 + (i % 50) * 125 + i % 7;  // thousandths
    const int c = 12345 + (i % 300) * 101;        // ten-thousandths
    const int c2 = 3 + (i % 211) * 77;
    vendita += __int128(q) * c;
    acquisto += __int128(q) * c2;
    negozio.prodotto({.cod = QString::number(i),
                      .quantita = q / 1000.0,
                      .costo = QString::number(c / 10000.0, 'f', 4).replace('.', ','),
                      .costo2 = QString::number(c2 / 10000.0, 'f', 4).replace('.', ',')});
  }
  insieme.commit();
  negozio.chiudi();
  const QString archivio = negozio.percorsoArchivio();
  const QString prima =
      Sqlite(archivio, "SELECT group_concat(Descrizione || Costo) FROM Magazzino");
  ASSERT_TRUE(testing::writeAll(negozio.file("dump.sql"), Sqlite(archivio, ".dump").toUtf8()));
  for (const char* resto : {"", "-wal", "-shm"}) QFile::remove(archivio + resto);
  ASSERT_EQ(Sqlite(archivio, ".read " + negozio.file("dump.sql")), "");
  ASSERT_EQ(Sqlite(archivio, "PRAGMA user_version"), "0");

  const Esito esito =
      Esegui(negozio.cartella.root(), {"esporta", "magazzino", negozio.file("m.xlsx")});

  ASSERT_EQ(esito.stato, 0) << esito.testo.toStdString();
  EXPECT_EQ(Sqlite(archivio, "PRAGMA user_version"), "1");
  EXPECT_TRUE(QDir(negozio.file("Dati")).entryList({"DbNegozio.mdb.v*"}).isEmpty());
  EXPECT_FALSE(QString::fromUtf8(testing::readAll(negozio.file("Dati/ErrorLog.dat")))
                   .contains("Archivio aggiornato"));
  EXPECT_EQ(Sqlite(archivio, "SELECT group_concat(Descrizione || Costo) FROM Magazzino"), prima);

  const auto comeNumero = [](__int128 decimilionesimi) {
    return QString("%1.%2")
        .arg(static_cast<long long>(decimilionesimi / 10000000))
        .arg(static_cast<long long>(decimilionesimi % 10000000), 7, 10, QChar('0'))
        .toDouble();
  };
  // The sheet keeps 16 significant digits; four decimals would be far off.
  const auto esatto = [](double cella, double atteso) {
    return std::fabs(cella - atteso) <= std::fabs(atteso) * 1e-15;
  };
  ASSERT_FALSE(esatto(std::round(comeNumero(vendita) * 1e4) / 1e4, comeNumero(vendita)));
  const auto fogli = testing::FogliScritti(negozio.file("m.xlsx"));
  ASSERT_EQ(fogli.size(), 2u);
  const QStringList totali = fogli[1].second.at(1);
  const __int128 attesi[] = {acquisto, vendita, vendita - acquisto};
  for (int colonna = 0; colonna < 3; ++colonna)
    EXPECT_TRUE(esatto(totali.value(colonna).toDouble(), comeNumero(attesi[colonna])))
        << colonna << ": " << totali.value(colonna).toStdString() << " invece di "
        << QString::number(comeNumero(attesi[colonna]), 'f', 8).toStdString();
}

}  // namespace
}  // namespace listinova
