#include "import/interscambio.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>

#include "cartelle_di_prova.h"
#include "catalogue/apri_database.h"
#include "import/passa_interscambio.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::RigaFissa;

QByteArray articolo(const char* tipo, const char* codice, const char* descrizione) {
  return RigaFissa({{1, tipo}, {26, descrizione}, {103, codice}, {167, "0001"}});
}

QByteArray barcode(const char* art, const char* ean) {
  return RigaFissa({{1, "A"}, {26, ean}, {53, art}});
}

class InterscambioTest : public ::testing::Test {
 protected:
  QStringList inCartella(const QString& cartella) {
    return QDir(cartella).entryList(QDir::Files, QDir::Name);
  }
  testing::NegozioDiProva negozio;
  const QString in = negozio.file("IN");
  testing::FakeClock clock;
};

TEST_F(InterscambioTest, TakesAAndBFilesInNameOrderWhenTheFolderIsSetAndStopsAtAnyOther) {
  negozio.file("IN/C0.txt", articolo("N", "000000009", "Mai importato"));
  negozio.file("IN/B7.txt",
               barcode("000000001", "8001234567897") + barcode("000000001", "8001234567880"));
  negozio.file("IN/A1.txt", articolo("N", "000000001", "Pasta"));
  negozio.file("IN/nota.doc", "non un file di testo");
  Interscambio interscambio(*negozio.db, negozio.cartella.root(), clock);
  const QString setup = negozio.cartella.setup();
  EXPECT_FALSE(PassaInterscambio(interscambio, setup, negozio.cartella.root()));
  EXPECT_EQ(inCartella(in).size(), 4);
  negozio.setup("Cartelle", "IN", in);
  EXPECT_TRUE(PassaInterscambio(interscambio, setup, negozio.cartella.root()));
  EXPECT_FALSE(PassaInterscambio(interscambio, setup, negozio.cartella.root()));
  EXPECT_EQ(inCartella(in), QStringList({"C0.txt", "nota.doc"}));
  EXPECT_EQ(inCartella(interscambio.cartellaStorico()), QStringList({"A1.txt", "B7.txt"}));
  EXPECT_EQ(negozio.righe("SELECT BarCode, Descrizione FROM Magazzino ORDER BY BarCode"),
            QStringList({"8001234567880|Pasta", "8001234567897|Pasta"}));
  const EsitoInterscambio esito = interscambio.ImportaInterscambio(in);
  EXPECT_EQ(esito.fermatoSu, "C0.txt");
  EXPECT_TRUE(esito.errore.isEmpty());
}

// A store failure keeps the file for another try; so does a process killed halfway, which
// leaves nothing half written.
TEST_F(InterscambioTest, AnImportThatCannotFinishLeavesItsFileToBeTriedAgain) {
  QByteArray righe;
  for (int i = 1; i <= 1000; ++i)
    righe += articolo("N", QByteArray::number(i).rightJustified(9, '0').constData(), "Articolo");
  negozio.file("IN/A1.txt", righe);
  negozio.sqlite(
      "CREATE TRIGGER guasto BEFORE INSERT ON Magazzino "
      "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  {
    Interscambio interscambio(*negozio.db, negozio.cartella.root(), clock);
    const EsitoInterscambio esito = interscambio.ImportaInterscambio(in);
    EXPECT_TRUE(esito.importati.isEmpty());
    EXPECT_EQ(esito.fermatoSu, "A1.txt");
    EXPECT_TRUE(esito.errore.contains("l'archivio è rimasto com'era"))
        << esito.errore.toStdString();
    EXPECT_EQ(inCartella(in), QStringList{"A1.txt"});
  }
  negozio.sqlite("DROP TRIGGER guasto");

  negozio.chiudi();
  const pid_t figlio = fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    auto mio = ApriDatabase(negozio.percorsoArchivio());
    testing::FakeClock orologio;
    Interscambio interscambio(*mio, negozio.cartella.root(), orologio);
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
  negozio.db = ApriDatabase(negozio.percorsoArchivio());
  EXPECT_EQ(negozio.conta("SELECT * FROM Magazzino"), 0);
  EXPECT_EQ(inCartella(in), QStringList{"A1.txt"});

  Interscambio interscambio(*negozio.db, negozio.cartella.root(), clock);
  EXPECT_EQ(interscambio.ImportaInterscambio(in).importati, QStringList{"A1.txt"});
  EXPECT_EQ(negozio.conta("SELECT * FROM Magazzino"), 1000);
}

}  // namespace
}  // namespace listinova
