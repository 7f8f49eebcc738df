#include "catalogue/adegua_barcode.h"

#include <gtest/gtest.h>

#include <QFile>

#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;

class AdeguaBarCodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    installaErrorLog(&log);
    prompts.defaultAnswer = Answer::Yes;
  }
  void TearDown() override { installaErrorLog(nullptr); }

  void prodotto(const QString& cod, const QString& descrizione, const QString& barCode,
                const QString& note = {}) {
    negozio.prodotto({.cod = cod, .descrizione = descrizione, .barCode = barCode});
    if (!note.isEmpty())
      negozio.sqlite(
          QStringLiteral("UPDATE Magazzino SET Note='%1' WHERE CodMateriale='%2'").arg(note, cod));
  }
  void adegua() {
    AdeguaBarCode(*negozio.db, negozio.cartella.root(), prompts, notice, clock).cmdAdeguaCodici();
  }
  // CodMateriale and Note of the product with `barCode`, "-" when there is none.
  QString di(const QString& barCode) {
    const QStringList r = negozio.righe(
        "Select CodMateriale, Nz(Note, '') from Magazzino where BarCode='" + barCode + "'");
    return r.isEmpty() ? "-" : r.join(' ');
  }
  QString codici(const QString& prefisso) {
    QStringList c;
    for (int d = 1; d <= 9; ++d) c << di(prefisso + QString::number(d)).section('|', 0, 0);
    return c.join(' ');
  }
  int prodotti() { return negozio.conta("select * from Magazzino"); }
  QString doppi() const {
    const QString percorso = negozio.file("1-PLUDoppio.txt");
    return QFile::exists(percorso) ? QString::fromUtf8(readAll(percorso)) : "<assente>";
  }
  QString registro() const { return QString::fromUtf8(readAll(negozio.file("Dati/ErrorLog.dat"))); }

  NegozioDiProva negozio;
  FakePrompts prompts;
  FakeNotice notice;
  FakeClock clock;
  ErrorLog log{negozio.cartella.root(), clock};
};

TEST_F(AdeguaBarCodeTest, FreeRangeGivesTheProductAndNineCopiesOfItsListedColumns) {
  negozio.prodotto({.cod = "7",
                    .descrizione = QStringLiteral("Caffè d'orzo"),
                    .barCode = "1234",
                    .genere = "Bar",
                    .quantita = 12.5,
                    .costo = "3,40",
                    .costo2 = "1,95",
                    .fornitore = "ROSSI",
                    .codFornitore = "F-77",
                    .unitaMisura = "PZ",
                    .modificato = true,
                    .eliminato = true});
  negozio.sqlite(
      "UPDATE Magazzino SET Minimo=2, CodPV='PV9', PeriodoRiordino=30, Taglia='XL', "
      "CodArtCEDI='C1'");
  prodotto("15", "Latte", "8001234567890");
  ASSERT_TRUE(writeAll(negozio.file("1-PLUDoppio.txt"), "99990 - vecchio\r\n"));

  adegua();

  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text,
            "ATTENZIONE - La procedura modificherà i bar code da 4 cifre in 5 generando la quinta "
            "cifra in automatico - Continuare? ");
  EXPECT_EQ(notice.messages, QStringList{"Operazione effettuata"});
  EXPECT_EQ(doppi(), "<assente>");
  EXPECT_EQ(registro(), "");
  EXPECT_EQ(di("1234"), "-");
  EXPECT_EQ(di("12340"), "7|7");
  EXPECT_EQ(codici("1234"), "16 17 18 19 20 21 22 23 24");
  const QString colonne =
      "Select Note, Descrizione, Quantità, Costo, Costo2, UnitaMisura, Minimo, Genere, Fornitore, "
      "Eliminato, CodPV, PeriodoRiordino, CodProdottoFornitore, Taglia, CodArtCEDI, Modificato "
      "from Magazzino where BarCode=";
  // Columns outside the copied list start afresh.
  EXPECT_EQ(negozio.righe(colonne + "'12349'"),
            QStringList{QStringLiteral(
                "7|Caffè d'orzo|12.5|3.4|1.95|PZ|2|Bar|ROSSI|true|PV9|30|NULL|NULL|NULL|false")});
  EXPECT_EQ(negozio.valore("Select CodProdottoFornitore from Magazzino where BarCode='12340'"),
            "F-77");

  adegua();
  EXPECT_EQ(notice.messages.last(), "Nessun adeguamento da eseguire");
  EXPECT_EQ(prodotti(), 11);
}

// Only 4-digit codes without a note are candidates; No changes nothing; codes already taken
// are skipped and listed, and the numbering of the copies runs on past them.
TEST_F(AdeguaBarCodeTest, CandidatesTakenCodesAndNumbering) {
  prodotto("1", "Con nota", "5678", "x");
  prodotto("2", "Tre cifre", "123");
  adegua();
  EXPECT_EQ(notice.messages, QStringList{"Nessun adeguamento da eseguire"});

  prodotto("3", "Pane", "1234");
  prodotto("4", QStringLiteral("Grissini all'olio più"), "12340");
  prodotto("20", "Occupante", "22225");
  prodotto("21", "Due", "2222");
  prompts.answers = {Answer::No};
  adegua();
  EXPECT_EQ(prodotti(), 6);
  adegua();
  EXPECT_EQ(di("56780"), "-");
  EXPECT_EQ(di("1230"), "-");
  EXPECT_EQ(di("1234"), "3|");  // its own code is taken: the source stays as it was
  EXPECT_EQ(di("12340"), "4|");
  EXPECT_EQ(codici("1234"), "22 23 24 25 26 27 28 29 30");
  EXPECT_EQ(di("22220"), "21|21");
  EXPECT_EQ(codici("2222"), "31 32 33 34 20 35 36 37 38");
  EXPECT_EQ(doppi(), QStringLiteral("12340 - Grissini all'olio più\r\n22225 - Occupante\r\n"));

  // The source is still a candidate, and now every code of its range is in use.
  adegua();
  EXPECT_TRUE(doppi().endsWith("12349 - Pane\r\n")) << doppi().toStdString();
  EXPECT_EQ(prodotti(), 6 + 9 + 8);
}

TEST_F(AdeguaBarCodeTest, StoreFailureIsLoggedAndStopsKeepingFinishedProducts) {
  prodotto("1", "Primo", "1111");
  prodotto("2", "Secondo", "2222");
  prodotto("3", "Terzo", "3333");
  negozio.sqlite(
      "CREATE TRIGGER rifiuta BEFORE INSERT ON Magazzino WHEN NEW.BarCode='22225' "
      "BEGIN SELECT RAISE(ABORT, 'rifiutato'); END");
  adegua();
  EXPECT_TRUE(notice.messages.isEmpty());
  EXPECT_TRUE(registro().contains("*-Magazzino-cmdAdeguaCodici-]")) << registro().toStdString();
  EXPECT_TRUE(registro().contains("rifiutato"));
  EXPECT_EQ(di("11110"), "1|1");
  EXPECT_NE(di("11119"), "-");
  // The failing product's rows are written together or not at all.
  EXPECT_EQ(di("2222"), "2|");
  EXPECT_EQ(di("22221"), "-");
  EXPECT_EQ(di("3333"), "3|");
  EXPECT_EQ(prodotti(), 3 + 9);
}

}  // namespace
}  // namespace listinova::testing
