#include "catalogue/adegua_barcode.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::db::Database;
using platform::db::Recordset;
using testing::FakeClock;
using testing::FakeNotice;
using testing::FakePrompts;

const QString kDomanda = QStringLiteral(
    "ATTENZIONE - La procedura modificherà i bar code da 4 cifre in 5 generando la quinta cifra "
    "in automatico - Continuare? ");

class AdeguaBarCodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
    Globali().TitoloProgramma = "Negozio Prova";
    installaErrorLog(&log);
    prompts.defaultAnswer = Answer::Yes;
  }
  void TearDown() override {
    installaErrorLog(nullptr);
    Globali() = VarGlobali{};
  }

  void prodotto(const QString& cod, const QString& descrizione, const QString& barCode,
                const QString& note = {}) {
    auto rs = db->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", cod);
    rs.setText("Descrizione", descrizione);
    rs.setText("BarCode", barCode);
    if (!note.isEmpty()) rs.setText("Note", note);
    rs.update();
  }

  void adegua() { AdeguaBarCode(*db, dir.path(), prompts, notice, clock).cmdAdeguaCodici(); }

  Recordset perBarCode(const QString& barCode) {
    return db->openRecordset("Select * from Magazzino where BarCode='" + barCode + "'");
  }
  int prodotti() { return db->openRecordset("select * from Magazzino").recordCount(); }
  QString doppi() const {
    const QString percorso = dir.filePath("1-PLUDoppio.txt");
    return QFile::exists(percorso) ? QString::fromUtf8(testing::readAll(percorso)) : "<assente>";
  }
  QString registro() const {
    return QString::fromUtf8(testing::readAll(dir.filePath("Dati/ErrorLog.dat")));
  }

  QTemporaryDir dir;
  std::unique_ptr<Database> db;
  FakePrompts prompts;
  FakeNotice notice;
  FakeClock clock;
  ErrorLog log{dir.path(), clock};
};

TEST_F(AdeguaBarCodeTest, FreeRangeGivesTheProductAndNineCopies) {
  {
    auto rs = db->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", "7");
    rs.setText("Descrizione", QStringLiteral("Caffè d'orzo"));
    rs.setText("BarCode", "1234");
    rs.setValue(QStringLiteral("Quantità"), 12.5);
    rs.setValue("Costo", "3,40");
    rs.setValue("Costo2", "1,95");
    rs.setText("UnitaMisura", "PZ");
    rs.setValue("Minimo", 2);
    rs.setText("Genere", "Bar");
    rs.setText("Fornitore", "ROSSI");
    rs.setFlag("Eliminato", true);
    rs.setText("CodPV", "PV9");
    rs.setValue("PeriodoRiordino", 30);
    rs.setText("CodProdottoFornitore", "F-77");
    rs.setText("Taglia", "XL");
    rs.setFlag("Modificato", true);
    rs.setText("CodArtCEDI", "C1");
    rs.update();
  }
  prodotto("15", "Latte", "8001234567890");
  ASSERT_TRUE(testing::writeAll(dir.filePath("1-PLUDoppio.txt"), "99990 - vecchio\r\n"));

  adegua();

  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, kDomanda);
  EXPECT_EQ(prompts.asked[0].title, "Negozio Prova");
  EXPECT_EQ(prompts.asked[0].buttons, platform::Buttons::YesNo);
  EXPECT_EQ(prompts.asked[0].icon, platform::Icon::Question);
  EXPECT_EQ(clock.waits, std::vector<int>{500});
  EXPECT_EQ(notice.messages, QStringList{"Operazione effettuata"});
  EXPECT_EQ(doppi(), "<assente>");
  EXPECT_EQ(registro(), "");
  EXPECT_EQ(prodotti(), 11);
  EXPECT_TRUE(perBarCode("1234").eof());

  auto sorgente = perBarCode("12340");
  ASSERT_EQ(sorgente.recordCount(), 1);
  EXPECT_EQ(sorgente.text("CodMateriale"), "7");
  EXPECT_EQ(sorgente.text("Note"), "7");
  EXPECT_EQ(sorgente.text("CodProdottoFornitore"), "F-77");

  for (int d = 1; d <= 9; ++d) {
    SCOPED_TRACE(d);
    auto copia = perBarCode("1234" + QString::number(d));
    ASSERT_EQ(copia.recordCount(), 1);
    EXPECT_EQ(copia.text("CodMateriale"), QString::number(15 + d));
    EXPECT_EQ(copia.text("Note"), "7");
    EXPECT_EQ(copia.text("Descrizione"), QStringLiteral("Caffè d'orzo"));
    EXPECT_EQ(copia.number(QStringLiteral("Quantità")), 12.5);
    EXPECT_EQ(copia.money("Costo"), Money::fromCents(340));
    EXPECT_EQ(copia.money("Costo2"), Money::fromCents(195));
    EXPECT_EQ(copia.text("UnitaMisura"), "PZ");
    EXPECT_EQ(copia.number("Minimo"), 2);
    EXPECT_EQ(copia.text("Genere"), "Bar");
    EXPECT_EQ(copia.text("Fornitore"), "ROSSI");
    EXPECT_TRUE(copia.flag("Eliminato"));
    EXPECT_EQ(copia.text("CodPV"), "PV9");
    EXPECT_EQ(copia.integer("PeriodoRiordino"), 30);
    // Columns outside the copied list start afresh.
    EXPECT_EQ(copia.text("CodProdottoFornitore"), "");
    EXPECT_EQ(copia.text("Taglia"), "");
    EXPECT_EQ(copia.text("CodArtCEDI"), "");
    EXPECT_FALSE(copia.flag("Modificato"));
  }

  adegua();
  EXPECT_EQ(notice.messages,
            (QStringList{"Operazione effettuata", "Nessun adeguamento da eseguire"}));
  EXPECT_EQ(clock.waits.size(), 1u);
  EXPECT_EQ(prodotti(), 11);
}

TEST_F(AdeguaBarCodeTest, TakenCodesAreSkippedAndListed) {
  prodotto("3", "Pane", "1234");
  prodotto("4", QStringLiteral("Grissini all'olio più"), "12340");

  adegua();

  auto sorgente = perBarCode("1234");
  ASSERT_EQ(sorgente.recordCount(), 1);
  EXPECT_EQ(sorgente.text("CodMateriale"), "3");
  EXPECT_TRUE(sorgente.text("Note").isEmpty());
  EXPECT_EQ(perBarCode("12340").text("CodMateriale"), "4");
  for (int d = 1; d <= 9; ++d) {
    auto copia = perBarCode("1234" + QString::number(d));
    ASSERT_EQ(copia.recordCount(), 1) << d;
    EXPECT_EQ(copia.text("CodMateriale"), QString::number(4 + d));
    EXPECT_EQ(copia.text("Note"), "3");
  }
  EXPECT_EQ(doppi(), QStringLiteral("12340 - Grissini all'olio più\r\n"));
  EXPECT_EQ(prodotti(), 11);

  // The source is still a candidate, and now every code of its range is in use.
  adegua();
  QString attesi = QStringLiteral("12340 - Grissini all'olio più\r\n");
  for (int d = 1; d <= 9; ++d) attesi += "1234" + QString::number(d) + " - Pane\r\n";
  EXPECT_EQ(doppi(), attesi);
  EXPECT_EQ(prodotti(), 11);
  EXPECT_TRUE(perBarCode("1234").text("Note").isEmpty());
  EXPECT_EQ(notice.messages, (QStringList{"Operazione effettuata", "Operazione effettuata"}));
}

TEST_F(AdeguaBarCodeTest, AnsweringNoChangesNothing) {
  prodotto("3", "Pane", "1234");
  prodotto("4", "Latte", "12340");
  ASSERT_TRUE(testing::writeAll(dir.filePath("1-PLUDoppio.txt"), "vecchio\r\n"));
  prompts.answers = {Answer::No};

  adegua();

  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prodotti(), 2);
  EXPECT_TRUE(perBarCode("1234").text("Note").isEmpty());
  EXPECT_TRUE(notice.messages.isEmpty());
  EXPECT_TRUE(clock.waits.empty());
  EXPECT_EQ(doppi(), "vecchio\r\n");
}

TEST_F(AdeguaBarCodeTest, OnlyFourDigitCodesWithoutNoteAreCandidates) {
  prodotto("1", "Con nota", "5678", "x");
  prodotto("2", "Tre cifre", "123");
  prodotto("3", "Sei cifre", "123456");
  prodotto("4", "Vuoto", "");

  adegua();
  EXPECT_EQ(notice.messages, QStringList{"Nessun adeguamento da eseguire"});
  EXPECT_TRUE(clock.waits.empty());

  prodotto("5", "Candidato", "4321");
  adegua();
  EXPECT_EQ(prodotti(), 5 + 9);
  EXPECT_EQ(perBarCode("5678").text("Note"), "x");
  EXPECT_EQ(perBarCode("123").recordCount(), 1);
  EXPECT_EQ(perBarCode("123456").recordCount(), 1);
  EXPECT_TRUE(perBarCode("56780").eof());
  EXPECT_TRUE(perBarCode("1230").eof());
  EXPECT_EQ(perBarCode("43210").text("CodMateriale"), "5");
  EXPECT_EQ(perBarCode("43219").text("CodMateriale"), "14");
}

TEST_F(AdeguaBarCodeTest, NewCodesRunOnAcrossProductsAndTakenDigits) {
  prodotto("1", "Uno", "1111");
  prodotto("2", "Due", "2222");
  prodotto("20", "Occupante", "22225");
  adegua();
  QStringList codici;
  for (const char* prefisso : {"1111", "2222"})
    for (int d = 1; d <= 9; ++d) {
      auto rs = perBarCode(prefisso + QString::number(d));
      codici << (rs.eof() ? "-" : rs.text("CodMateriale"));
    }
  EXPECT_EQ(codici.join(' '), "21 22 23 24 25 26 27 28 29 30 31 32 33 20 34 35 36 37");
  EXPECT_EQ(perBarCode("22225").text("Descrizione"), "Occupante");
  EXPECT_EQ(doppi(), "22225 - Occupante\r\n");
}

TEST_F(AdeguaBarCodeTest, ArchiveWithoutNumericCodesNumbersCopiesFromOne) {
  prodotto("A1", "Sacchetto", "1234");
  adegua();
  EXPECT_EQ(perBarCode("12340").text("CodMateriale"), "A1");
  EXPECT_EQ(perBarCode("12341").text("CodMateriale"), "1");
  EXPECT_EQ(perBarCode("12349").text("CodMateriale"), "9");
}

TEST_F(AdeguaBarCodeTest, StoreFailureIsLoggedAndStopsKeepingFinishedProducts) {
  prodotto("1", "Primo", "1111");
  prodotto("2", "Secondo", "2222");
  prodotto("3", "Terzo", "3333");
  ASSERT_EQ(sqlite3_exec(db->handle(),
                         "CREATE TRIGGER rifiuta BEFORE INSERT ON Magazzino WHEN "
                         "NEW.BarCode='22225' BEGIN SELECT RAISE(ABORT, 'rifiutato'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);

  adegua();

  EXPECT_TRUE(notice.messages.isEmpty());
  EXPECT_TRUE(registro().contains("*-Magazzino-cmdAdeguaCodici-]")) << registro().toStdString();
  EXPECT_TRUE(registro().contains("rifiutato")) << registro().toStdString();
  EXPECT_EQ(perBarCode("11110").text("Note"), "1");
  EXPECT_EQ(perBarCode("11119").recordCount(), 1);
  // The failing product's rows are written together or not at all.
  EXPECT_EQ(perBarCode("2222").recordCount(), 1);
  EXPECT_TRUE(perBarCode("2222").text("Note").isEmpty());
  EXPECT_TRUE(perBarCode("22221").eof());
  EXPECT_EQ(perBarCode("3333").recordCount(), 1);
  EXPECT_EQ(prodotti(), 3 + 9);
}

TEST_F(AdeguaBarCodeTest, VerificaBarCodeDoppioListsOnlyCodesInUse) {
  prodotto("1", "Olio", "55555");
  AdeguaBarCode adegua(*db, dir.path(), prompts, notice, clock);
  EXPECT_FALSE(adegua.VerificaBarCodeDoppio("55556"));
  EXPECT_FALSE(adegua.VerificaBarCodeDoppio("5555'"));
  EXPECT_EQ(doppi(), "<assente>");
  EXPECT_TRUE(adegua.VerificaBarCodeDoppio("55555"));
  EXPECT_TRUE(adegua.VerificaBarCodeDoppio("55555"));
  EXPECT_EQ(doppi(), "55555 - Olio\r\n55555 - Olio\r\n");
  EXPECT_EQ(registro(), "");
}

}  // namespace
}  // namespace listinova
