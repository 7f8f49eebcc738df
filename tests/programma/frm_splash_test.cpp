#include "programma/frm_splash.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "startup/var_globali.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

struct Registro {
  QStringList passi;
  FrmSplash::Passi passi_(bool collegate) {
    return {[this, collegate] {
              passi << "collega";
              return collegate;
            },
            [this] { passi << "sincronizza"; }, [this] { passi << "principale"; }};
  }
};

// With linked tables the main window comes at once after the sync (see PassiAvvioTest).
TEST(FrmSplash, WithoutLinksTheTimerShowsTheMainWindow) {
  Registro r;
  FrmSplash splash(r.passi_(false));
  splash.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !r.passi.isEmpty(); }, 2000));
  auto* timer = splash.findChild<QTimer*>("TimerCarica");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(r.passi, QStringList{"collega"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.passi.size() == 2; }, 6000));
  EXPECT_EQ(r.passi.last(), "principale");
  EXPECT_FALSE(timer->isActive());
}

TEST(FrmSplash, AKeyPressShowsTheMainWindowAtOnceAndOnlyOnce) {
  Registro r;
  FrmSplash splash(r.passi_(false));
  splash.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !r.passi.isEmpty(); }, 2000));
  QTest::keyClick(&splash, Qt::Key_Space);
  EXPECT_EQ(r.passi, (QStringList{"collega", "principale"}));
  EXPECT_FALSE(splash.findChild<QTimer*>("TimerCarica")->isActive());
}

}  // namespace
}  // namespace listinova
