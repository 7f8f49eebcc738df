// The editor's sample captions and its set-up of the label engine, shared with the
// command line.
#include "printing/configura_etichette.h"

#include <cmath>

#include "catalogue/modulo_ean.h"

namespace listinova {
namespace {

int NumeroDaCasella(const QString& testo, int predefinito) {
  const int n = testo.trimmed().toInt();
  return n > 0 ? n : predefinito;
}

}  // namespace

void ImpostaDidascalie(LayoutEtichetta& layout, const ImpostazioniEtichetta& impostazioni,
                       const QString& contesto, const RigaPerEtichetta& riga) {
  auto& t = layout.testi;
  t[kNomeNegozio].didascalia = impostazioni.nomeAttivita;
  if (contesto == kContestoGriglia) {
    t[kDescrizione].didascalia = DescrizioneEtichetta(riga.descrizione);
    t[kPrezzo].didascalia = "€ " + riga.prezzo;
    t[kPrezzoAlKg].didascalia = PrezzoAlKgEtichetta(riga.prezzo, riga.contenuto);
    // Bars only of the code as stored: a wrong last digit shows the code in plain digits.
    const bool valido = !riga.codice.isEmpty() && CodiceEANCorretto(riga.codice) == riga.codice;
    t[kCodiceBarre].didascalia = valido ? TestoEANPerCodice(riga.codice) : riga.codice;
    t[kCodiceBarre].carattere.nome = kFontCodiceBarre;
    return;
  }
  t[kDescrizione].didascalia = QStringLiteral("DES");
  t[kPrezzo].didascalia = QStringLiteral("€ PRZ");
  t[kPrezzoAlKg].didascalia = QStringLiteral("Prz/Kg o LT");
  t[kCodiceBarre].didascalia = QStringLiteral("BC");
  if (impostazioni.opzioni.convertiInEAN) {
    t[kCodiceBarre].carattere.nome = kFontCodiceBarre;
    t[kCodiceBarre].carattere.punti = kPuntiCodiceBarre;
  } else if (impostazioni.opzioni.vediBarcode) {
    t[kCodiceBarre].carattere.nome = kFontCodiceBarre;
  }
}

void ConfiguraMotore(EasyPrint& motore, const LayoutEtichetta& layout,
                     const FoglioEtichette& foglio) {
  motore.setScaleMode(kCentimetri);
  const QSizeF pagina = motore.paginaTwips();
  const QRectF stampabile = motore.areaStampabileTwips();
  const double cm = TwipsPerUnita(kCentimetri);
  const auto margine = [cm](double twips) {
    return std::max(kMarginePredefinitoCm, std::ceil(twips / cm * 100) / 100);
  };
  motore.setMarginTop(margine(stampabile.top()));
  motore.setMarginBottom(margine(pagina.height() - stampabile.bottom()));
  motore.setMarginLeft(margine(stampabile.left()));
  motore.setMarginRight(margine(pagina.width() - stampabile.right()));
  const int colonne = NumeroDaCasella(foglio.colonne, kColonnePredefinite);
  const int righe = NumeroDaCasella(foglio.righe, kRighePredefinite);
  // A smaller sheet first, so that the 255-label limit never refuses the new one.
  motore.setMaxCol(1);
  motore.setMaxRow(righe);
  motore.setMaxCol(colonne);
  motore.setLabelDistance(kDistanzaPredefinitaCm);
  if (foglio.modello) {
    motore.setMaxCol(1);
    motore.setMaxRow(foglio.modello->righe);
    ApplicaModelloFoglio(motore, *foglio.modello);
  }
  motore.setCelleSaltate(foglio.primaEtichetta - 1);
  motore.setLabelCopies(foglio.colonne.trimmed().toInt() * foglio.righe.trimmed().toInt());
  motore.setCtlCounter(kNomeNegozio);
  motore.setLabelInitCounter(1);
  motore.setObjectToPrint(&layout);
}

}  // namespace listinova
