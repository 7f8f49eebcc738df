// The layout's row in the store: the two statements, saving and reading back.
#include "printing/layout_etichetta.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(LayoutEtichetta, StatementsAsTheyHaveAlwaysBeenWritten) {
  LayoutEtichetta l = LayoutEtichetta::progettato();
  l.testi[kNomeNegozio].carattere.colore = 255;
  l.testi[kNomeNegozio].carattere.punti = 8.5;
  l.testi[kCodiceBarre].left = -15;
  EXPECT_EQ(IstruzionePosizioni(l, "3", "8"),
            "UPDATE FormatoEtichetta SET NumCol = 3, NumRow = 8, XFornitura = 60, YFornitura = "
            "110,XCliente = 760, YCliente = 110, XCodFornitura= 520, YCodFornitura = "
            "110,XPicture = 50, YPicture= 2842,XPeso = 1290, YPeso= 110,XBC= 840, YBC=-15");
  EXPECT_EQ(IstruzioneCaratteri(l),
            "UPDATE FormatoEtichetta SET FontF ='Arial', FontSizeF = 8.5, BoldF = 0, ItalicF = "
            "0,UnderF = 0, ColorF = 255, FontCF ='Arial', FontSizeCF = 9, BoldCF =-1, ItalicCF "
            "= 0,UnderCF = 0, ColorCF = 0, FontC ='Arial', FontSizeC = 16, BoldC =-1, ItalicC = "
            "0,UnderC = 0, ColorC = 0, FontP ='Arial', FontSizeP = 7, BoldP = 0, ItalicP = "
            "0,UnderP = 0, ColorP = 0, FontBC ='Code EAN13', FontSizeBC = 20, BoldBC = 0, "
            "ItalicBC = 0,UnderBC = 0, ColorBC = 0");
}

TEST(LayoutEtichetta, SavedLayoutComesBackAndNullsKeepTheDesign) {
  QTemporaryDir dir;
  auto db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
  LayoutEtichetta l = LayoutEtichetta::progettato();
  l.testi[kPrezzo] = {
      "€ PRZ", 915, 2040, {"DejaVu Serif", 14.5, false, true, true, false, 0x00ff00}};
  l.testi[kDescrizione].carattere.nome = "Bar d'Italia";  // an apostrophe in a font name
  l.logoTop = 45;
  l.logoLeft = 3000;
  db->execute(IstruzionePosizioni(l, "4", "10"));
  db->execute(IstruzioneCaratteri(l));

  LayoutEtichetta letto;  // nothing of the design left over
  ASSERT_TRUE(CaricaLayout(*db, letto));
  EXPECT_EQ(letto.numCol, 4);
  EXPECT_EQ(letto.numRow, 10);
  for (int i = 0; i < kElementiTesto; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(letto.testi[i].top, l.testi[i].top);
    EXPECT_EQ(letto.testi[i].left, l.testi[i].left);
    const auto& a = letto.testi[i].carattere;
    const auto& b = l.testi[i].carattere;
    EXPECT_EQ(a.nome, b.nome);
    EXPECT_EQ(a.punti, b.punti);
    EXPECT_EQ(std::tuple(a.grassetto, a.corsivo, a.sottolineato, a.colore),
              std::tuple(b.grassetto, b.corsivo, b.sottolineato, b.colore));
  }
  EXPECT_EQ(letto.logoTop, 45);
  EXPECT_EQ(letto.logoLeft, 3000);

  db->execute("UPDATE FormatoEtichetta SET NumCol = Null, NumRow = Null, XBC = Null, YPeso = Null");
  LayoutEtichetta conNull = LayoutEtichetta::progettato();
  conNull.testi[kCodiceBarre].top = 77;
  ASSERT_TRUE(CaricaLayout(*db, conNull));
  EXPECT_EQ(conNull.numCol, 3);
  EXPECT_EQ(conNull.numRow, 8);
  EXPECT_EQ(conNull.testi[kCodiceBarre].top, 77);
  EXPECT_EQ(conNull.testi[kPrezzoAlKg].left, 110);

  db->execute("DELETE FROM FormatoEtichetta");
  LayoutEtichetta vuoto = LayoutEtichetta::progettato();
  EXPECT_FALSE(CaricaLayout(*db, vuoto));
  EXPECT_EQ(vuoto.testi[kPrezzo].top, 760);
}

}  // namespace
}  // namespace listinova
