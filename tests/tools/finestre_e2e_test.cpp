// What the operator sets in a window reaches a simulated register with the next send: a
// register address changed in the setup window, without a restart; an offer entered in the
// product list's panel, while an offer already over does not travel.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include "banco_casse.h"
#include "catalogue/magazzino.h"
#include "platform/printers.h"
#include "programma/frm_setup_cassa.h"
#include "promotions/offerte.h"
#include "promotions/promozioni_magazzino.h"
#include "register/prova_collegamento.h"
#include "startup/impostazioni.h"
#include "startup/var_globali.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

TEST(SetupCassaE2e, TheNewAddressIsTriedAndSentToOnTheLinkAlreadyOpen) {
  for (const bool seriale : {true, false}) {
    SCOPED_TRACE(seriale ? "serial" : "network");
    BancoCasse banco;
    banco.negozio.prodotto({.cod = "1", .barCode = "8001234567890", .modificato = true});
    banco.prompts.defaultAnswer = platform::Answer::Yes;
    simulatore::SimulatoreRegistratore& cassa =
        seriale ? banco.cassaSeriale(1) : banco.cassaInRete();
    const QString pty = banco.porta(1);
    // The shop was set up for a register that is no longer there; the link is already open.
    ASSERT_TRUE(writeAll(banco.cartella.setup(), "[RegCassa]\r\nPortaCOM=/dev/ttyS77\r\n"));
    LeggiImpostazioni(Globali());
    CollegamentoCasse& collegamento = banco.collegamento();

    platform::FixedPrinters stampanti;
    AmbienteSetup ambiente{banco.prompts, stampanti, {{pty, "Simulatore"}}};
    ambiente.provaCollegamento = [&] {
      return ProvaCollegamento(collegamento.trasporto(), Globali());
    };
    FrmSetupCassa finestra(std::move(ambiente), Globali());
    auto* porta = finestra.findChild<QComboBox*>("cbPortaComCassa");
    porta->setCurrentIndex(porta->findData(seriale ? pty : QString()));
    emit porta->activated(porta->currentIndex());
    if (!seriale) {
      const char* parti[] = {"127", "0", "0", "1"};
      for (int i = 0; i < 4; ++i)
        QTest::keyClicks(finestra.findChild<QLineEdit*>(QStringLiteral("txtIP%1").arg(i + 1)),
                         parti[i]);
    }
    // Unsaved: the test offers to store first, and the operator says yes.
    finestra.findChild<QPushButton*>("cmdProvaCollegamento")->click();
    ASSERT_EQ(banco.prompts.asked.size(), 2u);
    EXPECT_EQ(banco.prompts.asked[1].text, QStringLiteral("Cassa 1 (%1): collegata, risponde")
                                               .arg(seriale ? pty : QStringLiteral("127.0.0.1")));
    EXPECT_FALSE(finestra.modificato());

    const EsitoInvio esito = banco.invia(false);
    EXPECT_TRUE(esito.tutteRiuscite());
    EXPECT_FALSE(cassa.comandi().isEmpty());
  }
}

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
