// The offer panel when the selling price has moved since the offer was made, and a typed
// percentage that must stay one.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include "catalogue/magazzino.h"
#include "promotions/pannello_promozione.h"
#include "promotions/promozioni_magazzino.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"

namespace listinova::testing {
namespace {

TEST(OffertaEPrezzo, TheStoredOfferShowsItsRealDiscountAndATypedPercentageStays) {
  FakePrompts prompts;
  FakeNotice notice;
  FakeClock clock;
  clock.current = QDateTime(QDate::currentDate(), QTime(9, 0));
  const QDate oggi = clock.current.date();
  NegozioDiProva negozio;
  // 10 % made on the old price 0,45; the price is 0,60 now.
  negozio.prodotto("12", "Gomma", "0,60")
      .offerta({.articolo = "12",
                .dal = oggi,
                .al = oggi.addDays(9),
                .prezzo = "0,41",
                .scontoPer = 10});
  Magazzino lista(*negozio.db, prompts, notice, clock, [] { return nullptr; });
  const PannelliPromozioni pannelli = InstallaPromozioni(lista, *negozio.db, prompts, clock);
  lista.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&lista));
  auto* griglia = lista.findChild<QTreeView*>("ListMagazzino");
  ASSERT_TRUE(QTest::qWaitFor([&] { return griglia->model()->rowCount() == 1; }));
  griglia->setCurrentIndex(griglia->model()->index(0, 0));
  const auto casella = [&](const char* nome) { return lista.findChild<QLineEdit*>(nome); };
  const auto percento = [&] { return lista.findChild<QRadioButton*>("optTipoSconto1"); };
  const auto effettivo = [&] { return lista.findChild<QLabel*>("lblScontoEffettivo")->text(); };

  QTest::mouseClick(lista.findChild<QPushButton*>("cmdPromozioni"), Qt::LeftButton);
  ASSERT_TRUE(pannelli.promozione->isVisible());
  EXPECT_TRUE(percento()->isChecked());
  EXPECT_EQ(casella("txtPrezzoScontato")->text(), "0,41");
  EXPECT_EQ(casella("txtSconto")->text(), "31,67");
  EXPECT_EQ(effettivo(), "0,19 € - 31,67 %");

  // A percentage typed, then the focus passes through the price box: it stays a percentage.
  casella("txtSconto")->setFocus();
  casella("txtSconto")->selectAll();
  QTest::keyClicks(casella("txtSconto"), "20");
  EXPECT_EQ(casella("txtPrezzoScontato")->text(), "0,48");
  casella("txtPrezzoScontato")->setFocus();
  casella("txtSconto")->setFocus();
  EXPECT_TRUE(percento()->isChecked());
  EXPECT_EQ(casella("txtSconto")->text(), "20");
  EXPECT_EQ(effettivo(), "0,12 € - 20 %");
  QTest::mouseClick(lista.findChild<QPushButton*>("cmdConfermaPromozione"), Qt::LeftButton);
  EXPECT_EQ(negozio.righe("Select ScontoVal, ScontoPer, PrzScnt from Offerte"),
            QStringList{"0|20|0.48"});
}

}  // namespace
}  // namespace listinova::testing
