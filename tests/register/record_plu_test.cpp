// The PLU file the registers get, from the store's products, offers and extra barcodes. The
// end-to-end sends check a small shop record by record; here each rule of a field has its case.
#include "register/record_plu.h"

#include <gtest/gtest.h>

#include <QFile>
#include <functional>

#include "register/descrizione_per_cassa.h"
#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::db::Recordset;

// Shop and register share these: the fake clock says 15/03/2024 09:30.
struct Invio {
  RecordPlu record() {
    return RecordPlu(*negozio.db, negozio.cartella.root(), notice, prompts, clock, false);
  }
  // Some fields of every record of the file for register 1, "|"-joined (4 the department, 6
  // the price, 8 the quantity); none, the whole record.
  QStringList campi(const QList<int>& indici) {
    RecordPlu plu = record();
    EXPECT_TRUE(plu.PreparaTabxInvio(false));
    plu.ScriviFilePLU("1");
    QStringList valori;
    for (const QString& riga :
         QString::fromUtf8(readAll(plu.PercorsoFilePLU("1"))).split("\r\n", Qt::SkipEmptyParts)) {
      QStringList scelti;
      for (int indice : indici) scelti << riga.section('/', indice, indice);
      valori << (indici.isEmpty() ? riga : scelti.join('|'));
    }
    return valori;
  }
  // Any dates and price, a missing one included.
  void offerta(const QString& articolo, const QVariant& dal, const QVariant& al,
               const QVariant& prezzo) {
    Recordset rs = negozio.db->openRecordset("select * from Offerte");
    rs.addNew();
    rs.setText("Articolo", articolo);
    rs.setValue("DataDAL", dal);
    rs.setValue("DataAL", al);
    rs.setValue("PrzScnt", prezzo);
    rs.update();
  }

  NegozioDiProva negozio;
  FakeNotice notice;
  FakePrompts prompts;
  FakeClock clock;
};

TEST(RecordPlu, EachFieldFollowsItsRule) {
  const QDate oggi = FakeClock().current.date();
  const struct {
    const char* nome;
    QList<int> campi;
    std::function<void(Invio&)> negozio;
    QStringList attesi;
  } casi[] = {
      {"in-store codes keep their item number; extra codes go whole, numbered after their "
       "product, none without a code",
       {},
       [](Invio& i) {
         i.negozio.prodotto({.cod = "1", .barCode = "2012345000017"})
             .prodotto({.cod = "2", .barCode = "21234"})
             .prodotto({.cod = "3", .barCode = "2123456"})
             .barCodeUlteriore("1", "2099999000013")
             .sqlite("INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES ('1', NULL)");
       },
       {"P/51/12345/PRODOTTO/1/0/1.00/150.00/5.000/00010000/",
        "P/52/2099999000013/PRODOTTO/1/0/1.00/150.00/5.000/00010000/",
        "P/53/21234/PRODOTTO/1/0/1.00/150.00/5.000/00010000/",
        "P/54/23456/PRODOTTO/1/0/1.00/150.00/5.000/00010000/"}},
      {"no stock is 900, thousandths rounded; prices exact to the cent; department by number "
       "or by name",
       {4, 6, 8},
       [](Invio& i) {
         i.negozio.reparto(7, "L'ORTO")
             .prodotto({.cod = "1", .genere = "Reparto5", .quantita = 0, .costo = "1234,50"})
             .prodotto({.cod = "2", .genere = "12", .quantita = -3, .costo = "2,675"})
             .prodotto({.cod = "3", .genere = "Nessuno", .costo = "0,1"})
             .prodotto({.cod = "4", .genere = "L'ORTO", .quantita = 2.5})
             .prodotto({.cod = "5", .genere = "", .quantita = 1.2346})
             .prodotto({.cod = "6", .genere = " 5 "})
             .sqlite("UPDATE Magazzino SET Quantità=NULL WHERE CodMateriale='3'")
             .sqlite("UPDATE Magazzino SET Genere=NULL WHERE Genere=''");
       },
       {"5|1234.50|900.000", "12|2.68|900.000", "0|0.10|900.000", "7|1.00|2.500", "0|1.00|1.235",
        "5|1.00|5.000"}},
      {"an offer's price only on the calendar days of its period, the first offer only",
       {6},
       [oggi](Invio& i) {
         i.negozio.prodotti(9)
             .prodotto({.cod = "10"})
             .sqlite("UPDATE Magazzino SET Costo=NULL WHERE CodMateriale='10'");
         i.offerta("1", oggi.addDays(-1), oggi.addDays(1), "0,80");    // in force
         i.offerta("2", oggi.addDays(-10), oggi.addDays(-1), "0,80");  // ended yesterday
         i.offerta("3", oggi, oggi.addDays(10), "0,70");               // starts today
         i.offerta("4", oggi.addDays(1), oggi.addDays(10), "0,80");    // starts tomorrow
         // Later today than now, and ended at the first minute of today: still today.
         i.offerta("5", QDateTime(oggi, QTime(18, 0)), QDateTime(oggi, QTime(0, 0)), "0,60");
         i.offerta("6", QVariant(), oggi.addDays(1), "0,80");  // no start: not in force
         i.offerta("7", oggi.addDays(-10), oggi.addDays(-1), "0,80");
         i.offerta("7", oggi.addDays(-1), oggi.addDays(1), "0,50");
         i.offerta("8", oggi, oggi, QVariant());
         i.offerta("10", oggi.addDays(-1), oggi.addDays(-1), "0,80");
       },
       {"0.80", "1.00", "0.70", "1.00", "0.60", "1.00", "1.00", "0.00", "1.00", "0.00"}},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    Invio invio;
    caso.negozio(invio);
    EXPECT_EQ(invio.campi(caso.campi), caso.attesi);
  }
}

TEST(DescrizionePerCassa, RemovesReplacesTrimsAndCuts) {
  const std::pair<QString, QString> casi[] = {
      {"CAFFE' 100% ARABICA +LATTE", "CAFFE 100 ARABICA MO"},
      {"A-B 1,5", "ALESSB 1.5"},
      {QString::fromUtf8("/$*#^°12°C"), "12C"},
      // Trimmed after the removals, cut after the trim.
      {"  % LATTE *  ", "LATTE"},
      {"   ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRST"},
  };
  for (const auto& [testo, atteso] : casi)
    EXPECT_EQ(DescrizionePerCassa(testo), atteso) << testo.toStdString();
  EXPECT_EQ(DescrizioneNelRecordPlu("A/B'C,D\n\x03"), "ABC.D  ");
}

// An earlier send's file must never go out again.
TEST(RecordPlu, EmptyWorkTableGivesNoticeAndNoFile) {
  Invio invio;
  RecordPlu plu = invio.record();
  ASSERT_TRUE(writeAll(plu.PercorsoFilePLU("1"), "P/51/VECCHIO/\r\n"));
  plu.ScriviFilePLU("1");
  EXPECT_FALSE(QFile::exists(plu.PercorsoFilePLU("1")));
  EXPECT_EQ(invio.notice.messages, QStringList{"Nessun Articolo da inviare!!!"});
}

// A code that is no number is logged and sent at its cost: the statements join it only as a
// number, so "12 or 1=1" never picks another product's offer or barcodes. A work table that
// cannot be rewritten is logged and nothing is sent.
TEST(RecordPlu, CodesThatAreNoNumberNeverChangeAStatement) {
  Invio invio;
  ErrorLog log(invio.negozio.cartella.root(), invio.clock);
  installaErrorLog(&log);
  const auto errori = [&] {
    return readAll(log.percorsoLog()).count("*-FUNZIONIOstrel-PreparaTabxInvio-]\r\n");
  };
  const QDate oggi = invio.clock.current.date();
  invio.negozio.prodotto({.cod = "7", .barCode = "801", .costo = "3,00"})
      .prodotto({.cod = "12 or 1=1", .barCode = "802", .costo = "2,00"})
      .prodotto({.cod = "A1", .barCode = "803", .costo = "4,00"})
      .barCodeUlteriore("7", "901")
      .offerta({.articolo = "7", .dal = oggi, .al = oggi, .prezzo = "0,50"})
      .offerta({.articolo = "A1", .dal = oggi, .al = oggi, .prezzo = "0,40"});
  EXPECT_EQ(invio.campi({6}), QStringList({"0.50", "2.00", "4.00", "0.50"}));
  EXPECT_EQ(errori(), 4);
  invio.negozio.db->execute("DROP TABLE MagazzinoPerOstrel");
  EXPECT_FALSE(invio.record().PreparaTabxInvio(false));
  installaErrorLog(nullptr);
  EXPECT_EQ(errori(), 9);  // the codes again, then the table
}

// Numbers 51..32767: exactly 32717 PLUs fit.
TEST(RecordPlu, MoreProductsThanPluNumbersAreRefusedBeforeWriting) {
  Invio invio;
  invio.negozio
      .sqlite(
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32700) "
          "INSERT INTO Magazzino (CodMateriale, BarCode, Descrizione, Genere, Costo) "
          "SELECT i, 800000000 + i, 'P', '1', 1 FROM n")
      .sqlite(
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 18) "
          "INSERT INTO BarCodeUlteriori (CodProd, BarCode) SELECT i, 900000000 + i FROM n")
      .sqlite("INSERT INTO MagazzinoPerOstrel (BarCode, Descrizione) VALUES ('X', 'VECCHIA')");
  EXPECT_FALSE(invio.record().PreparaTabxInvio(false));
  EXPECT_EQ(invio.negozio.conta("select * from MagazzinoPerOstrel"), 1);
  ASSERT_EQ(invio.prompts.asked.size(), 1u);
  EXPECT_EQ(invio.prompts.asked[0].text,
            "Troppi prodotti da inviare: servono 32718 numeri PLU, la cassa ne accetta al "
            "massimo 32717 (da 51 a 32767). Invio annullato.");

  invio.negozio.sqlite("DELETE FROM BarCodeUlteriori WHERE BarCode='900000018'");
  EXPECT_TRUE(invio.record().PreparaTabxInvio(false));
  EXPECT_EQ(invio.negozio.valore("select max(Ordinale) from MagazzinoPerOstrel"), "32767");
  EXPECT_EQ(invio.negozio.conta("select * from MagazzinoPerOstrel"), 32717);
}

}  // namespace
}  // namespace listinova::testing
