#include "import/importa_testo.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "catalogue/apri_database.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::NegozioDiProva;

OpzioniTesto puntoEVirgola() { return {QChar(';'), false, PredefinitePerTesto({})}; }

class ImportaTesto : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.prodotto({.cod = "7", .descrizione = "Vecchio uno", .barCode = "111"})
        .prodotto({.cod = "8", .descrizione = "Vecchio due", .barCode = "222"});
  }
  QStringList prodotti(const QString& colonne = "BarCode,Descrizione") {
    return negozio.righe("SELECT " + colonne + " FROM Magazzino ORDER BY CLng(CodMateriale)");
  }
  const QStringList vecchi{"111|Vecchio uno", "222|Vecchio due"};
  NegozioDiProva negozio;
};

TEST_F(ImportaTesto, PelidorFixedColumnsHoldCents) {
  const auto riga = [](const char* reparto, const char* barcode, const char* descrizione,
                       const char* prezzo) {
    return QByteArray(reparto).leftJustified(2) + QByteArray(barcode).leftJustified(14) +
           QByteArray(descrizione).leftJustified(20) + " " + prezzo + "\n";
  };
  const QString percorso =
      negozio.file("pelidor.txt", riga("03", " 8001234567897", "Biscotti al burro", "00250") +
                                      riga("12", "8000000000017", "Acqua", "01999") +
                                      riga("04", "123", "Rotto", "12a45"));
  OpzioniTesto o = puntoEVirgola();
  o.pelidor35 = true;
  const RiepilogoImport r = ImportaTestoDelimitato(*negozio.db, percorso, o);
  EXPECT_EQ(prodotti("BarCode,Descrizione,Costo,Genere"),
            QStringList({"8001234567897|Biscotti al burro|2.5|Reparto3",
                         "8000000000017|Acqua|19.99|Reparto12"}));
  ASSERT_EQ(r.scartate.size(), 1u);
  EXPECT_EQ(r.scartate[0].motivo, "prezzo \"12a45\" non numerico");
}

// A missing file, a store failure halfway and a process killed halfway: the old archive stays.
TEST_F(ImportaTesto, AnImportThatCannotFinishLeavesTheOldArchiveWhole) {
  EXPECT_THROW(ImportaTestoDelimitato(*negozio.db, negozio.file("manca.txt"), puntoEVirgola()),
               ErroreImport);
  negozio.sqlite(
      "CREATE TRIGGER guasto BEFORE INSERT ON Magazzino WHEN NEW.BarCode = 'guasto' "
      "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  const QString rotto = negozio.file(
      "rotto.txt", "x;x;x;1;Uno;1;x;x;x;1\nx;x;x;guasto;Due;1;x;x;x;1\nx;x;x;3;Tre;1;x;x;x;1\n");
  try {
    ImportaTestoDelimitato(*negozio.db, rotto, puntoEVirgola());
    ADD_FAILURE() << "the failure was not reported";
  } catch (const ErroreImport& errore) {
    EXPECT_TRUE(errore.messaggio().startsWith("Importazione non riuscita: l'archivio è rimasto"));
  }
  EXPECT_EQ(prodotti(), vecchi);

  QByteArray righe;
  for (int i = 1; i <= 2000; ++i)
    righe += QByteArray("x;x;x;") + QByteArray::number(i) + ";P;1;x;x;x;1\n";
  const QString percorso = negozio.file("grande.txt", righe);
  negozio.chiudi();
  const pid_t figlio = fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    auto mio = ApriDatabase(negozio.percorsoArchivio());
    SchermoImport schermo;
    // Dies with the transaction open and half the rows written, as a power cut would.
    schermo.avanzamento = [](int fatti, int) {
      if (fatti >= 1000) _exit(0);
    };
    ImportaTestoDelimitato(*mio, percorso, puntoEVirgola(), schermo);
    _exit(1);
  }
  int stato = 0;
  ASSERT_EQ(waitpid(figlio, &stato, 0), figlio);
  ASSERT_TRUE(WIFEXITED(stato));
  ASSERT_EQ(WEXITSTATUS(stato), 0) << "the import did not reach the middle";
  negozio.db = ApriDatabase(negozio.percorsoArchivio());
  EXPECT_EQ(prodotti(), vecchi);
}

}  // namespace
}  // namespace listinova
