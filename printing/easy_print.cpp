// The label engine: sheet layout maths, the product walk and the drawing of pages.
#include "printing/easy_print.h"

#include <cmath>

#include "catalogue/modulo_ean.h"
#include "printing/adatta_cella.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

constexpr char kModulo[] = "EasyPrint";
enum Margine { kSopra = 0, kSotto = 1, kSinistra = 2, kDestra = 3 };

int Arrotondato16(double n) {
  return static_cast<int>(std::clamp(n, 0.0, double(kMassimoEtichette)));
}

}  // namespace

double TwipsPerUnita(int scaleMode) {
  switch (scaleMode) {
    case kTwips:
      return 1;
    case kPollici:
      return 1440;
    case kMillimetri:
      return 56.7;
    case kCentimetri:
      return 567;
    default:
      return 0;
  }
}

EasyPrint::EasyPrint(DispositivoEtichette& dispositivo) : dispositivo_(dispositivo) { ricalcola(); }

double EasyPrint::inTwips(double valore) const { return valore * TwipsPerUnita(scaleMode_); }

double EasyPrint::daTwips(double twips) const {
  const double fattore = TwipsPerUnita(scaleMode_);
  return fattore == 0 ? 0 : twips / fattore;
}

void EasyPrint::setScaleMode(int modo) {
  if (modo == scaleMode_) return;
  scaleMode_ = modo;
  for (size_t i = 0; i < margini_.size(); ++i) margini_[i] = daTwips(marginiTwips_[i]);
}

void EasyPrint::setMargine(int quale, double valore) {
  if (margini_[quale] == valore) return;
  margini_[quale] = valore;
  marginiTwips_[quale] = inTwips(valore);
}

void EasyPrint::setLabelDistance(double distanza) {
  labelDistance_ = distanza;
  distanzaColonne_ = distanzaRighe_ = distanza;
}

void EasyPrint::setDistanze(double traColonne, double traRighe) {
  distanzaColonne_ = traColonne;
  distanzaRighe_ = traRighe;
}

void EasyPrint::setMaxRow(int righe) {
  if (righe <= 0 || righe * maxCol_ > kMassimoEtichettePerFoglio) return;
  maxRow_ = righe;
}

void EasyPrint::setMaxCol(int colonne) {
  if (colonne <= 0 || colonne * maxRow_ > kMassimoEtichettePerFoglio) return;
  maxCol_ = colonne;
}

void EasyPrint::setCelleSaltate(int n) { celleSaltate_ = std::clamp(n, 0, maxCol_ * maxRow_ - 1); }

void EasyPrint::setLabelCopies(int copie) {
  labelCopies_ = std::clamp(copie, 0, kMassimoEtichette);
  if (!selezione_) return;
  SelezioneEtichette esito = selezione_(contesto_);
  contesto_ = esito.contesto;
  prodotti_ = std::move(esito.prodotti);
  if (!prodotti_.empty()) labelCopies_ = Arrotondato16(double(prodotti_.size()));
}

void EasyPrint::ricalcola() {
  const QSizeF pagina = dispositivo_.paginaTwips();
  stampabileLarghezza_ = pagina.width() - marginiTwips_[kSinistra] - marginiTwips_[kDestra];
  const double stampabileAltezza = pagina.height() - marginiTwips_[kSopra] - marginiTwips_[kSotto];
  gapColonneTwips_ = inTwips(distanzaColonne_);
  gapRigheTwips_ = inTwips(distanzaRighe_);
  larghezzaTwips_ = (stampabileLarghezza_ - (maxCol_ - 1) * gapColonneTwips_) / maxCol_;
  altezzaTwips_ = (stampabileAltezza - (maxRow_ - 1) * gapRigheTwips_) / maxRow_;
}

double EasyPrint::LabelWidth() {
  ricalcola();
  return daTwips(larghezzaTwips_);
}

double EasyPrint::LabelHeigth() {
  ricalcola();
  return daTwips(altezzaTwips_);
}

int EasyPrint::Pages() {
  const int perPagina = maxCol_ * maxRow_;
  return (labelCopies_ + celleSaltate_ + perPagina - 1) / perPagina;
}

QRectF EasyPrint::cella(int colonna, int riga) {
  ricalcola();
  return {marginiTwips_[kSinistra] + colonna * (larghezzaTwips_ + gapColonneTwips_),
          marginiTwips_[kSopra] + riga * (altezzaTwips_ + gapRigheTwips_), larghezzaTwips_,
          altezzaTwips_};
}

void EasyPrint::disegnaPagina(int pagina, SuperficieEtichette& s, int etichettaSingola) {
  if (!layout_) {
    s.testo({QPointF(0, 0), paginaTwips()}, QStringLiteral("Nessun dato da stampare"),
            CarattereEtichetta{});
    return;
  }
  ricalcola();
  if (larghezzaTwips_ > stampabileLarghezza_ || larghezzaTwips_ <= 0 || altezzaTwips_ <= 0) return;
  const int perPagina = maxCol_ * maxRow_;
  const int celle = labelCopies_ + celleSaltate_;
  const int righeTotali = (celle + maxCol_ - 1) / maxCol_;
  const int righe =
      std::clamp(pagina < Pages() ? maxRow_ : righeTotali - maxRow_ * (pagina - 1), 0, maxRow_);
  int numero = (pagina - 1) * perPagina + labelInitCounter_ + 1;
  const bool conProdotti = contesto_ == kContestoToolbar && !prodotti_.empty();
  for (int r = 0; r < righe; ++r) {
    for (int c = 0; c < maxCol_; ++c) {
      const int numeroCella = numero++;
      const QRectF dove = cella(c, r).intersected(dispositivo_.areaStampabileTwips());
      if (etichettaSingola != 0) {
        if (numeroCella == etichettaSingola + 1) disegnaCella(s, dove, nullptr);
        continue;
      }
      const int indice = (pagina - 1) * perPagina + r * maxCol_ + c - celleSaltate_;
      if (indice < 0) continue;
      if (!conProdotti) {
        disegnaCella(s, dove, nullptr);
        continue;
      }
      if (indice >= static_cast<int>(prodotti_.size())) return;
      disegnaCella(s, dove, &prodotti_[indice]);
    }
  }
}

void EasyPrint::disegnaCella(SuperficieEtichette& s, const QRectF& cella,
                             const ProdottoEtichetta* p) {
  ContenutoCella contenuto;
  for (int i = 0; i < kElementiTesto; ++i) contenuto.testi[i] = layout_->testi[i].didascalia;
  contenuto.cifre = DigitiDaTestoEAN(contenuto.testi[kCodiceBarre]);
  if (!contenuto.cifre.isEmpty()) contenuto.testi[kCodiceBarre] = contenuto.cifre;
  if (p) {
    const QVariant prezzo = p->prezzoOfferta ? QVariant(p->prezzoOfferta->toDouble()) : p->costo;
    contenuto.testi[kDescrizione] = DescrizioneEtichetta(p->descrizione);
    contenuto.testi[kPrezzo] = PrezzoEtichetta(prezzo);
    contenuto.testi[kPrezzoAlKg] = PrezzoAlKgEtichetta(prezzo, p->tipoMateriale);
    const CodiceStampato codice = CodiceDaStampare(*p, opzioni_);
    contenuto.testi[kCodiceBarre] = codice.testo;
    contenuto.cifre = codice.cifre;
    if (codice.errato) annotaCodiceErrato(*p, codice.testo);
    contenuto.sottoIlPrezzo = PrezzoPrecedenteEtichetta(*p);
  }
  const CellaAdattata adattata = AdattaCella(*layout_, cella, contenuto);
  if (adattata.barreNonEntrano) barreNonEntrano_ = true;
  for (const PezzoEtichetta& pezzo : adattata.pezzi) {
    switch (pezzo.tipo) {
      case PezzoEtichetta::kTesto:
        s.testo(pezzo.area, pezzo.testo, pezzo.carattere);
        break;
      case PezzoEtichetta::kBarre:
        s.codiceEAN(pezzo.area, pezzo.cifre);
        break;
      case PezzoEtichetta::kImmagine:
        s.immagine(pezzo.area, layout_->logo);
        break;
    }
  }
}

void EasyPrint::annotaCodiceErrato(const ProdottoEtichetta& p, const QString& codice) {
  const QString riga = codice + " " + DescrizioneEtichetta(p.descrizione);
  if (!codiciErrati_.contains(riga)) codiciErrati_ << riga;
}

void EasyPrint::azzeraAvvisi() {
  barreNonEntrano_ = false;
  codiciErrati_.clear();
}

QStringList EasyPrint::avvisi() const {
  QStringList testi;
  if (barreNonEntrano_) testi << kAvvisoBarreNonEntrano;
  if (!codiciErrati_.isEmpty())
    testi << kAvvisoCodiciErrati + "\n" + codiciErrati_.join(QStringLiteral("\n"));
  return testi;
}

bool EasyPrint::PrintDoc(int prima, int ultima, int etichettaSingola) {
  return stampaSu(dispositivo_, prima, ultima, etichettaSingola);
}

bool EasyPrint::stampaSu(DispositivoEtichette& dispositivo, int prima, int ultima,
                         int etichettaSingola) {
  try {
    auto superficie = dispositivo.apri();
    if (!superficie) {
      const QString guasto = dispositivo.guasto();
      ScriviErrore(kModulo, "PrintDoc", guasto.isEmpty() ? "Stampante non disponibile" : guasto, 0);
      return false;
    }
    azzeraAvvisi();
    prima = std::max(prima, 1);
    ultima = std::min(ultima, Pages());
    for (int p = prima; p <= ultima; ++p) {
      if (p > prima) superficie->nuovaPagina();
      disegnaPagina(p, *superficie, etichettaSingola);
    }
    if (superficie->fine()) return true;
    const QString guasto = dispositivo.guasto();
    ScriviErrore(kModulo, "PrintDoc",
                 guasto.isEmpty() ? "La stampante ha rifiutato il documento" : guasto, 0);
  } catch (const std::exception& errore) {
    ScriviErrore(kModulo, "PrintDoc", QString::fromUtf8(errore.what()), 0);
  }
  return false;
}

void EasyPrint::Preview() {
  if (apriAnteprima_) apriAnteprima_(*this);
}

}  // namespace listinova
