// The on-screen keyboard driven by taps on its keys, writing into a window's fields.
#include "touch/frm_tastiera.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

#include "support/fakes.h"

namespace listinova {
namespace {

class FrmTastieraTest : public ::testing::Test {
 protected:
  FrmTastieraTest() {
    campo->setObjectName("txtQtaPredef");
    fornitore->setObjectName("CboFornitore");
    fornitore->setEditable(true);
  }

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
    if (c.isDigit()) return figlio(QStringLiteral("ssNumeri_%1").arg(c));
    if (c == u',') return figlio("ssVirgola");
    if (c == u' ') return figlio("ssSpazio");
    if (c == u'<') return figlio("ssIndietro");
    for (auto* p : tastiera->findChildren<QPushButton*>())
      if (p->objectName().startsWith("ssAlfa") && p->text().compare(c, Qt::CaseInsensitive) == 0)
        return p;
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

  testing::FakeNotice notice;
  testing::FakeClock clock;  // 15/03/2024
  QWidget finestra;
  QLineEdit* campo = new QLineEdit(&finestra);
  QComboBox* fornitore = new QComboBox(&finestra);
  std::unique_ptr<FrmTastiera> tastiera;
};

TEST_F(FrmTastieraTest, TypingFollowsTheRulesOfTheMode) {
  const struct {
    int modo;
    const char* tasti;
    const char* atteso;
  } casi[] = {
      {kModoOra, "12305", "12:30"},
      {kModoData, "010220249", "01/02/2024"},
      {kModoNumero, "A1,5,", "1,5"},  // no letters, one comma
      {kModoLettere, "ab1 c", "AB C"},
      {kModoTesto, "x1<<7", "7"},  // backspace on one character empties the field
      {kModoAlChilo, "1a,", ""},
      {kModoCifre, "12,<", "1"},
  };
  for (const auto& caso : casi)
    EXPECT_EQ(tocca(caso.modo, caso.tasti), caso.atteso) << caso.modo << " " << caso.tasti;

  tocca(kModoTesto, "");
  figlio("ckMaiusc")->click();
  for (const QChar c : QStringLiteral("ok")) tasto(c)->click();
  EXPECT_EQ(tastiera->digitato(), "ok");
  EXPECT_EQ(tocca(kModoNumero, "123", "txtQtaPredef", true), "***");
  EXPECT_EQ(tastiera->digitato(), "123");
}

TEST_F(FrmTastieraTest, InvioChecksADateAndWritesIntoTheTargetFieldIfThereIsOne) {
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

  // The windows' own fields are written in FinestreBancoTest; here the by-weight box and a
  // target that is not there.
  campo->setInputMask(QString());
  tocca(kModoAlChilo, "");
  figlio("ckChilo")->click();
  EXPECT_TRUE(invio());
  EXPECT_EQ(campo->text(), "Vero");
  tocca(kModoNumero, "9", "txtNessuno");
  EXPECT_TRUE(invio());
  EXPECT_EQ(campo->text(), "Vero");
}

TEST_F(FrmTastieraTest, KeysFitAFingerAtTheTopOfACounterScreen) {
  const QRect schermo = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_EQ(schermo.size(), QSize(1024, 768));
  tocca(kModoTesto, "");
  tastiera->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(tastiera.get()));
  EXPECT_EQ(tastiera->frameGeometry().top(), 0);
  EXPECT_LE(tastiera->frameGeometry().left(), 2);
  EXPECT_TRUE(schermo.contains(tastiera->frameGeometry()));
  const auto tasti = tastiera->findChildren<QPushButton*>();
  ASSERT_GE(tasti.size(), 26 + 10 + 4);
  for (const QPushButton* p : tasti) {
    EXPECT_GE(p->width(), 48) << p->objectName().toStdString();
    EXPECT_GE(p->height(), 48) << p->objectName().toStdString();
    EXPECT_TRUE(tastiera->rect().contains(QRect(p->mapTo(tastiera.get(), QPoint()), p->size())))
        << p->objectName().toStdString();
  }
}

}  // namespace
}  // namespace listinova
