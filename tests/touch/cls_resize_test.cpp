// The proportional layout on a window of plain, freely placed controls.
#include "touch/cls_resize.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

namespace listinova {
namespace {

class Finestra : public QWidget {
 public:
  Finestra() {
    resize(400, 300);
    pieno = figlio(new QPushButton(this), {10, 20, 30, 40}, QString());
    spostato = figlio(new QPushButton(this), {50, 60, 70, 80}, "@L,T");
    altro = figlio(new QLabel(this), {100, 10, 60, 20}, "niente regole");
    riquadro = figlio(new QGroupBox(this), {200, 100, 100, 100}, "@W,H");
    dentro = figlio(new QPushButton(riquadro), {5, 6, 20, 10}, QString());
    ordinato = new QWidget(this);
    ordinato->setGeometry(0, 0, 50, 50);
    auto* layout = new QVBoxLayout(ordinato);
    delLayout = new QPushButton(ordinato);
    layout->addWidget(delLayout);
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
  QWidget *pieno, *spostato, *altro, *riquadro, *dentro, *ordinato, *delLayout;
};

TEST(ClsResize, ScalesFromTheLayoutRecordedOnce) {
  Finestra f;
  f.resize_.ResizeControls();  // records at 400 x 300
  f.ridimensiona({800, 600});
  EXPECT_EQ(f.pieno->geometry(), QRect(20, 40, 60, 80));
  EXPECT_EQ(f.spostato->geometry(), QRect(100, 120, 70, 80));  // moved, size kept
  EXPECT_EQ(f.altro->geometry(), QRect(200, 20, 120, 40));
  EXPECT_EQ(f.riquadro->geometry(), QRect(200, 100, 200, 200));  // stretched, not moved
  EXPECT_EQ(f.dentro->geometry(), QRect(10, 12, 40, 20));

  // Odd sizes on the way back leave no rounding behind.
  for (QSize s : {QSize(333, 217), QSize(1001, 777), QSize(400, 300)}) f.ridimensiona(s);
  EXPECT_EQ(f.pieno->geometry(), QRect(10, 20, 30, 40));
  EXPECT_EQ(f.dentro->geometry(), QRect(5, 6, 20, 10));

  // A new reference: the size of the moment becomes the scale of 1.
  f.ridimensiona({800, 600});
  f.resize_.ReInitialise();
  f.resize_.ResizeControls();
  f.ridimensiona({400, 300});
  EXPECT_EQ(f.pieno->geometry(), QRect(10, 20, 30, 40));
  EXPECT_EQ(f.spostato->geometry(), QRect(50, 60, 70, 80));
}

// On the screen: what a layout places is left to it; the window takes its share of the screen,
// centred.
TEST(ClsResize, LeavesWhatALayoutPlacesAndSizesTheFormToTheScreen) {
  const QRect schermo = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_EQ(schermo, QRect(0, 0, 1024, 768));
  Finestra f;
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
  EXPECT_EQ(f.frameGeometry(), schermo);
  EXPECT_EQ(f.pieno->geometry().width(), qRound(30.0 * f.width() / 400));
  f.resize_.SizeFormToScreen(50);
  EXPECT_EQ(f.frameGeometry(), QRect(256, 192, 512, 384));
}

}  // namespace
}  // namespace listinova
