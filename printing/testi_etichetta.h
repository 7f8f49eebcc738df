#pragma once

#include <QString>
#include <QVariant>

namespace listinova {

// One product as the label engine reads it from Magazzino; null fields are invalid variants.
struct ProdottoEtichetta {
  QVariant descrizione;
  QVariant costo;
  QVariant tipoMateriale;  // net content in grams or millilitres, as text
  QVariant codProdottoFornitore;
  QVariant barCode;
};

// [Etichetta] VediBARCODE and ConvertiCodFornitoreInEAN8.
struct OpzioniCodice {
  bool vediBarcode = false;
  bool convertiInEAN = false;
};

// Labels never show more of a description than this.
inline constexpr int kLunghezzaDescrizione = 24;

// The first 24 characters in capitals; empty for null.
QString DescrizioneEtichetta(const QVariant& descrizione);
// "€ " and the price with two decimals ("€ 2,50"); "€ " alone for null.
QString PrezzoEtichetta(const QVariant& costo);
// "€ 4,00/Kg o LT" for 500 g at 2,00; empty when the content is null, not a number or 0.
QString PrezzoAlKgEtichetta(const QVariant& costo, const QVariant& tipoMateriale);
// The barcode element: the barcode-font text of the bar code (VediBARCODE) or of the
// supplier code (ConvertiCodFornitoreInEAN8), from 8 or 13 characters only; with both off
// the supplier code as stored.
QString CodiceEtichetta(const ProdottoEtichetta& prodotto, const OpzioniCodice& opzioni);
// An amount with two decimals, the Italian way: "1.234,50".
QString DueDecimali(double valore);

}  // namespace listinova
