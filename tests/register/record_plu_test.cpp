#include "register/record_plu.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"
#include "register/descrizione_per_cassa.h"
#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;
using platform::db::SqliteStatement;

const QString kStato = QStringLiteral("PREPARAZIONE DATI PER INVIO SULLE CASSE - N. Plu: ");

struct Prodotto {
  QString codice;
  QString barCode;
  QString descrizione = QStringLiteral("PRODOTTO");
  QVariant genere = QStringLiteral("1");
  QVariant quantita;
  QVariant costo = QStringLiteral("1,00");
  QVariant unita;
  bool modificato = false;
};

class RecordPluTest : public ::testing::Test {
 protected:
  RecordPlu recordPlu(bool torvane = false) {
    return RecordPlu(
        *db_, dir_.path(), notice_, prompts_, clock_, torvane,
        [this](const QString& testo) { stati_ << testo; },
        [this](int totale) { totali_.push_back(totale); });
  }

  void aggiungi(const Prodotto& p) {
    Recordset rs = db_->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", p.codice);
    rs.setText("BarCode", p.barCode);
    rs.setText("Descrizione", p.descrizione);
    rs.setValue("Genere", p.genere);
    rs.setValue("Quantità", p.quantita);
    rs.setValue("Costo", p.costo);
    rs.setValue("UnitaMisura", p.unita);
    rs.setFlag("Modificato", p.modificato);
    rs.update();
  }

  void offerta(const QString& articolo, const QVariant& dal, const QVariant& al,
               const QVariant& prezzo) {
    Recordset rs = db_->openRecordset("select * from Offerte");
    rs.addNew();
    rs.setText("Articolo", articolo);
    rs.setValue("DataDAL", dal);
    rs.setValue("DataAL", al);
    rs.setValue("PrzScnt", prezzo);
    rs.update();
  }

  void barCodeUlteriore(const QString& codProd, const QVariant& barCode) {
    Recordset rs = db_->openRecordset("select * from BarCodeUlteriori");
    rs.addNew();
    rs.setText("CodProd", codProd);
    rs.setValue("BarCode", barCode);
    rs.update();
  }

  QString percorso() const { return dir_.filePath("FilePLU1.txt"); }

  QByteArray letto() const {
    QFile file(percorso());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<nessun file>");
  }

  // Prepares the work table and writes the file for the register on port 1.
  QByteArray inviati(bool torvane = false, bool soloModificati = false) {
    RecordPlu plu = recordPlu(torvane);
    EXPECT_TRUE(plu.PreparaTabxInvio(soloModificati));
    plu.ScriviFilePLU("1");
    return letto();
  }

  // One field of every record of the file, e.g. 6 for the price.
  QStringList campo(int indice) {
    QStringList valori;
    for (const QByteArray& riga : inviati().split('\n'))
      if (!riga.isEmpty()) valori << QString::fromUtf8(riga).section('/', indice, indice);
    return valori;
  }

  int righeDiLavoro() {
    return db_->openRecordset("select * from MagazzinoPerOstrel").recordCount();
  }

  void rigaDiLavoroPrecedente() {
    db_->execute("INSERT INTO MagazzinoPerOstrel (BarCode, Descrizione) VALUES ('X', 'VECCHIA')");
  }

  // How many times PreparaTabxInvio wrote to the error log.
  qsizetype erroriRegistrati(const ErrorLog& log) const {
    QFile file(log.percorsoLog());
    return file.open(QIODevice::ReadOnly)
               ? file.readAll().count("*-FUNZIONIOstrel-PreparaTabxInvio-]\r\n")
               : -1;
  }

  QTemporaryDir dir_;
  std::unique_ptr<Database> db_ = ApriDatabase(dir_.filePath("Dati/DbNegozio.mdb"));
  testing::FakeNotice notice_;
  testing::FakePrompts prompts_;
  testing::FakeClock clock_;  // 15/03/2024 09:30
  QStringList stati_;
  std::vector<int> totali_;
};

Prodotto acqua(bool modificato = false) {
  return {.codice = "1",
          .barCode = "8001234567890",
          .descrizione = "ACQUA NAT. 1,5L",
          .genere = "3",
          .costo = "0,35",
          .modificato = modificato};
}

// New PLUs ("P" with their number) and changes ("A", by barcode), each with and without the
// Torvane fields; a product not modified is no change.
TEST_F(RecordPluTest, NewAndChangeRecordsWithAndWithoutTorvaneFields) {
  aggiungi(acqua(true));
  aggiungi({.codice = "2", .barCode = "8009999999999"});
  EXPECT_EQ(inviati(false, true),
            QByteArray("A/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/\r\n"));
  EXPECT_EQ(inviati(true, true), QByteArray("A/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/"
                                            "900.000/10110000/0.00/0////\r\n"));
  db_->execute("Delete * from Magazzino where CodMateriale='2'");
  EXPECT_EQ(inviati(false),
            QByteArray("P/51/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/\r\n"));
  EXPECT_EQ(inviati(true), QByteArray("P/51/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/"
                                      "900.000/10110000/0.00/0/\r\n"));
}

TEST_F(RecordPluTest, FileIsUtf8AndEveryRecordEndsWithCrLf) {
  aggiungi({.codice = "1", .barCode = "801", .descrizione = QString::fromUtf8("CAFFÈ D'ORZO")});
  aggiungi({.codice = "2", .barCode = "802", .descrizione = QString::fromUtf8("PIÙ 20°")});
  EXPECT_EQ(inviati(),
            QByteArray("P/51/801/CAFF\xc3\x88 DORZO/1/0/1.00/150.00/900.000/00010000/\r\n"
                       "P/52/802/PI\xc3\x99 20/1/0/1.00/150.00/900.000/00010000/\r\n"));
}

TEST(DescrizionePerCassa, RemovesReplacesTrimsAndCuts) {
  EXPECT_EQ(DescrizionePerCassa("CAFFE' 100% ARABICA +LATTE"), "CAFFE 100 ARABICA MO");
  EXPECT_EQ(DescrizionePerCassa("A-B 1,5"), "ALESSB 1.5");
  EXPECT_EQ(DescrizionePerCassa(QString::fromUtf8("/$*#^°12°C")), "12C");
  // Trimmed after the removals, cut after the trim.
  EXPECT_EQ(DescrizionePerCassa("  % LATTE *  "), "LATTE");
  EXPECT_EQ(DescrizionePerCassa("   ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(DescrizionePerCassa(""), "");
  // Control characters would split the record or end its frame.
  EXPECT_EQ(DescrizionePerCassa(QString::fromUtf8("AC\nQUA\r\x03\x02\tX\0Y\x7f", 14)),
            "AC QUA    X Y");
}

TEST(DescrizioneNelRecordPlu, KeepsTheFieldSeparatorsOut) {
  EXPECT_EQ(DescrizioneNelRecordPlu("A/B'C,D"), "ABC.D");
  EXPECT_EQ(DescrizioneNelRecordPlu("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(DescrizioneNelRecordPlu("CAFFE 100 ARABICA MO"), "CAFFE 100 ARABICA MO");
  EXPECT_EQ(DescrizioneNelRecordPlu("A\nB\x03"), "A B ");
}

TEST_F(RecordPluTest, InStoreBarCodesKeepTheirFiveDigitItemNumber) {
  aggiungi({.codice = "1", .barCode = "2012345000017"});
  aggiungi({.codice = "2", .barCode = "21234"});
  aggiungi({.codice = "3", .barCode = "2123456"});
  aggiungi({.codice = "4", .barCode = "8001234567890"});
  barCodeUlteriore("1", "2099999000013");  // extra codes go as they are
  // The work table sorts by the shortened codes.
  EXPECT_EQ(inviati(),
            QByteArray("P/51/12345/PRODOTTO/1/0/1.00/150.00/900.000/00010000/\r\n"
                       "P/52/2099999000013/PRODOTTO/1/0/1.00/150.00/900.000/00010000/\r\n"
                       "P/53/21234/PRODOTTO/1/0/1.00/150.00/900.000/00010000/\r\n"
                       "P/54/23456/PRODOTTO/1/0/1.00/150.00/900.000/00010000/\r\n"
                       "P/55/8001234567890/PRODOTTO/1/0/1.00/150.00/900.000/00010000/\r\n"));
}

TEST_F(RecordPluTest, QuantityWithoutStockIs900) {
  aggiungi({.codice = "1", .barCode = "801", .quantita = 0});
  aggiungi({.codice = "2", .barCode = "802", .quantita = -3});
  aggiungi({.codice = "3", .barCode = "803"});
  aggiungi({.codice = "4", .barCode = "804", .quantita = 2.5});
  aggiungi({.codice = "5", .barCode = "805", .quantita = 1.2346});
  EXPECT_EQ(campo(8), QStringList({"900.000", "900.000", "900.000", "2.500", "1.235"}));
}

TEST_F(RecordPluTest, PromotionPriceOnlyOnTheCalendarDaysOfItsPeriod) {
  const QDate oggi = clock_.current.date();
  for (int i = 1; i <= 9; ++i)
    aggiungi({.codice = QString::number(i), .barCode = "80" + QString::number(i)});
  offerta("1", oggi.addDays(-1), oggi.addDays(1), "0,80");    // in force
  offerta("2", oggi.addDays(-10), oggi.addDays(-1), "0,80");  // ended yesterday
  offerta("3", oggi, oggi.addDays(10), "0,70");               // starts today
  offerta("4", oggi.addDays(1), oggi.addDays(10), "0,80");    // starts tomorrow
  // Later today than now, and ended at the first minute of today: still today.
  offerta("5", QDateTime(oggi, QTime(18, 0)), QDateTime(oggi, QTime(0, 0)), "0,60");
  offerta("6", QVariant(), oggi.addDays(1), "0,80");  // no start: not in force
  // Only the first offer counts, even when a later one is in force.
  offerta("7", oggi.addDays(-10), oggi.addDays(-1), "0,80");
  offerta("7", oggi.addDays(-1), oggi.addDays(1), "0,50");
  offerta("8", oggi, oggi, QVariant());
  aggiungi({.codice = "10", .barCode = "810", .costo = QVariant()});
  offerta("10", oggi.addDays(-1), oggi.addDays(-1), "0,80");
  EXPECT_EQ(campo(6), QStringList({"0.80", "1.00", "0.70", "1.00", "0.60", "1.00", "1.00", "0.00",
                                   "1.00", "0.00"}));
}

TEST_F(RecordPluTest, PricesAreExactToTheCent) {
  aggiungi({.codice = "1", .barCode = "801", .costo = "1234,50"});
  aggiungi({.codice = "2", .barCode = "802", .costo = "2,675"});
  aggiungi({.codice = "3", .barCode = "803", .costo = "0,1"});
  EXPECT_EQ(campo(6), QStringList({"1234.50", "2.68", "0.10"}));
}

TEST_F(RecordPluTest, ExtraBarCodesTakeTheNumbersAfterTheirProduct) {
  aggiungi(
      {.codice = "1", .barCode = "801", .descrizione = "PRIMO", .genere = "4", .costo = "2,00"});
  aggiungi({.codice = "2", .barCode = "802", .descrizione = "SECONDO"});
  barCodeUlteriore("1", "809");
  barCodeUlteriore("1", QVariant());  // no code, no number
  barCodeUlteriore("1", "808");
  EXPECT_EQ(inviati(), QByteArray("P/51/801/PRIMO/4/0/2.00/150.00/900.000/00010000/\r\n"
                                  "P/54/802/SECONDO/1/0/1.00/150.00/900.000/00010000/\r\n"
                                  "P/52/808/PRIMO/4/0/2.00/150.00/900.000/00010000/\r\n"
                                  "P/53/809/PRIMO/4/0/2.00/150.00/900.000/00010000/\r\n"));
}

TEST_F(RecordPluTest, DepartmentByNumberOrByName) {
  db_->execute("UPDATE Reparti SET Descrizione='L''ORTO' WHERE Cod=7");
  aggiungi({.codice = "1", .barCode = "801", .genere = "Reparto5"});
  aggiungi({.codice = "2", .barCode = "802", .genere = "12"});
  aggiungi({.codice = "3", .barCode = "803", .genere = "Nessuno"});
  aggiungi({.codice = "4", .barCode = "804", .genere = "L'ORTO"});
  aggiungi({.codice = "5", .barCode = "805", .genere = QVariant()});
  aggiungi({.codice = "6", .barCode = "806", .genere = "Reparto5"});
  aggiungi({.codice = "7", .barCode = "807", .genere = " 5 "});
  EXPECT_EQ(campo(4), QStringList({"5", "12", "0", "7", "0", "5", "5"}));
}

TEST_F(RecordPluTest, WorkTableKeepsNumbersCodeUnitAndOrigin) {
  aggiungi({.codice = "1", .barCode = "801", .costo = "0,35", .unita = "Kg", .modificato = true});
  aggiungi({.codice = "2", .barCode = "802", .unita = "", .modificato = true});
  aggiungi({.codice = "3", .barCode = "803", .modificato = true});
  ASSERT_TRUE(recordPlu().PreparaTabxInvio(true));
  Recordset rs = db_->openRecordset("select * from MagazzinoPerOstrel order by Ordinale");
  ASSERT_EQ(rs.recordCount(), 3);
  EXPECT_EQ(rs.money("Prezzo"), Money::parse("0,35"));
  EXPECT_EQ(rs.number("Quantita"), 900.0);
  QStringList righe;
  for (; !rs.eof(); rs.moveNext())
    righe << QStringList{rs.text("Ordinale"), rs.text("CodArtMagazzino"), rs.text("UM"),
                         rs.flag("Modificato") ? "vero" : "falso"}
                 .join(' ');
  EXPECT_EQ(righe, QStringList({"51 1 Kg vero", "52 2 Pz vero", "53 3 Pz vero"}));
}

TEST_F(RecordPluTest, NoModifiedProductLeavesTheWorkTableAlone) {
  rigaDiLavoroPrecedente();
  aggiungi(acqua(false));
  EXPECT_FALSE(recordPlu().PreparaTabxInvio(true));
  EXPECT_EQ(righeDiLavoro(), 1);
  EXPECT_TRUE(stati_.isEmpty());
  EXPECT_TRUE(prompts_.asked.empty());
}

TEST_F(RecordPluTest, EachPreparationReplacesThePreviousOne) {
  rigaDiLavoroPrecedente();
  aggiungi(acqua());
  aggiungi({.codice = "2", .barCode = "802"});
  ASSERT_EQ(inviati().count("\r\n"), 2);
  db_->execute("Delete * from Magazzino where CodMateriale='2'");
  EXPECT_EQ(inviati(),
            QByteArray("P/51/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/\r\n"));
  EXPECT_EQ(righeDiLavoro(), 1);
}

TEST_F(RecordPluTest, EmptyWorkTableGivesNoticeAndNoFile) {
  QFile vecchio(percorso());
  ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
  vecchio.write("P/51/VECCHIO/\r\n");
  vecchio.close();
  recordPlu().ScriviFilePLU("1");
  EXPECT_FALSE(QFile::exists(percorso()));
  EXPECT_EQ(notice_.messages, QStringList{"Nessun Articolo da inviare!!!"});
  EXPECT_TRUE(totali_.empty());
}

TEST_F(RecordPluTest, StatusShowsEachProductsPluNumberAndTheTotal) {
  aggiungi({.codice = "1", .barCode = "801"});
  aggiungi({.codice = "2", .barCode = "802"});
  barCodeUlteriore("1", "901");
  barCodeUlteriore("1", "902");
  inviati();
  EXPECT_EQ(stati_, QStringList({kStato, kStato + "51", kStato + "54"}));
  EXPECT_EQ(totali_, std::vector<int>{4});
}

TEST_F(RecordPluTest, CodeThatIsNoNumberIsLoggedAndSentAtItsCost) {
  ErrorLog log(dir_.path(), clock_);
  installaErrorLog(&log);
  aggiungi({.codice = "A1", .barCode = "801", .costo = "3,00"});
  offerta("A1", clock_.current.date(), clock_.current.date(), "0,50");
  barCodeUlteriore("A1", "901");
  const QByteArray file = inviati();
  installaErrorLog(nullptr);
  // The statements join the code unquoted, so the store cannot read "A1" as a value.
  EXPECT_EQ(file, QByteArray("P/51/801/PRODOTTO/1/0/3.00/150.00/900.000/00010000/\r\n"));
  EXPECT_EQ(erroriRegistrati(log), 2);
}

// The code joins the statement only as a number: "12 or 1=1" would pick the first offer.
TEST_F(RecordPluTest, CodeThatLooksLikeAStatementNeverChangesOne) {
  ErrorLog log(dir_.path(), clock_);
  installaErrorLog(&log);
  aggiungi({.codice = "7", .barCode = "801", .costo = "3,00"});
  aggiungi({.codice = "12 or 1=1", .barCode = "802", .costo = "2,00"});
  offerta("7", clock_.current.date(), clock_.current.date(), "0,50");
  barCodeUlteriore("7", "901");
  const QStringList prezzi = campo(6);
  installaErrorLog(nullptr);
  EXPECT_EQ(prezzi, QStringList({"0.50", "2.00", "0.50"}));
  EXPECT_EQ(erroriRegistrati(log), 2);
}

TEST_F(RecordPluTest, WorkTableThatCannotBeRewrittenIsLoggedAndNothingIsSent) {
  ErrorLog log(dir_.path(), clock_);
  installaErrorLog(&log);
  aggiungi(acqua());
  db_->execute("DROP TABLE MagazzinoPerOstrel");
  const bool preparato = recordPlu().PreparaTabxInvio(false);
  installaErrorLog(nullptr);
  EXPECT_FALSE(preparato);
  EXPECT_EQ(erroriRegistrati(log), 1);
}

// Numbers 51..32767: exactly 32717 PLUs fit.
TEST_F(RecordPluTest, MoreProductsThanPluNumbersAreRefusedBeforeWriting) {
  constexpr int kProdotti = 32700;
  {
    Database::Transaction transazione(*db_);
    SqliteStatement prodotto(db_->handle(),
                             "INSERT INTO Magazzino (CodMateriale, BarCode, Descrizione, Genere, "
                             "Costo) VALUES (?1, ?2, 'P', '1', 1)");
    for (int i = 1; i <= kProdotti; ++i) {
      prodotto.bind(1, QString::number(i));
      prodotto.bind(2, QString::number(800000000 + i));
      prodotto.step();
      prodotto.reset();
    }
    SqliteStatement ulteriore(db_->handle(),
                              "INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES (?1, ?2)");
    for (int i = 1; i <= 18; ++i) {
      ulteriore.bind(1, QString::number(i));
      ulteriore.bind(2, QString::number(900000000 + i));
      ulteriore.step();
      ulteriore.reset();
    }
    transazione.commit();
  }
  rigaDiLavoroPrecedente();
  EXPECT_FALSE(recordPlu().PreparaTabxInvio(false));
  EXPECT_EQ(righeDiLavoro(), 1);
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].text,
            "Troppi prodotti da inviare: servono 32718 numeri PLU, la cassa ne accetta al "
            "massimo 32717 (da 51 a 32767). Invio annullato.");
  EXPECT_EQ(prompts_.asked[0].title, "Listinova");
  EXPECT_EQ(prompts_.asked[0].icon, platform::Icon::Exclamation);
  EXPECT_TRUE(stati_.isEmpty());

  db_->execute("Delete * from BarCodeUlteriori where BarCode='900000018'");
  EXPECT_TRUE(recordPlu().PreparaTabxInvio(false));
  Recordset ultimo = db_->openRecordset("select max(Ordinale) as Ultimo from MagazzinoPerOstrel");
  EXPECT_EQ(ultimo.integer("Ultimo"), 32767);
  EXPECT_EQ(righeDiLavoro(), 32717);
  EXPECT_EQ(prompts_.asked.size(), 1u);
}

}  // namespace
}  // namespace listinova
