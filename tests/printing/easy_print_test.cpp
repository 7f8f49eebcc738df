// The label engine's pages: skipped labels and the rows of the last page.
#include "printing/easy_print.h"

#include <gtest/gtest.h>

#include "printing/configura_etichette.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

using testing::DispositivoDiProva;
using testing::SuperficieDiProva;

std::vector<ProdottoEtichetta> Prodotti(int n) {
  std::vector<ProdottoEtichetta> v;
  for (int i = 1; i <= n; ++i)
    v.push_back({QString("Prodotto %1").arg(i, 2, 10, QChar('0')), double(i), {}, {}, {}});
  return v;
}

EasyPrint::Selezione Fissa(std::vector<ProdottoEtichetta> prodotti) {
  return [prodotti](const QString& contesto) { return SelezioneEtichette{prodotti, contesto}; };
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

}  // namespace
}  // namespace listinova
