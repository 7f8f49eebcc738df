// The layout's row in the store: saved and read back, nulls and the first design.
#include "printing/layout_etichetta.h"

#include <gtest/gtest.h>

#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(LayoutEtichetta, SavedLayoutComesBackAndNullsKeepTheDesign) {
  testing::NegozioDiProva negozio;
  auto& db = negozio.db;
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

// A store still holding the layout it was first given (the logo over the description, the
// bars past the cell) reads today's design; one the user has moved stays as moved.
TEST(LayoutEtichetta, TheFirstDesignUntouchedReadsAsTodays) {
  testing::NegozioDiProva negozio;
  const QString prima =
      "UPDATE FormatoEtichetta SET XFornitura=60, YFornitura=120, XCodFornitura=330, "
      "YCodFornitura=120, XCliente=700, YCliente=120, XPeso=1150, YPeso=120, XBC=%1, YBC=120, "
      "XPicture=60, YPicture=2300, FontSizeF=8, FontSizeBC=22";
  negozio.sqlite(prima.arg(1400));
  const LayoutEtichetta oggi = LayoutEtichetta::progettato();
  LayoutEtichetta letto = LayoutEtichetta::progettato();
  ASSERT_TRUE(CaricaLayout(*negozio.db, letto));
  for (int i = 0; i < kElementiTesto; ++i) {
    EXPECT_EQ(letto.testi[i].top, oggi.testi[i].top) << i;
    EXPECT_EQ(letto.testi[i].left, oggi.testi[i].left) << i;
    EXPECT_EQ(letto.testi[i].carattere.punti, oggi.testi[i].carattere.punti) << i;
  }
  EXPECT_EQ(letto.logoLeft, oggi.logoLeft);

  negozio.sqlite(prima.arg(1300));
  ASSERT_TRUE(CaricaLayout(*negozio.db, letto));
  EXPECT_EQ(letto.testi[kCodiceBarre].top, 1300);
  EXPECT_EQ(letto.logoLeft, 2300);
  EXPECT_EQ(letto.testi[kCodiceBarre].carattere.punti, 22);
}

}  // namespace
}  // namespace listinova
