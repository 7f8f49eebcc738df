// What a label carries and where, on sheets of every size: nothing leaves its cell, bars keep
// within the EAN magnifications, the designed layout overlaps nothing, an offer shows its
// earlier price.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "catalogue/modulo_ean.h"
#include "printing/adatta_cella.h"
#include "printing/configura_etichette.h"
#include "printing/easy_print.h"
#include "printing/frm_configura_label.h"
#include "printing/report_archivio.h"
#include "printing/selezione_etichette.h"
#include "printing/stampante_etichette.h"
#include "promotions/offerte.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

using testing::DispositivoDiProva;
using testing::SuperficieDiProva;

constexpr double kMm = 1440 / 25.4;

// With LISTINOVA_SCHERMATE naming a folder, the page (or one cell of it) is saved there as
// a picture for a person to look at.
void Schermata(EasyPrint& motore, const QString& nome, QRectF cella = {}) {
  const QString cartella = qEnvironmentVariable("LISTINOVA_SCHERMATE");
  if (cartella.isEmpty()) return;
  constexpr double kDpi = 300;
  QImage pagina = ImmagineDellaPagina(motore, 1, kDpi);
  if (!cella.isNull())
    pagina = pagina.copy(QRectF(cella.topLeft() * kDpi / 1440, cella.size() * kDpi / 1440)
                             .toAlignedRect()
                             .adjusted(-20, -20, 20, 20));
  pagina.save(cartella + "/" + nome + ".png");
}

QString Ean13(int n) {
  return CodiceEANCorretto(QString("800123%1").arg(n, 6, 10, QChar('0')) + "0");
}

std::vector<ProdottoEtichetta> Prodotti(int n) {
  std::vector<ProdottoEtichetta> v;
  for (int i = 1; i <= n; ++i)
    v.push_back({QString("Acqua minerale naturale frizzante %1").arg(i), 1234.5 + i, "1500",
                 QVariant(), Ean13(i)});
  return v;
}

ModelloFoglio Foglio(double larghezza, double altezza, int colonne, int righe, double x0, double y0,
                     double passoX, double passoY) {
  ModelloFoglio m;
  m.marca = "Prova";
  m.larghezza = larghezza;
  m.altezza = altezza;
  m.colonne = colonne;
  m.righe = righe;
  m.x0 = x0;
  m.y0 = y0;
  m.passoX = passoX;
  m.passoY = passoY;
  return m;
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
  const QRectF pagina(QPointF(0, 0), a4.pagina);
  const double margine = c.margineStampante * kMm;
  if (margine > 0) a4.stampabile = pagina.adjusted(margine, margine, -margine, -margine);
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
  motore.setSelezione([](const QString& contesto) {
    return SelezioneEtichette{Prodotti(40), contesto};
  });
  motore.setOpzioniCodice({true, false});
  ConfiguraMotore(motore, layout, {"3", "8", c.foglio ? &*c.foglio : nullptr});
  ASSERT_TRUE(motore.PrintDoc(1, 1, 0));
  const SuperficieDiProva& s = *a4.ultima;
  const QStringList avvisi = motore.avvisi();
  Schermata(motore, QString("foglio_") + c.nome);

  std::vector<QRectF> celle;
  for (int r = 0; r < motore.MaxRow(); ++r)
    for (int col = 0; col < motore.MaxCol(); ++col) celle.push_back(motore.cella(col, r));
  std::vector<QRectF> pezzi;
  for (const auto& t : s.testi) pezzi.push_back(t.area);
  for (const auto& b : s.codici) pezzi.push_back(b.area);
  for (const auto& i : s.immagini) pezzi.push_back(i);
  for (const QRectF& p : pezzi) {
    EXPECT_TRUE(a4.areaStampabileTwips().adjusted(-0.01, -0.01, 0.01, 0.01).contains(p));
    const bool dentro = std::any_of(celle.begin(), celle.end(), [&](const QRectF& cella) {
      return cella.adjusted(-0.01, -0.01, 0.01, 0.01).contains(p);
    });
    EXPECT_TRUE(dentro) << p.x() << "," << p.y() << " " << p.width() << "x" << p.height();
  }
  // No piece overlaps another (pieces of different cells never can); a layout of before
  // keeps at least its description short of the logo.
  for (size_t i = 0; i < pezzi.size(); ++i)
    for (size_t j = i + 1; j < pezzi.size(); ++j)
      if (!c.layoutVecchio) {
        EXPECT_FALSE(pezzi[i].intersects(pezzi[j])) << i << " " << j;
      }
  for (const auto& t : s.testi)
    for (const QRectF& logo : s.immagini)
      if (t.testo.startsWith("ACQUA")) {
        EXPECT_FALSE(t.area.intersects(logo));
      }

  const int perPagina = std::min<int>(40, motore.MaxCol() * motore.MaxRow());
  if (!c.barre) {
    EXPECT_TRUE(s.codici.empty());
    EXPECT_EQ(avvisi, QStringList{kAvvisoBarreNonEntrano});  // said once
    // the digits are still there to read
    EXPECT_TRUE(s.testiDi(1).contains(Ean13(1)));
    return;
  }
  EXPECT_TRUE(avvisi.isEmpty());
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
  const QStringList prezzi = s.testiDi(1).filter(QRegularExpression("^€ 1\\.2\\d\\d,50$"));
  EXPECT_EQ(prezzi.size(), perPagina);
}

INSTANTIATE_TEST_SUITE_P(
    Fogli, EtichetteNelleCelle,
    ::testing::Values(
        Caso{"colonne_e_righe", std::nullopt, true},
        Caso{"layout_di_prima", std::nullopt, true, true},
        Caso{"celle_alte_20_mm", Foglio(60, 20, 3, 12, 12, 12, 63, 23), true},
        Caso{"celle_grandi", Foglio(99.1, 38.1, 2, 7, 4.65, 15.15, 101.6, 38.1), true},
        Caso{"celle_strette", Foglio(38.1, 21.2, 5, 13, 4.75, 10.7, 40.6, 21.2), true},
        // cells from the paper's edge on a printer with 4.5 mm margins
        Caso{"stampante_con_margini", Foglio(70, 37.125, 3, 8, 0, 0, 70, 37.125), true, false, 4.5},
        Caso{"troppo_piccole", Foglio(25.4, 10, 7, 27, 6, 13, 28, 10), false},
        Caso{"troppo_basse", Foglio(70, 5, 3, 50, 0, 10, 70, 5.5), false}),
    [](const auto& info) { return std::string(info.param.nome); });

// A product on offer today: the offer price, and beneath it the lowest price of the 30 days
// before the offer began; the offers report shows the same figure.
TEST(EtichetteOfferte, OfferLabelsCarryTheLowestEarlierPrice) {
  const QDate oggi = QDate::currentDate();
  testing::NegozioDiProva negozio;
  negozio
      .prodotto({.cod = "1", .descrizione = "Acqua naturale", .barCode = Ean13(1), .costo = "0,45"})
      .prodotto(
          {.cod = "2", .descrizione = "Acqua frizzante", .barCode = Ean13(2), .costo = "0,60"})
      .sqlite("UPDATE StoricoPrezzi SET Quando='" +
              oggi.addDays(-60).startOfDay().toString("yyyy-MM-dd HH:mm:ss") + "'");
  auto rs = negozio.db->openRecordset("Select * from Magazzino where CodMateriale='1'");
  rs.edit();
  rs.setMoney("Costo", Money::fromCents(50));
  rs.update();
  negozio
      .sqlite("UPDATE StoricoPrezzi SET Quando='" +
              oggi.addDays(-10).startOfDay().toString("yyyy-MM-dd HH:mm:ss") +
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
  Schermata(motore, "etichetta_offerta", motore.cella(1, 0));

  RiempiRptProdotti(*negozio.db, VediTutteLePromozioni(*negozio.db, oggi.addDays(-30)));
  const ModelloReport report = ReportOfferte(*negozio.db, oggi);
  EXPECT_EQ(report.colonne.back().intestazione, "Prezzo più basso 30 gg");
  ASSERT_EQ(report.righe.size(), 2u);
  EXPECT_EQ(report.righe[0].back(), "0,45");
}

}  // namespace
}  // namespace listinova
