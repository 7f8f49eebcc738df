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

CodiceStampato CodiceDaStampare(const ProdottoEtichetta& p, const OpzioniCodice& opzioni) {
  const QVariant& fonte = opzioni.vediBarcode ? p.barCode : p.codProdottoFornitore;
  if (fonte.isNull()) return {};
  const QString codice = fonte.toString();
  if (!opzioni.vediBarcode && !opzioni.convertiInEAN) return {codice, {}, false};
  if (codice.size() != 8 && codice.size() != 13) return {};
  const QString corretto = CodiceEANCorretto(codice);
  if (corretto.isEmpty()) return {};
  return corretto == codice ? CodiceStampato{codice, codice, false}
                            : CodiceStampato{codice, {}, true};
}

QString PrezzoPrecedenteEtichetta(const ProdottoEtichetta& p) {
  if (!p.prezzoOfferta || !p.prezzoPrecedente) return {};
  return "Prezzo più basso 30 gg: € " + p.prezzoPrecedente->toItalian();
}

}  // namespace listinova
