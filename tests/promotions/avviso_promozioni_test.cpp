// The start-of-day notice: its switch in the settings and its four banners.
#include "promotions/avviso_promozioni.h"

#include <gtest/gtest.h>

#include "promotions/offerte.h"
#include "startup/modulo_file_ini.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

const QDate kOggi(2026, 12, 7);

TEST(AvvisoPromozioni, AnAbsentSwitchIsWrittenOffAndShowsNothing) {
  NegozioDiProva negozio;
  negozio.prodotto("1", "Caffè", "3,00");
  SalvaOfferta(*negozio.db, {"1", kOggi, kOggi, TipoSconto::Valore, "1", "2,00"});
  writeAll(negozio.cartella.setup(), "[Config]\r\nColore=1\r\n");
  EXPECT_EQ(AvvisoPromozioni(*negozio.db, negozio.cartella.setup(), kOggi).testo, "");
  EXPECT_EQ(LeggiINI(negozio.cartella.setup(), "Promozioni", "AvvisoAttivo", "?"), "Falso");
  EXPECT_TRUE(readAll(negozio.cartella.setup()).startsWith("[Config]\r\nColore=1\r\n"));

  ScriviINI(negozio.cartella.setup(), "Promozioni", "AvvisoAttivo", "FALSO");
  EXPECT_EQ(AvvisoPromozioni(*negozio.db, negozio.cartella.setup(), kOggi).testo, "");
}

TEST(AvvisoPromozioni, TheFourBanners) {
  struct Caso {
    int inizio;  // days from today; none when 99
    int fine;
    QString testo;
    int punti;
  };
  const Caso casi[] = {
      {99, 99, "", 0},
      {-5, 5, "", 0},
      {0, 5, "INIZIANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE", 20},
      {-5, 0, "TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE", 20},
      {0, 0, "INIZIANO/TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE", 18},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.testo.toStdString());
    NegozioDiProva negozio;
    ScriviINI(negozio.cartella.setup(), "Promozioni", "AvvisoAttivo", "Vero");
    if (caso.inizio != 99)
      SalvaOfferta(*negozio.db, {"1", kOggi.addDays(caso.inizio), kOggi.addDays(caso.fine),
                                 TipoSconto::Valore, "1", "2,00"});
    const AvvisoOfferte avviso = AvvisoPromozioni(*negozio.db, negozio.cartella.setup(), kOggi);
    EXPECT_EQ(avviso.testo, caso.testo);
    EXPECT_EQ(avviso.punti, caso.punti);
  }
}

}  // namespace
}  // namespace listinova::testing
