// The offers in the store: saved, replaced, listed, deleted and copied for the report.
#include "promotions/offerte.h"

#include <gtest/gtest.h>

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

const QDate kOggi = QDate::currentDate();

class OfferteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.prodotto("12", "Latte intero 1 l", "2,50");
    negozio.prodotto("13", "Pane casereccio", "3,20");
  }
  Offerta offerta(const QString& cod, int daOggi, int durata, TipoSconto tipo,
                  const QString& sconto, const QString& prezzo) {
    return {cod, kOggi.addDays(daOggi), kOggi.addDays(daOggi + durata), tipo, sconto, prezzo};
  }

  NegozioDiProva negozio;
  platform::db::Database& db = *negozio.db;
};

TEST_F(OfferteTest, SavingTwiceKeepsOneRowPerPeriodAndMarksTheProduct) {
  SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Percentuale, "10", "2,25"));
  SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Valore, "0,50", "2,00"));
  SalvaOfferta(db, offerta("12", 10, 3, TipoSconto::Valore, "", "2,50"));
  EXPECT_EQ(negozio.conta("Select * from Offerte where Articolo='12'"), 2);
  EXPECT_TRUE(negozio.modificato("12"));
  EXPECT_FALSE(negozio.modificato("13"));

  auto rs = db.openRecordset("Select * from Offerte order by DataDal");
  EXPECT_EQ(rs.money("ScontoVal"), Money::fromCents(50));
  EXPECT_EQ(rs.number("ScontoPer"), 0.0);
  EXPECT_EQ(rs.money("PrzScnt"), Money::fromCents(200));
  EXPECT_EQ(rs.integer("Pezzi"), 1);
  rs.moveNext();
  EXPECT_EQ(rs.money("ScontoVal"), Money());  // an empty discount is saved as 0

  // What the panel reads back: the first offer, as it was typed.
  const auto letta = CaricaOfferta(db, "12");
  ASSERT_TRUE(letta);
  EXPECT_EQ(letta->tipo, TipoSconto::Valore);
  EXPECT_EQ(letta->sconto, "0,50");
  EXPECT_EQ(letta->prezzo, "2,00");
  EXPECT_EQ(letta->dal, kOggi);
  SalvaOfferta(db, offerta("13", 1, 1, TipoSconto::Percentuale, "12,5", "2,80"));
  EXPECT_EQ(CaricaOfferta(db, "13")->sconto, "12,5");
  EXPECT_EQ(CaricaOfferta(db, "13")->tipo, TipoSconto::Percentuale);
  EXPECT_FALSE(CaricaOfferta(db, "99"));
}

TEST_F(OfferteTest, AFailedSaveLeavesThePeriodAsItWas) {
  SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Valore, "0,50", "2,00"));
  // The mark cannot be written: the save fails after its delete and add.
  negozio.sqlite(
      "CREATE TRIGGER nessun_segno BEFORE UPDATE OF Modificato ON Magazzino "
      "BEGIN SELECT RAISE(ABORT, 'archivio in sola lettura'); END");
  EXPECT_THROW(SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Valore, "1", "1,50")),
               platform::db::DatabaseError);
  auto rs = db.openRecordset("Select * from Offerte where Articolo='12'");
  ASSERT_EQ(rs.recordCount(), 1);
  EXPECT_EQ(rs.money("PrzScnt"), Money::fromCents(200));
}

TEST_F(OfferteTest, TheListFromADateWithDescriptionsAndPriorPrices) {
  SalvaOfferta(db, offerta("13", 5, 2, TipoSconto::Valore, "0,20", "3,00"));
  SalvaOfferta(db, offerta("12", 1, 6, TipoSconto::Percentuale, "10", "2,25"));
  SalvaOfferta(db, offerta("77", 2, 1, TipoSconto::Valore, "1", "1,00"));
  SalvaOfferta(db, offerta("12", -3, 20, TipoSconto::Valore, "1", "1,50"));  // started before

  const auto righe = VediTutteLePromozioni(db, kOggi);
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[0].numero, "1");
  EXPECT_EQ(righe[0].articolo, "12");
  EXPECT_EQ(righe[0].descrizione, "Latte intero 1 l");
  EXPECT_EQ(righe[0].dal, kOggi.addDays(1).toString("dd/MM/yyyy"));
  EXPECT_EQ(righe[0].scontoValore, "0,00");
  EXPECT_EQ(righe[0].scontoPercentuale, "10");
  EXPECT_EQ(righe[0].prezzoScontato, "2,25");
  EXPECT_EQ(righe[0].prezzoPiuBasso, "2,50");
  EXPECT_EQ(righe[1].descrizione, "NON TROVATO");
  EXPECT_EQ(righe[1].prezzoPiuBasso, "");
  EXPECT_EQ(righe[2].numero, "3");
  EXPECT_EQ(righe[2].scontoValore, "0,20");
  EXPECT_EQ(VediTutteLePromozioni(db, kOggi.addDays(-3)).size(), 4u);
}

// Every period of the product goes, by the list's button (see PannelliTest); a code that is
// no number never becomes more statement.
TEST_F(OfferteTest, DeletingACodeThatIsNoNumberDeletesNothing) {
  SalvaOfferta(db, offerta("13", 0, 6, TipoSconto::Valore, "0,30", "2,90"));
  EliminaOfferteProdotto(db, "1 or 1=1");
  EXPECT_EQ(negozio.conta("Select * from Offerte"), 1);
}

TEST_F(OfferteTest, TheReportTableHoldsTheListedRows) {
  db.execute("INSERT INTO rptProdotti (Descrizione) VALUES ('vecchia riga')");
  SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Percentuale, "10", "2,25"));
  RiempiRptProdotti(db, VediTutteLePromozioni(db, kOggi));
  auto rs = db.openRecordset("Select * from rptProdotti");
  ASSERT_EQ(rs.recordCount(), 1);
  EXPECT_EQ(rs.text("Descrizione"), "Latte intero 1 l");
  EXPECT_EQ(rs.text("Reparto"), kOggi.toString("dd/MM/yyyy"));
  EXPECT_EQ(rs.money("Costo").units() / Money::kScale,
            QDate(1899, 12, 30).daysTo(kOggi.addDays(6)));
  EXPECT_EQ(rs.text("CodProdotto"), "0,00");
  EXPECT_EQ(rs.money("Prezzo2"), Money::fromCents(1000));
  EXPECT_EQ(rs.money("CostoAcquisto"), Money::fromCents(225));
  EXPECT_EQ(rs.money("PrezzoPiuBasso"), Money::fromCents(250));
}

}  // namespace
}  // namespace listinova::testing
