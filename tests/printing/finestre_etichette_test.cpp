// The label editor, the preview and the print options as the user works them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "printing/frm_configura_label.h"
#include "printing/frm_preview.h"
#include "printing/frm_print.h"
#include "printing/superficie_painter.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

using testing::FakePrompts;

void Invia(QWidget* w, QEvent::Type tipo, QPoint dove) {
  QMouseEvent e(tipo, QPointF(dove), w->mapToGlobal(QPointF(dove)), Qt::LeftButton,
                tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// With LISTINOVA_SCHERMATE naming a folder (a run under Xvfb), the window is shown and
// saved there as a picture for a person to look at.
void Schermata(QWidget* w, const char* nome) {
  const QString cartella = qEnvironmentVariable("LISTINOVA_SCHERMATE");
  if (cartella.isEmpty()) return;
  w->show();
  (void)QTest::qWaitForWindowExposed(w);
  QTest::qWait(300);
  w->grab().save(cartella + "/" + nome + ".png");
}

// Presses at `presa` inside the element and lets go `spostamento` pixels away.
void Trascina(QWidget* w, QPoint presa, QPoint spostamento) {
  const QPoint meta = spostamento / 2;
  Invia(w, QEvent::MouseButtonPress, presa);
  Invia(w, QEvent::MouseMove, presa + meta);
  Invia(w, QEvent::MouseButtonRelease, presa + spostamento - meta);
}

class FinestreEtichette : public ::testing::Test {
 protected:
  void SetUp() override {
    // 25 products, the first ten changed; product 25's code has a wrong last digit.
    for (int i = 1; i <= 25; ++i)
      negozio.prodotto({.cod = QString::number(i),
                        .descrizione = QString("Articolo %1").arg(i, 2, 10, QChar('0')),
                        .barCode = QString("800000000%1").arg(1000 + i),
                        .costo = QString::number(i),
                        .modificato = i <= 10});
  }

  std::unique_ptr<FrmConfiguraLabel> editor() {
    AmbienteEditorEtichette a{*negozio.db,
                              negozio.cartella.setup(),
                              negozio.cartella.root(),
                              prompts,
                              foglio,
                              [] { return QString("Zebra"); },
                              [] { return FiltriEtichette{}; },
                              [](EasyPrint&) {},
                              [this](const CarattereEtichetta&) {
                                ++dialoghi;
                                return scelta ? std::optional(*scelta) : std::nullopt;
                              }};
    return std::make_unique<FrmConfiguraLabel>(a);
  }
  QString ini(const char* chiave) {
    return LeggiINI(negozio.cartella.setup(), "Etichetta", chiave, "?");
  }

  testing::NegozioDiProva negozio;
  FakePrompts prompts;
  testing::DispositivoDiProva foglio;
  int dialoghi = 0;
  std::optional<CarattereEtichetta> scelta;
};

// A new shop prints bars and the changed products; the switches write their keys; dragged
// elements, chosen fonts and colours come back after saving.
TEST_F(FinestreEtichette, SwitchesDraggedElementsAndChosenFontsComeBackAfterSaving) {
  auto e = editor();
  EXPECT_EQ(ini("VediBARCODE"), "Vero");
  EXPECT_EQ(ini("ConvertiCodFornitoreInEAN8"), "Falso");
  EXPECT_EQ(ini("SelezioneStandard"), "Falso");
  EXPECT_EQ(e->motore().LabelCopies(), 10);
  auto* barre = e->findChild<QCheckBox*>("chkVediBarcode");
  auto* ean8 = e->findChild<QCheckBox*>("chkCodFornitoreEAN8");
  ASSERT_TRUE(barre && ean8);
  EXPECT_FALSE(ean8->isEnabled());  // it matters only without the product's bar code
  barre->setChecked(false);
  ean8->setChecked(true);
  EXPECT_EQ(ini("VediBARCODE"), "Falso");
  EXPECT_EQ(ini("ConvertiCodFornitoreInEAN8"), "Vero");
  EXPECT_FALSE(e->motore().opzioniCodice().vediBarcode);
  EXPECT_TRUE(e->motore().opzioniCodice().convertiInEAN);

  QWidget* descrizione = e->elemento(kDescrizione);
  QWidget* logo = e->elemento(5);
  const QPoint prima = descrizione->pos();
  Trascina(descrizione, {3, 3}, {40, 20});
  EXPECT_EQ(descrizione->pos(), prima);  // "Sposta Testo" cleared: nothing moves
  e->findChild<QCheckBox*>("chkAllowDragging")->setChecked(true);
  Trascina(descrizione, {3, 3}, {40, 20});
  Trascina(logo, {10, 10}, {-30, 5});
  EXPECT_EQ(descrizione->pos(), prima + QPoint(40, 20));
  Trascina(e->elemento(kPrezzo), {5, 5}, {90, -10});
  Schermata(e.get(), "editor_dopo_trascinamento");

  scelta = CarattereEtichetta{"DejaVu Serif", 13.5, true, true, true, false, 0x0000ff};
  Invia(e->elemento(kPrezzo), QEvent::MouseButtonDblClick, {2, 2});
  scelta.reset();
  Invia(e->elemento(kPrezzoAlKg), QEvent::MouseButtonDblClick, {2, 2});  // cancelled
  EXPECT_EQ(dialoghi, 2);
  e->findChild<QLineEdit*>("txtNumCol")->setText("4");
  e->findChild<QPushButton*>("cmdSalva")->click();
  e->findChild<QPushButton*>("cmdChiudi")->click();

  auto rs = negozio.db->openRecordset("Select * from FormatoEtichetta");
  EXPECT_EQ(rs.number("XCodFornitura"), descrizione->y() * 15.0);
  EXPECT_EQ(rs.number("YCodFornitura"), descrizione->x() * 15.0);
  EXPECT_EQ(rs.number("YPicture"), logo->x() * 15.0);
  EXPECT_EQ(rs.integer("NumCol"), 4);
  EXPECT_EQ(rs.integer("ColorC"), 255);

  auto riaperto = editor();
  for (int i = 0; i <= kElementiTesto; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(riaperto->elemento(i)->pos(), e->elemento(i)->pos());
  }
  const auto& prezzo = riaperto->layout().testi[kPrezzo].carattere;
  EXPECT_EQ(prezzo.nome, "DejaVu Serif");
  EXPECT_EQ(prezzo.punti, 13.5);
  EXPECT_TRUE(prezzo.corsivo && prezzo.sottolineato && prezzo.grassetto);
  EXPECT_EQ(prezzo.colore, 0x0000ffu);
  EXPECT_EQ(riaperto->layout().testi[kPrezzoAlKg].carattere.nome, "Arial");
  EXPECT_EQ(riaperto->findChild<QLineEdit*>("txtNumCol")->text(), "4");
}

// "Arial" is drawn with its metric twin; the font dialog, confirmed without a change, gives
// the stored font back (not the face's own name, not without its bold).
TEST(DialogoCaratteri, KeepsWhatTheUserDidNotChange) {
  const CarattereEtichetta prezzo = LayoutEtichetta::progettato().testi[kPrezzo].carattere;
  ASSERT_TRUE(prezzo.nome == "Arial" && prezzo.grassetto);
  EXPECT_EQ(QFontInfo(FontEtichetta(prezzo)).family(), "Liberation Sans");
  const QFont mostrato = FontPerDialogo(prezzo);
  QFontDialog dialogo(mostrato);
  QTimer::singleShot(0, &dialogo, &QDialog::accept);
  ASSERT_EQ(dialogo.exec(), QDialog::Accepted);
  QFont piuGrande = dialogo.selectedFont();
  piuGrande.setPointSizeF(20);
  for (const auto& [scelto, punti] : {std::pair{dialogo.selectedFont(), 16}, {piuGrande, 20}}) {
    const CarattereEtichetta c = CarattereScelto(prezzo, mostrato, scelto);
    EXPECT_EQ(c.nome, "Arial");
    EXPECT_TRUE(c.grassetto);
    EXPECT_EQ(c.punti, punti);
  }
}

// The preview's pages hold their products; page 2 printed alone carries the 25th, whose
// wrong check digit prints no bars and is listed.
TEST_F(FinestreEtichette, PreviewPagesKeepTheirProducts) {
  negozio.setup("Etichetta", "SelezioneStandard", "Vero").setup("Etichetta", "VediBARCODE", "Vero");
  auto e = editor();
  EasyPrint& motore = e->motore();
  EXPECT_EQ(motore.LabelCopies(), 25);
  FrmPreview anteprima(motore, prompts, {});
  EXPECT_EQ(anteprima.stato(), "Pagina: 1 / 2");
  anteprima.findChild<QPushButton*>("cmdSucc")->click();
  EXPECT_EQ(anteprima.stato(), "Pagina: 2 / 2");
  EXPECT_FALSE(anteprima.findChild<QPushButton*>("cmdSucc")->isEnabled());
  Schermata(&anteprima, "anteprima");

  // A single label goes to its cell (the fifth: second row, second column), with the
  // editor's captions.
  ASSERT_TRUE(motore.PrintDoc(1, 1, 5));
  ASSERT_EQ(foglio.ultima->testi.size(), 5u);
  EXPECT_EQ(foglio.ultima->testi[1].area.topLeft(),
            motore.cella(1, 1).topLeft() + QPointF(110, 520));
  EXPECT_EQ(foglio.ultima->testi[1].testo, "DES");
  ASSERT_TRUE(motore.PrintDoc(1, 9, 0));
  EXPECT_EQ(foglio.ultima->pagina, 2);
  ASSERT_TRUE(motore.PrintDoc(2, 2, 0));
  EXPECT_TRUE(foglio.ultima->testiDi(1).contains("ARTICOLO 25"));
  EXPECT_FALSE(foglio.ultima->testiDi(1).contains("ARTICOLO 24"));
  EXPECT_TRUE(foglio.ultima->codici.empty());
  EXPECT_TRUE(motore.avvisi().join("\n").contains("8000000001025 ARTICOLO 25"));
}

TEST(OpzioniStampa, WhatEachOptionPrintsAndWhatItRefuses) {
  struct Caso {
    OpzioneStampa opzione;
    QString inizio, fine, numero;
    std::optional<RichiestaStampa> atteso;
  };
  const Caso casi[] = {
      {OpzioneStampa::Tutte, "", "", "", RichiestaStampa{1, 4, 0}},
      {OpzioneStampa::Corrente, "", "", "", RichiestaStampa{3, 3, 0}},
      {OpzioneStampa::Scelte, "2", "4", "", RichiestaStampa{2, 4, 0}},
      {OpzioneStampa::Scelte, "3", "2", "", std::nullopt},
      {OpzioneStampa::Scelte, "0", "2", "", std::nullopt},
      {OpzioneStampa::Scelte, "1", "", "", std::nullopt},
      {OpzioneStampa::Etichetta, "", "", "7", RichiestaStampa{1, 1, 7}},
      {OpzioneStampa::Etichetta, "", "", "", std::nullopt},
  };
  for (const auto& c : casi)
    EXPECT_EQ(RichiestaDaOpzioni(c.opzione, c.inizio, c.fine, c.numero, 3, 4), c.atteso)
        << int(c.opzione) << " " << c.inizio.toStdString() << "-" << c.fine.toStdString();
}

}  // namespace
}  // namespace listinova
