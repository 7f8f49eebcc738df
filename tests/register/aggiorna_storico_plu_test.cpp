#include "register/aggiorna_storico_plu.h"

#include <gtest/gtest.h>

#include <QFile>
#include <map>

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

const QDate kOggi(2026, 12, 7);

class AggiornaStoricoPluTest : public ::testing::Test {
 protected:
  void prodotto(const QString& codice, const QString& barCode, double quantita) {
    negozio.prodotto({.cod = codice, .barCode = barCode, .quantita = quantita});
  }
  // Appends lines with CR LF and gives where the file ended before.
  qint64 accoda(const QStringList& righe) {
    QFile file(percorso_);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    const qint64 inizio = file.size();
    for (const QString& riga : righe) file.write(riga.toUtf8() + "\r\n");
    return inizio;
  }
  EsitoPrenotazione prenota(MetodoLettura metodo, qint64 da = 0, bool torvane = false) {
    return AggiornaStoricoPLU(*negozio.db, percorso_, metodo, torvane, da, kOggi);
  }
  double giacenza(const QString& codice) { return negozio.quantita(codice); }
  // EAN -> quantities booked, in order; every line dated today.
  std::map<QString, std::vector<double>> storico() {
    std::map<QString, std::vector<double>> righe;
    for (auto rs = negozio.db->openRecordset("Select * from StoricoPLU"); !rs.eof();
         rs.moveNext()) {
      EXPECT_EQ(rs.dateTime("DataModif").date(), kOggi);
      righe[rs.text("EAN")].push_back(rs.number("Qta"));
    }
    return righe;
  }

  NegozioDiProva negozio;
  QString percorso_ = negozio.file("PLUOstrel1.txt");
};

// An answer with `barCode` at field b and `quantita` at field q, `campi` fields in all.
QString risposta(int campi, int b, const QString& barCode, int q, const QString& quantita) {
  QStringList parti(campi, QStringLiteral("0"));
  parti[0] = QStringLiteral("00");
  parti[b] = barCode;
  parti[q] = quantita;
  return parti.join(u'/');
}

TEST_F(AggiornaStoricoPluTest, EachMethodReadsItsOwnFields) {
  struct Caso {
    MetodoLettura metodo;
    bool torvane;
    int b, q;
  };
  const Caso casi[] = {{MetodoLettura::PerProdotto, false, 3, 8},
                       {MetodoLettura::Lista, false, 4, 12},
                       {MetodoLettura::Lista, true, 3, 12},
                       {MetodoLettura::PerProdotto, true, 3, 12}};
  prodotto("1", "8001", 10);
  double attesa = 10;
  for (const Caso& c : casi) {
    SCOPED_TRACE(static_cast<int>(c.metodo) * 10 + c.torvane);
    const qint64 da = accoda({risposta(16, c.b, "8001", c.q, "1500")});
    const EsitoPrenotazione esito = prenota(c.metodo, da, c.torvane);
    EXPECT_TRUE(esito.riuscita) << esito.errore.toStdString();
    EXPECT_EQ(esito.prenotate, 1);
    attesa -= 1.5;
    EXPECT_DOUBLE_EQ(giacenza("1"), attesa);
  }
  EXPECT_EQ(storico()["8001"], (std::vector<double>{1.5, 1.5, 1.5, 1.5}));
}

TEST_F(AggiornaStoricoPluTest, ThousandthsAreExactAndOddQuantitiesAreSkipped) {
  prodotto("1", "8001", 0.3);
  accoda({risposta(16, 3, "8001", 8, "2500"), risposta(16, 3, "8001", 8, "1"),
          risposta(16, 3, "8001", 8, ""), risposta(16, 3, "8001", 8, "-1000"),
          risposta(16, 3, "8001", 8, "1,5"), risposta(16, 3, "", 8, "7"), "", "senza barra",
          "00/00/00/8001"});
  for (int i = 0; i < 100; ++i) accoda({risposta(16, 3, "8001", 8, "1")});
  const EsitoPrenotazione esito = prenota(MetodoLettura::PerProdotto);
  EXPECT_EQ(esito.prenotate, 104);
  // the comma, the missing barcode and the line too short to hold a quantity
  EXPECT_EQ(esito.scartate, 3);
  const std::vector<double> righe = storico()["8001"];
  ASSERT_EQ(righe.size(), 104u);
  EXPECT_EQ(righe[0], 2.5);
  EXPECT_EQ(righe[1], 0.001);
  EXPECT_EQ(righe[2], 0.0);
  EXPECT_EQ(righe[3], -1.0);
  // 0.3 - 2.5 - 0.001 + 1 - 100 * 0.001, with no drift from binary fractions
  EXPECT_EQ(giacenza("1"), -1.301);
}

TEST_F(AggiornaStoricoPluTest, BarcodesAreFoundAdditionalFirstThenMainThenInStore) {
  prodotto("1", "8001", 10);
  prodotto("2", "8002", 10);
  prodotto("3", "2012345000017", 10);
  prodotto("4", "2099999000013", 10);
  prodotto("5", "2199999000010", 10);     // same item number as 4: neither can be told
  negozio.barCodeUlteriore("1", "8002");  // an additional code wins over another main code
  negozio.barCodeUlteriore("9", "7777");  // its product is gone
  accoda({risposta(16, 3, "8001", 8, "1000"), risposta(16, 3, "8002", 8, "2000"),
          risposta(16, 3, "12345", 8, "3000"), risposta(16, 3, "2012345000017", 8, "500"),
          risposta(16, 3, "99999", 8, "1000"), risposta(16, 3, "7777", 8, "1000"),
          risposta(16, 3, "5555", 8, "4000")});
  const EsitoPrenotazione esito = prenota(MetodoLettura::PerProdotto);
  EXPECT_EQ(esito.prenotate, 7);
  EXPECT_EQ(esito.sconosciute, 3);
  EXPECT_EQ(giacenza("1"), 7.0);
  EXPECT_EQ(giacenza("2"), 10.0);
  EXPECT_EQ(giacenza("3"), 6.5);
  EXPECT_EQ(giacenza("4"), 10.0);
  EXPECT_EQ(giacenza("5"), 10.0);
  const auto righe = storico();
  EXPECT_EQ(righe.at("8002"), std::vector<double>{2.0});
  // the in-store sale joins the product by its full barcode, whichever form came back
  EXPECT_EQ(righe.at("2012345000017"), (std::vector<double>{3.0, 0.5}));
  EXPECT_FALSE(righe.contains("12345"));
  EXPECT_EQ(righe.at("99999"), std::vector<double>{1.0});
  EXPECT_EQ(righe.at("7777"), std::vector<double>{1.0});
  EXPECT_EQ(righe.at("5555"), std::vector<double>{4.0});
}

TEST_F(AggiornaStoricoPluTest, AFailureHalfwayLeavesStockAndHistoryAsTheyWere) {
  prodotto("1", "8001", 10);
  accoda({risposta(16, 3, "8001", 8, "1000"), risposta(16, 3, "ROTTO", 8, "1000"),
          risposta(16, 3, "8001", 8, "1000")});
  negozio.sqlite(
      "CREATE TRIGGER rotto BEFORE INSERT ON StoricoPLU WHEN NEW.EAN='ROTTO' "
      "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  const EsitoPrenotazione esito = prenota(MetodoLettura::PerProdotto);
  EXPECT_FALSE(esito.riuscita);
  EXPECT_EQ(esito.prenotate, 0);
  EXPECT_FALSE(esito.errore.isEmpty());
  EXPECT_EQ(giacenza("1"), 10.0);
  EXPECT_TRUE(storico().empty());

  EXPECT_FALSE(AggiornaStoricoPLU(*negozio.db, negozio.file("manca.txt"), MetodoLettura::Lista,
                                  false, 0, kOggi)
                   .riuscita);
}

}  // namespace
}  // namespace listinova::testing
