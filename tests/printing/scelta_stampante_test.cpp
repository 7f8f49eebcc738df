// The two printers by purpose, the selection window and the label flow around the editor.
#include "printing/scelta_stampante.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "platform/printers.h"
#include "printing/frm_change_st.h"
#include "printing/stampa_frontalini.h"
#include "support/cartella_di_prova.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::askedTexts;
using testing::FakePrompts;
using testing::writeAll;

// The selection window stores only the key of its purpose ("0" the A4, "1" the labels).
TEST(SceltaStampante, ApplyStoresOnlyTheKeyOfItsPurpose) {
  const struct {
    QString scopo;
    int riga;  // -1: nothing selected
    QString predefinita, frontalini, avviso;
  } casi[] = {
      {"0", 0, "Ufficio_A4", "Vecchia", ""},
      {"1", 1, "A4vecchia", "Etichette-Zebra", ""},
      {"", 2, "A4vecchia", "PDF", ""},
      {"0", -1, "A4vecchia", "Vecchia", "Selezionare una Stampante dall'Elenco"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.scopo.toStdString() + std::to_string(c.riga));
    CartellaDiProva cartella;
    writeAll(cartella.setup(), "[STdiSISTEMA]\r\nPredefinita=A4vecchia\r\nxFrontalini=Vecchia\r\n");
    platform::FixedPrinters stampanti({"Ufficio_A4", " Etichette-Zebra ", "", "PDF"});
    FakePrompts prompts;
    FrmChangeST finestra(c.scopo, cartella.setup(), stampanti, prompts);
    auto* elenco = finestra.findChild<QListWidget*>("List1");
    ASSERT_EQ(elenco->count(), 3);  // trimmed, the empty name left out
    if (c.riga >= 0) elenco->setCurrentRow(c.riga);
    finestra.findChild<QPushButton*>("cmdApplicaST")->click();
    EXPECT_EQ(LeggiStampanteST(cartella.setup(), "Predefinita"), c.predefinita);
    EXPECT_EQ(LeggiStampanteST(cartella.setup(), "xFrontalini"), c.frontalini);
    EXPECT_EQ(askedTexts(prompts), c.avviso.isEmpty() ? QStringList() : QStringList{c.avviso});
  }
}

// The print target moves only to an installed printer; the label flow switches to the label
// printer for the editor and back to the A4 one, or refuses without a label printer.
TEST(SceltaStampante, TheLabelFlowSwitchesToTheLabelPrinterAndBack) {
  platform::FixedPrinters stampanti({"Ufficio_A4", "Zebra"});
  {
    platform::PrintTarget destinazione(stampanti);
    FakePrompts prompts;
    EXPECT_TRUE(EseguiAssegnazioneST(destinazione, "Zebra", prompts));
    EXPECT_FALSE(EseguiAssegnazioneST(destinazione, "Tolta", prompts));
    EXPECT_EQ(destinazione.printerName(), "Zebra");
    EXPECT_EQ(askedTexts(prompts).join("").count("\"Tolta\" non è installata"), 1);
  }
  const QString kManca = "Prima di proseguire definire la stampante per i Frontalini";
  const struct {
    QString frontalini, predefinita;  // null: no key
    QString durante;                  // the target while the editor is open; empty: not opened
    QString dopo;
    QString avviso;
  } casi[] = {
      {"Zebra", "Ufficio_A4", "Zebra", "Ufficio_A4", ""},
      {"?", "Ufficio_A4", "", "", kManca},
      {{}, {}, "", "", kManca},
      {"Zebra", "", "Zebra", "Zebra", "RiAssegnare la stampante A4 predefinita"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.frontalini.toStdString() + "/" + c.predefinita.toStdString());
    CartellaDiProva cartella;
    if (!c.frontalini.isNull())
      writeAll(cartella.setup(), ("[STdiSISTEMA]\r\nxFrontalini=" + c.frontalini +
                                  "\r\nPredefinita=" + c.predefinita + "\r\n")
                                     .toUtf8());
    platform::PrintTarget destinazione(stampanti);
    FakePrompts prompts;
    QString durante;
    StampaFrontalini(cartella.setup(), destinazione, prompts,
                     [&] { durante = destinazione.printerName(); });
    EXPECT_EQ(durante, c.durante);
    EXPECT_EQ(destinazione.printerName(), c.dopo);
    EXPECT_EQ(askedTexts(prompts), c.avviso.isEmpty() ? QStringList() : QStringList{c.avviso});
  }
}

}  // namespace
}  // namespace listinova
