// The label editor's switches, colours and fonts, and the sheets it offers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "printing/frm_configura_label.h"
#include "printing/stampante_etichette.h"
#include "printing/superficie_painter.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

class EditorEtichette : public ::testing::Test {
 protected:
  std::unique_ptr<FrmConfiguraLabel> editor() {
    AmbienteEditorEtichette a{*negozio.db,
                              negozio.cartella.setup(),
                              negozio.cartella.root(),
                              prompts,
                              foglio,
                              {},
                              {},
                              {},
                              {},
                              [this](quint32) { return colore; }};
    return std::make_unique<FrmConfiguraLabel>(a);
  }
  QString ini(const char* chiave) {
    return LeggiINI(negozio.cartella.setup(), "Etichetta", chiave, "?");
  }
  // With LISTINOVA_SCHERMATE naming a folder (a run under Xvfb), the window is saved there.
  static void Schermata(QWidget* w, const char* nome) {
    const QString cartella = qEnvironmentVariable("LISTINOVA_SCHERMATE");
    if (cartella.isEmpty()) return;
    w->show();
    (void)QTest::qWaitForWindowExposed(w);
    QTest::qWait(300);
    w->grab().save(cartella + "/" + nome + ".png");
  }

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::DispositivoDiProva foglio;
  std::optional<quint32> colore;
};

// A new shop prints bars; the two switches are check boxes over the same keys; each text
// element has its colour, saved in its Color column.
TEST_F(EditorEtichette, SwitchesAndColoursAreStoredWhereTheyAlwaysWere) {
  auto e = editor();
  auto* barre = e->findChild<QCheckBox*>("chkVediBarcode");
  auto* ean8 = e->findChild<QCheckBox*>("chkCodFornitoreEAN8");
  ASSERT_TRUE(barre && ean8);
  EXPECT_EQ(barre->text(), "Stampa il codice a barre");
  EXPECT_EQ(ean8->text(), "Codice fornitore come EAN-8");
  EXPECT_TRUE(barre->isChecked());
  EXPECT_FALSE(ean8->isChecked());
  EXPECT_FALSE(ean8->isEnabled());  // it matters only without the product's bar code
  EXPECT_EQ(ini("VediBARCODE"), "Vero");
  EXPECT_EQ(ini("ConvertiCodFornitoreInEAN8"), "Falso");
  Schermata(e.get(), "editor_etichette");

  barre->setChecked(false);
  ean8->setChecked(true);
  EXPECT_EQ(ini("VediBARCODE"), "Falso");
  EXPECT_EQ(ini("ConvertiCodFornitoreInEAN8"), "Vero");
  EXPECT_FALSE(e->motore().opzioniCodice().vediBarcode);
  EXPECT_TRUE(e->motore().opzioniCodice().convertiInEAN);

  colore = 0x0000ffu;  // red
  e->findChild<QPushButton*>(QString("cmdColore_%1").arg(kPrezzo))->click();
  colore.reset();  // cancelled: nothing changes
  e->findChild<QPushButton*>(QString("cmdColore_%1").arg(kDescrizione))->click();
  e->findChild<QPushButton*>("cmdSalva")->click();
  EXPECT_EQ(negozio.valore("Select ColorC from FormatoEtichetta"), "255");
  EXPECT_EQ(negozio.valore("Select ColorCF from FormatoEtichetta"), "0");
  EXPECT_EQ(editor()->layout().testi[kPrezzo].carattere.colore, 0x0000ffu);
  EXPECT_EQ(e->findChild<QPushButton*>("cmdEtichette"), nullptr);
}

// "Arial" is drawn with its metric twin; the font dialog, confirmed without a change, gives
// the stored font back (not the face's own name, not without its bold); a change changes
// only itself.
TEST_F(EditorEtichette, TheFontDialogKeepsWhatTheUserDidNotChange) {
  const CarattereEtichetta prezzo = LayoutEtichetta::progettato().testi[kPrezzo].carattere;
  ASSERT_EQ(prezzo.nome, "Arial");
  ASSERT_TRUE(prezzo.grassetto);
  EXPECT_EQ(QFontInfo(FontEtichetta(prezzo)).family(), "Liberation Sans");

  const QFont mostrato = FontPerDialogo(prezzo);
  QFontDialog dialogo(mostrato);
  QTimer::singleShot(0, &dialogo, &QDialog::accept);
  ASSERT_EQ(dialogo.exec(), QDialog::Accepted);
  const CarattereEtichetta uguale = CarattereScelto(prezzo, mostrato, dialogo.selectedFont());
  EXPECT_EQ(uguale.nome, "Arial");
  EXPECT_TRUE(uguale.grassetto);
  EXPECT_EQ(uguale.punti, 16);

  QFont piuGrande = dialogo.selectedFont();
  piuGrande.setPointSizeF(20);
  const CarattereEtichetta cambiato = CarattereScelto(prezzo, mostrato, piuGrande);
  EXPECT_EQ(cambiato.nome, "Arial");
  EXPECT_TRUE(cambiato.grassetto);
  EXPECT_EQ(cambiato.punti, 20);
}

// Round and elliptical sheets are not offered; one named in the settings is refused aloud.
TEST_F(EditorEtichette, SheetsTheEngineCannotLayOutAreNotOffered) {
  if (CatalogoModelliFoglio().empty()) GTEST_SKIP() << "glabels-data non installato";
  negozio.setup("Etichetta", "ModelloFoglio", "Hisago GB3020");
  auto e = editor();
  auto* modelli = e->findChild<QComboBox*>("cboModello");
  EXPECT_EQ(modelli->findData("Hisago GB3020"), -1);
  EXPECT_EQ(modelli->findData("Hisago OP3021"), -1);  // elliptical
  EXPECT_GT(modelli->findData("Hisago ELM033"), 0);
  const QStringList chiesti = testing::askedTexts(prompts);
  ASSERT_EQ(chiesti.size(), 1);
  EXPECT_TRUE(chiesti[0].contains("ha etichette rotonde")) << chiesti[0].toStdString();
}

}  // namespace
}  // namespace listinova
