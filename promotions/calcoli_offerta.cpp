#include "promotions/calcoli_offerta.h"

namespace listinova {
namespace {

constexpr std::int64_t kCento = 100;

// a x b / (100 x scale), rounded half away from zero, in whole integers: a percentage of a
// price stays exact (2,50 less 10 % is 2,25, not 2,2499999).
std::int64_t quotaPercentuale(std::int64_t prezzo, std::int64_t percento) {
  const __int128 prodotto = static_cast<__int128>(prezzo) * percento;
  const __int128 divisore = static_cast<__int128>(kCento) * Money::kScale;
  __int128 quoziente = prodotto / divisore;
  const __int128 resto = prodotto % divisore;
  if (2 * (resto < 0 ? -resto : resto) >= divisore) quoziente += prodotto < 0 ? -1 : 1;
  return static_cast<std::int64_t>(quoziente);
}

}  // namespace

QString EtichettaSconto(TipoSconto tipo) {
  return tipo == TipoSconto::Percentuale ? QStringLiteral("quanta %")
                                         : QStringLiteral("di quanti €");
}

Money PrezzoBase(const QString& testoPrezzo) {
  return Money::parse(testoPrezzo.trimmed()).value_or(Money());
}

std::optional<PrezzoCalcolato> CalcolaPrezzoScontato(Money base, const QString& sconto,
                                                     TipoSconto tipo) {
  if (sconto.trimmed().isEmpty()) return std::nullopt;
  const std::optional<Money> valore = Money::parse(sconto.trimmed());
  if (!valore) return std::nullopt;
  const Money riduzione = tipo == TipoSconto::Valore
                              ? *valore
                              : Money::fromUnits(quotaPercentuale(base.units(), valore->units()));
  PrezzoCalcolato risultato;
  risultato.prezzo = (base - riduzione).roundedTo(2);
  risultato.testo = risultato.prezzo.toItalian(2, true);
  risultato.scontoDaAzzerare = risultato.prezzo < Money();
  return risultato;
}

ScontoEffettivo ScontoDiPrezzo(Money base, Money offerta) {
  const Money riduzione = base - offerta;
  const Money percentuale =
      base == Money() ? Money()
                      : Money::fromUnits(riduzione.units() * kCento).dividedBy(base.toDouble());
  // A percentage reads as typed: "10", "12,5", "31,67".
  QString percento = percentuale.roundedTo(2).toItalian(2, true);
  while (percento.endsWith(u'0')) percento.chop(1);
  if (percento.endsWith(u',')) percento.chop(1);
  return {riduzione.roundedTo(2).toItalian(2, true), percento};
}

std::optional<QString> CalcolaScontoDaPrezzo(Money base, const QString& prezzo) {
  const QString testo = prezzo.trimmed();
  if (testo.isEmpty() || testo == u",") return std::nullopt;
  const std::optional<Money> digitato = Money::parse(testo);
  if (!digitato) return std::nullopt;
  return (base - *digitato).roundedTo(2).toItalian(2, true);
}

EsitoConferma ControllaConferma(const QString& prezzo, const PeriodoOfferta& periodo,
                                const QDate& oggi) {
  if (prezzo.trimmed().isEmpty()) return EsitoConferma::NessunPrezzo;
  if (!periodo.dal && !periodo.al) return EsitoConferma::DateVuote;
  if (periodo.dal && !periodo.dal->isValid()) return EsitoConferma::DalNonValida;
  if (periodo.al && !periodo.al->isValid()) return EsitoConferma::AlNonValida;
  if (periodo.dal && periodo.al && *periodo.al < *periodo.dal) return EsitoConferma::AlPrimaDiDal;
  // A period needs both ends to be saved; one left empty counts as a date to check.
  if (!periodo.dal || !periodo.al) return EsitoConferma::DateVuote;
  if (*periodo.dal < oggi) return EsitoConferma::DalNelPassato;
  return EsitoConferma::Valida;
}

MessaggioConferma MessaggioPerEsito(EsitoConferma esito) {
  using platform::Icon;
  switch (esito) {
    case EsitoConferma::Valida:
      return {};
    case EsitoConferma::NessunPrezzo:
      return {QStringLiteral(
                  "Attenzione nessun prezzo promozionale calcolato - Impossibile continuare"),
              Icon::Information};
    case EsitoConferma::DateVuote:
      return {QStringLiteral("Verificare le date per il periodo di promozione"), Icon::Exclamation};
    case EsitoConferma::DalNonValida:
    case EsitoConferma::AlNonValida:
      return {QStringLiteral("Data non Valida!"), Icon::Exclamation};
    case EsitoConferma::AlPrimaDiDal:
      return {QStringLiteral("Data 'DAL' più RECENTE di quella 'AL'!Operazione non Valida"),
              Icon::Exclamation};
    case EsitoConferma::DalNelPassato:
      return {QStringLiteral("Verifica l'impostazione delle date"), Icon::None};
  }
  return {};
}

}  // namespace listinova
