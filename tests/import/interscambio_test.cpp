#include "import/interscambio.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>

#include "import/archivio_import.h"
#include "import/passa_interscambio.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"

namespace listinova {
namespace {

using testing::ArchivioImport;
using testing::RigaFissa;

QByteArray articolo(const char* tipo, const char* codice, const char* descrizione) {
  return RigaFissa({{1, tipo}, {26, descrizione}, {103, codice}, {167, "0001"}});
}

QByteArray barcode(const char* art, const char* ean) {
  return RigaFissa({{1, "A"}, {26, ean}, {53, art}});
}

class InterscambioTest : public ArchivioImport {
 protected:
  void SetUp() override {
    ArchivioImport::SetUp();
    in = dir.filePath("IN");
    QDir().mkpath(in);
  }
  QStringList inCartella(const QString& cartella) {
    return QDir(cartella).entryList(QDir::Files, QDir::Name);
  }
  QString in;
  testing::FakeClock clock;
};

TEST_F(InterscambioTest, TakesAAndBFilesInNameOrderAndStopsAtAnyOther) {
  file("IN/C0.txt", articolo("N", "000000009", "Mai importato"));
  file("IN/B7.txt", barcode("000000001", "8001234567897") + barcode("000000001", "8001234567880"));
  file("IN/A1.txt", articolo("N", "000000001", "Pasta"));
  file("IN/nota.doc", "non un file di testo");
  Interscambio interscambio(*db, dir.path(), clock);
  const EsitoInterscambio esito = interscambio.ImportaInterscambio(in);
  EXPECT_EQ(esito.importati, QStringList({"A1.txt", "B7.txt"}));
  EXPECT_EQ(esito.fermatoSu, "C0.txt");
  EXPECT_TRUE(esito.errore.isEmpty());
  EXPECT_EQ(inCartella(in), QStringList({"C0.txt", "nota.doc"}));
  EXPECT_EQ(inCartella(interscambio.cartellaStorico()), QStringList({"A1.txt", "B7.txt"}));
  EXPECT_EQ(prodotti("BarCode,Descrizione"),
            QStringList({"8001234567880|Pasta", "8001234567897|Pasta"}));
  EXPECT_EQ(clock.waits, std::vector<int>({1000, 1000}));
}

TEST_F(InterscambioTest, ANamedFolderIsPolledOnlyWhenSet) {
  const QString setup = dir.filePath("Setup.ini");
  Interscambio interscambio(*db, dir.path(), clock);
  file("IN/A1.txt", articolo("N", "000000001", "Pasta"));
  EXPECT_FALSE(PassaInterscambio(interscambio, setup, dir.path()));
  ScriviINI(setup, "Cartelle", "IN", in);
  EXPECT_TRUE(PassaInterscambio(interscambio, setup, dir.path()));
  EXPECT_FALSE(PassaInterscambio(interscambio, setup, dir.path()));
  EXPECT_EQ(prodotti("Descrizione"), QStringList{"Pasta"});
}

TEST_F(InterscambioTest, AFailedImportLeavesItsFileToBeTriedAgain) {
  file("IN/A1.txt", articolo("N", "000000001", "Pasta"));
  db->execute(
      "CREATE TRIGGER guasto BEFORE INSERT ON Magazzino "
      "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  Interscambio interscambio(*db, dir.path(), clock);
  const EsitoInterscambio esito = interscambio.ImportaInterscambio(in);
  EXPECT_TRUE(esito.importati.isEmpty());
  EXPECT_EQ(esito.fermatoSu, "A1.txt");
  EXPECT_TRUE(esito.errore.contains("l'archivio è rimasto com'era")) << esito.errore.toStdString();
  EXPECT_EQ(inCartella(in), QStringList{"A1.txt"});
}

TEST_F(InterscambioTest, AProcessKilledHalfwayLeavesTheFileInTheFolderAndNothingHalfWritten) {
  QByteArray righe;
  for (int i = 1; i <= 1000; ++i)
    righe += articolo("N", QByteArray::number(i).rightJustified(9, '0').constData(), "Articolo");
  file("IN/A1.txt", righe);
  const QString archivio = db->path();
  db.reset();
  const pid_t figlio = fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    auto mio = ApriDatabase(archivio);
    testing::FakeClock orologio;
    Interscambio interscambio(*mio, dir.path(), orologio);
    SchermoImport schermo;
    schermo.avanzamento = [](int fatti, int) {
      if (fatti >= 500) _exit(0);
    };
    interscambio.ImportaInterscambio(in, schermo);
    _exit(1);
  }
  int stato = 0;
  ASSERT_EQ(waitpid(figlio, &stato, 0), figlio);
  ASSERT_TRUE(WIFEXITED(stato));
  ASSERT_EQ(WEXITSTATUS(stato), 0) << "the import did not reach the middle";
  db = ApriDatabase(archivio);
  EXPECT_EQ(valore("SELECT Count(*) FROM Magazzino"), "0");
  EXPECT_EQ(inCartella(in), QStringList{"A1.txt"});

  Interscambio interscambio(*db, dir.path(), clock);
  EXPECT_EQ(interscambio.ImportaInterscambio(in).importati, QStringList{"A1.txt"});
  EXPECT_EQ(valore("SELECT Count(*) FROM Magazzino"), "1000");
}

}  // namespace
}  // namespace listinova
