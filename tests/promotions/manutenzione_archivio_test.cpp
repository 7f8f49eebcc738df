// The whole-archive commands: quantities, backups of a live store, the archive switch and the
// nightly backup from the command line.
#include "promotions/manutenzione_archivio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/db/online_backup.h"
#include "platform/local_file_system.h"
#include "promotions/lavoro_salva.h"
#include "promotions/salvataggio_dati.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using ::testing::ElementsAre;

// The real disk with as much free space as the test says.
class DiscoDiProva : public platform::LocalFileSystem {
 public:
  std::int64_t freeSpace(const QString&) const override { return libero; }
  std::int64_t libero = 10'000'000'000;
};

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
  QStringList prodotti(platform::db::Database& db) {
    QStringList descrizioni;
    for (auto rs = db.openRecordset("Select * from Magazzino order by CodMateriale"); !rs.eof();
         rs.moveNext())
      descrizioni << rs.text("Descrizione");
    return descrizioni;
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
    notice.messages.clear();
    EXPECT_EQ(lavoro().applicaQuantita(testo), applicato);
    EXPECT_EQ(notice.messages,
              applicato ? QStringList() : QStringList{"Impostare un numero intero (max 99999)"});
  }
  EXPECT_EQ(negozio.conta("Select * from Magazzino where Quantità=99999"), 2);
  EXPECT_EQ(clock.waits, std::vector<int>({800}));
}

TEST_F(ManutenzioneTest, TwoBackupsGoToPluBckThenToTheDatedFolder) {
  disco.libero = 100LL * 1024 * 1024;
  scelte = {destinazione.path()};
  lavoro().salvaDati();
  EXPECT_EQ(
      askedTexts(prompts),
      QStringList{
          "Spazio NON sufficiente\r\n\r\nLiberare spazio sul disco e ritentare l'operazione"});
  EXPECT_FALSE(QFile::exists(destinazione.filePath("PLU_BCK")));
  lavoro().salvaDati();  // the dialog is cancelled
  EXPECT_EQ(notice.messages, QStringList{"Nessuna cartella selezionata!!!"});

  disco.libero = 10'000'000'000;
  notice.messages.clear();
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
}

TEST_F(ManutenzioneTest, ABackupDuringAWriteIsASoundStoreOfWhatWasCommitted) {
  // Committed changes still in the write-ahead log, and a send filling its work table.
  negozio.db->execute("UPDATE Magazzino SET Descrizione='Caffè in grani' WHERE CodMateriale='1'");
  {
    platform::db::Database::Transaction invio(*negozio.db);
    negozio.db->execute(
        "INSERT INTO MagazzinoPerOstrel (BarCode, Descrizione) VALUES ('8000000000001', 'X')");
    ASSERT_TRUE(QFile::exists(negozio.db->path() + "-wal"));
    const EsitoSalvataggio esito =
        SalvaCartellaDati(disco, negozio.cartella.file("Dati"), destinazione.path(), clock.now());
    ASSERT_TRUE(esito.completato()) << esito.errore.toStdString();
  }
  const QString copia = destinazione.filePath("PLU_BCK/Dati/DbNegozio.mdb");
  EXPECT_EQ(platform::db::integrityCheck(copia), "ok");
  auto salvato = platform::db::Database::open(copia);
  EXPECT_THAT(prodotti(*salvato), ElementsAre("Caffè in grani", "Tè"));
  EXPECT_EQ(salvato->openRecordset("Select * from MagazzinoPerOstrel").recordCount(), 0);
}

TEST_F(ManutenzioneTest, SwitchingToABackupAndRefusals) {
  scelte = {destinazione.path()};
  lavoro().salvaDati();
  QDir(destinazione.filePath("PLU_BCK/Dati")).rename("DbNegozio.mdb", "dbNegozio.mdb");
  negozio.db->execute("Delete * from Magazzino where CodMateriale='2'");

  prompts.answers = {Answer::No};
  EXPECT_FALSE(lavoro().cambiaDati());
  EXPECT_EQ(prompts.asked.back().defaultAnswer, Answer::No);
  EXPECT_TRUE(prompts.asked.back().text.startsWith(
      "ATTENZIONE!!! La funzione selezionata consente di sostituire l'archivio dei PLU\r\n"));

  const QString vuota = destinazione.filePath("vuota");
  QDir().mkpath(vuota);
  prompts.answers = {Answer::Yes, Answer::Ok};
  scelte = {vuota};
  EXPECT_FALSE(lavoro().cambiaDati());
  EXPECT_EQ(prompts.asked.back().text, "Percorso non Valido");
  EXPECT_THAT(prodotti(*negozio.db), ElementsAre("Caffè"));

  prompts.answers = {Answer::Yes};
  EXPECT_FALSE(lavoro().cambiaDati());  // the dialog is cancelled
  EXPECT_EQ(notice.messages.back(), "Nessuna cartella selezionata!!!");

  prompts.answers = {Answer::Yes};
  scelte = {destinazione.filePath("PLU_BCK")};
  EXPECT_TRUE(lavoro().cambiaDati());
  EXPECT_THAT(prodotti(*negozio.db), ElementsAre("Caffè", "Tè"));
  EXPECT_EQ(negozio.db->path(), destinazione.filePath("PLU_BCK/Dati/dbNegozio.mdb"));
}

TEST_F(ManutenzioneTest, NightlyBackupFromTheCommandLine) {
  const auto salva = [&](const QString& dove) {
    QString testo, errori;
    QTextStream uscita(&testo), erroriStream(&errori);
    const int esito = LavoroSalva().esegui(
        {"listinova", "--cartella", negozio.cartella.root(), "salva", dove}, uscita, erroriStream);
    return std::pair(esito, testo + errori);
  };
  auto [primo, testoPrimo] = salva(destinazione.filePath("notte"));
  EXPECT_EQ(primo, 0) << testoPrimo.toStdString();
  EXPECT_EQ(platform::db::integrityCheck(destinazione.filePath("notte/PLU_BCK/Dati/DbNegozio.mdb")),
            "ok");
  EXPECT_EQ(salva(destinazione.filePath("notte")).first, 0);
  EXPECT_EQ(
      QDir(destinazione.filePath("notte")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);

  // A damaged store is no backup: the job says so in its exit status.
  negozio.db.reset();
  QByteArray guasto("SQLite format 3\0", 16);
  guasto.append(QByteArray(8192, '\x5a'));
  writeAll(negozio.cartella.file("Dati/DbNegozio.mdb"), guasto);
  QFile::remove(negozio.cartella.file("Dati/DbNegozio.mdb-wal"));
  EXPECT_EQ(salva(destinazione.filePath("guasto")).first, 1);
  EXPECT_EQ(salva(QString()).first, 2);
}

}  // namespace
}  // namespace listinova::testing
