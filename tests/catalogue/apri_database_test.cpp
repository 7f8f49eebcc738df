#include "catalogue/apri_database.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/db/database.h"
#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;

QByteArray impronta(const QString& path) {
  return QCryptographicHash::hash(testing::readAll(path), QCryptographicHash::Sha256);
}

TEST(ApriDatabase, AFileOfAnotherKindIsRefusedAndLeftAlone) {
  QTemporaryDir dir;
  const QString percorso = dir.filePath("DbNegozio.mdb");
  ASSERT_TRUE(testing::writeAll(percorso, "PK\x03\x04 un foglio di calcolo"));
  const QByteArray prima = impronta(percorso);
  try {
    ApriDatabase(percorso);
    FAIL() << "aperto";
  } catch (const DatabaseError& e) {
    EXPECT_TRUE(e.description().contains(QString::fromUtf8("non è un archivio dati riconosciuto")));
  }
  EXPECT_EQ(impronta(percorso), prima);
}

class ConversioneAccess : public ::testing::TestWithParam<const char*> {};

TEST_P(ConversioneAccess, AnAccessStoreIsConvertedOnceAndKeptBeside) {
  const QString origine = QStringLiteral(LISTINOVA_TESTDATA "/access/") + GetParam();
  if (!QFile::exists(origine))
    GTEST_SKIP() << "cartella dei dati di prova assente: " << origine.toStdString();
  QTemporaryDir dir;
  testing::FakeClock clock;
  ErrorLog log(dir.path(), clock);
  installaErrorLog(&log);
  const QString percorso = dir.filePath("Dati/DbNegozio.mdb");
  QDir().mkpath(dir.filePath("Dati"));
  ASSERT_TRUE(QFile::copy(origine, percorso));
  const QByteArray originale = impronta(percorso);

  auto db = ApriDatabase(percorso);
  EXPECT_EQ(impronta(percorso + ".access"), originale);
  EXPECT_TRUE(db->tableExists("Magazzino"));  // the shop's tables are added beside the old ones
  EXPECT_TRUE(QString::fromUtf8(testing::readAll(log.percorsoLog()))
                  .contains("Archivio Access convertito"));
  db.reset();

  auto riaperto = ApriDatabase(percorso);  // already SQLite: no second conversion
  EXPECT_FALSE(QFile::exists(percorso + ".access.2"));
  installaErrorLog(nullptr);
}

INSTANTIATE_TEST_SUITE_P(FileDiProva, ConversioneAccess,
                         ::testing::Values("nwind.mdb", "DateTestDatabase.mdb",
                                           "ASampleDatabase.accdb"));

}  // namespace
}  // namespace listinova
