// The offers without a window: the panel's sums and checks, the offers in the store (saved,
// listed, copied for the report), the start-of-day notice, and the price history the store keeps
// by itself for the lowest price of the 30 days before an offer.
#include "promotions/offerte.h"

#include <gtest/gtest.h>

#include "catalogue/apri_database.h"
#include "promotions/avviso_promozioni.h"
#include "promotions/calcoli_offerta.h"
#include "promotions/prezzo_precedente.h"
#include "startup/modulo_file_ini.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

const QDate kOggi = QDate::currentDate();

TEST(CalcoliOfferta, PriceFromDiscountAndDiscountFromPrice) {
  const struct {
    const char *base, *sconto;
    TipoSconto tipo;
    std::optional<QString> prezzo;  // none: nothing computed
    bool azzera;
  } casi[] = {
      {"2,50", "0,5", TipoSconto::Valore, "2,00", false},
      {"1,99", "33,33", TipoSconto::Percentuale, "1,33", false},  // 0,663267 off
      {"0,05", "50", TipoSconto::Percentuale, "0,03", false},     // 0,025 rounds away from 0
      {"1234,56", "10", TipoSconto::Percentuale, "1.111,10", false},
      {"", "10", TipoSconto::Percentuale, "0,00", false},  // an empty price counts as 0
      {"2,50", "100", TipoSconto::Percentuale, "0,00", false},
      {"2,50", "", TipoSconto::Valore, std::nullopt, false},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(std::string(caso.base) + " - " + caso.sconto);
    const auto risultato = CalcolaPrezzoScontato(PrezzoBase(caso.base), caso.sconto, caso.tipo);
    ASSERT_EQ(risultato.has_value(), caso.prezzo.has_value());
    if (!risultato) continue;
    EXPECT_EQ(risultato->testo, *caso.prezzo);
    EXPECT_EQ(risultato->scontoDaAzzerare, caso.azzera);
  }
  // Exactly, not nearly: 2,50 less 10 % is the money amount 2,25.
  EXPECT_EQ(CalcolaPrezzoScontato(PrezzoBase("2,50"), "10", TipoSconto::Percentuale)->prezzo,
            Money::fromCents(225));

  const std::pair<const char*, std::optional<QString>> sconti[] = {
      {"2,00", "0,50"},   {"2", "0,50"},       {"2,5", "0,00"},       {"3,00", "-0,50"},
      {"", std::nullopt}, {",", std::nullopt}, {"abc", std::nullopt},
  };
  for (const auto& [prezzo, sconto] : sconti) {
    SCOPED_TRACE(prezzo);
    EXPECT_EQ(CalcolaScontoDaPrezzo(PrezzoBase("2,50"), prezzo), sconto);
  }
  EXPECT_EQ(CalcolaScontoDaPrezzo(PrezzoBase("1.500,00"), "500"), "1.000,00");
}

TEST(CalcoliOfferta, ConfirmChecksInTheirOrder) {
  const QDate ieri = kOggi.addDays(-1), domani = kOggi.addDays(1);
  const struct {
    const char* nome;
    QString prezzo;
    PeriodoOfferta periodo;
    EsitoConferma esito;
  } casi[] = {
      {"no price before anything else", "", {}, EsitoConferma::NessunPrezzo},
      {"both dates empty", "2,25", {}, EsitoConferma::DateVuote},
      {"start not a date", "2,25", {QDate(), kOggi}, EsitoConferma::DalNonValida},
      {"end not a date", "2,25", {kOggi, QDate()}, EsitoConferma::AlNonValida},
      {"end before start", "2,25", {domani, kOggi}, EsitoConferma::AlPrimaDiDal},
      {"yesterday", "2,25", {ieri, domani}, EsitoConferma::DalNelPassato},
      {"today", "2,25", {kOggi, kOggi}, EsitoConferma::Valida},
      {"end missing", "2,25", {kOggi, std::nullopt}, EsitoConferma::DateVuote},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(ControllaConferma(caso.prezzo, caso.periodo, kOggi), caso.esito);
  }
  EXPECT_EQ(MessaggioPerEsito(EsitoConferma::AlPrimaDiDal).testo,
            "Data 'DAL' più RECENTE di quella 'AL'!Operazione non Valida");
}

class OfferteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.prodotto("12", "Latte intero 1 l", "2,50").prodotto("13", "Pane casereccio", "3,20");
  }
  void salva(const QString& cod, int daOggi, int durata, TipoSconto tipo, const QString& sconto,
             const QString& prezzo) {
    SalvaOfferta(
        db, {cod, kOggi.addDays(daOggi), kOggi.addDays(daOggi + durata), tipo, sconto, prezzo});
  }

  NegozioDiProva negozio;
  platform::db::Database& db = *negozio.db;
};

// A code that is no number never becomes more statement; a failed save changes nothing.
TEST_F(OfferteTest, SavingTwiceKeepsOneRowPerPeriodAndMarksTheProduct) {
  salva("12", 0, 6, TipoSconto::Percentuale, "10", "2,25");
  salva("12", 0, 6, TipoSconto::Valore, "0,50", "2,00");
  salva("12", 10, 3, TipoSconto::Valore, "", "2,50");  // an empty discount is saved as 0
  EliminaOfferteProdotto(db, "1 or 1=1");
  EXPECT_TRUE(negozio.modificato("12"));
  EXPECT_FALSE(negozio.modificato("13"));
  EXPECT_EQ(negozio.righe("Select ScontoVal, ScontoPer, PrzScnt, Pezzi from Offerte where "
                          "Articolo='12' order by DataDal"),
            QStringList({"0.5|0|2|1", "0|0|2.5|1"}));

  const auto letta = CaricaOfferta(db, "12");  // what the panel reads back: the first offer
  ASSERT_TRUE(letta && letta->tipo == TipoSconto::Valore && letta->dal == kOggi);
  EXPECT_EQ(QStringList({letta->sconto, letta->prezzo}), QStringList({"0,50", "2,00"}));
  EXPECT_FALSE(CaricaOfferta(db, "99"));

  // The mark cannot be written: the save fails after its delete and add.
  negozio.sqlite(
      "CREATE TRIGGER nessun_segno BEFORE UPDATE OF Modificato ON Magazzino "
      "BEGIN SELECT RAISE(ABORT, 'archivio in sola lettura'); END");
  EXPECT_THROW(salva("12", 0, 6, TipoSconto::Valore, "1", "1,50"), platform::db::DatabaseError);
  EXPECT_EQ(negozio.valore("Select PrzScnt from Offerte where Articolo='12' order by DataDal"),
            "2");
}

// The list from a date, and the report table it fills (the old rows go).
TEST_F(OfferteTest, TheListFromADateWithDescriptionsAndPriorPricesAndItsReport) {
  db.execute("INSERT INTO rptProdotti (Descrizione) VALUES ('vecchia riga')");
  salva("13", 5, 2, TipoSconto::Valore, "0,20", "3,00");
  salva("12", 1, 6, TipoSconto::Percentuale, "10", "2,25");
  salva("77", 2, 1, TipoSconto::Valore, "1", "1,00");
  salva("12", -3, 20, TipoSconto::Valore, "1", "1,50");  // started before

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

  // The report's columns carry the start, the end as a day number, the discounts and prices.
  RiempiRptProdotti(db, {righe[0]});
  EXPECT_EQ(negozio.righe("Select Descrizione, Reparto, Costo, CodProdotto, Prezzo2, "
                          "CostoAcquisto, PrezzoPiuBasso from rptProdotti"),
            QStringList{"Latte intero 1 l|" + data(1) + "|" +
                        QString::number(QDate(1899, 12, 30).daysTo(kOggi.addDays(7))) +
                        "|0,00|10|2.25|2.5"});
}

TEST(AvvisoPromozioni, TheSwitchAndTheFourBanners) {
  const struct {
    const char* interruttore;  // nullptr: absent, written off and the other lines kept
    int inizio, fine;          // days from today; no offer when 99
    QString testo;
  } casi[] = {
      {nullptr, 0, 0, ""},
      {"FALSO", 0, 0, ""},
      {"Vero", 99, 99, ""},
      {"Vero", -5, 5, ""},
      {"Vero", 0, 5, "INIZIANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE"},
      {"Vero", -5, 0, "TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE"},
      {"Vero", 0, 0, "INIZIANO/TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.testo.toStdString() + (caso.interruttore ? caso.interruttore : "-"));
    NegozioDiProva negozio;
    const QString setup = negozio.cartella.setup();
    writeAll(setup, "[Config]\r\nColore=1\r\n");
    if (caso.interruttore) negozio.setup("Promozioni", "AvvisoAttivo", caso.interruttore);
    if (caso.inizio != 99)
      negozio.offerta({"1", kOggi.addDays(caso.inizio), kOggi.addDays(caso.fine), "2,00"});
    EXPECT_EQ(AvvisoPromozioni(*negozio.db, setup, kOggi).testo, caso.testo);
    if (!caso.interruttore) {
      EXPECT_EQ(LeggiINI(setup, "Promozioni", "AvvisoAttivo", "?"), "Falso");
      EXPECT_TRUE(readAll(setup).startsWith("[Config]\r\nColore=1\r\n"));
    }
  }
}

class PrezzoPrecedenteTest : public ::testing::Test {
 protected:
  // Changes the price, then dates the change `giorniFa` days ago.
  void cambiaPrezzo(const QString& cod, const QString& prezzo, int giorniFa) {
    negozio.db->execute("UPDATE Magazzino SET Costo=" + prezzo + " WHERE CodMateriale='" + cod +
                        "'");
    dataUltimoCambio(cod, giorniFa);
  }
  void dataUltimoCambio(const QString& cod, int giorniFa) {
    negozio.sqlite(
        QStringLiteral("UPDATE StoricoPrezzi SET Quando='%1' WHERE rowid=(SELECT "
                       "max(rowid) FROM StoricoPrezzi WHERE CodMateriale='%2')")
            .arg(QDateTime(kOggi.addDays(-giorniFa), QTime(10, 0)).toString("yyyy-MM-dd HH:mm:ss"),
                 cod));
  }
  QString piuBasso(const QString& cod, const QDate& inizio = kOggi) {
    const auto prezzo = PrezzoPiuBasso30gg(*negozio.db, cod, inizio);
    return prezzo ? prezzo->toItalian() : QStringLiteral("nessuno");
  }

  NegozioDiProva negozio;
};

TEST_F(PrezzoPrecedenteTest, LowestPriceOfTheThirtyDaysBeforeTheStart) {
  negozio.prodotto("1", "Caffè", "3,00");
  dataUltimoCambio("1", 90);
  cambiaPrezzo("1", "2.8", 20);
  cambiaPrezzo("1", "3.2", 5);
  EXPECT_EQ(piuBasso("1"), "2,80");
  // Seen from an offer starting in 26 days, the 2,80 of 20 days ago is out of the window.
  EXPECT_EQ(piuBasso("1", kOggi.addDays(11)), "2,80");
  EXPECT_EQ(piuBasso("1", kOggi.addDays(26)), "3,20");
  // Before the first change the window opens on the price the change replaced.
  EXPECT_EQ(piuBasso("1", kOggi.addDays(-21)), "3,00");

  negozio.prodotto("2", "Tè", "3,00");
  dataUltimoCambio("2", 100);
  cambiaPrezzo("2", "2.5", 40);
  EXPECT_EQ(piuBasso("2"), "2,50");

  negozio.prodotto("3", "Zucchero", "4,00");  // added 10 days ago: no price before that
  dataUltimoCambio("3", 10);
  cambiaPrezzo("3", "4.4", 2);
  EXPECT_EQ(piuBasso("3"), "4,00");

  negozio.prodotto("4", "Sale", "0,90");  // a store older than its history
  negozio.sqlite("DELETE FROM StoricoPrezzi WHERE CodMateriale='4'");
  EXPECT_EQ(piuBasso("4"), "0,90");
  EXPECT_EQ(piuBasso("99"), "nessuno");
}

TEST_F(PrezzoPrecedenteTest, EveryWayOfChangingAPriceIsRecordedAlsoInStoresOpenedLater) {
  negozio.prodotto("1", "Caffè", "3,00");
  negozio.db->execute("UPDATE Magazzino SET Costo=2.9 WHERE CodMateriale='1'");  // an import
  negozio.db->execute("UPDATE Magazzino SET Costo=2.9, Descrizione='Caffè moka'");
  // The start-up rebuild deletes and adds every product again.
  negozio.db->execute("Delete * from Magazzino");
  negozio.prodotto("1", "Caffè moka", "2,90");
  negozio.db->execute("Delete * from Magazzino");
  negozio.prodotto("1", "Caffè moka", "2,70");
  EXPECT_EQ(negozio.righe("Select Vecchio, Nuovo from StoricoPrezzi order by Quando, rowid"),
            QStringList({"NULL|3", "3|2.9", "2.9|2.7"}));

  // A store from before the history gets it when opened.
  for (const char* trigger : {"Modifica", "Inserimento", "Nuovo"})
    negozio.sqlite(QStringLiteral("DROP TRIGGER StoricoPrezzi_%1").arg(trigger));
  negozio.sqlite("DROP TABLE StoricoPrezzi");
  negozio.sqlite("ALTER TABLE rptProdotti DROP COLUMN PrezzoPiuBasso");
  negozio.db = ApriDatabase(negozio.percorsoArchivio());
  negozio.prodotto("5", "Olio", "7,50");
  negozio.db->execute("UPDATE Magazzino SET Costo=6.9");
  EXPECT_EQ(negozio.conta("Select * from StoricoPrezzi"), 3);
  EXPECT_TRUE(negozio.db->openRecordset("Select * from rptProdotti").hasField("PrezzoPiuBasso"));
}

}  // namespace
}  // namespace listinova::testing
