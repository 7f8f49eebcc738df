// "PROMOZIONE": the offer of one product, entered as a discount or as a price.
#pragma once

#include <QDate>
#include <QGroupBox>
#include <functional>

#include "promotions/calcoli_offerta.h"

class QButtonGroup;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace listinova {
namespace platform {
class Clock;
class Prompts;
namespace db {
class Database;
}
}  // namespace platform

// The product the panel works on, as the product list shows it.
struct ProdottoInOfferta {
  QString codice;
  QString descrizione;
  QString prezzo;  // "Prz. V"; empty counts as 0
};

class PannelloPromozione : public QGroupBox {
  Q_OBJECT

 public:
  struct Collegamenti {
    std::function<ProdottoInOfferta()> prodottoSelezionato;
    std::function<void()> tornaAlBarCode;  // may be empty
  };

  PannelloPromozione(platform::db::Database& db, platform::Prompts& prompts, platform::Clock& clock,
                     Collegamenti collegamenti, QWidget* parent = nullptr);

  // "PROMOZIONI": opens the panel on the selected product, or closes it.
  void cmdPromozioni_Click();
  bool calcoloDaPrezzo() const { return calcoloDaPrezzo_; }
  // Set by whoever opens the offer list.
  void setCalcoloDaPrezzo(bool valore) { calcoloDaPrezzo_ = valore; }
  const ProdottoInOfferta& prodotto() const { return prodotto_; }

 signals:
  // "Tutte le Promozioni DAL" with the start date of the panel.
  void elencoRichiesto(const QDate& dal);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CaricaOfferta(const QString& codice);
  void CalcolaPrezzoScontato();
  void CalcolaScontoDaPrezzo();
  void cmdConfermaPromozione_Click();
  void cmdAnnullaPromozione_Click();
  void scegliTipo(TipoSconto tipo);
  TipoSconto tipo() const;
  void aggiornaPrezzoPrecedente();
  void mostraScontoEffettivo();
  void tornaAlBarCode();

  platform::db::Database& db_;
  platform::Prompts& prompts_;
  platform::Clock& clock_;
  Collegamenti collegamenti_;
  ProdottoInOfferta prodotto_;
  bool calcoloDaPrezzo_ = false;
  // The price box holds a price the operator typed, not yet turned into a discount.
  bool prezzoDigitato_ = false;

  QLabel* lblProdotto_ = nullptr;
  QDateEdit* MaskDal_ = nullptr;
  QDateEdit* MaskAl_ = nullptr;
  QButtonGroup* optTipoSconto_ = nullptr;
  QLabel* Label5_ = nullptr;
  QLineEdit* txtSconto_ = nullptr;
  QLineEdit* txtPrezzoScontato_ = nullptr;
  QLabel* lblPrezzoPiuBasso_ = nullptr;
  QLabel* lblScontoEffettivo_ = nullptr;
  QPushButton* cmdConfermaPromozione_ = nullptr;
  QPushButton* cmdAnnullaPromozione_ = nullptr;
  QPushButton* cmdVediTutteLePromozioni_ = nullptr;
};

}  // namespace listinova
