// The backup on a disk that fills up part-way (the disk said it had room): each refusal names
// its cause and leaves no PLU_BCK folder; and a shop on a read-only disk is still saved.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/db/online_backup.h"
#include "platform/local_file_system.h"
#include "promotions/salvataggio_dati.h"
#include "support/disco_montato.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"

namespace listinova::testing {
namespace {

// The real disk, said to have room enough: the copy itself meets the full disk.
class SpazioDichiarato : public platform::LocalFileSystem {
 public:
  std::int64_t freeSpace(const QString&) const override { return 10'000'000'000; }
};

const QDateTime kAdesso(QDate(2026, 12, 4), QTime(14, 5));

TEST(SalvataggioGuasti, EachRefusalNamesItsCauseAndLeavesNoBackup) {
  NegozioDiProva negozio;
  negozio.prodotti(3000);
  ASSERT_TRUE(writeAll(negozio.file("Dati/allegato.bin"), QByteArray(2 << 20, 'a')));
  const struct {
    const char* nome;
    int discoKib;
    const char* causa;
  } casi[] = {
      {"disco che si riempe a metà copia", 1024, "Spazio su disco esaurito in"},
      {"archivio più grande del disco", 64, "Spazio su disco esaurito in"},
  };
  SpazioDichiarato fs;
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const QString destinazione = negozio.file(QString("disco-%1").arg(caso.discoKib));
    DiscoMontato disco(destinazione, caso.discoKib);
    if (!disco.montato()) {
      GTEST_SKIP() << "serve un file system montato dal test (root)";
    }

    const EsitoSalvataggio esito =
        SalvaCartellaDati(fs, negozio.file("Dati"), destinazione, kAdesso);

    EXPECT_EQ(esito.stato, EsitoSalvataggio::Stato::Fallito);
    EXPECT_TRUE(esito.errore.startsWith(caso.causa)) << esito.errore.toStdString();
    EXPECT_FALSE(esito.errore.contains("-in-corso-")) << esito.errore.toStdString();
    EXPECT_TRUE(QDir(destinazione)
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
  }
}

TEST(SalvataggioGuasti, AShopOnAReadOnlyDiskIsStillSaved) {
  NegozioDiProva negozio;
  negozio.prodotti(100).chiudi();
  const QString sorgente = negozio.file("sorgente");
  DiscoMontato disco(sorgente, 8192);
  if (!disco.montato()) {
    GTEST_SKIP() << "serve un file system montato dal test (root)";
  }
  ASSERT_TRUE(QDir().mkpath(sorgente + "/Dati"));
  ASSERT_TRUE(QFile::copy(negozio.percorsoArchivio(), sorgente + "/Dati/DbNegozio.mdb"));
  ASSERT_TRUE(disco.soloLettura());
  const QString destinazione = negozio.file("copie");
  QDir().mkpath(destinazione);

  SpazioDichiarato fs;
  const EsitoSalvataggio esito = SalvaCartellaDati(fs, sorgente + "/Dati", destinazione, kAdesso);

  ASSERT_TRUE(esito.completato()) << esito.errore.toStdString();
  const QString copia = destinazione + "/PLU_BCK/Dati/DbNegozio.mdb";
  EXPECT_EQ(platform::db::integrityCheck(copia), "ok");
  auto salvato = platform::db::Database::open(copia);
  EXPECT_EQ(salvato->openRecordset("Select * from Magazzino").recordCount(), 100);
}

}  // namespace
}  // namespace listinova::testing
