#include "register/vendite_periodo.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;

TEST(VenditePeriodo, OneLinePerBarcodeSummedOverThePeriod) {
  QTemporaryDir dir;
  std::unique_ptr<Database> db = ApriDatabase(dir.filePath("DbNegozio.mdb"));
  for (const auto& [codice, barCode, descrizione] :
       {std::tuple{"1", "8001", "ACQUA"}, std::tuple{"2", "8002", "BIRRA"},
        std::tuple{"3", "8003", "ZUCCHERO"}}) {
    Recordset rs = db->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", codice);
    rs.setText("BarCode", barCode);
    rs.setText("Descrizione", descrizione);
    rs.update();
  }
  struct Riga {
    const char* ean;
    double qta;
    QDate giorno;
  };
  const Riga righe[] = {{"8002", 0.1, {2026, 12, 1}}, {"8002", 0.2, {2026, 12, 7}},
                        {"8001", 2.5, {2026, 12, 3}}, {"8001", 1, {2026, 11, 30}},
                        {"8003", 4, {2026, 12, 8}},   {"8003", 0, {2026, 12, 5}},
                        {"9999", 7, {2026, 12, 2}}};
  Recordset storico = db->openRecordset("select * from StoricoPLU");
  for (const Riga& r : righe) {
    storico.addNew();
    storico.setValue("EAN", r.ean);
    storico.setValue("Qta", r.qta);
    storico.setValue("DataModif", r.giorno);
    storico.update();
  }
  const VenditePeriodo vendite = VenditeDelPeriodo(*db, {2026, 12, 1}, {2026, 12, 7});
  ASSERT_EQ(vendite.righe.size(), 2u);
  EXPECT_EQ(vendite.righe[0].ean, "8001");
  EXPECT_EQ(vendite.righe[0].descrizione, "ACQUA");
  EXPECT_EQ(vendite.righe[0].millesimi, 2500);
  EXPECT_EQ(vendite.righe[1].ean, "8002");
  EXPECT_EQ(vendite.righe[1].millesimi, 300);
  EXPECT_EQ(vendite.totaleMillesimi, 2800);
  EXPECT_TRUE(VenditeDelPeriodo(*db, {2026, 12, 7}, {2026, 12, 1}).righe.empty());
}

TEST(VenditePeriodo, QuantitiesReadTheItalianWay) {
  const std::pair<qint64, const char*> casi[] = {{0, "0"},
                                                 {1, "0,001"},
                                                 {2500, "2,5"},
                                                 {3000, "3"},
                                                 {-1500, "-1,5"},
                                                 {1234500, "1.234,5"},
                                                 {1000000000, "1.000.000"}};
  for (const auto& [millesimi, testo] : casi) EXPECT_EQ(TestoQuantita(millesimi), testo);
}

}  // namespace
}  // namespace listinova
