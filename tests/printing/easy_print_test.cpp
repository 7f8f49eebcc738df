// The label engine: sheet maths, pages, the product walk and what each cell carries.
#include "printing/easy_print.h"

#include <gtest/gtest.h>

#include "printing/configura_etichette.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

using testing::DispositivoDiProva;
using testing::SuperficieDiProva;

ProdottoEtichetta Prodotto(const QString& descrizione, double costo, QVariant contenuto = {},
                           QVariant barCode = {}) {
  return {descrizione, costo, contenuto, QVariant(), barCode};
}

std::vector<ProdottoEtichetta> Prodotti(int n) {
  std::vector<ProdottoEtichetta> v;
  for (int i = 1; i <= n; ++i)
    v.push_back(Prodotto(QString("Prodotto %1").arg(i, 2, 10, QChar('0')), i));
  return v;
}

EasyPrint::Selezione Fissa(std::vector<ProdottoEtichetta> prodotti) {
  return [prodotti](const QString& contesto) { return SelezioneEtichette{prodotti, contesto}; };
}

TEST(EasyPrint, SheetMathsByScaleMode) {
  struct Caso {
    int scala;
    int colonne, righe;
    double distanza;
    double larghezza, altezza;
  };
  const Caso casi[] = {
      {kCentimetri, 3, 8, 1, (21.0 - 2) / 3, (29.7 - 7) / 8},
      {kMillimetri, 3, 8, 10, (210.0 - 20) / 3, (297.0 - 70) / 8},
      {kPollici, 2, 4, 0, 21 * 567.0 / 1440 / 2, 29.7 * 567.0 / 1440 / 4},
      {kTwips, 1, 1, 0, 21 * 567.0, 29.7 * 567.0},
      {3, 3, 8, 1, 0, 0},  // pixels: no conversion at all
  };
  for (const auto& c : casi) {
    DispositivoDiProva foglio;
    EasyPrint motore(foglio);
    motore.setScaleMode(c.scala);
    motore.setMaxCol(c.colonne);
    motore.setMaxRow(c.righe);
    motore.setLabelDistance(c.distanza);
    SCOPED_TRACE(c.scala);
    EXPECT_NEAR(motore.LabelWidth(), c.larghezza, 0.01);
    EXPECT_NEAR(motore.LabelHeigth(), c.altezza, 0.01);
  }
}

TEST(EasyPrint, MarginsFollowTheScaleModeButTheGapDoesNot) {
  DispositivoDiProva foglio;
  EasyPrint motore(foglio);
  motore.setScaleMode(kCentimetri);
  motore.setMarginLeft(1);
  motore.setMarginRight(1);
  motore.setLabelDistance(1);
  motore.setMaxCol(2);
  EXPECT_NEAR(motore.LabelWidth(), (21.0 - 2 - 1) / 2, 1e-9);
  motore.setScaleMode(kMillimetri);
  EXPECT_NEAR(motore.MarginLeft(), 10, 0.01);
  // The gap keeps its number, now read as millimetres.
  EXPECT_NEAR(motore.LabelWidth(), (210.0 - 20 - 1) / 2, 0.05);
  // Zero rows or columns, or a sheet above 255 labels, are refused.
  motore.setMaxCol(0);
  motore.setMaxRow(0);
  EXPECT_EQ(motore.MaxCol(), 2);
  EXPECT_EQ(motore.MaxRow(), 1);
  motore.setMaxRow(128);
  EXPECT_EQ(motore.MaxRow(), 1);
  motore.setMaxRow(127);
  EXPECT_EQ(motore.MaxRow(), 127);
}

TEST(EasyPrint, PagesAndRowsOfTheLastPage) {
  DispositivoDiProva foglio;
  EasyPrint motore(foglio);
  LayoutEtichetta layout = LayoutEtichetta::progettato();
  layout.logoVisibile = false;
  struct Caso {
    int prodotti;
    int saltate;
    int pagine;
    int righeUltima;
  };
  const Caso casi[] = {{25, 0, 2, 1},  {24, 0, 1, 8}, {1, 0, 1, 1}, {48, 0, 2, 8},
                       {25, 23, 2, 8}, {2, 23, 2, 1}, {23, 1, 1, 8}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.prodotti * 100 + c.saltate);
    motore.setSelezione(Fissa(Prodotti(c.prodotti)));
    ConfiguraMotore(motore, layout, {"3", "8", nullptr, c.saltate + 1});
    EXPECT_EQ(motore.LabelCopies(), c.prodotti);
    EXPECT_EQ(motore.Pages(), c.pagine);
    SuperficieDiProva s;
    motore.disegnaPagina(c.pagine, s);
    // each drawn cell prints its description once
    int celle = 0;
    for (const auto& t : s.testi)
      if (t.testo.startsWith("PRODOTTO")) ++celle;
    const int primaCella = (c.pagine - 1) * 24 - c.saltate;
    EXPECT_EQ(celle,
              std::min(c.prodotti - primaCella, c.righeUltima * 3 - std::max(0, -primaCella)));
  }
}

TEST(EasyPrint, EachCellCarriesItsProductAtTheLayoutsPlaces) {
  DispositivoDiProva foglio;
  EasyPrint motore(foglio);
  LayoutEtichetta layout = LayoutEtichetta::progettato();
  layout.logo = QImage(4, 4, QImage::Format_RGB32);
  layout.testi[kCodiceBarre].top = 1000;
  std::vector<ProdottoEtichetta> prodotti = {
      Prodotto("Caffè macinato per moka gusto classico", 2.0, "500", "8001234567895"),
      Prodotto("Latte", 1.2, "0", "12345670"),
      Prodotto("Pane", 3.5, QVariant(), "800123456789"),
  };
  motore.setSelezione(Fissa(prodotti));
  motore.setOpzioniCodice({true, false});
  ConfiguraMotore(motore, layout, {"3", "8"});
  EXPECT_EQ(motore.Pages(), 1);
  SuperficieDiProva s;
  motore.disegnaPagina(1, s);
  const QStringList attesi = {// shop name, description, price, price per kilo, code text
                              "MiaAttività",   "CAFFÈ MACINATO PER MOKA ",
                              "€ 2,00",        "€ 4,00/Kg o LT",
                              "8001234567895", "MiaAttività",
                              "LATTE",         "€ 1,20",
                              "MiaAttività",   "PANE",
                              "€ 3,50"};
  EXPECT_EQ(s.testiDi(1), attesi);
  // Bars only of a code as stored: 8001234567895 has a wrong last digit.
  ASSERT_EQ(s.codici.size(), 1u);
  EXPECT_EQ(s.codici[0].cifre, "12345670");
  // The default sheet's cells are the designed one: the layout's places unscaled.
  const QRectF seconda = motore.cella(1, 0);
  EXPECT_NEAR(seconda.left(), 283.5 + 3402 + 567, 1e-6);
  EXPECT_EQ(s.codici[0].area.size(), DimensioneCodice(20, 8));
  EXPECT_EQ(s.codici[0].area.left(), seconda.left() + 1622);
  EXPECT_TRUE(seconda.contains(s.codici[0].area));  // moved up from 1000 to stay inside
  EXPECT_EQ(s.testi[1].area.topLeft(), motore.cella(0, 0).topLeft() + QPointF(110, 520));
  EXPECT_TRUE(s.testi[1].carattere.grassetto);
  ASSERT_EQ(s.immagini.size(), 3u);
  EXPECT_EQ(s.immagini[2].topLeft(), motore.cella(2, 0).topLeft() + QPointF(2842, 50));
}

TEST(EasyPrint, CaptionsWhenThereAreNoProductsOrOutsideTheToolbar) {
  DispositivoDiProva foglio;
  EasyPrint motore(foglio);
  LayoutEtichetta layout = LayoutEtichetta::progettato();
  ImpostaDidascalie(layout, {"Bottega", "Falso", {}, {}}, kContestoToolbar);
  motore.setSelezione(Fissa({}));
  ConfiguraMotore(motore, layout, {"3", "8"});
  // An empty selection keeps the editor's count: a full sheet of samples.
  EXPECT_EQ(motore.LabelCopies(), 24);
  SuperficieDiProva s;
  motore.disegnaPagina(1, s);
  EXPECT_EQ(s.testiDi(1).count("DES"), 24);
  EXPECT_EQ(s.testiDi(1).count("Bottega"), 24);

  motore.setSelezione(Fissa(Prodotti(5)));
  motore.setContesto(kContestoGriglia);
  ConfiguraMotore(motore, layout, {"3", "8"});
  SuperficieDiProva g;
  motore.disegnaPagina(1, g);
  EXPECT_EQ(g.testiDi(1).count("DES"), 6);  // two whole rows for five labels
}

TEST(EasyPrint, SingleLabelAndPrintDoc) {
  DispositivoDiProva foglio;
  EasyPrint motore(foglio);
  LayoutEtichetta layout = LayoutEtichetta::progettato();
  layout.logoVisibile = false;
  motore.setSelezione(Fissa(Prodotti(30)));
  ConfiguraMotore(motore, layout, {"3", "8"});
  ASSERT_EQ(motore.Pages(), 2);

  EXPECT_TRUE(motore.PrintDoc(1, 1, 5));
  const auto* s = foglio.ultima;
  ASSERT_TRUE(s->finito);
  ASSERT_EQ(s->testi.size(), 5u);
  // the fifth cell: second row, second column, with the editor's captions
  EXPECT_EQ(s->testi[1].area.topLeft(), motore.cella(1, 1).topLeft() + QPointF(110, 520));
  EXPECT_EQ(s->testi[1].testo, "DES");

  EXPECT_TRUE(motore.PrintDoc(2, 2, 0));
  EXPECT_EQ(foglio.ultima->testiDi(1).first(), "MiaAttività");
  EXPECT_TRUE(foglio.ultima->testiDi(1).contains("PRODOTTO 25"));
  EXPECT_FALSE(foglio.ultima->testiDi(1).contains("PRODOTTO 24"));

  EXPECT_TRUE(motore.PrintDoc(1, 9, 0));
  EXPECT_EQ(foglio.ultima->pagina, 2);
  EXPECT_EQ(foglio.ultima->testiDi(2).count("MiaAttività"), 6);
}

TEST(EasyPrint, NoLayoutAndLabelsWiderThanThePage) {
  DispositivoDiProva foglio;
  EasyPrint motore(foglio);
  SuperficieDiProva s;
  motore.disegnaPagina(1, s);
  EXPECT_EQ(s.testiDi(1), QStringList{"Nessun dato da stampare"});

  LayoutEtichetta layout = LayoutEtichetta::progettato();
  motore.setObjectToPrint(&layout);
  motore.setScaleMode(kCentimetri);
  motore.setMarginLeft(15);
  motore.setMarginRight(15);
  SuperficieDiProva vuota;
  motore.disegnaPagina(1, vuota);
  EXPECT_TRUE(vuota.testi.empty());
}

}  // namespace
}  // namespace listinova
