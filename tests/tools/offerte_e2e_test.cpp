// An offer entered in the product list's panel travels to a simulated register with the next
// send of the modified products; an offer already over does not.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include "banco_casse.h"
#include "catalogue/magazzino.h"
#include "promotions/offerte.h"
#include "promotions/promozioni_magazzino.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

// The price field of the register's change record for `barCode`.
QString prezzoInviato(const QStringList& comandi, const QString& barCode) {
  for (const QString& comando : comandi)
    if (comando.startsWith("A/" + barCode + "/")) return comando.section('/', 5, 5);
  return QStringLiteral("non inviato");
}

TEST(OfferteVersoLaCassa, TheNextModifiedSendCarriesTheOfferOfToday) {
  BancoCasse banco;
  auto& cassa = banco.cassaSeriale(1);
  banco.prompts.defaultAnswer = platform::Answer::No;
  banco.negozio.prodotto("1", "LATTE", "2,50")
      .prodotto("2", "PANE", "3,20")
      .prodotto("3", "SALE", "0,90");
  const QDate oggi = QDate::currentDate();
  // An offer that ended yesterday, and the bread changed since.
  SalvaOfferta(*banco.db,
               {"2", oggi.addDays(-7), oggi.addDays(-1), TipoSconto::Valore, "1", "2,20"});

  Magazzino lista(*banco.db, banco.prompts, banco.notice, banco.clock, [] { return nullptr; });
  InstallaPromozioni(lista, *banco.db, banco.prompts, banco.clock);
  lista.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&lista));
  auto* griglia = lista.findChild<QTreeView*>("ListMagazzino");
  ASSERT_TRUE(QTest::qWaitFor([&] { return griglia->model()->rowCount() == 3; }));
  griglia->setCurrentIndex(
      griglia->model()
          ->match(griglia->model()->index(0, 0), Qt::DisplayRole, "1", 1, Qt::MatchExactly)
          .first());
  QTest::mouseClick(lista.findChild<QPushButton*>("cmdPromozioni"), Qt::LeftButton);
  QTest::mouseClick(lista.findChild<QRadioButton*>("optTipoSconto1"), Qt::LeftButton);
  auto* sconto = lista.findChild<QLineEdit*>("txtSconto");
  sconto->setFocus();
  QTest::keyClicks(sconto, "10");
  lista.findChild<QDateEdit*>("MaskAl")->setDate(oggi.addDays(6));
  QTest::mouseClick(lista.findChild<QPushButton*>("cmdConfermaPromozione"), Qt::LeftButton);
  ASSERT_EQ(banco.modificati(), 2);

  const EsitoInvio esito = banco.invia(true);
  EXPECT_TRUE(esito.tutteRiuscite());
  EXPECT_EQ(prezzoInviato(cassa.comandi(), "8000000000001"), "2.25");
  EXPECT_EQ(prezzoInviato(cassa.comandi(), "8000000000002"), "3.20");
  EXPECT_EQ(prezzoInviato(cassa.comandi(), "8000000000003"), "non inviato");
  EXPECT_EQ(banco.modificati(), 0);
}

}  // namespace
}  // namespace listinova::testing
