// The label editor, the preview and the print options as the user works them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "printing/frm_configura_label.h"
#include "printing/frm_preview.h"
#include "printing/frm_print.h"
#include "startup/modulo_file_ini.h"
#include "support/cartella_di_prova.h"
#include "support/file_helpers.h"
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
// Positions are the element's own, and the element follows the pointer.
void Trascina(QWidget* w, QPoint presa, QPoint spostamento) {
  const QPoint meta = spostamento / 2;
  Invia(w, QEvent::MouseButtonPress, presa);
  Invia(w, QEvent::MouseMove, presa + meta);
  Invia(w, QEvent::MouseButtonRelease, presa + spostamento - meta);
}

class FinestreEtichette : public ::testing::Test {
 protected:
  void SetUp() override {
    db = ApriDatabase(cartella.file("Dati/DbNegozio.mdb"));
    for (int i = 1; i <= 25; ++i)
      db->execute(QString("INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Costo, "
                          "Modificato) VALUES ('%1', 'Articolo %2', '800000000%3', %1, %4)")
                      .arg(i)
                      .arg(i, 2, 10, QChar('0'))
                      .arg(1000 + i)
                      .arg(i <= 10 ? -1 : 0));
  }

  std::unique_ptr<FrmConfiguraLabel> editor() {
    AmbienteEditorEtichette a{*db,
                              cartella.setup(),
                              cartella.root(),
                              prompts,
                              foglio,
                              [] { return QString("Zebra"); },
                              [this] { return filtri; },
                              [this](EasyPrint&) { ++anteprime; },
                              [this](const CarattereEtichetta&) {
                                ++dialoghi;
                                return scelta ? std::optional(*scelta) : std::nullopt;
                              }};
    return std::make_unique<FrmConfiguraLabel>(a);
  }

  CartellaDiProva cartella;
  std::shared_ptr<platform::db::Database> db;
  FakePrompts prompts;
  testing::DispositivoDiProva foglio;
  FiltriEtichette filtri;
  int anteprime = 0;
  int dialoghi = 0;
  std::optional<CarattereEtichetta> scelta;
};

TEST_F(FinestreEtichette, DraggedElementsAndChosenFontsComeBackAfterSaving) {
  auto e = editor();
  QWidget* descrizione = e->elemento(kDescrizione);
  QWidget* logo = e->elemento(5);
  const QPoint prima = descrizione->pos();
  Trascina(descrizione, {3, 3}, {40, 20});
  EXPECT_EQ(descrizione->pos(), prima);  // "Sposta Testo" cleared: nothing moves

  e->findChild<QCheckBox*>("chkAllowDragging")->setChecked(true);
  Trascina(descrizione, {3, 3}, {40, 20});
  Trascina(logo, {10, 10}, {-30, 5});
  EXPECT_EQ(descrizione->pos(), prima + QPoint(40, 20));
  Trascina(e->elemento(kCodiceBarre), {5, 5}, {0, -50});
  Trascina(e->elemento(kPrezzo), {5, 5}, {90, -10});
  Schermata(e.get(), "editor_dopo_trascinamento");

  scelta = CarattereEtichetta{"DejaVu Serif", 13.5, true, true, true, false, 0x0000ff};
  Invia(e->elemento(kPrezzo), QEvent::MouseButtonDblClick, {2, 2});
  scelta.reset();
  Invia(e->elemento(kPrezzoAlKg), QEvent::MouseButtonDblClick, {2, 2});  // cancelled
  EXPECT_EQ(dialoghi, 2);
  e->findChild<QLineEdit*>("txtNumCol")->setText("4");
  e->findChild<QPushButton*>("cmdSalva")->click();
  const LayoutEtichetta salvato = e->layout();
  e->findChild<QPushButton*>("cmdChiudi")->click();

  auto rs = db->openRecordset("Select * from FormatoEtichetta");
  EXPECT_EQ(rs.number("XCodFornitura"), descrizione->y() * 15.0);
  EXPECT_EQ(rs.number("YCodFornitura"), descrizione->x() * 15.0);
  EXPECT_EQ(rs.number("YPicture"), logo->x() * 15.0);
  EXPECT_EQ(rs.integer("NumCol"), 4);

  auto riaperto = editor();
  for (int i = 0; i < kElementiTesto; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(riaperto->layout().testi[i].top, salvato.testi[i].top);
    EXPECT_EQ(riaperto->layout().testi[i].left, salvato.testi[i].left);
    EXPECT_EQ(riaperto->elemento(i)->pos(), e->elemento(i)->pos());
  }
  EXPECT_EQ(riaperto->elemento(5)->pos(), logo->pos());
  const auto& prezzo = riaperto->layout().testi[kPrezzo].carattere;
  EXPECT_EQ(prezzo.nome, "DejaVu Serif");
  EXPECT_EQ(prezzo.punti, 13.5);
  EXPECT_TRUE(prezzo.corsivo && prezzo.sottolineato && prezzo.grassetto);
  EXPECT_EQ(prezzo.colore, 0x0000ffu);
  EXPECT_EQ(riaperto->layout().testi[kPrezzoAlKg].carattere.nome, "Arial");
  EXPECT_EQ(riaperto->findChild<QLineEdit*>("txtNumCol")->text(), "4");
}

TEST_F(FinestreEtichette, SheetBoxesTemplatesAndTheSettingsTheEditorWritesBack) {
  auto e = editor();
  // The editor writes its three switches back, bars on for a new shop; its captions are the
  // samples.
  EXPECT_EQ(LeggiINI(cartella.setup(), "Etichetta", "VediBARCODE", "?"), "Vero");
  EXPECT_EQ(LeggiINI(cartella.setup(), "Etichetta", "ConvertiCodFornitoreInEAN8", "?"), "Falso");
  EXPECT_EQ(LeggiINI(cartella.setup(), "Etichetta", "SelezioneStandard", "?"), "Falso");
  EXPECT_EQ(static_cast<QLabel*>(e->elemento(kPrezzo))->text(), "€ PRZ");
  EXPECT_EQ(static_cast<QLabel*>(e->elemento(kNomeNegozio))->text(), "MiaAttività");
  // SelezioneStandard "Falso": marked or changed products; ten are changed.
  EXPECT_EQ(e->motore().LabelCopies(), 10);
  auto* colonne = e->findChild<QLineEdit*>("txtNumCol");
  auto* righe = e->findChild<QLineEdit*>("txtNumRighe");
  // The outline is the cell the layout is drawn for; the sheet's own cell is told beside it.
  auto* cornice = e->findChild<QFrame*>("Shape1");
  auto* cella = e->findChild<QLabel*>("lblCella");
  EXPECT_NEAR(cornice->width(), 6 * 567.0 / 15, 1);
  EXPECT_TRUE(cella->text() == "60,0 × 27,1 mm");
  colonne->setText("");
  EXPECT_EQ(e->motore().MaxCol(), 3);
  colonne->setText("0");
  EXPECT_EQ(e->motore().MaxCol(), 3);
  colonne->setText("2");
  righe->setText("5");
  EXPECT_EQ(e->motore().MaxCol(), 2);
  EXPECT_EQ(e->motore().MaxRow(), 5);
  EXPECT_TRUE(cella->text() == "95,0 × 49,4 mm");

  auto* modello = e->findChild<QComboBox*>("cboModello");
  const int avery = modello->findData("Avery L7160");
  if (avery > 0) {
    modello->setCurrentIndex(avery);
    EXPECT_EQ(colonne->text(), "3");
    EXPECT_EQ(righe->text(), "7");
    EXPECT_EQ(LeggiINI(cartella.setup(), "Etichetta", "ModelloFoglio", "?"), "Avery L7160");
    EXPECT_TRUE(cella->text() == "64,0 × 38,1 mm");
  }

  auto* noIcona = e->findChild<QCheckBox*>("Check1");
  noIcona->setChecked(true);
  EXPECT_FALSE(e->layout().logoVisibile);
  EXPECT_TRUE(e->elemento(5)->isHidden());
  e->findChild<QPushButton*>("cmdAnteprima")->click();
  EXPECT_EQ(anteprime, 1);
}

TEST_F(FinestreEtichette, PreviewPagesKeepTheirProductsAndPrintOptionsAreChecked) {
  ScriviINI(cartella.setup(), "Etichetta", "SelezioneStandard", "Vero");
  ScriviINI(cartella.setup(), "Etichetta", "VediBARCODE", "Vero");
  auto e = editor();
  EasyPrint& motore = e->motore();
  EXPECT_EQ(motore.LabelCopies(), 25);
  FrmPreview anteprima(motore, prompts, {});
  EXPECT_EQ(anteprima.stato(), "Pagina: 1 / 2");
  anteprima.findChild<QPushButton*>("cmdSucc")->click();
  EXPECT_EQ(anteprima.stato(), "Pagina: 2 / 2");
  EXPECT_FALSE(anteprima.findChild<QPushButton*>("cmdSucc")->isEnabled());
  anteprima.findChild<QPushButton*>("cmdPrec")->click();
  EXPECT_EQ(anteprima.pagina(), 1);
  auto* zoom = anteprima.findChild<QComboBox*>("cboZoom");
  anteprima.resize(1000, 740);
  zoom->setCurrentIndex(3);
  Schermata(&anteprima, "anteprima_pagina_intera");
  zoom->setCurrentIndex(0);
  QStringList voci;
  for (int i = 0; i < zoom->count(); ++i)
    voci << zoom->itemText(i) + "=" + zoom->itemData(i).toString();
  EXPECT_EQ(voci, QStringList({"100 %=100", "75 %=75", "50 %=50", "Pagina intera=0", "Adatta=-1"}));
  EXPECT_DOUBLE_EQ(FattoreZoom(75, {500, 400}, {800, 1000}), 0.75);
  EXPECT_DOUBLE_EQ(FattoreZoom(0, {500, 400}, {800, 1000}), 0.4);
  EXPECT_DOUBLE_EQ(FattoreZoom(-1, {500, 400}, {800, 1000}), 0.625);

  // Page 2 printed alone carries what page 2 shows: the 25th product.
  ASSERT_TRUE(motore.PrintDoc(2, 2, 0));
  EXPECT_TRUE(foglio.ultima->testiDi(1).contains("ARTICOLO 25"));
  EXPECT_FALSE(foglio.ultima->testiDi(1).contains("ARTICOLO 24"));
  // Its code is stored with a wrong last digit: no bars, and the print lists it.
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

  FakePrompts prompts;
  FrmPrint opzioni(1, 4, prompts, {});
  EXPECT_EQ(opzioni.findChild<QLabel*>("lblPagine")->text(), "1 / 4");
  EXPECT_EQ(opzioni.findChild<QLineEdit*>("txtFine")->text(), "4");
  opzioni.findChild<QRadioButton*>("optEtichetta")->setChecked(true);
  opzioni.findChild<QPushButton*>("cmdStampa")->click();
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Inserire dati validi");
  EXPECT_EQ(prompts.asked[0].title, "Stampa Etichetta");
  EXPECT_FALSE(opzioni.richiesta());
  opzioni.findChild<QLineEdit*>("txtEtichetta")->setText("5");
  opzioni.findChild<QPushButton*>("cmdStampa")->click();
  EXPECT_EQ(opzioni.richiesta(), (RichiestaStampa{1, 1, 5}));
}

}  // namespace
}  // namespace listinova
