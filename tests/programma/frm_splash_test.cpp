#include "programma/frm_splash.h"

#include <gtest/gtest.h>

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

// Without linked tables the timer shows the main window; a key press shows it at once, and once.
// With linked tables it comes at once after the sync (see PassiAvvioTest).
TEST(FrmSplash, WithoutLinksTheTimerOrAKeyShowsTheMainWindowOnce) {
  for (const bool tasto : {false, true}) {
    SCOPED_TRACE(tasto);
    Registro r;
    FrmSplash splash(r.passi_(false));
    splash.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.passi.isEmpty(); }, 2000));
    EXPECT_EQ(r.passi, QStringList{"collega"});
    if (tasto) QTest::keyClick(&splash, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.passi.size() == 2; }, 6000));
    EXPECT_EQ(r.passi.last(), "principale");
    EXPECT_FALSE(splash.findChild<QTimer*>("TimerCarica")->isActive());
    QTest::qWait(tasto ? 100 : 0);
    EXPECT_EQ(r.passi.size(), 2);
  }
}

}  // namespace
}  // namespace listinova
