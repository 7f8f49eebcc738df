// What the offer panel computes: the promotional price from a discount, the discount from a
// typed price, and the checks of "CONFERMA". No store, no window.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "platform/money.h"
#include "platform/prompts.h"

namespace listinova {

enum class TipoSconto { Valore = 0, Percentuale = 1 };

// The caption beside the discount box: "di quanti €" or "quanta %".
QString EtichettaSconto(TipoSconto tipo);

// The product's selling price as the list shows it ("Prz. V"); an empty or unreadable text
// counts as 0.
Money PrezzoBase(const QString& testoPrezzo);

struct PrezzoCalcolato {
  Money prezzo;
  QString testo;  // two decimals, Italian grouping: "2,25", "-0,50"
  // The price came out below zero: the discount cannot stand.
  bool scontoDaAzzerare = false;
};

// The discount box applied to the base price: "Valore" subtracts it, "%" takes that share
// off. Nothing when the discount box is empty or not a number.
std::optional<PrezzoCalcolato> CalcolaPrezzoScontato(Money base, const QString& sconto,
                                                     TipoSconto tipo);

// What an offer price takes off the base price, in money and in percent ("0,19" and "31,67",
// at most two decimals); the percentage is "0" on a base price of 0.
struct ScontoEffettivo {
  QString valore;
  QString percentuale;
};
ScontoEffettivo ScontoDiPrezzo(Money base, Money offerta);

// A typed promotional price turned into a money discount ("0,50"). Nothing when the price box
// is empty, just "," or not a number.
std::optional<QString> CalcolaScontoDaPrezzo(Money base, const QString& prezzo);

// The period of the date pickers: an empty optional is a cleared picker, an invalid date one
// holding something that is not a date.
struct PeriodoOfferta {
  std::optional<QDate> dal;
  std::optional<QDate> al;
};

enum class EsitoConferma {
  Valida,
  NessunPrezzo,
  DateVuote,
  DalNonValida,
  AlNonValida,
  AlPrimaDiDal,
  DalNelPassato,
};

// The checks of "CONFERMA" in their order; the first that fails decides.
EsitoConferma ControllaConferma(const QString& prezzo, const PeriodoOfferta& periodo,
                                const QDate& oggi);

struct MessaggioConferma {
  QString testo;
  platform::Icon icona = platform::Icon::None;
};

// What the operator is told for a refused confirmation (empty for Valida).
MessaggioConferma MessaggioPerEsito(EsitoConferma esito);

}  // namespace listinova
