// A store that cannot serve is named for what it is (damaged, empty, read-only, in a read-only
// folder, on a full disk) and left as it was; it is never shown as an empty archive.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
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

TEST_F(ArchivioGuasto, AZeroedPageIsNamedAndTheFileLeftUntouched) {
  creaArchivio();
  QByteArray bytes = testing::readAll(percorso);
  const int pagina = 4096;
  ASSERT_GT(bytes.size(), 20 * pagina);
  bytes.replace(10 * pagina, pagina, QByteArray(pagina, '\0'));
  ASSERT_TRUE(testing::writeAll(percorso, bytes));
  const QByteArray prima = impronta(percorso);

  const QString errore = erroreDi([&] { ApriDatabase(percorso); });
  EXPECT_TRUE(errore.contains(QString::fromUtf8("è danneggiato"))) << errore.toStdString();
  EXPECT_TRUE(errore.contains("DbNegozio.mdb")) << errore.toStdString();
  EXPECT_EQ(impronta(percorso), prima);
}

TEST_F(ArchivioGuasto, AnEmptyFileIsKeptAsideAndANewStoreSaidSo) {
  negozio.chiudi();
  ASSERT_TRUE(testing::writeAll(percorso, ""));
  QStringList avvisi;
  auto db = ApriDatabase(percorso, [&](const QString& testo) { avvisi << testo; });
  const QString daParte = percorso + ".vuoto-" + QDate::currentDate().toString("yyyy-MM-dd");
  ASSERT_TRUE(QFileInfo::exists(daParte));
  EXPECT_EQ(QFileInfo(daParte).size(), 0);
  ASSERT_EQ(avvisi.size(), 1);
  EXPECT_TRUE(avvisi[0].contains(QFileInfo(daParte).fileName())) << avvisi[0].toStdString();
  EXPECT_TRUE(avvisi[0].contains(QString::fromUtf8("è stato creato un archivio nuovo")));
  EXPECT_EQ(db->openRecordset("Select * from Reparti").recordCount(), 40);

  // A second empty file on the same day does not overwrite the first one kept aside.
  db.reset();
  ASSERT_TRUE(QFile::remove(percorso));
  ASSERT_TRUE(testing::writeAll(percorso, ""));
  ApriDatabase(percorso);
  EXPECT_TRUE(QFileInfo::exists(daParte + ".2"));
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
  EXPECT_EQ(db->openRecordset("Select * from Magazzino where Descrizione like 'x*'").recordCount(),
            0);
}

TEST_F(ArchivioGuasto, AReadOnlySharedMemoryFileLeftBehindDoesNotKeepTheStoreReadOnly) {
  creaArchivio();
  const QString shm = percorso + "-shm";
  ASSERT_TRUE(testing::writeAll(shm, QByteArray(32768, '\0')));
  ASSERT_TRUE(QFile::setPermissions(shm, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

  auto db = ApriDatabase(percorso);
  EXPECT_EQ(db->execute("UPDATE Magazzino SET Descrizione='Pane' WHERE CodMateriale='1'"), 1);
  EXPECT_TRUE(QFileInfo(shm).permissions().testFlag(QFile::WriteOwner));
}

}  // namespace
}  // namespace listinova
