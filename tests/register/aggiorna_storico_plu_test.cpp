// Booking a reading's lines into the sales history and the stock: each method's fields, what a
// line must hold to be booked, once, which product a barcode is, one transaction for all.
#include "register/aggiorna_storico_plu.h"

#include <gtest/gtest.h>

#include <QFile>

#include "register/posizione_ricezione.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using Storico = std::map<QString, std::vector<double>>;

const QDate kOggi(2026, 12, 7);

// A register's answer of 16 fields with `barCode` at field b and `quantita` at field q.
QString vendita(const QString& barCode, const QString& quantita, int b = 3, int q = 8) {
  QStringList parti(16, QStringLiteral("0"));
  parti[0] = QStringLiteral("00");
  parti[b] = barCode;
  parti[q] = quantita;
  return parti.join(u'/');
}

class AggiornaStoricoPluTest : public ::testing::Test {
 protected:
  // Appends lines with CR LF, as a reading with `metodo` does after marking where it began.
  void accoda(const QStringList& righe, MetodoLettura metodo = MetodoLettura::PerProdotto,
              bool torvane = false) {
    QFile file(percorso);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    if (LeggiPosizioneRicezione(*negozio.db, percorso))
      ScriviPosizioneRicezione(*negozio.db, percorso, {file.size(), metodo, torvane});
    file.write(righe.join("\r\n").toUtf8() + "\r\n");
  }
  EsitoPrenotazione prenota(MetodoLettura metodo = MetodoLettura::PerProdotto) {
    return AggiornaStoricoPLU(*negozio.db, percorso, metodo, false, kOggi);
  }

  testing::NegozioDiProva negozio;
  QString percorso = negozio.file("PLUOstrel1.txt");
};

TEST_F(AggiornaStoricoPluTest, EachMethodReadsItsOwnFields) {
  const struct {
    MetodoLettura metodo;
    bool torvane;
    int b, q;
  } casi[] = {{MetodoLettura::PerProdotto, false, 3, 8},
              {MetodoLettura::Lista, false, 4, 12},
              {MetodoLettura::Lista, true, 3, 12},
              {MetodoLettura::PerProdotto, true, 3, 12}};
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 10});
  double attesa = 10;
  for (const auto& c : casi) {
    SCOPED_TRACE(static_cast<int>(c.metodo) * 10 + c.torvane);
    accoda({vendita("8001", "1500", c.b, c.q)}, c.metodo, c.torvane);
    const EsitoPrenotazione esito = prenota(c.metodo);
    EXPECT_TRUE(esito.riuscita) << esito.errore.toStdString();
    EXPECT_EQ(esito.prenotate, 1);
    EXPECT_DOUBLE_EQ(negozio.quantita("1"), attesa -= 1.5);
  }
  EXPECT_EQ(negozio.storico(), (Storico{{"8001", {1.5, 1.5, 1.5, 1.5}}}));
  EXPECT_EQ(
      negozio.db->openRecordset("Select DataModif from StoricoPLU").dateTime("DataModif").date(),
      kOggi);
}

// Only quantities the register's field can hold are booked, exactly; every other line is
// listed with its reason. A line is booked once: the mark moves with the booking, and a line
// still being written waits for it.
TEST_F(AggiornaStoricoPluTest, PlausibleQuantitiesAreBookedOnceAndTheRestListed) {
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 0.3});
  QStringList righe;
  for (const char* q : {"2500", "1", "", "-1000", "99999999", "-99999999", "1,5"})
    righe << vendita("8001", q);
  righe << vendita("", "7") << ""
        << "senza barra"
        << "00/00/00/8001";
  for (const char* q : {"100000000", "9223372036854775807", "12345678901234567890", "1e9"})
    righe << vendita("8001", q);
  accoda(righe + QStringList(100, vendita("8001", "1")));
  const EsitoPrenotazione esito = prenota();
  EXPECT_EQ(esito.prenotate, 106);
  QStringList motivi;
  for (const RigaNonRegistrata& r : esito.nonRegistrate) motivi << r.motivo;
  const QString fuori = "quantità \"%1\" fuori dai limiti della cassa (±99.999,999)";
  EXPECT_EQ(motivi,
            (QStringList{"quantità \"1,5\" non numerica", "codice a barre mancante",
                         "riga di 1 campi, troppo corta", "riga di 4 campi, troppo corta",
                         fuori.arg("100000000"), fuori.arg("9223372036854775807"),
                         fuori.arg("12345678901234567890"), "quantità \"1e9\" non numerica"}));
  EXPECT_EQ(esito.nonRegistrate[1].riga, vendita("", "7"));
  const std::vector<double> prenotate = negozio.storico()["8001"];
  ASSERT_EQ(prenotate.size(), 106u);
  EXPECT_EQ(std::vector<double>(prenotate.begin(), prenotate.begin() + 4),
            (std::vector<double>{2.5, 0.001, 0, -1}));
  // 0.3 - 2.5 - 0.001 + 1 - 100 * 0.001, with no drift from binary fractions
  EXPECT_EQ(negozio.quantita("1"), -1.301);

  QFile file(percorso);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
  file.write(vendita("8001", "1000").toUtf8());
  file.flush();
  EXPECT_EQ(prenota().prenotate, 0);
  EXPECT_EQ(negozio.quantita("1"), -1.301);
  file.write("/0\r\n");  // the rest of the line
  file.flush();
  EXPECT_EQ(prenota().prenotate, 1);
  EXPECT_EQ(negozio.storico()["8001"].size(), 107u);
  EXPECT_EQ(negozio.quantita("1"), -2.301);
}

// An additional code wins over another product's main code; an in-store code is found by its
// item number unless two products share it; a sale of no known product is kept as it came.
TEST_F(AggiornaStoricoPluTest, BarcodesAreFoundAdditionalFirstThenMainThenInStore) {
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 10})
      .prodotto({.cod = "2", .barCode = "8002", .quantita = 10})
      .prodotto({.cod = "3", .barCode = "2012345000017", .quantita = 10})
      .prodotto({.cod = "4", .barCode = "2099999000013", .quantita = 10})
      .prodotto({.cod = "5", .barCode = "2199999000010", .quantita = 10})
      .barCodeUlteriore("1", "8002")
      .barCodeUlteriore("9", "7777");  // its product is gone
  accoda({vendita("8001", "1000"), vendita("8002", "2000"), vendita("12345", "3000"),
          vendita("2012345000017", "500"), vendita("99999", "1000"), vendita("7777", "1000"),
          vendita("5555", "4000")});
  const EsitoPrenotazione esito = prenota(MetodoLettura::PerProdotto);
  EXPECT_EQ(esito.prenotate, 7);
  EXPECT_EQ(esito.sconosciute, 3);
  std::vector<double> giacenze;
  for (const char* cod : {"1", "2", "3", "4", "5"}) giacenze.push_back(negozio.quantita(cod));
  EXPECT_EQ(giacenze, (std::vector<double>{7, 10, 6.5, 10, 10}));
  EXPECT_EQ(negozio.storico(), (Storico{{"8001", {1}},
                                        {"8002", {2}},
                                        {"2012345000017", {3, 0.5}},
                                        {"99999", {1}},
                                        {"7777", {1}},
                                        {"5555", {4}}}));
}

TEST_F(AggiornaStoricoPluTest, AFailureHalfwayLeavesStockAndHistoryAsTheyWere) {
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 10})
      .sqlite(
          "CREATE TRIGGER rotto BEFORE INSERT ON StoricoPLU WHEN NEW.EAN='ROTTO' "
          "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  accoda({vendita("8001", "1000"), vendita("ROTTO", "1000"), vendita("8001", "1000")});
  const EsitoPrenotazione esito = prenota(MetodoLettura::PerProdotto);
  EXPECT_FALSE(esito.riuscita);
  EXPECT_EQ(esito.prenotate, 0);
  EXPECT_FALSE(esito.errore.isEmpty());
  EXPECT_EQ(negozio.quantita("1"), 10.0);
  EXPECT_TRUE(negozio.storico().empty());
  EXPECT_FALSE(LeggiPosizioneRicezione(*negozio.db, percorso));  // still pending

  EXPECT_FALSE(
      AggiornaStoricoPLU(*negozio.db, negozio.file("manca.txt"), MetodoLettura::Lista, false, kOggi)
          .riuscita);
}

}  // namespace
}  // namespace listinova
