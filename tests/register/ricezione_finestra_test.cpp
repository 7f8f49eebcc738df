// The product list's reading commands and sales view, wired as the program wires them.
#include "register/ricezione_finestra.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "catalogue/apri_database.h"
#include "catalogue/magazzino.h"
#include "platform/db/database.h"
#include "platform/text_viewer.h"
#include "register/collegamento_casse.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Recordset;

class NullViewer : public platform::TextViewer {
 public:
  void showAndWait(const QString&) override {}
};

TEST(RicezioneFinestra, SalesViewShowsThePeriodsTotalsAndRefusesABackwardPeriod) {
  CartellaDiProva cartella;
  Globali() = VarGlobali{};
  Globali().PercorsoSetup = cartella.setup();
  Globali().CartellaProgramma = cartella.root();
  auto db = ApriDatabase(cartella.file("DbNegozio.mdb"));
  for (const auto& [codice, barCode, descrizione] :
       {std::tuple{"1", "8001", "ACQUA"}, std::tuple{"2", "2012345000017", "CAFFÈ"}}) {
    Recordset rs = db->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", codice);
    rs.setText("BarCode", barCode);
    rs.setText("Descrizione", QString::fromUtf8(descrizione));
    rs.update();
  }
  Recordset storico = db->openRecordset("select * from StoricoPLU");
  for (const auto& [ean, qta] :
       {std::pair{"8001", 2.5}, std::pair{"8001", 0.001}, std::pair{"2012345000017", 3.0}}) {
    storico.addNew();
    storico.setValue("EAN", ean);
    storico.setValue("Qta", qta);
    storico.setValue("DataModif", QDate(2024, 3, 15));
    storico.update();
  }
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  NullViewer viewer;
  CollegamentoCasse casse(
      {*db, prompts, notice, clock, viewer, cartella.root(), cartella.setup(), {}, {}});
  Magazzino lista(*db, prompts, notice, clock, {});
  CollegaRicezione(lista, casse, *db, prompts, clock);
  for (const char* nome : {"cmdLeggiPLU", "cmdGeneraFile", "cmdTrova"})
    EXPECT_TRUE(lista.findChild<QPushButton*>(nome)->isEnabled()) << nome;

  auto* dal = lista.findChild<QDateEdit*>("dtGiornoRif");
  auto* al = lista.findChild<QDateEdit*>("dtDataAl");
  auto* elenco = lista.findChild<QTreeWidget*>("lstPLU");
  auto* trova = lista.findChild<QPushButton*>("cmdTrova");
  EXPECT_EQ(dal->date(), QDate(2024, 3, 15));
  QTest::mouseClick(trova, Qt::LeftButton);
  ASSERT_EQ(elenco->topLevelItemCount(), 2);
  EXPECT_EQ(elenco->topLevelItem(0)->text(0), "8001");
  EXPECT_EQ(elenco->topLevelItem(0)->text(2), "2,501");
  EXPECT_EQ(elenco->topLevelItem(1)->text(1), QString::fromUtf8("CAFFÈ"));
  EXPECT_EQ(lista.findChild<QLabel*>("lblTotMovimentati")->text(), "2");
  EXPECT_EQ(lista.findChild<QLabel*>("lblTotQuantita")->text(), "5,501");
  EXPECT_TRUE(prompts.asked.empty());

  dal->setDate(QDate(2024, 3, 16));
  QTest::mouseClick(trova, Qt::LeftButton);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text,
            QString::fromUtf8("ATTENZIONE!!! - Controllare il periodo selezionato (la Data Al "
                              "non può essere precedente alla Data Dal) e riprovare"));
  EXPECT_EQ(elenco->topLevelItemCount(), 2);  // the last list stays

  auto* barra = lista.findChild<QProgressBar*>("ProgressBar1");
  lista.mostraAvanzamento(3, 10);
  EXPECT_EQ(barra->value(), 3);
  EXPECT_FALSE(barra->isHidden());
  lista.mostraAvanzamento(0, 0);
  EXPECT_TRUE(barra->isHidden());
  Globali() = VarGlobali{};
}

}  // namespace
}  // namespace listinova
