// Label sheets from the gLabels catalogue and how they set the engine up.
#include "printing/modelli_foglio.h"

#include <gtest/gtest.h>

#include "printing/easy_print.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

constexpr char kCatalogo[] = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Avery" part="7160" size="A4" _description="Mailing labels">
    <Meta category="label"/>
    <Label-rectangle id="0" width="181.4" height="108.0" round="5">
      <Markup-margin size="5"/>
      <Layout nx="3" ny="7" x0="21.2" y0="43.9" dx="187.2" dy="108.0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="L7160" equiv="7160"/>
  <Template brand="Herma" part="4360" size="A4" description="Etiketten">
    <Label-rectangle id="0" width="70mm" height="36mm">
      <Layout nx="3" ny="8" x0="0mm" y0="4.5mm" dx="70mm" dy="36mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="5160" size="US-Letter" _description="Address">
    <Label-rectangle id="0" width="189" height="72"><Layout nx="3" ny="10" x0="11" y0="36" dx="200" dy="72"/></Label-rectangle>
  </Template>
  <Template brand="Acme" part="2L" size="A4" _description="Two layouts">
    <Label-rectangle id="0" width="1in" height="1in">
      <Layout nx="2" ny="2" x0="0" y0="0" dx="80" dy="80"/>
      <Layout nx="2" ny="2" x0="200" y0="0" dx="80" dy="80"/>
    </Label-rectangle>
  </Template>
  <Template brand="Acme" part="CD" size="A4" _description="Disc">
    <Label-cd id="0" radius="166.5" hole="58.5"><Layout nx="1" ny="2" x0="0" y0="0" dx="0" dy="400"/></Label-cd>
  </Template>
</Glabels-templates>)";

TEST(ModelliFoglio, A4SheetsOfEqualRectanglesWithTheirUnits) {
  const auto modelli = LeggiModelliFoglio(kCatalogo);
  ASSERT_EQ(modelli.size(), 3u);
  const auto avery = TrovaModelloFoglio(modelli, "Avery L7160");
  ASSERT_TRUE(avery);
  EXPECT_NEAR(avery->larghezza, 63.99, 0.01);  // 181.4 pt
  EXPECT_NEAR(avery->altezza, 38.1, 0.01);
  EXPECT_EQ(avery->colonne, 3);
  EXPECT_EQ(avery->righe, 7);
  EXPECT_NEAR(avery->x0, 7.48, 0.01);
  EXPECT_NEAR(avery->passoX, 66.04, 0.01);
  const auto herma = TrovaModelloFoglio(modelli, "Herma 4360");
  ASSERT_TRUE(herma);
  EXPECT_EQ(herma->descrizione, "Etiketten");
  EXPECT_DOUBLE_EQ(herma->larghezza, 70);
  EXPECT_FALSE(TrovaModelloFoglio(modelli, "Avery 5160"));
}

TEST(ModelliFoglio, TheChosenSheetPlacesEveryCellWhereTheSheetHasIt) {
  const auto modelli = LeggiModelliFoglio(kCatalogo);
  for (const auto& m : modelli) {
    SCOPED_TRACE(m.nome().toStdString());
    testing::DispositivoDiProva a4(QSizeF(210, 297) * (1440 / 25.4));
    EasyPrint motore(a4);
    ApplicaModelloFoglio(motore, m);
    EXPECT_EQ(motore.MaxCol(), m.colonne);
    EXPECT_EQ(motore.MaxRow(), m.righe);
    const double mm = 1440 / 25.4;
    for (int r : {0, m.righe - 1}) {
      for (int c : {0, m.colonne - 1}) {
        const QRectF cella = motore.cella(c, r);
        EXPECT_NEAR(cella.left() / mm, m.x0 + c * m.passoX, 0.1);
        EXPECT_NEAR(cella.top() / mm, m.y0 + r * m.passoY, 0.1);
        EXPECT_NEAR(cella.width() / mm, m.larghezza, 0.1);
        EXPECT_NEAR(cella.height() / mm, m.altezza, 0.1);
      }
    }
  }
}

}  // namespace
}  // namespace listinova
