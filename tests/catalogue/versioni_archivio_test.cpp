// Stores written by earlier versions of the program come through an upgrade with every row and
// value as they were; a store of a newer version is refused and left as it is; any store stays a
// plain SQLite file the stock tool can check, vacuum and reindex.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "catalogue/ricerche_archivio.h"
#include "catalogue/versione_archivio.h"
#include "platform/db/database.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;

QString fixture(const char* nome) { return QStringLiteral(LISTINOVA_ARCHIVI_PROVA "/") + nome; }

// The stock tool, which knows nothing of this program: what it reads is what the file holds.
QString sqlite3Tool(const QString& file, const QString& comando) {
  QProcess tool;
  tool.start("sqlite3", {file, comando});
  if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
    return "sqlite3 non riuscito: " + QString::fromUtf8(tool.readAllStandardError());
  return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// Every value of every table, with its type and every digit it is stored with.
QStringList righe(const QString& file) {
  QStringList inserimenti;
  for (const QString& riga : sqlite3Tool(file, ".dump").split('\n'))
    if (riga.startsWith("INSERT INTO") && !riga.contains("StoricoPrezzi")) inserimenti << riga;
  return inserimenti;
}

// The order the earlier program gave its text indexes: letter case folded beyond ASCII too.
int ordineDiPrima(void*, int n1, const void* p1, int n2, const void* p2) {
  return QString::fromUtf8(static_cast<const char*>(p1), n1)
      .compare(QString::fromUtf8(static_cast<const char*>(p2), n2), Qt::CaseInsensitive);
}

// Sorts the indexes as the earlier program did: the stock tool finds them out of order.
void comeLoLascioLaVersione0(const QString& file) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
  sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, ordineDiPrima);
  EXPECT_EQ(sqlite3_exec(db, "REINDEX NOCASE", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  ASSERT_NE(sqlite3Tool(file, "PRAGMA integrity_check"), "ok");
}

QString valore(Database& db, const char* istruzione) {
  auto rs = db.openRecordset(QString::fromUtf8(istruzione));
  QStringList valori;
  for (; !rs.eof(); rs.moveNext()) valori << rs.value(0).toString();
  return valori.join(',');
}

TEST(VersioniArchivio, StoresOfEveryEarlierVersionKeepEveryRowAndValue) {
  const struct {
    const char* fixture;
    int versione;
  } casi[] = {{"negozio-v0.mdb", 0}, {"negozio-v1.mdb", 1}};
  static_assert(kVersioneArchivio == 1, "a store of the new version joins this table");
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.fixture);
    QTemporaryDir dir;
    const QString archivio = dir.filePath("DbNegozio.mdb");
    ASSERT_TRUE(QFile::copy(fixture(caso.fixture), archivio));
    QFile(archivio).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(sqlite3Tool(archivio, "PRAGMA user_version"), QString::number(caso.versione));
    if (caso.versione == 0) comeLoLascioLaVersione0(archivio);
    const QStringList prima = righe(archivio);
    ASSERT_GT(prima.size(), 60);

    auto db = ApriDatabase(archivio);
    EXPECT_EQ(VersioneArchivio(*db), kVersioneArchivio);
    const QString copia = archivio + ".v" + QString::number(caso.versione);
    if (caso.versione < kVersioneArchivio) {
      EXPECT_EQ(righe(copia), prima);
      EXPECT_EQ(sqlite3Tool(copia, "PRAGMA user_version"), QString::number(caso.versione));
    } else {
      EXPECT_FALSE(QFile::exists(copia));
    }
    // The upgraded store answers as the shop expects, through the program and any tool.
    EXPECT_EQ(valore(*db, "Select CodMateriale from Magazzino where Descrizione='CAFFÈ ESPRESSO'"),
              "1");
    EXPECT_EQ(valore(*db,
                     "Select CodMateriale from Magazzino where Fornitore='àNFORA' order by "
                     "CodMateriale"),
              "2,3");
    EXPECT_EQ(valore(*db, "Select Costo from Magazzino where CodMateriale='4'"), "0.3");
    EXPECT_EQ(valore(*db, "Select Sum(Costo) AS S from Magazzino"), "1263.4078");
    EXPECT_EQ(valore(*db, "Select Count(*) AS N from prodotti where codreparto=3"), "3");
    db.reset();
    EXPECT_EQ(righe(archivio), prima);
    EXPECT_EQ(sqlite3Tool(archivio, "PRAGMA integrity_check"), "ok");

    // Opened again, nothing is left to upgrade.
    ApriDatabase(archivio).reset();
    EXPECT_EQ(QDir(dir.path()).entryList({"DbNegozio.mdb.v*"}).size(),
              caso.versione < kVersioneArchivio ? 1 : 0);
  }
}

TEST(VersioniArchivio, AStoreOfANewerVersionIsRefusedUntouched) {
  QTemporaryDir dir;
  const QString archivio = dir.filePath("DbNegozio.mdb");
  ASSERT_TRUE(QFile::copy(fixture("negozio-v1.mdb"), archivio));
  QFile(archivio).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  ASSERT_EQ(sqlite3Tool(archivio, "PRAGMA user_version=99"), "");
  const QByteArray prima = testing::readAll(archivio);
  try {
    ApriDatabase(archivio);
    FAIL() << "aperto";
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.description(),
              QStringLiteral("L'archivio \"%1\" è stato scritto da una versione più recente di "
                             "Listinova (archivio versione 99, questo programma arriva alla %2): "
                             "aggiornare Listinova per aprirlo. L'archivio non è stato modificato.")
                  .arg(archivio)
                  .arg(kVersioneArchivio));
  }
  EXPECT_EQ(testing::readAll(archivio), prima);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"DbNegozio.mdb"});
}

// The store is a plain SQLite file: the stock sqlite3 tool finds it sound, and after that tool
// vacuums or reindexes it the program gets the same answers as before.
const char* const kDescrizioni[] = {
    "Caffè", "CAFFÈ D'ORZO", "caffè lungo", "Éclair", "éclair", "Zucchero", "zucchero di canna",
    "Ärger", "ÀNFORA",       "àncora",      "Òrzo",   "orzo",   "Città",    "CITTÀ ALTA",
    "ZUPPA", "zuppa",        "Ünterberg",   "über",   "ÈCCOLO", "eccolo"};

void riempi(testing::NegozioDiProva& negozio) {
  Database::Transaction t(*negozio.db);
  negozio.reparto(2, "Città").reparto(3, "CAFFÈ");
  int codice = 1;
  // Enough rows for every index to spread over many pages.
  for (int giro = 0; giro < 60; ++giro)
    for (const char* d : kDescrizioni) {
      negozio.prodotto({.cod = QString::number(codice),
                        .descrizione = QString::fromUtf8(d) +
                                       (giro ? QStringLiteral(" %1").arg(giro) : QString()),
                        .barCode = QStringLiteral("80%1").arg(codice, 11, 10, QChar('0')),
                        .genere = codice % 2 ? "Città" : "CAFFÈ",
                        .costo = "0,1",
                        .fornitore = QString::fromUtf8(d).toUpper()});
      ++codice;
    }
  t.commit();
}

// Every look-up the program makes of its products, answered as text.
QStringList risposte(Database& db) {
  const char* const ricerche[] = {
      "Select CodMateriale from Magazzino where Descrizione='CAFFÈ' order by CodMateriale",
      "Select CodMateriale from Magazzino where Descrizione='éclair 7' order by CodMateriale",
      "Select CodMateriale from Magazzino where Descrizione='zuppa 3' order by CodMateriale",
      "Select CodMateriale from Magazzino where Descrizione>='ZUPPA' and Descrizione<'ZZ' order by "
      "CodMateriale",
      "Select CodMateriale from Magazzino order by Descrizione, CodMateriale",
      "Select CodMateriale from Magazzino where BarCode='8000000000777'",
      "Select Descrizione from Magazzino where CodMateriale='1111'",
      "Select Descrizione from Magazzino where CodMateriale=1111",
      "Select CodMateriale from Magazzino where Descrizione like '*orzo 1#' order by CodMateriale",
      "Select CodMateriale from Magazzino where Genere='città' order by CodMateriale",
      "Select DISTINCT Fornitore from Magazzino where Fornitore='ÀNFORA'",
      "select Max(CLng([CodMateriale])) AS CodMat from Magazzino",
      "Select Sum(Costo) AS Totale from Magazzino",
      "Select Count(*) AS N from prodotti where codreparto=3",
  };
  QStringList tutte;
  for (const char* ricerca : ricerche) {
    auto righe = db.openRecordset(QString::fromUtf8(ricerca));
    QStringList valori;
    for (; !righe.eof(); righe.moveNext()) valori << righe.value(0).toString();
    tutte << QString::fromUtf8(ricerca) + " -> " + valori.join(',');
  }
  tutte << "TrovaCodiceRep -> " + TrovaCodiceRep(db, QString::fromUtf8("CITTÀ"));
  return tutte;
}

TEST(ArchivioStandard, TheStockToolChecksVacuumsAndReindexesWithoutChangingAnAnswer) {
  testing::NegozioDiProva negozio;
  const QString percorso = negozio.percorsoArchivio();
  riempi(negozio);
  const QStringList prima = risposte(*negozio.db);
  negozio.chiudi();
  // The answers are the ones the shop expects, not merely stable ones.
  EXPECT_TRUE(prima[0].endsWith("-> 1")) << prima[0].toStdString();
  EXPECT_TRUE(prima[1].endsWith("-> 144,145")) << prima[1].toStdString();
  EXPECT_EQ(prima[9].count(','), 599);  // the 600 products of "Città", whatever the case
  EXPECT_TRUE(prima[13].endsWith("-> 600")) << prima[13].toStdString();
  EXPECT_EQ(prima.last(), "TrovaCodiceRep -> 2");

  EXPECT_EQ(sqlite3Tool(percorso, "PRAGMA integrity_check"), "ok");
  for (const char* lavoro : {"VACUUM", "REINDEX"}) {
    SCOPED_TRACE(lavoro);
    EXPECT_EQ(sqlite3Tool(percorso, lavoro), "");
    EXPECT_EQ(sqlite3Tool(percorso, "PRAGMA integrity_check"), "ok");
    auto db = ApriDatabase(percorso);
    EXPECT_EQ(risposte(*db), prima);
  }
}

}  // namespace
}  // namespace listinova
