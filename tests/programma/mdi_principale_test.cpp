#include "programma/mdi_principale.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>

#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;

class MdiPrincipaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali() = VarGlobali{};
    Globali().PercorsoSetup = cartella.setup();
  }
  void TearDown() override {
    QApplication::restoreOverrideCursor();
    Globali() = VarGlobali{};
  }
  QAction* azione(MdiPrincipale& w, const char* nome) { return w.findChild<QAction*>(nome); }

  CartellaDiProva cartella;
  testing::FakePrompts prompts;
};

// Cancel keeps the program running, from the toolbar and on closing; Ok closes it, once.
TEST_F(MdiPrincipaleTest, TheExitQuestion) {
  MdiPrincipale w(prompts);
  w.show();
  prompts.answers = {Answer::Cancel, Answer::Cancel, Answer::Ok};
  azione(w, "tbEsci")->trigger();
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  azione(w, "tbEsci")->trigger();
  EXPECT_FALSE(w.isVisible());
  ASSERT_EQ(prompts.asked.size(), 3u);
  EXPECT_EQ(prompts.asked[2].text, "Vuoi uscire dal programma e tornare al sistema ?");
  EXPECT_EQ(prompts.asked[2].buttons, Buttons::OkCancel);
}

TEST_F(MdiPrincipaleTest, BackgroundPictureFromTheSettings) {
  const QString immagine = cartella.file("sfondo.png");
  QImage(40, 30, QImage::Format_RGB32).save(immagine);
  ScriviINI(cartella.setup(), "InterfacciaUtente", "ImgSfondo", immagine);
  MdiPrincipale w(prompts);
  w.show();
  auto* sfondo = w.findChild<QLabel*>("pctSfondo");
  ASSERT_NE(sfondo, nullptr);
  EXPECT_TRUE(sfondo->isVisible());
  EXPECT_EQ(w.immagineSfondo(), immagine);

  QFile::remove(immagine);  // a picture deleted since: no background and no error
  w.aggiornaSfondo();
  EXPECT_FALSE(sfondo->isVisible());
  EXPECT_TRUE(w.immagineSfondo().isEmpty());
  EXPECT_FALSE(QFile::exists(cartella.file("Dati/ErrorLog.dat")));
}

}  // namespace
}  // namespace listinova
