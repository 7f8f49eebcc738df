#include "register/aggiorna_storico_plu.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <map>

#include "platform/db/database.h"
#include "register/posizione_ricezione.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;

const QDate kOggi(2026, 12, 7);

class AggiornaStoricoPluTest : public ::testing::Test {
 protected:
  // Appends lines with CR LF, as a reading with `metodo` does after marking where it began.
  void accoda(const QStringList& righe, MetodoLettura metodo = MetodoLettura::PerProdotto,
              bool torvane = false) {
    QFile file(percorso_);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    if (LeggiPosizioneRicezione(*db_, percorso_))
      ScriviPosizioneRicezione(*db_, percorso_, {file.size(), metodo, torvane});
    for (const QString& riga : righe) file.write(riga.toUtf8() + "\r\n");
  }
  EsitoPrenotazione prenota(MetodoLettura metodo = MetodoLettura::PerProdotto) {
    return AggiornaStoricoPLU(*db_, percorso_, metodo, false, kOggi);
  }
  double giacenza(const QString& codice) {
    Recordset rs =
        db_->openRecordset("Select Quantità from Magazzino where CodMateriale='" + codice + "'");
    return rs.number("Quantità");
  }
  // EAN -> quantities booked, in order.
  std::map<QString, std::vector<double>> storico() {
    std::map<QString, std::vector<double>> righe;
    for (Recordset rs = db_->openRecordset("Select * from StoricoPLU"); !rs.eof(); rs.moveNext()) {
      EXPECT_EQ(rs.dateTime("DataModif").date(), kOggi);
      righe[rs.text("EAN")].push_back(rs.number("Qta"));
    }
    return righe;
  }

  testing::NegozioDiProva negozio;
  Database* db_ = negozio.db.get();
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
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 10});
  double attesa = 10;
  for (const Caso& c : casi) {
    SCOPED_TRACE(static_cast<int>(c.metodo) * 10 + c.torvane);
    accoda({risposta(16, c.b, "8001", c.q, "1500")}, c.metodo, c.torvane);
    const EsitoPrenotazione esito = prenota(c.metodo);
    EXPECT_TRUE(esito.riuscita) << esito.errore.toStdString();
    EXPECT_EQ(esito.prenotate, 1);
    attesa -= 1.5;
    EXPECT_DOUBLE_EQ(giacenza("1"), attesa);
  }
  EXPECT_EQ(storico()["8001"], (std::vector<double>{1.5, 1.5, 1.5, 1.5}));
}

// Only quantities the register's field can hold are booked, exactly; every other line is
// listed with its reason. A line is booked once: the mark moves with the booking, and a line
// still being written waits for it.
TEST_F(AggiornaStoricoPluTest, PlausibleQuantitiesAreBookedOnceAndTheRestListed) {
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 0.3});
  accoda({risposta(16, 3, "8001", 8, "2500"), risposta(16, 3, "8001", 8, "1"),
          risposta(16, 3, "8001", 8, ""), risposta(16, 3, "8001", 8, "-1000"),
          risposta(16, 3, "8001", 8, "99999999"), risposta(16, 3, "8001", 8, "-99999999"),
          risposta(16, 3, "8001", 8, "1,5"), risposta(16, 3, "", 8, "7"), "", "senza barra",
          "00/00/00/8001", risposta(16, 3, "8001", 8, "100000000"),
          risposta(16, 3, "8001", 8, "9223372036854775807"),
          risposta(16, 3, "8001", 8, "12345678901234567890"), risposta(16, 3, "8001", 8, "1e9")});
  for (int i = 0; i < 100; ++i) accoda({risposta(16, 3, "8001", 8, "1")});
  const EsitoPrenotazione esito = prenota();
  EXPECT_EQ(esito.prenotate, 106);
  std::vector<QString> motivi;
  for (const RigaNonRegistrata& r : esito.nonRegistrate) motivi.push_back(r.motivo);
  EXPECT_EQ(motivi, (std::vector<QString>{
                        "quantità \"1,5\" non numerica", "codice a barre mancante",
                        "riga di 1 campi, troppo corta", "riga di 4 campi, troppo corta",
                        "quantità \"100000000\" fuori dai limiti della cassa (±99.999,999)",
                        "quantità \"9223372036854775807\" fuori dai limiti della cassa "
                        "(±99.999,999)",
                        "quantità \"12345678901234567890\" fuori dai limiti della cassa "
                        "(±99.999,999)",
                        "quantità \"1e9\" non numerica"}));
  EXPECT_EQ(esito.nonRegistrate[1].riga, risposta(16, 3, "", 8, "7"));
  const std::vector<double> righe = storico()["8001"];
  ASSERT_EQ(righe.size(), 106u);
  EXPECT_EQ(righe[0], 2.5);
  EXPECT_EQ(righe[1], 0.001);
  EXPECT_EQ(righe[2], 0.0);
  EXPECT_EQ(righe[3], -1.0);
  // 0.3 - 2.5 - 0.001 + 1 - 100 * 0.001, with no drift from binary fractions
  EXPECT_EQ(giacenza("1"), -1.301);

  const auto scrivi = [this](const QByteArray& byte) {
    QFile file(percorso_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    file.write(byte);
  };
  scrivi(risposta(16, 3, "8001", 8, "1000").toUtf8());
  EXPECT_EQ(prenota().prenotate, 0);
  EXPECT_EQ(giacenza("1"), -1.301);
  scrivi("/0\r\n");  // the rest of the line
  EXPECT_EQ(prenota().prenotate, 1);
  EXPECT_EQ(storico()["8001"].size(), 107u);
  EXPECT_EQ(giacenza("1"), -2.301);
}

TEST_F(AggiornaStoricoPluTest, BarcodesAreFoundAdditionalFirstThenMainThenInStore) {
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 10})
      .prodotto({.cod = "2", .barCode = "8002", .quantita = 10})
      .prodotto({.cod = "3", .barCode = "2012345000017", .quantita = 10})
      .prodotto({.cod = "4", .barCode = "2099999000013", .quantita = 10})
      // same item number as 4: neither can be told
      .prodotto({.cod = "5", .barCode = "2199999000010", .quantita = 10})
      .barCodeUlteriore("1", "8002")   // an additional code wins over another main code
      .barCodeUlteriore("9", "7777");  // its product is gone
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
  negozio.prodotto({.cod = "1", .barCode = "8001", .quantita = 10});
  accoda({risposta(16, 3, "8001", 8, "1000"), risposta(16, 3, "ROTTO", 8, "1000"),
          risposta(16, 3, "8001", 8, "1000")});
  ASSERT_EQ(sqlite3_exec(db_->handle(),
                         "CREATE TRIGGER rotto BEFORE INSERT ON StoricoPLU WHEN NEW.EAN='ROTTO' "
                         "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const EsitoPrenotazione esito = prenota(MetodoLettura::PerProdotto);
  EXPECT_FALSE(esito.riuscita);
  EXPECT_EQ(esito.prenotate, 0);
  EXPECT_FALSE(esito.errore.isEmpty());
  EXPECT_EQ(giacenza("1"), 10.0);
  EXPECT_TRUE(storico().empty());
  EXPECT_FALSE(LeggiPosizioneRicezione(*db_, percorso_));  // still pending

  EXPECT_FALSE(
      AggiornaStoricoPLU(*db_, negozio.file("manca.txt"), MetodoLettura::Lista, false, kOggi)
          .riuscita);
}

}  // namespace
}  // namespace listinova
