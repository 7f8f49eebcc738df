// The start-of-day notice: its switch in the settings and its four banners.
#include "promotions/avviso_promozioni.h"

#include <gtest/gtest.h>

#include "startup/modulo_file_ini.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

const QDate kOggi(2026, 12, 7);

TEST(AvvisoPromozioni, TheSwitchAndTheFourBanners) {
  const struct {
    const char* interruttore;  // nullptr: absent, written off and the other lines kept
    int inizio;                // days from today; no offer when 99
    int fine;
    QString testo;
    int punti;
  } casi[] = {
      {nullptr, 0, 0, "", 0},
      {"FALSO", 0, 0, "", 0},
      {"Vero", 99, 99, "", 0},
      {"Vero", -5, 5, "", 0},
      {"Vero", 0, 5, "INIZIANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE", 20},
      {"Vero", -5, 0, "TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE", 20},
      {"Vero", 0, 0, "INIZIANO/TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE", 18},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.testo.toStdString() + (caso.interruttore ? caso.interruttore : "-"));
    NegozioDiProva negozio;
    const QString setup = negozio.cartella.setup();
    writeAll(setup, "[Config]\r\nColore=1\r\n");
    if (caso.interruttore) negozio.setup("Promozioni", "AvvisoAttivo", caso.interruttore);
    if (caso.inizio != 99)
      negozio.offerta({"1", kOggi.addDays(caso.inizio), kOggi.addDays(caso.fine), "2,00"});
    const AvvisoOfferte avviso = AvvisoPromozioni(*negozio.db, setup, kOggi);
    EXPECT_EQ(avviso.testo, caso.testo);
    EXPECT_EQ(avviso.punti, caso.punti);
    if (!caso.interruttore) {
      EXPECT_EQ(LeggiINI(setup, "Promozioni", "AvvisoAttivo", "?"), "Falso");
      EXPECT_TRUE(readAll(setup).startsWith("[Config]\r\nColore=1\r\n"));
    }
  }
}

}  // namespace
}  // namespace listinova::testing
