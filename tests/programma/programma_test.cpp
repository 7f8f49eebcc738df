// The program's top as the shop meets it: the command line without a display, the splash window
// that leads to the main window, and the main window's exit question.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "programma/frm_splash.h"
#include "programma/mdi_principale.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

TEST(Programma, VersionAndHelpNeedNoDisplay) {
  QTemporaryDir dir;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LISTINOVA_CARTELLA", dir.filePath("negozio"));
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  for (const char* nome : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(nome);
  const struct {
    QStringList argomenti;
    int stato;
    QString uscita, errori;  // contained
  } casi[] = {
      {{"--versione"}, 0, "Listinova 1.0.0", ""},
      {{"--help"}, 0, "--cartella", ""},
      {{"--boh"}, 2, "", "--help"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.argomenti.join(' ').toStdString());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(LISTINOVA_BINARY, c.argomenti);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), c.stato);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(c.uscita));
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(c.errori));
  }
}

// Without linked tables the timer shows the main window; a key press shows it at once, and once.
TEST(FrmSplash, WithoutLinksTheTimerOrAKeyShowsTheMainWindowOnce) {
  for (const bool tasto : {false, true}) {
    SCOPED_TRACE(tasto);
    QStringList passi;
    FrmSplash splash({[&] { return (passi << "collega", false); }, [&] { passi << "sincronizza"; },
                      [&] { passi << "principale"; }});
    splash.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !passi.isEmpty(); }, 2000));
    if (tasto) QTest::keyClick(&splash, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return passi.size() == 2; }, 6000));
    QTest::qWait(tasto ? 100 : 0);
    EXPECT_EQ(passi, QStringList({"collega", "principale"}));
  }
}

// Cancel keeps the program running, from the toolbar and on closing; Ok closes it, once.
TEST(MdiPrincipale, TheExitQuestion) {
  CartellaDiProva cartella;
  Globali() = VarGlobali{};
  Globali().PercorsoSetup = cartella.setup();
  FakePrompts prompts;
  prompts.answers = {platform::Answer::Cancel, platform::Answer::Cancel, platform::Answer::Ok};
  {
    MdiPrincipale w(prompts);
    w.show();
    w.findChild<QAction*>("tbEsci")->trigger();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    w.findChild<QAction*>("tbEsci")->trigger();
    EXPECT_FALSE(w.isVisible());
  }
  ASSERT_EQ(prompts.asked.size(), 3u);
  EXPECT_EQ(prompts.asked[2].text, "Vuoi uscire dal programma e tornare al sistema ?");
  QApplication::restoreOverrideCursor();
  Globali() = VarGlobali{};
}

}  // namespace
}  // namespace listinova::testing
