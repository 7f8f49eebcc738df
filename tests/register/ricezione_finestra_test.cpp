// The product list's reading commands and sales view, wired as the program wires them.
#include "register/ricezione_finestra.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "catalogue/magazzino.h"
#include "platform/text_viewer.h"
#include "register/collegamento_casse.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

class NullViewer : public platform::TextViewer {
 public:
  void showAndWait(const QString&) override {}
};

TEST(RicezioneFinestra, SalesViewShowsThePeriodsTotalsAndRefusesABackwardPeriod) {
  testing::NegozioDiProva negozio;
  negozio.prodotto({.cod = "1", .descrizione = "ACQUA", .barCode = "8001"})
      .prodotto({.cod = "2", .descrizione = QString::fromUtf8("CAFFÈ"), .barCode = "2012345000017"})
      .vendita("8001", 2.5, QDate(2024, 3, 15))
      .vendita("8001", 0.001, QDate(2024, 3, 15))
      .vendita("2012345000017", 3, QDate(2024, 3, 15));
  auto& db = *negozio.db;
  auto& cartella = negozio.cartella;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  NullViewer viewer;
  CollegamentoCasse casse(
      {db, prompts, notice, clock, viewer, cartella.root(), cartella.setup(), {}, {}});
  Magazzino lista(db, prompts, notice, clock, {});
  CollegaRicezione(lista, casse, db, prompts, clock);

  auto* dal = lista.findChild<QDateEdit*>("dtGiornoRif");
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
}

}  // namespace
}  // namespace listinova
