// The offer calculations and the checks of the confirm button, from texts in to texts out.
#include "promotions/calcoli_offerta.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace listinova {
namespace {

struct CasoPrezzo {
  const char* base;
  const char* sconto;
  TipoSconto tipo;
  std::optional<QString> prezzo;  // none: nothing computed
  bool azzera;
};

TEST(CalcoliOfferta, PriceFromDiscount) {
  const CasoPrezzo casi[] = {
      {"2,50", "10", TipoSconto::Percentuale, "2,25", false},
      {"2,50", "0,5", TipoSconto::Valore, "2,00", false},
      {"2,50", "3", TipoSconto::Valore, "-0,50", true},
      {"1,99", "33,33", TipoSconto::Percentuale, "1,33", false},  // 0,663267 off
      {"0,05", "50", TipoSconto::Percentuale, "0,03", false},     // 0,025 rounds away from 0
      {"1234,56", "10", TipoSconto::Percentuale, "1.111,10", false},
      {"", "10", TipoSconto::Percentuale, "0,00", false},  // an empty price counts as 0
      {"2,50", "100", TipoSconto::Percentuale, "0,00", false},
      {"2,50", "", TipoSconto::Valore, std::nullopt, false},
      {"2,50", ",", TipoSconto::Valore, std::nullopt, false},
  };
  for (const CasoPrezzo& caso : casi) {
    SCOPED_TRACE(std::string(caso.base) + " - " + caso.sconto);
    const auto risultato = CalcolaPrezzoScontato(PrezzoBase(caso.base), caso.sconto, caso.tipo);
    ASSERT_EQ(risultato.has_value(), caso.prezzo.has_value());
    if (!risultato) continue;
    EXPECT_EQ(risultato->testo, *caso.prezzo);
    EXPECT_EQ(risultato->scontoDaAzzerare, caso.azzera);
  }
  // Exactly, not nearly: 2,50 less 10 % is the money amount 2,25.
  EXPECT_EQ(CalcolaPrezzoScontato(PrezzoBase("2,50"), "10", TipoSconto::Percentuale)->prezzo,
            Money::fromCents(225));
}

TEST(CalcoliOfferta, DiscountFromTypedPrice) {
  const std::pair<const char*, std::optional<QString>> casi[] = {
      {"2,00", "0,50"},   {"2", "0,50"},       {"2,5", "0,00"},       {"3,00", "-0,50"},
      {"", std::nullopt}, {",", std::nullopt}, {"abc", std::nullopt},
  };
  for (const auto& [prezzo, sconto] : casi) {
    SCOPED_TRACE(prezzo);
    EXPECT_EQ(CalcolaScontoDaPrezzo(PrezzoBase("2,50"), prezzo), sconto);
  }
  EXPECT_EQ(CalcolaScontoDaPrezzo(PrezzoBase("1.500,00"), "500"), "1.000,00");
}

TEST(CalcoliOfferta, ConfirmChecksInTheirOrder) {
  const QDate oggi(2026, 12, 7);
  const QDate ieri = oggi.addDays(-1);
  const QDate domani = oggi.addDays(1);
  struct Caso {
    const char* nome;
    QString prezzo;
    PeriodoOfferta periodo;
    EsitoConferma esito;
  };
  const Caso casi[] = {
      {"no price before anything else", "", {}, EsitoConferma::NessunPrezzo},
      {"both dates empty", "2,25", {}, EsitoConferma::DateVuote},
      {"start not a date", "2,25", {QDate(), oggi}, EsitoConferma::DalNonValida},
      {"end not a date", "2,25", {oggi, QDate()}, EsitoConferma::AlNonValida},
      {"end before start", "2,25", {domani, oggi}, EsitoConferma::AlPrimaDiDal},
      {"yesterday", "2,25", {ieri, domani}, EsitoConferma::DalNelPassato},
      {"today", "2,25", {oggi, oggi}, EsitoConferma::Valida},
      {"tomorrow", "2,25", {domani, domani.addDays(6)}, EsitoConferma::Valida},
      {"end missing", "2,25", {oggi, std::nullopt}, EsitoConferma::DateVuote},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(ControllaConferma(caso.prezzo, caso.periodo, oggi), caso.esito);
  }
  EXPECT_EQ(MessaggioPerEsito(EsitoConferma::AlPrimaDiDal).testo,
            "Data 'DAL' più RECENTE di quella 'AL'!Operazione non Valida");
}

}  // namespace
}  // namespace listinova
