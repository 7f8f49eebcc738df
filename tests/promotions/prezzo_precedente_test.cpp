// The price history the store keeps by itself, and the lowest price of the 30 days before an
// offer.
#include "promotions/prezzo_precedente.h"

#include <gtest/gtest.h>

#include "catalogue/apri_database.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

const QDate kOggi = QDate::currentDate();

class PrezzoPrecedenteTest : public ::testing::Test {
 protected:
  // Changes the price as the product editor does, then dates the change `giorniFa` days ago.
  void cambiaPrezzo(const QString& cod, const QString& prezzo, int giorniFa) {
    auto rs = negozio.db->openRecordset("Select * from Magazzino where CodMateriale='" + cod + "'");
    rs.edit();
    rs.setMoney("Costo", *Money::parse(prezzo));
    rs.update();
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
  cambiaPrezzo("1", "2,80", 20);
  cambiaPrezzo("1", "3,20", 5);
  EXPECT_EQ(piuBasso("1"), "2,80");
  // Seen from an offer starting in 26 days, the 2,80 of 20 days ago is out of the window.
  EXPECT_EQ(piuBasso("1", kOggi.addDays(11)), "2,80");
  EXPECT_EQ(piuBasso("1", kOggi.addDays(26)), "3,20");
  // Before the first change the window opens on the price the change replaced.
  EXPECT_EQ(piuBasso("1", kOggi.addDays(-21)), "3,00");

  negozio.prodotto("2", "Tè", "3,00");
  dataUltimoCambio("2", 100);
  cambiaPrezzo("2", "2,50", 40);
  EXPECT_EQ(piuBasso("2"), "2,50");

  negozio.prodotto("3", "Zucchero", "4,00");  // added 10 days ago: no price before that
  dataUltimoCambio("3", 10);
  cambiaPrezzo("3", "4,40", 2);
  EXPECT_EQ(piuBasso("3"), "4,00");

  negozio.prodotto("4", "Sale", "0,90");  // a store older than its history
  negozio.sqlite("DELETE FROM StoricoPrezzi WHERE CodMateriale='4'");
  EXPECT_EQ(piuBasso("4"), "0,90");
  EXPECT_EQ(piuBasso("99"), "nessuno");
}

TEST_F(PrezzoPrecedenteTest, EveryWayOfChangingAPriceIsRecorded) {
  negozio.prodotto("1", "Caffè", "3,00");
  const auto storico = [&] {
    QStringList righe;
    for (auto rs = negozio.db->openRecordset(
             "Select * from StoricoPrezzi where CodMateriale='1' order by Quando, rowid");
         !rs.eof(); rs.moveNext())
      righe << (rs.isNull("Vecchio") ? QStringLiteral("-") : rs.money("Vecchio").toItalian()) +
                   ">" + rs.money("Nuovo").toItalian();
    return righe.join(' ');
  };
  negozio.db->execute("UPDATE Magazzino SET Costo=2.9 WHERE CodMateriale='1'");  // an import
  negozio.db->execute("UPDATE Magazzino SET Costo=2.9, Descrizione='Caffè moka'");
  // The start-up rebuild deletes and adds every product again.
  negozio.db->execute("Delete * from Magazzino");
  negozio.prodotto("1", "Caffè moka", "2,90");
  negozio.db->execute("Delete * from Magazzino");
  negozio.prodotto("1", "Caffè moka", "2,70");
  EXPECT_EQ(storico(), "->3,00 3,00>2,90 2,90>2,70");
}

TEST_F(PrezzoPrecedenteTest, ExistingStoresGetTheHistoryWhenOpened) {
  for (const char* trigger : {"Modifica", "Inserimento", "Nuovo"})
    negozio.sqlite(QStringLiteral("DROP TRIGGER StoricoPrezzi_%1").arg(trigger));
  negozio.sqlite("DROP TABLE StoricoPrezzi");
  negozio.sqlite("ALTER TABLE rptProdotti DROP COLUMN PrezzoPiuBasso");
  const QString percorso = negozio.db->path();
  negozio.db = ApriDatabase(percorso);
  negozio.prodotto("5", "Olio", "7,50");
  negozio.db->execute("UPDATE Magazzino SET Costo=6.9");
  EXPECT_EQ(negozio.conta("Select * from StoricoPrezzi"), 2);
  EXPECT_TRUE(negozio.db->openRecordset("Select * from rptProdotti").hasField("PrezzoPiuBasso"));
}

}  // namespace
}  // namespace listinova::testing
