// The label engine: sheet layout maths, the product walk and the drawing of pages.
#include "printing/easy_print.h"

#include <cmath>

#include "catalogue/modulo_ean.h"
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

QSizeF DimensioneCodice(double punti, qsizetype cifre) {
  const double corpo = punti * kTwipsPerPunto;
  return {corpo * (cifre == 13 ? kLarghezzaEAN13SuCorpo : kLarghezzaEAN8SuCorpo),
          corpo * kAltezzaBarreSuCorpo};
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
    s.testo({0, 0}, QStringLiteral("Nessun dato da stampare"), CarattereEtichetta{});
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
      const QRectF dove = cella(c, r);
      if (etichettaSingola != 0) {
        if (numeroCella == etichettaSingola + 1)
          disegnaCella(s, dove.topLeft(), nullptr, dove.width());
        continue;
      }
      const int indice = (pagina - 1) * perPagina + r * maxCol_ + c - celleSaltate_;
      if (indice < 0) continue;
      if (!conProdotti) {
        disegnaCella(s, dove.topLeft(), nullptr, dove.width());
        continue;
      }
      if (indice >= static_cast<int>(prodotti_.size())) return;
      disegnaCella(s, dove.topLeft(), &prodotti_[indice], dove.width());
    }
  }
}

void EasyPrint::disegnaCella(SuperficieEtichette& s, QPointF origine, const ProdottoEtichetta* p,
                             double larghezzaCella) {
  for (int i = 0; i < kElementiTesto; ++i) {
    const ElementoTesto& e = layout_->testi[i];
    const QPointF dove = origine + QPointF(e.left, e.top);
    QString testo = e.didascalia;
    if (p) {
      switch (i) {
        case kDescrizione:
          testo = DescrizioneEtichetta(p->descrizione);
          break;
        case kPrezzo:
          testo = PrezzoEtichetta(p->costo);
          break;
        case kPrezzoAlKg:
          testo = PrezzoAlKgEtichetta(p->costo, p->tipoMateriale);
          break;
        case kCodiceBarre:
          testo = CodiceEtichetta(*p, opzioni_);
          break;
        default:
          break;
      }
    }
    const QString cifre = i == kCodiceBarre ? DigitiDaTestoEAN(testo) : QString();
    if (cifre.isEmpty()) {
      s.testo(dove, testo, e.carattere);
      continue;
    }
    const QSizeF dimensione = DimensioneCodice(e.carattere.punti, cifre.size());
    const double altezza = dimensione.height();
    double larghezza = dimensione.width();
    // A symbol never runs into the next label; narrower bars still scan.
    const double spazio = larghezzaCella - e.left;
    if (spazio > 0 && larghezza > spazio) larghezza = spazio;
    s.codiceEAN(QRectF(dove, QSizeF(larghezza, altezza)), cifre);
  }
  if (layout_->logoVisibile && !layout_->logo.isNull())
    s.immagine(
        QRectF(origine + QPointF(layout_->logoLeft, layout_->logoTop), layout_->dimensioneLogo),
        layout_->logo);
}

bool EasyPrint::PrintDoc(int prima, int ultima, int etichettaSingola) {
  try {
    auto superficie = dispositivo_.apri();
    if (!superficie) {
      const QString guasto = dispositivo_.guasto();
      ScriviErrore(kModulo, "PrintDoc", guasto.isEmpty() ? "Stampante non disponibile" : guasto, 0);
      return false;
    }
    prima = std::max(prima, 1);
    ultima = std::min(ultima, Pages());
    for (int p = prima; p <= ultima; ++p) {
      if (p > prima) superficie->nuovaPagina();
      disegnaPagina(p, *superficie, etichettaSingola);
    }
    if (superficie->fine()) return true;
    const QString guasto = dispositivo_.guasto();
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
