#include "programma/mdi_principale.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;

// Cancel keeps the program running, from the toolbar and on closing; Ok closes it, once.
TEST(MdiPrincipale, TheExitQuestion) {
  CartellaDiProva cartella;
  Globali() = VarGlobali{};
  Globali().PercorsoSetup = cartella.setup();
  testing::FakePrompts prompts;
  prompts.answers = {Answer::Cancel, Answer::Cancel, Answer::Ok};
  {
    MdiPrincipale w(prompts);
    w.show();
    w.findChild<QAction*>("tbEsci")->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    w.findChild<QAction*>("tbEsci")->trigger();
    EXPECT_FALSE(w.isVisible());
  }
  ASSERT_EQ(prompts.asked.size(), 3u);
  EXPECT_EQ(prompts.asked[2].text, "Vuoi uscire dal programma e tornare al sistema ?");
  EXPECT_EQ(prompts.asked[2].buttons, platform::Buttons::OkCancel);
  QApplication::restoreOverrideCursor();
  Globali() = VarGlobali{};
}

}  // namespace
}  // namespace listinova
