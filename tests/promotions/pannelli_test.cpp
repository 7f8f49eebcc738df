// The offer panel and the offer list on the product list, driven by clicks and typing on the
// offscreen platform.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "catalogue/magazzino.h"
#include "promotions/elenco_promozioni.h"
#include "promotions/promozioni_magazzino.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "support/widgets.h"

namespace listinova::testing {
namespace {

using platform::Answer;

class PannelliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock.current = QDateTime(oggi, QTime(9, 0));
    negozio.prodotto("12", "Latte intero 1 l", "2,50").prodotto("13", "Pane casereccio", "3,20");
    finestra =
        std::make_unique<Magazzino>(*negozio.db, prompts, notice, clock, [] { return nullptr; });
    pannelli = InstallaPromozioni(*finestra, *negozio.db, prompts, clock);
    finestra->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(finestra.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return griglia()->model()->rowCount() == 2; }));
  }

  template <typename T>
  T* figlio(const char* nome) {
    return testing::figlio<T>(*finestra, nome);
  }
  QTreeView* griglia() { return figlio<QTreeView>("ListMagazzino"); }
  void clic(const char* nome) { QTest::mouseClick(figlio<QAbstractButton>(nome), Qt::LeftButton); }
  void scegliProdotto(const QString& cod) {
    QAbstractItemModel* m = griglia()->model();
    griglia()->setCurrentIndex(m->match(m->index(0, 0), Qt::DisplayRole, cod).value(0));
  }
  void scrivi(const char* campo, const QString& testo) {
    auto* riga = figlio<QLineEdit>(campo);
    riga->setFocus();
    riga->selectAll();
    QTest::keyClick(riga, Qt::Key_Backspace);
    QTest::keyClicks(riga, testo);
  }
  QString testo(const char* campo) { return figlio<QLineEdit>(campo)->text(); }
  bool sceltoPercento() { return figlio<QRadioButton>("optTipoSconto1")->isChecked(); }

  const QDate oggi = QDate::currentDate();
  NegozioDiProva negozio;
  FakePrompts prompts;
  FakeNotice notice;
  FakeClock clock;
  std::unique_ptr<Magazzino> finestra;
  PannelliPromozioni pannelli;
};

TEST_F(PannelliTest, AnOfferEnteredAsDiscountOrPriceAndSaved) {
  scegliProdotto("12");
  clic("cmdPromozioni");
  EXPECT_TRUE(sceltoPercento());  // no offer yet
  clic("cmdConfermaPromozione");
  EXPECT_EQ(
      askedTexts(prompts),
      QStringList{"Attenzione nessun prezzo promozionale calcolato - Impossibile continuare"});

  scrivi("txtSconto", "10");
  EXPECT_EQ(testo("txtPrezzoScontato"), "2,25");
  // "Valore" 10 on 2,50 would sell below nothing: the discount goes back to 0.
  QTest::mouseClick(figlio<QRadioButton>("optTipoSconto0"), Qt::LeftButton);
  EXPECT_EQ(testo("txtSconto") + " " + testo("txtPrezzoScontato"), "0 2,50");

  QTest::mouseClick(figlio<QRadioButton>("optTipoSconto1"), Qt::LeftButton);
  scrivi("txtPrezzoScontato", "2.00");
  EXPECT_EQ(testo("txtPrezzoScontato"), "2,00");  // a typed "." is the decimal comma
  QTest::keyClick(figlio<QLineEdit>("txtPrezzoScontato"), Qt::Key_Return);
  EXPECT_FALSE(sceltoPercento());  // the price typed gives a discount in euro
  EXPECT_EQ(testo("txtSconto"), "0,50");

  figlio<QDateEdit>("MaskDal")->setDate(oggi.addDays(-1));
  clic("cmdConfermaPromozione");
  EXPECT_EQ(askedTexts(prompts).last(), "Verifica l'impostazione delle date");
  EXPECT_EQ(negozio.conta("Select * from Offerte"), 0);

  figlio<QDateEdit>("MaskDal")->setDate(oggi);
  figlio<QDateEdit>("MaskAl")->setDate(oggi.addDays(6));
  clic("cmdConfermaPromozione");
  clic("cmdConfermaPromozione");
  EXPECT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(negozio.righe("Select ScontoVal, ScontoPer, PrzScnt from Offerte"),
            QStringList{"0.5|0|2"});
  EXPECT_TRUE(negozio.modificato("12"));
}

// A stored offer opens with its real discount (made on an older price); deleting from the list
// takes every period of the product; printing fills the report table first.
TEST_F(PannelliTest, TheStoredOfferShowsItsRealDiscountAndTheListDeletesAndPrints) {
  int righeStampate = 0;
  pannelli.elenco->setStampa([&] { righeStampate = negozio.conta("Select * from rptProdotti"); });
  negozio.offerta({"12", oggi, oggi.addDays(3), "2,00"})
      .offerta({"12", oggi.addDays(10), oggi.addDays(12), "2,20"})
      .offerta({"13", oggi, oggi.addDays(2), "2,88", 5});
  scegliProdotto("13");
  clic("cmdPromozioni");
  EXPECT_EQ(testo("txtSconto") + " " + testo("txtPrezzoScontato"), "10 2,88");
  EXPECT_EQ(figlio<QLabel>("lblScontoEffettivo")->text(), "0,32 € - 10 %");
  clic("cmdVediTutteLePromozioni");
  auto* lista = figlio<QTreeWidget>("lstOfferte");
  ASSERT_EQ(lista->topLevelItemCount(), 3);
  clic("cmdStampaElencoOfferte");
  EXPECT_EQ(righeStampate, 3);

  lista->topLevelItem(0)->setSelected(true);
  prompts.answers = {Answer::Cancel};
  clic("cmdEliminaOfferta");
  EXPECT_EQ(negozio.conta("Select * from Offerte"), 3);
  prompts.answers = {Answer::Ok};
  clic("cmdEliminaOfferta");
  EXPECT_EQ(prompts.asked.back().text, "Sei sicuro di voler eliminare le Offerte selezionate ?");
  EXPECT_EQ(negozio.conta("Select * from Offerte where Articolo='12'"), 0);
  EXPECT_TRUE(negozio.modificato("12"));
  EXPECT_FALSE(negozio.modificato("13"));
}

}  // namespace
}  // namespace listinova::testing
