// What each text element of a label prints for one product.
#include "printing/testi_etichetta.h"

#include <QLocale>
#include <cmath>

#include "catalogue/modulo_ean.h"

namespace listinova {
namespace {

constexpr double kGrammiPerKg = 1000.0;

// A stored amount or content, with "," or "." as the decimal point; nullopt when not a number.
std::optional<double> Numero(const QVariant& valore) {
  if (valore.isNull() || !valore.isValid()) return std::nullopt;
  QString testo = valore.toString().trimmed();
  testo.replace(',', '.');
  bool ok = false;
  const double n = testo.toDouble(&ok);
  return ok && std::isfinite(n) ? std::optional<double>(n) : std::nullopt;
}

}  // namespace

QString DueDecimali(double valore) {
  // Half away from zero, as money is rounded everywhere else.
  const double arrotondato = std::round(valore * 100.0) / 100.0;
  return QLocale(QLocale::Italian, QLocale::Italy).toString(arrotondato, 'f', 2);
}

QString DescrizioneEtichetta(const QVariant& descrizione) {
  if (descrizione.isNull()) return {};
  return descrizione.toString().left(kLunghezzaDescrizione).toUpper();
}

QString PrezzoEtichetta(const QVariant& costo) {
  const auto prezzo = Numero(costo);
  return prezzo ? "€ " + DueDecimali(*prezzo) : QStringLiteral("€ ");
}

QString PrezzoAlKgEtichetta(const QVariant& costo, const QVariant& tipoMateriale) {
  const auto contenuto = Numero(tipoMateriale);
  if (!contenuto || *contenuto == 0) return {};
  const double prezzo = Numero(costo).value_or(0);
  return "€ " + DueDecimali(prezzo * kGrammiPerKg / *contenuto) + "/Kg o LT";
}

QString CodiceEtichetta(const ProdottoEtichetta& p, const OpzioniCodice& opzioni) {
  if (opzioni.vediBarcode)
    return p.barCode.isNull() ? QString() : TestoEANPerCodice(p.barCode.toString());
  if (p.codProdottoFornitore.isNull()) return {};
  const QString codice = p.codProdottoFornitore.toString();
  return opzioni.convertiInEAN ? TestoEANPerCodice(codice) : codice;
}

}  // namespace listinova
