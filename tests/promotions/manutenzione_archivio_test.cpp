// The whole-archive commands: quantities, backups of a live store (also onto a disk that fills
// up, from a read-only one or of a damaged store) and the archive switch.
#include "promotions/manutenzione_archivio.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/db/online_backup.h"
#include "platform/local_file_system.h"
#include "promotions/salvataggio_dati.h"
#include "support/disco_montato.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;

// The real disk with as much free space as the test says.
class DiscoDiProva : public platform::LocalFileSystem {
 public:
  std::int64_t freeSpace(const QString&) const override { return libero; }
  std::int64_t libero = 10'000'000'000;
};

QString descrizioni(platform::db::Database& db) {
  QStringList righe;
  for (auto rs = db.openRecordset("Select * from Magazzino order by CodMateriale"); !rs.eof();
       rs.moveNext())
    righe << rs.text("Descrizione");
  return righe.join('|');
}

class ManutenzioneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.prodotto("1", "Caffè", "3,00").prodotto("2", "Tè", "2,00");
    negozio.file("Dati/ErrorLog.dat", "riga di log\r\n");
    negozio.file("Dati/Err/ErrorLog20261201.dat", "vecchio\r\n");
    clock.current = QDateTime(QDate(2026, 12, 4), QTime(14, 5));
  }
  ManutenzioneArchivio lavoro() {
    return ManutenzioneArchivio(
        {*negozio.db, prompts, notice, clock, disco,
         [this](const QString&) { return scelte.isEmpty() ? QString() : scelte.takeFirst(); },
         negozio.cartella.root()});
  }

  NegozioDiProva negozio;
  QTemporaryDir destinazione;
  FakePrompts prompts;
  FakeNotice notice;
  FakeClock clock;
  DiscoDiProva disco;
  QStringList scelte;
};

TEST_F(ManutenzioneTest, EveryQuantityToOneNumber) {
  const std::pair<const char*, bool> casi[] = {
      {"100000", false}, {"0", false}, {"", false}, {"12a", false}, {"-5", false}, {"99999", true},
  };
  for (const auto& [testo, applicato] : casi) {
    SCOPED_TRACE(testo);
    EXPECT_EQ(lavoro().applicaQuantita(testo), applicato);
  }
  EXPECT_EQ(notice.messages, QStringList(5, "Impostare un numero intero (max 99999)"));
  EXPECT_EQ(negozio.conta("Select * from Magazzino where Quantità=99999"), 2);
  EXPECT_EQ(clock.waits, std::vector<int>({800}));
}

// Two backups, then the switch to the first one, refused first on a folder with no store.
TEST_F(ManutenzioneTest, TwoBackupsGoToPluBckThenToTheDatedFolderAndTheSwitchTakesOne) {
  scelte = {destinazione.path(), destinazione.path()};
  lavoro().salvaDati();
  clock.current = clock.current.addSecs(60);
  lavoro().salvaDati();
  const QString prima = destinazione.filePath("PLU_BCK");
  const QString seconda = destinazione.filePath("PLU_BCK41220261406");
  EXPECT_EQ(notice.messages,
            QStringList({"Salvataggio completato in " + QDir::toNativeSeparators(prima),
                         "Salvataggio completato in " + QDir::toNativeSeparators(seconda)}));
  for (const QString& cartella : {prima, seconda}) {
    EXPECT_EQ(platform::db::integrityCheck(cartella + "/Dati/DbNegozio.mdb"), "ok");
    EXPECT_EQ(readAll(cartella + "/Dati/ErrorLog.dat"), "riga di log\r\n");
    EXPECT_EQ(readAll(cartella + "/Dati/Err/ErrorLog20261201.dat"), "vecchio\r\n");
    // The log of the live store is inside the copy, not beside it.
    EXPECT_FALSE(QFile::exists(cartella + "/Dati/DbNegozio.mdb-wal"));
  }

  QDir(prima + "/Dati").rename("DbNegozio.mdb", "dbNegozio.mdb");
  negozio.db->execute("Delete * from Magazzino where CodMateriale='2'");
  prompts.answers = {Answer::No};
  EXPECT_FALSE(lavoro().cambiaDati());
  EXPECT_EQ(prompts.asked.back().defaultAnswer, Answer::No);
  EXPECT_TRUE(prompts.asked.back().text.startsWith(
      "ATTENZIONE!!! La funzione selezionata consente di sostituire l'archivio dei PLU\r\n"));
  prompts.answers = {Answer::Yes, Answer::Ok};
  scelte = {negozio.file("Dati/Err")};  // a folder with no store
  EXPECT_FALSE(lavoro().cambiaDati());
  EXPECT_EQ(prompts.asked.back().text, "Percorso non Valido");
  EXPECT_EQ(descrizioni(*negozio.db), "Caffè");
  prompts.answers = {Answer::Yes};
  scelte = {prima};
  EXPECT_TRUE(lavoro().cambiaDati());
  EXPECT_EQ(descrizioni(*negozio.db), "Caffè|Tè");
  EXPECT_EQ(negozio.db->path(), prima + "/Dati/dbNegozio.mdb");
}

TEST_F(ManutenzioneTest, ABackupDuringAWriteIsSoundAndOfADamagedStoreFails) {
  // Committed changes still in the write-ahead log, and a send filling its work table.
  negozio.db->execute("UPDATE Magazzino SET Descrizione='Caffè in grani' WHERE CodMateriale='1'");
  {
    platform::db::Database::Transaction invio(*negozio.db);
    negozio.db->execute(
        "INSERT INTO MagazzinoPerOstrel (BarCode, Descrizione) VALUES ('8000000000001', 'X')");
    ASSERT_TRUE(QFile::exists(negozio.db->path() + "-wal"));
    const EsitoSalvataggio esito =
        SalvaCartellaDati(disco, negozio.file("Dati"), destinazione.path(), clock.now());
    ASSERT_TRUE(esito.completato()) << esito.errore.toStdString();
  }
  const QString copia = destinazione.filePath("PLU_BCK/Dati/DbNegozio.mdb");
  EXPECT_EQ(platform::db::integrityCheck(copia), "ok");
  auto salvato = platform::db::Database::open(copia);
  EXPECT_EQ(descrizioni(*salvato), "Caffè in grani|Tè");
  EXPECT_EQ(salvato->openRecordset("Select * from MagazzinoPerOstrel").recordCount(), 0);

  // A damaged store is no backup.
  negozio.db.reset();
  QByteArray guasto("SQLite format 3\0", 16);
  writeAll(negozio.percorsoArchivio(), guasto.append(QByteArray(8192, '\x5a')));
  QFile::remove(negozio.percorsoArchivio() + "-wal");
  const EsitoSalvataggio esito =
      SalvaCartellaDati(disco, negozio.file("Dati"), destinazione.path(), clock.now().addSecs(60));
  EXPECT_EQ(esito.stato, EsitoSalvataggio::Stato::Fallito);
  EXPECT_FALSE(QFile::exists(destinazione.filePath("PLU_BCK41220261406")));
}

// The disk said it had room: each refusal names its cause and leaves no PLU_BCK folder. A shop
// on a read-only disk is still saved.
TEST_F(ManutenzioneTest, AFullDiskLeavesNoBackupAndAReadOnlyShopIsSaved) {
  negozio.prodotti(3000, 3);
  negozio.file("Dati/allegato.bin", QByteArray(2 << 20, 'a'));
  for (const int kib : {1024, 64}) {  // full half-way through, or smaller than the store
    SCOPED_TRACE(kib);
    const QString pieno = negozio.file(QString("disco-%1").arg(kib));
    DiscoMontato montato(pieno, kib);
    if (!montato.montato()) GTEST_SKIP() << "serve un file system montato dal test (root)";
    const EsitoSalvataggio esito =
        SalvaCartellaDati(disco, negozio.file("Dati"), pieno, clock.now());
    EXPECT_EQ(esito.stato, EsitoSalvataggio::Stato::Fallito);
    EXPECT_TRUE(esito.errore.startsWith("Spazio su disco esaurito in") &&
                !esito.errore.contains("-in-corso-"))
        << esito.errore.toStdString();
    EXPECT_TRUE(
        QDir(pieno).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
  }

  negozio.chiudi();
  const QString sorgente = negozio.file("sorgente");
  DiscoMontato soloLettura(sorgente, 8192);
  ASSERT_TRUE(QDir().mkpath(sorgente + "/Dati"));
  ASSERT_TRUE(QFile::copy(negozio.percorsoArchivio(), sorgente + "/Dati/DbNegozio.mdb"));
  ASSERT_TRUE(soloLettura.soloLettura());
  const EsitoSalvataggio esito =
      SalvaCartellaDati(disco, sorgente + "/Dati", destinazione.path(), clock.now());
  ASSERT_TRUE(esito.completato()) << esito.errore.toStdString();
  const QString copia = destinazione.filePath("PLU_BCK/Dati/DbNegozio.mdb");
  EXPECT_EQ(platform::db::integrityCheck(copia), "ok");
  EXPECT_EQ(
      platform::db::Database::open(copia)->openRecordset("Select * from Magazzino").recordCount(),
      3002);
}

}  // namespace
}  // namespace listinova::testing
