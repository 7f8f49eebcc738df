#pragma once

#include <QString>
#include <QVariant>
#include <optional>

#include "platform/money.h"

namespace listinova {

// One product as the label engine reads it from Magazzino; null fields are invalid variants.
struct ProdottoEtichetta {
  QVariant descrizione;
  QVariant costo;
  QVariant tipoMateriale;  // net content in grams or millilitres, as text
  QVariant codProdottoFornitore;
  QVariant barCode;
  QString codMateriale;
  // The offer in force on the day of printing, and the lowest price of the 30 days before it
  // began.
  std::optional<Money> prezzoOfferta;
  std::optional<Money> prezzoPrecedente;
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
// What the barcode element prints for a product: bars only of the code as stored, never of
// another one.
struct CodiceStampato {
  QString testo;        // the digits under the bars, or the code as plain text
  QString cifre;        // the bars' digits; empty: no bars
  bool errato = false;  // an EAN-8/EAN-13 whose last digit is wrong: plain text, no bars
};
CodiceStampato CodiceDaStampare(const ProdottoEtichetta& prodotto, const OpzioniCodice& opzioni);

// "Prezzo più basso 30 gg: € 0,45" for a product on offer; empty otherwise.
QString PrezzoPrecedenteEtichetta(const ProdottoEtichetta& prodotto);

// An amount with two decimals, the Italian way: "1.234,50".
QString DueDecimali(double valore);

}  // namespace listinova
