// The counter's screen, 1024 x 768: the on-screen keyboard driven by taps on its keys, the
// windows that open it with every control reachable, and the proportional layout that fits them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "catalogue/aggiungi_materiale.h"
#include "catalogue/magazzino.h"
#include "promotions/promozioni_magazzino.h"
#include "register/reparti_finestra.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "touch/cls_resize.h"
#include "touch/frm_tastiera.h"

namespace listinova {
namespace {

// Every named control that shows lies inside its window, and the window inside the screen.
void tuttoSulloSchermo(QWidget& finestra) {
  finestra.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&finestra));
  const QRect schermo = finestra.screen()->availableGeometry();
  ASSERT_EQ(schermo.size(), QSize(1024, 768));
  EXPECT_TRUE(schermo.contains(finestra.frameGeometry()));
  int controlli = 0;
  for (QWidget* w : finestra.findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") || !w->isVisible() ||
        w->isWindow())
      continue;
    ++controlli;
    EXPECT_TRUE(finestra.rect().contains(QRect(w->mapTo(&finestra, QPoint()), w->size())))
        << w->objectName().toStdString();
  }
  EXPECT_GE(controlli, 15);
}

class BancoTest : public ::testing::Test {
 protected:
  BancoTest() { campo->setObjectName("txtQtaPredef"); }

  // A fresh keyboard for `controllo` of the window; then the taps: a digit, a letter,
  // "," the comma, " " space, "<" backspace. A key the mode does not allow does nothing.
  QString tocca(int modo, const QString& tasti, const QString& controllo = "txtqtapredef",
                bool password = false) {
    tastiera = std::make_unique<FrmTastiera>(notice, clock);
    tastiera->AbilitaDisabilita(modo, &finestra, controllo, password);
    for (const QChar c : tasti) tasto(c)->click();
    return tastiera->findChild<QLineEdit*>("lblDigitazione")->text();
  }
  QAbstractButton* tasto(QChar c) {
    if (c == u' ') return figlio("ssSpazio");
    if (c == u'<') return figlio("ssIndietro");
    for (auto* p : tastiera->findChildren<QPushButton*>())
      if (p->text().compare(c, Qt::CaseInsensitive) == 0) return p;
    ADD_FAILURE() << "no key " << c.toLatin1();
    return nullptr;
  }
  QAbstractButton* figlio(const QString& nome) {
    return tastiera->findChild<QAbstractButton*>(nome);
  }
  // "Invio": true when the keyboard closed.
  bool invio() {
    figlio("ssInvio")->click();
    return tastiera->result() == QDialog::Accepted;
  }
  // A tap on a window's field: the keyboard it opens gets `tasti` and "Invio"; whether it
  // offered letters, or nothing when no keyboard opened.
  std::optional<bool> toccaCampo(QWidget* campo, const QString& tasti) {
    std::optional<bool> lettere;
    QTimer::singleShot(0, [&] {
      auto* aperta = qobject_cast<FrmTastiera*>(QApplication::activeModalWidget());
      if (!aperta) return;
      lettere = aperta->findChild<QGroupBox*>("frAlfabeto")->isEnabled() &&
                aperta->findChild<QWidget*>("ssNumeri_1")->isEnabled();
      for (const QChar c : tasti) aperta->Digita(c);
      aperta->ssInvio_Click();
    });
    QTest::mouseClick(campo, Qt::LeftButton);
    QTest::qWait(10);
    return lettere;
  }

  testing::NegozioDiProva negozio;
  platform::db::Database& db = *negozio.db;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;  // 15/03/2024
  QWidget finestra;
  QLineEdit* campo = new QLineEdit(&finestra);
  std::unique_ptr<FrmTastiera> tastiera;
};

TEST_F(BancoTest, TypingFollowsTheRulesOfTheModeAndInvioWritesIntoTheField) {
  const std::tuple<int, const char*, const char*> casi[] = {
      {kModoOra, "12305", "12:30"},
      {kModoData, "010220249", "01/02/2024"},
      {kModoNumero, "A1,5,", "1,5"},  // no letters, one comma
      {kModoLettere, "ab1 c", "AB C"},
      {kModoTesto, "x1<<7", "7"},  // backspace on one character empties the field
      {kModoAlChilo, "1a,", ""},
      {kModoCifre, "12,<", "1"},
  };
  for (const auto& [modo, tasti, atteso] : casi)
    EXPECT_EQ(tocca(modo, tasti), atteso) << modo << " " << tasti;

  tocca(kModoTesto, "");
  figlio("ckMaiusc")->click();
  for (const QChar c : QStringLiteral("ok")) tasto(c)->click();
  EXPECT_EQ(tastiera->digitato(), "ok");
  EXPECT_EQ(tocca(kModoNumero, "123", "txtQtaPredef", true), "***");
  EXPECT_EQ(tastiera->digitato(), "123");

  // "Invio" checks a date and writes into the target field.
  campo->setInputMask("99/99/9999");
  tocca(kModoData, "");
  EXPECT_TRUE(invio());
  EXPECT_EQ(campo->text(), "15/03/2024");
  tocca(kModoData, "31022024");
  EXPECT_FALSE(invio());
  EXPECT_EQ(notice.messages, QStringList{"Scrivere la data in Modo Corretto"});
  EXPECT_EQ(campo->text(), "15/03/2024");
  tocca(kModoData, "010224");  // 01/02/24
  EXPECT_TRUE(invio());
  EXPECT_EQ(campo->text(), "01/02/2024");
  EXPECT_TRUE(campo->inputMask().startsWith("99/99/9999"));

  campo->setInputMask(QString());
  tocca(kModoAlChilo, "");
  figlio("ckChilo")->click();
  EXPECT_TRUE(invio());
  EXPECT_EQ(campo->text(), "Vero");
}

// The keyboard's keys fit a finger at the top of the screen; the product list with the
// promotions' two panels open, and the departments, fit the screen too.
TEST_F(BancoTest, TheKeyboardAndTheWindowsFitTheCounterScreen) {
  tocca(kModoTesto, "");
  tuttoSulloSchermo(*tastiera);
  EXPECT_EQ(tastiera->frameGeometry().top(), 0);
  EXPECT_LE(tastiera->frameGeometry().left(), 2);
  const auto tasti = tastiera->findChildren<QPushButton*>();
  ASSERT_GE(tasti.size(), 26 + 10 + 4);
  for (const QPushButton* p : tasti)
    EXPECT_TRUE(p->width() >= 48 && p->height() >= 48) << p->objectName().toStdString();

  Magazzino magazzino(db, prompts, notice, clock, [] { return nullptr; });
  tuttoSulloSchermo(magazzino);
  InstallaPromozioni(magazzino, db, prompts, clock);
  for (const char* pannello : {"frPromozione", "frElencoPromozioni"})
    magazzino.findChild<QWidget*>(pannello)->show();
  QTest::qWait(20);
  EXPECT_TRUE(magazzino.screen()->availableGeometry().contains(magazzino.frameGeometry()));
  Reparti reparti(db, prompts, notice, {}, &magazzino);
  tuttoSulloSchermo(reparti);
}

TEST_F(BancoTest, TheWindowsFieldsOpenTheKeyboardWhenItIsOffered) {
  Magazzino magazzino(db, prompts, notice, clock, [] { return nullptr; });
  magazzino.show();
  EXPECT_EQ(toccaCampo(magazzino.findChild<QLineEdit*>("txtQtaPredef"), "12"), false);
  EXPECT_EQ(magazzino.findChild<QLineEdit*>("txtQtaPredef")->text(), "12");

  AggiungiMateriale editor(db, prompts, notice, nullptr);
  editor.show();
  EXPECT_EQ(toccaCampo(editor.findChild<QPushButton*>("cmdTastiera"), "ROSSI 2"), true);
  EXPECT_EQ(editor.findChild<QComboBox*>("CboFornitore")->currentText(), "ROSSI 2");

  Globali().TastieraVisibile = false;
  AggiungiMateriale senza(db, prompts, notice, nullptr);
  senza.show();
  EXPECT_TRUE(senza.findChild<QPushButton*>("cmdTastiera")->isHidden());
  EXPECT_FALSE(toccaCampo(senza.findChild<QLineEdit*>("TxtCosto"), "9"));
}

class Finestra : public QWidget {
 public:
  Finestra() {
    resize(400, 300);
    pieno = figlio(new QPushButton(this), {10, 20, 30, 40}, QString());
    spostato = figlio(new QPushButton(this), {50, 60, 70, 80}, "@L,T");
    riquadro = figlio(new QGroupBox(this), {200, 100, 100, 100}, "@W,H");
    dentro = figlio(new QPushButton(riquadro), {5, 6, 20, 10}, QString());
    ordinato = figlio(new QWidget(this), {0, 0, 50, 50}, QString());
    (new QVBoxLayout(ordinato))->addWidget(delLayout = new QPushButton(ordinato));
    resize_.setSourceForm(this);
  }
  QWidget* figlio(QWidget* w, const QRect& dove, const QString& tag) {
    w->setGeometry(dove);
    w->setProperty("Tag", tag);
    return w;
  }
  void resizeEvent(QResizeEvent*) override { resize_.ResizeControls(); }
  // A hidden window gets its resize event only when shown.
  void ridimensiona(QSize s) {
    resize(s);
    resize_.ResizeControls();
  }

  ClsResize resize_;
  QWidget *pieno, *spostato, *riquadro, *dentro, *ordinato, *delLayout;
};

// Scaled from the layout recorded once, with no rounding left behind; on the screen what a
// layout places is left to it, and the window takes its share of the screen, centred.
TEST(ClsResize, ScalesFromTheRecordedLayoutAndSizesTheFormToTheScreen) {
  Finestra f;
  f.resize_.ResizeControls();  // records at 400 x 300
  f.ridimensiona({800, 600});
  EXPECT_EQ(f.pieno->geometry(), QRect(20, 40, 60, 80));
  EXPECT_EQ(f.spostato->geometry(), QRect(100, 120, 70, 80));    // moved, size kept
  EXPECT_EQ(f.riquadro->geometry(), QRect(200, 100, 200, 200));  // stretched, not moved
  EXPECT_EQ(f.dentro->geometry(), QRect(10, 12, 40, 20));
  for (QSize s : {QSize(333, 217), QSize(1001, 777), QSize(400, 300)}) f.ridimensiona(s);
  EXPECT_EQ(f.pieno->geometry(), QRect(10, 20, 30, 40));
  EXPECT_EQ(f.dentro->geometry(), QRect(5, 6, 20, 10));

  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  const QRect prima = f.delLayout->geometry();
  f.resize(800, 600);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.ordinato->size(), QSize(100, 100));
  // The layout keeps its margin; a scaled control would have doubled it.
  EXPECT_EQ(f.delLayout->x(), prima.x());
  EXPECT_GT(f.delLayout->width(), prima.width());

  f.resize_.SizeFormToScreen(100);
  EXPECT_EQ(f.frameGeometry(), QGuiApplication::primaryScreen()->availableGeometry());
  EXPECT_EQ(f.pieno->geometry().width(), qRound(30.0 * f.width() / 400));
  f.resize_.SizeFormToScreen(50);
  EXPECT_EQ(f.frameGeometry(), QRect(256, 192, 512, 384));
}

}  // namespace
}  // namespace listinova
