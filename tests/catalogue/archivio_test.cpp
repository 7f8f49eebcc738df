// The shop's store as a file: one of another kind, damaged or refused by the file system is named
// for what it is and left as it was; an Access store is converted once; stores of earlier
// versions come through an upgrade with every row and value; any store stays a plain SQLite file
// the stock tool can check, vacuum and reindex.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "catalogue/ricerche_archivio.h"
#include "catalogue/versione_archivio.h"
#include "platform/db/database.h"
#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/faulty_vfs.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;
using testing::Fault;
using testing::FaultyVfs;
using testing::NegozioDiProva;

QByteArray impronta(const QString& path) {
  return QCryptographicHash::hash(testing::readAll(path), QCryptographicHash::Sha256);
}

// The description of the error the call throws, or "" when it throws none.
template <typename Azione>
QString erroreDi(Azione azione) {
  try {
    azione();
  } catch (const DatabaseError& e) {
    return e.description();
  }
  return {};
}

// The stock tool, which knows nothing of this program: what it reads is what the file holds.
QString sqlite3Tool(const QString& file, const QString& comando) {
  QProcess tool;
  tool.start("sqlite3", {file, comando});
  if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
    return "sqlite3 non riuscito: " + QString::fromUtf8(tool.readAllStandardError());
  return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// The first column of every row, comma-joined.
QString valori(Database& db, const QString& istruzione) {
  auto rs = db.openRecordset(istruzione);
  QStringList valori;
  for (; !rs.eof(); rs.moveNext()) valori << rs.value(0).toString();
  return valori.join(',');
}

class ArchivioGuasto : public ::testing::Test {
 protected:
  // A shop's store with enough products to fill many pages, closed.
  void creaArchivio() {
    negozio.prodotti(2000);
    negozio.chiudi();
  }

  NegozioDiProva negozio;
  const QString percorso = negozio.percorsoArchivio();
};

TEST_F(ArchivioGuasto, AFileOfAnotherKindIsRefusedAndLeftAlone) {
  negozio.chiudi();
  ASSERT_TRUE(testing::writeAll(percorso, "PK\x03\x04 un foglio di calcolo"));
  const QByteArray prima = impronta(percorso);
  const QString errore = erroreDi([&] { ApriDatabase(percorso); });
  EXPECT_TRUE(errore.contains(QString::fromUtf8("non è un archivio dati riconosciuto")))
      << errore.toStdString();
  EXPECT_EQ(impronta(percorso), prima);
}

// The start-up test checks the notice; here no empty file kept aside is ever overwritten.
TEST_F(ArchivioGuasto, AnEmptyFileIsKeptAsideEveryTimeWithoutOverwriting) {
  negozio.chiudi();
  const QString daParte = percorso + ".vuoto-" + QDate::currentDate().toString("yyyy-MM-dd");
  for (const QString& atteso : {daParte, daParte + ".2"}) {
    ASSERT_TRUE(QFile::remove(percorso));
    ASSERT_TRUE(testing::writeAll(percorso, ""));
    ApriDatabase(percorso).reset();
    EXPECT_TRUE(QFileInfo::exists(atteso)) << atteso.toStdString();
  }
  EXPECT_EQ(QFileInfo(daParte).size(), 0);
}

TEST_F(ArchivioGuasto, EachFileSystemRefusalHasItsOwnWords) {
  creaArchivio();
  const struct {
    Fault guasto;
    bool archivioEsistente;
    const char* parole;
  } casi[] = {
      {Fault::ReadOnlyFile, true, "è in sola lettura: il programma non può salvarvi nulla"},
      {Fault::ReadOnlyFolder, true, "La cartella"},
      {Fault::ReadOnlyFolder, false, "La cartella"},
      {Fault::DiskFull, false, "Spazio su disco esaurito in"},
  };
  for (const auto& c : casi) {
    const QString quale = c.archivioEsistente ? percorso : negozio.file("Nuovo/DbNegozio.mdb");
    SCOPED_TRACE(quale.toStdString() + " " + c.parole);
    QDir().mkpath(QFileInfo(quale).absolutePath());
    const QByteArray prima = c.archivioEsistente ? impronta(quale) : QByteArray();
    QString errore;
    {
      FaultyVfs guasto(c.guasto);
      errore = erroreDi([&] { ApriDatabase(quale); });
    }
    EXPECT_TRUE(errore.contains(QString::fromUtf8(c.parole))) << errore.toStdString();
    EXPECT_FALSE(errore.contains("attempt to")) << errore.toStdString();
    if (c.archivioEsistente) {
      EXPECT_EQ(impronta(quale), prima);
    }
    QFile::remove(negozio.file("Nuovo/DbNegozio.mdb"));
  }
}

TEST_F(ArchivioGuasto, ADiskThatFillsUpWhileWorkingIsSaidInItalian) {
  creaArchivio();
  FaultyVfs guasto;
  auto db = ApriDatabase(percorso);
  guasto.setFault(Fault::DiskFull);
  const QString errore = erroreDi([&] {
    db->execute(QString("UPDATE Magazzino SET Descrizione='%1'").arg(QString(2000, 'x')));
  });
  EXPECT_TRUE(errore.contains(QString::fromUtf8("Spazio su disco esaurito in")))
      << errore.toStdString();
  guasto.setFault(Fault::None);
  EXPECT_EQ(valori(*db, "Select Count(*) from Magazzino where Descrizione like 'x*'"), "0");
}

TEST_F(ArchivioGuasto, AReadOnlySharedMemoryFileLeftBehindDoesNotKeepTheStoreReadOnly) {
  creaArchivio();
  const QString shm = percorso + "-shm";
  ASSERT_TRUE(testing::writeAll(shm, QByteArray(32768, '\0')));
  ASSERT_TRUE(QFile::setPermissions(shm, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  auto db = ApriDatabase(percorso);
  EXPECT_EQ(db->execute("UPDATE Magazzino SET Descrizione='Pane' WHERE CodMateriale='1'"), 1);
}

TEST(ConversioneAccess, AnAccessStoreIsConvertedOnceAndKeptBeside) {
  const QString origine = QStringLiteral(LISTINOVA_TESTDATA "/access/nwind.mdb");
  if (!QFile::exists(origine))
    GTEST_SKIP() << "cartella dei dati di prova assente: " << origine.toStdString();
  QTemporaryDir dir;
  testing::FakeClock clock;
  ErrorLog log(dir.path(), clock);
  installaErrorLog(&log);
  const QString percorso = dir.filePath("DbNegozio.mdb");
  ASSERT_TRUE(QFile::copy(origine, percorso));
  const QByteArray originale = impronta(percorso);
  auto db = ApriDatabase(percorso);
  EXPECT_EQ(impronta(percorso + ".access"), originale);
  EXPECT_TRUE(db->tableExists("Magazzino"));  // the shop's tables are added beside the old ones
  EXPECT_TRUE(QString::fromUtf8(testing::readAll(log.percorsoLog()))
                  .contains("Archivio Access convertito"));
  db.reset();
  ApriDatabase(percorso).reset();  // already SQLite: no second conversion
  EXPECT_FALSE(QFile::exists(percorso + ".access.2"));
  installaErrorLog(nullptr);
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

TEST(VersioniArchivio, StoresOfEveryEarlierVersionKeepEveryRowAndValue) {
  static_assert(kVersioneArchivio == 1, "a store of the new version joins this table");
  for (const int versione : {0, 1}) {
    SCOPED_TRACE(versione);
    QTemporaryDir dir;
    const QString archivio = dir.filePath("DbNegozio.mdb");
    ASSERT_TRUE(QFile::copy(
        QStringLiteral(LISTINOVA_ARCHIVI_PROVA "/negozio-v%1.mdb").arg(versione), archivio));
    QFile(archivio).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(sqlite3Tool(archivio, "PRAGMA user_version"), QString::number(versione));
    if (versione == 0) comeLoLascioLaVersione0(archivio);
    const QStringList prima = righe(archivio);
    ASSERT_GT(prima.size(), 60);

    auto db = ApriDatabase(archivio);
    EXPECT_EQ(VersioneArchivio(*db), kVersioneArchivio);
    const QString copia = archivio + ".v" + QString::number(versione);
    if (versione < kVersioneArchivio) {
      EXPECT_EQ(righe(copia), prima);
      EXPECT_EQ(sqlite3Tool(copia, "PRAGMA user_version"), QString::number(versione));
    }
    // The upgraded store answers as the shop expects, through the program and any tool.
    const std::pair<const char*, const char*> risposte[] = {
        {"Select CodMateriale from Magazzino where Descrizione='CAFFÈ ESPRESSO'", "1"},
        {"Select CodMateriale from Magazzino where Fornitore='àNFORA' order by 1", "2,3"},
        {"Select Costo from Magazzino where CodMateriale='4'", "0.3"},
        {"Select Sum(Costo) AS S from Magazzino", "1263.4078"},
        {"Select Count(*) AS N from prodotti where codreparto=3", "3"}};
    for (const auto& [ricerca, attesa] : risposte)
      EXPECT_EQ(valori(*db, QString::fromUtf8(ricerca)), attesa) << ricerca;
    db.reset();
    EXPECT_EQ(righe(archivio), prima);
    EXPECT_EQ(sqlite3Tool(archivio, "PRAGMA integrity_check"), "ok");

    // Opened again, nothing is left to upgrade.
    ApriDatabase(archivio).reset();
    EXPECT_EQ(QDir(dir.path()).entryList({"DbNegozio.mdb.v*"}).size(),
              versione < kVersioneArchivio ? 1 : 0);
  }
}

// After the stock sqlite3 tool vacuums or reindexes the store the program gets the same answers.
TEST(ArchivioStandard, TheStockToolChecksVacuumsAndReindexesWithoutChangingAnAnswer) {
  const char* const descrizioni[] = {"Caffè",  "CAFFÈ D'ORZO", "caffè lungo", "Éclair",
                                     "éclair", "Zucchero",     "ÀNFORA",      "àncora",
                                     "Òrzo",   "orzo",         "Città",       "CITTÀ ALTA",
                                     "ZUPPA",  "zuppa",        "Ünterberg",   "über"};
  NegozioDiProva negozio;
  {
    Database::Transaction t(*negozio.db);
    negozio.reparto(2, "Città").reparto(3, "CAFFÈ");
    int codice = 1;
    // Enough rows for every index to spread over many pages.
    for (int giro = 0; giro < 60; ++giro)
      for (const char* d : descrizioni) {
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
  // Each look-up with the answer the shop expects: the same after every job of the tool.
  const std::pair<const char*, const char*> ricerche[] = {
      {"Select CodMateriale from Magazzino where Descrizione='CAFFÈ'", "1"},
      {"Select CodMateriale from Magazzino where Descrizione='éclair 7' order by CodMateriale",
       "116,117"},
      {"Select Count(*) from Magazzino where Descrizione>='ZUPPA' and Descrizione<'ZZ'", "120"},
      {"Select CodMateriale from Magazzino where BarCode='8000000000777'", "777"},
      {"Select Descrizione from Magazzino where CodMateriale=945", "Caffè 59"},
      {"Select Count(*) from Magazzino where Descrizione like '*orzo 1#'", "20"},
      {"Select Count(*) from Magazzino where Genere='città'", "480"},
      {"Select DISTINCT Fornitore from Magazzino where Fornitore='ÀNFORA'", "ÀNFORA"},
      {"select Max(CLng([CodMateriale])) AS CodMat from Magazzino", "960"},
      {"Select Count(*) AS N from prodotti where codreparto=3", "480"},
  };
  const QString percorso = negozio.percorsoArchivio();
  negozio.chiudi();
  EXPECT_EQ(sqlite3Tool(percorso, "PRAGMA integrity_check"), "ok");
  for (const char* lavoro : {"", "VACUUM", "REINDEX"}) {
    SCOPED_TRACE(lavoro);
    if (*lavoro) {
      EXPECT_EQ(sqlite3Tool(percorso, lavoro), "");
      EXPECT_EQ(sqlite3Tool(percorso, "PRAGMA integrity_check"), "ok");
    }
    auto db = ApriDatabase(percorso);
    for (const auto& [ricerca, attesa] : ricerche)
      EXPECT_EQ(valori(*db, QString::fromUtf8(ricerca)), QString::fromUtf8(attesa)) << ricerca;
    EXPECT_EQ(TrovaCodiceRep(*db, QString::fromUtf8("CITTÀ")), "2");
  }
}

}  // namespace
}  // namespace listinova
