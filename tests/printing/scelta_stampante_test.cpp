// The two printers by purpose, the selection window and the label flow around the editor.
#include "printing/scelta_stampante.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "platform/printers.h"
#include "printing/frm_change_st.h"
#include "printing/stampa_frontalini.h"
#include "startup/modulo_file_ini.h"
#include "support/cartella_di_prova.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::askedTexts;
using testing::FakePrompts;
using testing::writeAll;

const QStringList kInstallate = {"Ufficio_A4", " Etichette-Zebra ", "", "PDF"};

TEST(SceltaStampante, ApplyStoresOnlyTheKeyOfItsPurpose) {
  struct Caso {
    QString scopo;
    int riga;  // -1: nothing selected
    QString predefinita;
    QString frontalini;
    QString avviso;
  };
  const Caso casi[] = {
      {"0", 0, "Ufficio_A4", "Vecchia", ""},
      {"1", 1, "A4vecchia", "Etichette-Zebra", ""},
      {"", 2, "A4vecchia", "PDF", ""},
      {"0", -1, "A4vecchia", "Vecchia", "Selezionare una Stampante dall'Elenco"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.scopo.toStdString() + std::to_string(c.riga));
    CartellaDiProva cartella;
    writeAll(cartella.setup(), "[STdiSISTEMA]\r\nPredefinita=A4vecchia\r\nxFrontalini=Vecchia\r\n");
    platform::FixedPrinters stampanti(kInstallate);
    FakePrompts prompts;
    FrmChangeST finestra(c.scopo, cartella.setup(), stampanti, prompts);
    auto* elenco = finestra.findChild<QListWidget*>("List1");
    ASSERT_EQ(elenco->count(), 3);  // trimmed, the empty name left out
    EXPECT_EQ(elenco->item(1)->text(), "Etichette-Zebra");
    if (c.riga >= 0) elenco->setCurrentRow(c.riga);
    finestra.findChild<QPushButton*>("cmdApplicaST")->click();
    EXPECT_EQ(LeggiStampanteST(cartella.setup(), "Predefinita"), c.predefinita);
    EXPECT_EQ(LeggiStampanteST(cartella.setup(), "xFrontalini"), c.frontalini);
    EXPECT_EQ(askedTexts(prompts), c.avviso.isEmpty() ? QStringList() : QStringList{c.avviso});
    EXPECT_EQ(finestra.result(), c.avviso.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
  }
}

TEST(SceltaStampante, ThePrintTargetMovesOnlyToAnInstalledPrinter) {
  platform::FixedPrinters stampanti({"Ufficio_A4", "Zebra"});
  platform::PrintTarget destinazione(stampanti);
  FakePrompts prompts;
  EXPECT_TRUE(EseguiAssegnazioneST(destinazione, "Zebra", prompts));
  EXPECT_EQ(destinazione.printerName(), "Zebra");
  EXPECT_FALSE(EseguiAssegnazioneST(destinazione, "Tolta", prompts));
  EXPECT_EQ(destinazione.printerName(), "Zebra");
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_TRUE(prompts.asked[0].text.contains("\"Tolta\" non è installata"));
  EXPECT_TRUE(prompts.asked[0].text.contains("\"Zebra\""));
}

TEST(SceltaStampante, TheLabelFlowSwitchesToTheLabelPrinterAndBack) {
  struct Caso {
    QString ini;
    bool editorAperto;
    QString durante;  // the target while the editor is open
    QString dopo;
    QStringList avvisi;
  };
  const Caso casi[] = {
      {"[STdiSISTEMA]\r\nxFrontalini=Zebra\r\nPredefinita=Ufficio_A4\r\n",
       true,
       "Zebra",
       "Ufficio_A4",
       {}},
      {"[STdiSISTEMA]\r\nxFrontalini=?\r\nPredefinita=Ufficio_A4\r\n",
       false,
       "",
       "",
       {"Prima di proseguire definire la stampante per i Frontalini"}},
      {"", false, "", "", {"Prima di proseguire definire la stampante per i Frontalini"}},
      {"[STdiSISTEMA]\r\nxFrontalini=Zebra\r\nPredefinita=\r\n",
       true,
       "Zebra",
       "Zebra",
       {"RiAssegnare la stampante A4 predefinita"}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.ini.toStdString());
    CartellaDiProva cartella;
    writeAll(cartella.setup(), c.ini.toUtf8());
    platform::FixedPrinters stampanti({"Ufficio_A4", "Zebra"});
    platform::PrintTarget destinazione(stampanti);
    FakePrompts prompts;
    bool aperto = false;
    QString durante;
    StampaFrontalini(cartella.setup(), destinazione, prompts, [&] {
      aperto = true;
      durante = destinazione.printerName();
    });
    EXPECT_EQ(aperto, c.editorAperto);
    EXPECT_EQ(durante, c.durante);
    EXPECT_EQ(destinazione.printerName(), c.dopo);
    EXPECT_EQ(askedTexts(prompts), c.avvisi);
  }
}

}  // namespace
}  // namespace listinova
