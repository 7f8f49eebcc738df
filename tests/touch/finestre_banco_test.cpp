// The windows the counter works in open inside a 1024 x 768 screen with every control reachable.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "catalogue/aggiungi_materiale.h"
#include "catalogue/magazzino.h"
#include "promotions/promozioni_magazzino.h"
#include "register/reparti_finestra.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "touch/frm_tastiera.h"

namespace listinova {
namespace {

std::string testo(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4")
      .arg(r.x())
      .arg(r.y())
      .arg(r.width())
      .arg(r.height())
      .toStdString();
}

// Every named control that shows lies inside its window, and the window inside the screen.
void tuttoSulloSchermo(QWidget& finestra) {
  finestra.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&finestra));
  const QRect schermo = finestra.screen()->availableGeometry();
  ASSERT_EQ(schermo.size(), QSize(1024, 768));
  EXPECT_TRUE(schermo.contains(finestra.frameGeometry())) << testo(finestra.frameGeometry());
  int controlli = 0;
  for (QWidget* w : finestra.findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") || !w->isVisible() ||
        w->isWindow())
      continue;
    ++controlli;
    const QRect dove(w->mapTo(&finestra, QPoint()), w->size());
    EXPECT_TRUE(finestra.rect().contains(dove))
        << w->objectName().toStdString() << " " << testo(dove);
  }
  EXPECT_GE(controlli, 15);
}

class FinestreBancoTest : public ::testing::Test {
 protected:
  // The keyboard that a tap opens gets `tasti` and "Invio"; what it was opened for is kept.
  struct Aperta {
    bool lettere = false;
    bool cifre = false;
  };
  std::optional<Aperta> tocca(QWidget* campo, const QString& tasti) {
    std::optional<Aperta> aperta;
    QTimer::singleShot(0, [&] {
      auto* tastiera = qobject_cast<FrmTastiera*>(QApplication::activeModalWidget());
      if (!tastiera) return;
      aperta = Aperta{tastiera->findChild<QGroupBox*>("frAlfabeto")->isEnabled(),
                      tastiera->findChild<QWidget*>("ssNumeri_1")->isEnabled()};
      for (const QChar c : tasti) tastiera->Digita(c);
      tastiera->ssInvio_Click();
    });
    QTest::mouseClick(campo, Qt::LeftButton);
    QTest::qWait(10);
    return aperta;
  }

  testing::NegozioDiProva negozio;
  platform::db::Database* db = negozio.db.get();
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
};

TEST_F(FinestreBancoTest, ProductListAndDepartmentsFitTheCounterScreen) {
  Magazzino magazzino(*db, prompts, notice, clock, [] { return nullptr; });
  tuttoSulloSchermo(magazzino);
  // The promotions' two panels open at once still leave the window on the screen.
  InstallaPromozioni(magazzino, *db, prompts, clock);
  for (const char* pannello : {"frPromozione", "frElencoPromozioni"})
    magazzino.findChild<QWidget*>(pannello)->show();
  QTest::qWait(20);
  EXPECT_TRUE(magazzino.screen()->availableGeometry().contains(magazzino.frameGeometry()))
      << testo(magazzino.frameGeometry());
  Reparti reparti(*db, prompts, notice, {}, &magazzino);
  tuttoSulloSchermo(reparti);
}

TEST_F(FinestreBancoTest, TheirFieldsOpenTheKeyboardWhenItIsOffered) {
  Magazzino magazzino(*db, prompts, notice, clock, [] { return nullptr; });
  magazzino.show();
  auto quantita = tocca(magazzino.findChild<QLineEdit*>("txtQtaPredef"), "12");
  ASSERT_TRUE(quantita);
  EXPECT_FALSE(quantita->lettere);
  EXPECT_EQ(magazzino.findChild<QLineEdit*>("txtQtaPredef")->text(), "12");

  AggiungiMateriale editor(*db, prompts, notice, nullptr);
  editor.show();
  auto fornitore = tocca(editor.findChild<QPushButton*>("cmdTastiera"), "ROSSI 2");
  ASSERT_TRUE(fornitore);
  EXPECT_TRUE(fornitore->lettere && fornitore->cifre);
  EXPECT_EQ(editor.findChild<QComboBox*>("CboFornitore")->currentText(), "ROSSI 2");
  EXPECT_TRUE(tocca(editor.findChild<QLineEdit*>("TxtCosto"), "3,5"));
  EXPECT_EQ(editor.findChild<QLineEdit*>("TxtCosto")->text(), "3,5");

  Globali().TastieraVisibile = false;
  AggiungiMateriale senza(*db, prompts, notice, nullptr);
  senza.show();
  EXPECT_TRUE(senza.findChild<QPushButton*>("cmdTastiera")->isHidden());
  EXPECT_FALSE(tocca(senza.findChild<QLineEdit*>("TxtCosto"), "9"));
}

}  // namespace
}  // namespace listinova
