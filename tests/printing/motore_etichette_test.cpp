// The label engine without a printer: what a label carries and where, on sheets of every size
// (nothing leaves its cell, bars keep within the EAN magnifications, the designed layout
// overlaps nothing), the pages, the gLabels sheets, the layout's row in the store and the texts.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "catalogue/modulo_ean.h"
#include "printing/adatta_cella.h"
#include "printing/configura_etichette.h"
#include "printing/frm_configura_label.h"
#include "printing/report_archivio.h"
#include "printing/selezione_etichette.h"
#include "printing/testi_etichetta.h"
#include "promotions/offerte.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

using testing::DispositivoDiProva;
using testing::SuperficieDiProva;

constexpr double kMm = 1440 / 25.4;

QString Ean13(int n) {
  return CodiceEANCorretto(QString("800123%1").arg(n, 6, 10, QChar('0')) + "0");
}

EasyPrint::Selezione Prodotti(int n, bool conCodice = true) {
  std::vector<ProdottoEtichetta> v;
  for (int i = 1; i <= n; ++i)
    v.push_back({QString("Acqua minerale naturale frizzante %1").arg(i, 2, 10, QChar('0')),
                 1234.5 + i, "1500", QVariant(), conCodice ? QVariant(Ean13(i)) : QVariant()});
  return [v](const QString& contesto) { return SelezioneEtichette{v, contesto}; };
}

struct Caso {
  const char* nome;
  std::optional<ModelloFoglio> foglio;  // none: the 3 x 8 sheet of the boxes
  bool barre;
  bool layoutVecchio = false;   // the layout stores had before: logo over the description
  double margineStampante = 0;  // mm the printer cannot print on each side
};

class EtichetteNelleCelle : public ::testing::TestWithParam<Caso> {};

TEST_P(EtichetteNelleCelle, EveryPieceStaysInItsCell) {
  const Caso& c = GetParam();
  DispositivoDiProva a4(QSizeF(210, 297) * kMm);
  const double margine = c.margineStampante * kMm;
  if (margine > 0)
    a4.stampabile = QRectF(QPointF(0, 0), a4.pagina).adjusted(margine, margine, -margine, -margine);
  EasyPrint motore(a4);
  LayoutEtichetta layout = LayoutEtichetta::progettato();
  layout.logo = QImage(8, 8, QImage::Format_RGB32);
  if (c.layoutVecchio) {
    layout.logoLeft = 2300;
    layout.logoTop = 60;
    layout.dimensioneLogo = {720, 720};
    layout.testi[kDescrizione].top = 330;
    layout.testi[kCodiceBarre] = {"BC", 1400, 120, {"Code EAN13", 22}};
  }
  motore.setSelezione(Prodotti(40));
  motore.setOpzioniCodice({true, false});
  ConfiguraMotore(motore, layout, {"3", "8", c.foglio ? &*c.foglio : nullptr});
  ASSERT_TRUE(motore.PrintDoc(1, 1, 0));
  const SuperficieDiProva& s = *a4.ultima;

  std::vector<QRectF> celle;
  for (int r = 0; r < motore.MaxRow(); ++r)
    for (int col = 0; col < motore.MaxCol(); ++col) celle.push_back(motore.cella(col, r));
  std::vector<QRectF> pezzi = s.immagini;
  for (const auto& t : s.testi) pezzi.push_back(t.area);
  for (const auto& b : s.codici) pezzi.push_back(b.area);
  for (size_t i = 0; i < pezzi.size(); ++i) {
    const QRectF& p = pezzi[i];
    EXPECT_TRUE(a4.areaStampabileTwips().adjusted(-0.01, -0.01, 0.01, 0.01).contains(p));
    EXPECT_TRUE(std::any_of(
        celle.begin(), celle.end(),
        [&](const QRectF& cella) { return cella.adjusted(-0.01, -0.01, 0.01, 0.01).contains(p); }))
        << p.x() << "," << p.y() << " " << p.width() << "x" << p.height();
    // No piece overlaps another; a layout of before keeps its description short of the logo.
    for (size_t j = i + 1; j < pezzi.size() && !c.layoutVecchio; ++j)
      EXPECT_FALSE(p.intersects(pezzi[j])) << i << " " << j;
  }
  for (const auto& t : s.testi)
    for (const QRectF& logo : s.immagini)
      EXPECT_FALSE(t.testo.startsWith("ACQUA") && t.area.intersects(logo));

  const int perPagina = std::min<int>(40, motore.MaxCol() * motore.MaxRow());
  if (!c.barre) {
    EXPECT_TRUE(s.codici.empty());
    EXPECT_EQ(motore.avvisi(), QStringList{kAvvisoBarreNonEntrano});  // said once
    EXPECT_TRUE(s.testiDi(1).contains(Ean13(1)));  // the digits are still there to read
    return;
  }
  EXPECT_TRUE(motore.avvisi().isEmpty());
  ASSERT_EQ(static_cast<int>(s.codici.size()), perPagina);
  for (const auto& b : s.codici) {
    const double modulo = b.area.width() / kMm / ModuliEAN(b.cifre.size());
    EXPECT_GE(modulo, kModuloNominaleMm * kIngrandimentoMinimoEAN - 1e-9);
    EXPECT_LE(modulo, kModuloNominaleMm * kIngrandimentoMassimoEAN + 1e-9);
    EXPECT_GE(b.area.height(), kAltezzaMinimaCodiceMm * kMm - 1e-6);
  }
  // Every description is there, cut to 24 characters, and so is every price, shrunk or cut
  // but never run into the bars.
  EXPECT_EQ(s.testiDi(1).count("ACQUA MINERALE NATURALE "), perPagina);
  EXPECT_EQ(s.testiDi(1).filter(QRegularExpression("^€ 1\\.2\\d\\d,50$")).size(), perPagina);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Fogli, EtichetteNelleCelle,
    ::testing::Values(
        Caso{"colonne_e_righe", std::nullopt, true},
        Caso{"layout_di_prima", std::nullopt, true, true},
        Caso{"celle_alte_20_mm", ModelloFoglio{{}, {}, {}, 60, 20, 3, 12, 12, 12, 63, 23}, true},
        Caso{"celle_grandi", ModelloFoglio{{}, {}, {}, 99.1, 38.1, 2, 7, 4.65, 15.15, 101.6, 38.1}, true},
        Caso{"celle_strette", ModelloFoglio{{}, {}, {}, 38.1, 21.2, 5, 13, 4.75, 10.7, 40.6, 21.2}, true},
        // cells from the paper's edge on a printer with 4.5 mm margins
        Caso{"stampante_con_margini", ModelloFoglio{{}, {}, {}, 70, 37.125, 3, 8, 0, 0, 70, 37.125}, true, false, 4.5},
        Caso{"troppo_piccole", ModelloFoglio{{}, {}, {}, 25.4, 10, 7, 27, 6, 13, 28, 10}, false},
        Caso{"troppo_basse", ModelloFoglio{{}, {}, {}, 70, 5, 3, 50, 0, 10, 70, 5.5}, false}),
    [](const auto& info) { return std::string(info.param.nome); });
// clang-format on

// Labels skipped at the start of the sheet and the rows of the last page.
TEST(EtichettePagine, PagesAndRowsOfTheLastPage) {
  DispositivoDiProva foglio;
  EasyPrint motore(foglio);
  LayoutEtichetta layout = LayoutEtichetta::progettato();
  layout.logoVisibile = false;
  const struct {
    int prodotti, saltate, pagine, righeUltima;
  } casi[] = {{25, 0, 2, 1},  {24, 0, 1, 8}, {1, 0, 1, 1}, {48, 0, 2, 8},
              {25, 23, 2, 8}, {2, 23, 2, 1}, {23, 1, 1, 8}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.prodotti * 100 + c.saltate);
    motore.setSelezione(Prodotti(c.prodotti, false));
    ConfiguraMotore(motore, layout, {"3", "8", nullptr, c.saltate + 1});
    EXPECT_EQ(motore.LabelCopies(), c.prodotti);
    EXPECT_EQ(motore.Pages(), c.pagine);
    SuperficieDiProva s;
    motore.disegnaPagina(c.pagine, s);
    const int primaCella = (c.pagine - 1) * 24 - c.saltate;
    EXPECT_EQ(s.testiDi(1).filter(QRegularExpression("^ACQUA")).size(),
              std::min(c.prodotti - primaCella, c.righeUltima * 3 - std::max(0, -primaCella)));
  }
}

// A product on offer today: the offer price, and beneath it the lowest price of the 30 days
// before the offer began; the offers report shows the same figure.
TEST(EtichetteOfferte, OfferLabelsCarryTheLowestEarlierPrice) {
  const QDate oggi = QDate::currentDate();
  const auto quando = [&](int giorni) {
    return oggi.addDays(giorni).startOfDay().toString("yyyy-MM-dd HH:mm:ss");
  };
  testing::NegozioDiProva negozio;
  negozio.prodotto({"1", "Acqua naturale", Ean13(1), "1", 5, "0,45"})
      .prodotto({"2", "Acqua frizzante", Ean13(2), "1", 5, "0,60"})
      .sqlite("UPDATE StoricoPrezzi SET Quando='" + quando(-60) + "'");
  negozio.db->execute("UPDATE Magazzino SET Costo=0.5 WHERE CodMateriale='1'");  // 10 days ago
  negozio
      .sqlite("UPDATE StoricoPrezzi SET Quando='" + quando(-10) +
              "' WHERE rowid=(SELECT max(rowid) FROM StoricoPrezzi WHERE CodMateriale='1')")
      .offerta({"1", oggi.addDays(-2), oggi.addDays(5), "0,39"})
      .offerta({"2", oggi.addDays(3), oggi.addDays(9), "0,49"});  // not yet in force

  DispositivoDiProva a4(QSizeF(210, 297) * kMm);
  EasyPrint motore(a4);
  LayoutEtichetta layout = LayoutEtichetta::progettato();
  layout.logo = LogoEtichetta(negozio.cartella.root());
  motore.setOpzioniCodice({true, false});
  motore.setSelezione(
      [&](const QString& c) { return SelezionaProdotti(*negozio.db, "Vero", c, {}, oggi); });
  ConfiguraMotore(motore, layout, {"3", "8"});
  SuperficieDiProva s;
  motore.disegnaPagina(1, s);
  const QStringList testi = s.testiDi(1);
  EXPECT_TRUE(testi.contains("€ 0,60"));  // frizzante, no offer
  EXPECT_TRUE(testi.contains("€ 0,39"));  // naturale on offer
  EXPECT_EQ(testi.count("Prezzo più basso 30 gg: € 0,45"), 1);
  const auto trova = [&](const QString& t) {
    return std::find_if(s.testi.begin(), s.testi.end(), [&](const auto& x) { return x.testo == t; })
        ->area;
  };
  const QRectF prezzo = trova("€ 0,39");
  const QRectF precedente = trova("Prezzo più basso 30 gg: € 0,45");
  EXPECT_NEAR(precedente.top(), prezzo.bottom(), 1);
  EXPECT_NEAR(precedente.left(), prezzo.left(), 1);
  EXPECT_TRUE(motore.cella(1, 0).contains(precedente));  // "naturale" comes second
  EXPECT_EQ(s.codici.size(), 2u);

  RiempiRptProdotti(*negozio.db, VediTutteLePromozioni(*negozio.db, oggi.addDays(-30)));
  const ModelloReport report = ReportOfferte(*negozio.db, oggi);
  ASSERT_EQ(report.righe.size(), 2u);
  EXPECT_EQ(report.righe[0].back(), "0,45");
}

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
</Glabels-templates>)";

// A4 sheets of equal rectangles, in their units, and the engine's cells where the sheet has them.
TEST(ModelliFoglio, A4SheetsOfEqualRectanglesPlaceEveryCellWhereTheSheetHasIt) {
  const auto modelli = LeggiModelliFoglio(kCatalogo);
  ASSERT_EQ(modelli.size(), 3u);
  EXPECT_FALSE(TrovaModelloFoglio(modelli, "Avery 5160"));
  const auto herma = TrovaModelloFoglio(modelli, "Herma 4360");
  ASSERT_TRUE(herma);
  EXPECT_EQ(std::tuple(herma->descrizione, herma->larghezza, herma->y0),
            std::tuple(QString("Etiketten"), 70.0, 4.5));
  const auto avery = TrovaModelloFoglio(modelli, "Avery L7160");
  ASSERT_TRUE(avery);
  const double atteso[] = {63.99, 38.1, 3, 7, 7.48, 66.04};  // from points
  const double letto[] = {avery->larghezza,     avery->altezza, double(avery->colonne),
                          double(avery->righe), avery->x0,      avery->passoX};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(letto[i], atteso[i], 0.01) << i;
  for (const auto& m : modelli) {
    SCOPED_TRACE(m.nome().toStdString());
    DispositivoDiProva a4(QSizeF(210, 297) * kMm);
    EasyPrint motore(a4);
    ApplicaModelloFoglio(motore, m);
    EXPECT_EQ(motore.MaxCol(), m.colonne);
    EXPECT_EQ(motore.MaxRow(), m.righe);
    for (int r : {0, m.righe - 1}) {
      for (int c : {0, m.colonne - 1}) {
        const QRectF cella = motore.cella(c, r);
        EXPECT_NEAR(cella.left() / kMm, m.x0 + c * m.passoX, 0.1);
        EXPECT_NEAR(cella.top() / kMm, m.y0 + r * m.passoY, 0.1);
        EXPECT_NEAR(cella.width() / kMm, m.larghezza, 0.1);
        EXPECT_NEAR(cella.height() / kMm, m.altezza, 0.1);
      }
    }
  }
}

// The layout's row in the store: a font name with an apostrophe comes back, nulls keep the
// design, no row reads nothing.
TEST(LayoutEtichetta, TheStoredLayoutComesBackAndNullsKeepTheDesign) {
  testing::NegozioDiProva negozio;
  auto& db = *negozio.db;
  LayoutEtichetta l = LayoutEtichetta::progettato();
  l.testi[kPrezzo] = {"€ PRZ", 915, 2040, {"DejaVu Serif", 14.5, false, true, true, false, 0xff00}};
  l.testi[kDescrizione].carattere.nome = "Bar d'Italia";
  db.execute(IstruzionePosizioni(l, "4", "10"));
  db.execute(IstruzioneCaratteri(l));
  LayoutEtichetta letto;
  ASSERT_TRUE(CaricaLayout(db, letto));
  EXPECT_EQ(std::tuple(letto.numCol, letto.numRow), std::tuple(4, 10));
  EXPECT_EQ(letto.testi[kDescrizione].carattere.nome, "Bar d'Italia");
  const auto& a = letto.testi[kPrezzo];
  EXPECT_EQ(std::tuple(a.top, a.left, a.carattere.nome, a.carattere.punti, a.carattere.corsivo,
                       a.carattere.sottolineato, a.carattere.colore),
            std::tuple(915, 2040, QString("DejaVu Serif"), 14.5, true, true, 0xff00u));

  db.execute("UPDATE FormatoEtichetta SET NumCol = Null, NumRow = Null, XBC = Null");
  LayoutEtichetta conNull = LayoutEtichetta::progettato();
  conNull.testi[kCodiceBarre].top = 77;
  ASSERT_TRUE(CaricaLayout(db, conNull));
  EXPECT_EQ(std::tuple(conNull.numCol, conNull.numRow, conNull.testi[kCodiceBarre].top),
            std::tuple(3, 8, 77));

  db.execute("DELETE FROM FormatoEtichetta");
  EXPECT_FALSE(CaricaLayout(db, letto));
}

TEST(TestiEtichetta, PricePerKilo) {
  const struct {
    QVariant costo, contenuto;
    QString atteso;
  } casi[] = {{2.0, "500", "€ 4,00/Kg o LT"},
              {1.99, "750", "€ 2,65/Kg o LT"},
              {3.0, "0,25", "€ 12.000,00/Kg o LT"},
              {2.0, "0", ""},
              {2.0, "", ""},
              {2.0, "circa 500", ""},
              {2.0, QVariant(), ""}};
  for (const auto& c : casi)
    EXPECT_EQ(PrezzoAlKgEtichetta(c.costo, c.contenuto), c.atteso)
        << c.contenuto.toString().toStdString();
}

// Bars only of the code as stored: a wrong last digit prints the code plainly and is flagged.
TEST(TestiEtichetta, BarcodeElementByTheTwoSwitches) {
  const struct {
    QVariant barCode, fornitore;
    bool vedi, converti;
    QString testo, cifre;
    bool errato;
  } casi[] = {
      {"8001234567897", "X1", true, false, "8001234567897", "8001234567897", false},
      {"8001234567890", "X1", true, false, "8001234567890", "", true},
      {"800123456789", "X1", true, false, "", "", false},
      {"12345670", "X1", true, true, "12345670", "12345670", false},
      {QVariant(), "12345670", true, true, "", "", false},
      {"8001234567890", "40123455", false, true, "40123455", "40123455", false},
      {"8001234567890", "40123454", false, true, "40123454", "", true},
      {"8001234567890", "ABC", false, true, "", "", false},
      {"8001234567890", "800123456789", false, false, "800123456789", "", false},
      {"8001234567890", QVariant(), false, false, "", "", false},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE((c.barCode.toString() + "/" + c.fornitore.toString()).toStdString());
    const CodiceStampato codice =
        CodiceDaStampare({{}, {}, {}, c.fornitore, c.barCode}, {c.vedi, c.converti});
    EXPECT_EQ(std::tuple(codice.testo, codice.cifre, codice.errato),
              std::tuple(c.testo, c.cifre, c.errato));
  }
}

}  // namespace
}  // namespace listinova
