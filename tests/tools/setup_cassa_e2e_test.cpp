// A register address changed in the setup window holds from the next send, without a restart.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "banco_casse.h"
#include "platform/printers.h"
#include "programma/frm_setup_cassa.h"
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
    banco.aggiungi({.codice = "1", .barCode = "8001234567890", .modificato = true});
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

}  // namespace
}  // namespace listinova::testing
