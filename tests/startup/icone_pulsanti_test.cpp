#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QXmlStreamReader>

#include "startup/icone_pulsanti.h"

namespace listinova {
namespace {

TEST(ChiaveIconaTest, WholeCaptionsOfKnownCommandsOnly) {
  const std::pair<const char*, const char*> casi[] = {
      {"&Modifica...", "edit"}, {"CHIUDI", "exit"},       {"Nuo&vo", "new"},
      {"Registra...", "save"},  {"&Annulla", "cancel"},   {"Conferma", "ok"},
      {"&Trova", "search"},     {"Stampa etichette", ""}, {"&", ""},
      {" Chiudi", ""},          {"Chiudi.", ""},
  };
  for (const auto& [didascalia, chiave] : casi)
    EXPECT_EQ(chiaveIcona(didascalia), chiave) << didascalia;
}

// A throw-away icon theme, so the test does not depend on the desktop it runs on.
class IconePulsantiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString theme = temp_.path() + "/prova";
    QDir().mkpath(theme + "/16x16/actions");
    QFile index(theme + "/index.theme");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write(
        "[Icon Theme]\nName=prova\nDirectories=16x16/actions\n\n"
        "[16x16/actions]\nSize=16\nType=Fixed\n");
    index.close();
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::darkGreen);
    // Only the second name for "edit", to see the alternatives tried in turn.
    for (const char* name : {"accessories-text-editor", "application-exit"})
      ASSERT_TRUE(image.save(theme + "/16x16/actions/" + name + ".png"));

    QIcon::setThemeSearchPaths({temp_.path()});
    QIcon::setThemeName("prova");
  }

  void TearDown() override {
    QIcon::setThemeName(oldTheme_);
    QIcon::setThemeSearchPaths(oldPaths_);
  }

  QTemporaryDir temp_;
  const QString oldTheme_ = QIcon::themeName();
  const QStringList oldPaths_ = QIcon::themeSearchPaths();
};

TEST_F(IconePulsantiTest, OnlyButtonsWithAKnownCaptionGetAnIconAndWidth) {
  QDialog finestra;
  auto* layout = new QVBoxLayout(&finestra);
  auto* modifica = new QPushButton("&Modifica...");
  auto* etichette = new QPushButton("Stampa etichette");
  auto* riquadro = new QWidget;
  auto* chiudi = new QPushButton("Chiudi", riquadro);  // deeper in the window
  auto* esci = new QPushButton("Esci");
  esci->setMinimumWidth(150);  // already wider: kept
  layout->addWidget(modifica);
  layout->addWidget(etichette);
  layout->addWidget(riquadro);
  layout->addWidget(esci);

  ImpostaIconePulsanti(&finestra);

  EXPECT_FALSE(modifica->icon().isNull());
  EXPECT_FALSE(chiudi->icon().isNull());
  EXPECT_TRUE(etichette->icon().isNull());
  EXPECT_GE(modifica->minimumWidth(), 90);
  EXPECT_GE(chiudi->minimumWidth(), 90);
  EXPECT_EQ(etichette->minimumWidth(), 0);
  EXPECT_EQ(esci->minimumWidth(), 150);
  EXPECT_EQ(modifica->text(), "&Modifica...");
}

TEST(IconeProgrammaTest, EveryIconOfTheSetIsThereAndIsSvg) {
  iconaProgramma("esci");  // makes sure the set is registered
  for (const char* nome : {"open", "new", "edit", "cancel", "ok", "save", "delete", "print",
                           "preview", "exit", "search", "magazzino", "impostazioni", "esci"}) {
    QFile file(QStringLiteral(":/icons/%1.svg").arg(nome));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << nome;
    QXmlStreamReader svg(&file);
    ASSERT_TRUE(svg.readNextStartElement()) << nome;
    EXPECT_EQ(svg.name(), QLatin1String("svg")) << nome;
    while (!svg.atEnd()) svg.readNext();
    EXPECT_FALSE(svg.hasError()) << nome << ": " << svg.errorString().toStdString();
  }
}

}  // namespace
}  // namespace listinova
