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

// A code that is no number never becomes more statement; a failed save changes nothing.
TEST_F(OfferteTest, SavingTwiceKeepsOneRowPerPeriodAndMarksTheProduct) {
  SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Percentuale, "10", "2,25"));
  SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Valore, "0,50", "2,00"));
  SalvaOfferta(db, offerta("12", 10, 3, TipoSconto::Valore, "", "2,50"));
  EliminaOfferteProdotto(db, "1 or 1=1");
  EXPECT_TRUE(negozio.modificato("12"));
  EXPECT_FALSE(negozio.modificato("13"));
  // An empty discount is saved as 0.
  EXPECT_EQ(negozio.righe("Select ScontoVal, ScontoPer, PrzScnt, Pezzi from Offerte where "
                          "Articolo='12' order by DataDal"),
            QStringList({"0.5|0|2|1", "0|0|2.5|1"}));

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

  // The mark cannot be written: the save fails after its delete and add.
  negozio.sqlite(
      "CREATE TRIGGER nessun_segno BEFORE UPDATE OF Modificato ON Magazzino "
      "BEGIN SELECT RAISE(ABORT, 'archivio in sola lettura'); END");
  EXPECT_THROW(SalvaOfferta(db, offerta("12", 0, 6, TipoSconto::Valore, "1", "1,50")),
               platform::db::DatabaseError);
  EXPECT_EQ(negozio.valore("Select PrzScnt from Offerte where Articolo='12' order by DataDal"),
            "2");
}

// The list from a date, and the report table it fills (the old rows go).
TEST_F(OfferteTest, TheListFromADateWithDescriptionsAndPriorPricesAndItsReport) {
  db.execute("INSERT INTO rptProdotti (Descrizione) VALUES ('vecchia riga')");
  SalvaOfferta(db, offerta("13", 5, 2, TipoSconto::Valore, "0,20", "3,00"));
  SalvaOfferta(db, offerta("12", 1, 6, TipoSconto::Percentuale, "10", "2,25"));
  SalvaOfferta(db, offerta("77", 2, 1, TipoSconto::Valore, "1", "1,00"));
  SalvaOfferta(db, offerta("12", -3, 20, TipoSconto::Valore, "1", "1,50"));  // started before

  const auto righe = VediTutteLePromozioni(db, kOggi);
  QStringList elenco;
  for (const RigaElencoOfferte& r : righe)
    elenco
        << QStringList{r.numero,       r.articolo,          r.descrizione,    r.dal,           r.al,
                       r.scontoValore, r.scontoPercentuale, r.prezzoScontato, r.prezzoPiuBasso}
               .join('|');
  const auto data = [](int giorni) { return kOggi.addDays(giorni).toString("dd/MM/yyyy"); };
  EXPECT_EQ(elenco,
            QStringList({"1|12|Latte intero 1 l|" + data(1) + "|" + data(7) + "|0,00|10|2,25|2,50",
                         "2|77|NON TROVATO|" + data(2) + "|" + data(3) + "|1,00|0|1,00|",
                         "3|13|Pane casereccio|" + data(5) + "|" + data(7) + "|0,20|0|3,00|3,20"}));
  EXPECT_EQ(VediTutteLePromozioni(db, kOggi.addDays(-3)).size(), 4u);

  RiempiRptProdotti(db, {righe[0]});
  auto rs = db.openRecordset("Select * from rptProdotti");
  ASSERT_EQ(rs.recordCount(), 1);
  EXPECT_EQ(rs.text("Descrizione"), "Latte intero 1 l");
  EXPECT_EQ(rs.text("Reparto"), kOggi.addDays(1).toString("dd/MM/yyyy"));
  EXPECT_EQ(rs.money("Costo").units() / Money::kScale,
            QDate(1899, 12, 30).daysTo(kOggi.addDays(7)));
  EXPECT_EQ(rs.text("CodProdotto"), "0,00");
  EXPECT_EQ(rs.money("Prezzo2"), Money::fromCents(1000));
  EXPECT_EQ(rs.money("CostoAcquisto"), Money::fromCents(225));
  EXPECT_EQ(rs.money("PrezzoPiuBasso"), Money::fromCents(250));
}

}  // namespace
}  // namespace listinova::testing
