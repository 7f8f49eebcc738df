#include "promotions/pannello_promozione.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/prompts.h"
#include "promotions/offerte.h"
#include "promotions/prezzo_precedente.h"
#include "startup/error_log.h"
#include "startup/filtro_tasti.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::db::DatabaseError;

constexpr char kModulo[] = "Magazzino";
// The highlight of the discount box while it has the focus.
const QColor kGialloChiaro{255, 255, 192};

void registraErrore(const char* procedura, const std::exception& errore) {
  if (const auto* db = dynamic_cast<const DatabaseError*>(&errore))
    ScriviErrore(kModulo, procedura, db->description(), db->code());
  else
    ScriviErrore(kModulo, procedura, QString::fromUtf8(errore.what()), 0);
}

void coloraSfondo(QLineEdit* campo, const QColor& colore) {
  QPalette colori = campo->palette();
  colori.setColor(QPalette::Base, colore);
  campo->setPalette(colori);
}

QPushButton* pulsante(const char* nome, const QString& testo) {
  auto* p = new QPushButton(testo);
  p->setObjectName(nome);
  p->setAutoDefault(false);
  return p;
}

}  // namespace

PannelloPromozione::PannelloPromozione(platform::db::Database& db, platform::Prompts& prompts,
                                       platform::Clock& clock, Collegamenti collegamenti,
                                       QWidget* parent)
    : QGroupBox(QStringLiteral("PROMOZIONE"), parent),
      db_(db),
      prompts_(prompts),
      clock_(clock),
      collegamenti_(std::move(collegamenti)) {
  setObjectName("frPromozione");
  lblProdotto_ = new QLabel;
  lblProdotto_->setObjectName("lblProdottoPromozione");
  QFont grassetto = lblProdotto_->font();
  grassetto.setBold(true);
  lblProdotto_->setFont(grassetto);

  const QDate oggi = clock_.now().date();
  MaskDal_ = new QDateEdit(oggi);
  MaskDal_->setObjectName("MaskDal");
  MaskAl_ = new QDateEdit(oggi);
  MaskAl_->setObjectName("MaskAl");
  for (QDateEdit* data : {MaskDal_, MaskAl_}) {
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    data->setCalendarPopup(true);
  }

  optTipoSconto_ = new QButtonGroup(this);
  optTipoSconto_->setObjectName("optTipoSconto");
  auto* valore = new QRadioButton(QStringLiteral("Valore"));
  valore->setObjectName("optTipoSconto0");
  auto* percento = new QRadioButton(QStringLiteral("%"));
  percento->setObjectName("optTipoSconto1");
  optTipoSconto_->addButton(valore, static_cast<int>(TipoSconto::Valore));
  optTipoSconto_->addButton(percento, static_cast<int>(TipoSconto::Percentuale));

  Label5_ = new QLabel(EtichettaSconto(TipoSconto::Valore));
  Label5_->setObjectName("Label5");
  Label5_->setMinimumWidth(Label5_->fontMetrics().horizontalAdvance("di quanti €  "));
  txtSconto_ = new QLineEdit;
  txtSconto_->setObjectName("txtSconto");
  txtPrezzoScontato_ = new QLineEdit;
  txtPrezzoScontato_->setObjectName("txtPrezzoScontato");
  for (QLineEdit* campo : {txtSconto_, txtPrezzoScontato_}) {
    campo->setMaximumWidth(90);
    campo->setAlignment(Qt::AlignRight);
    FiltroTasti::applica(campo, FiltroTasti::kDecimale);
    campo->installEventFilter(this);
  }
  lblPrezzoPiuBasso_ = new QLabel;
  lblPrezzoPiuBasso_->setObjectName("lblPrezzoPiuBasso");
  lblPrezzoPiuBasso_->setToolTip(
      QStringLiteral("Il prezzo più basso dei 30 giorni prima dell'inizio dell'offerta, da "
                     "indicare accanto al prezzo ridotto"));

  lblScontoEffettivo_ = new QLabel;
  lblScontoEffettivo_->setObjectName("lblScontoEffettivo");
  lblScontoEffettivo_->setToolTip(
      QStringLiteral("Quanto il prezzo scontato toglie al prezzo di vendita attuale"));

  cmdConfermaPromozione_ = pulsante("cmdConfermaPromozione", QStringLiteral("CONFERMA"));
  cmdAnnullaPromozione_ = pulsante("cmdAnnullaPromozione", QStringLiteral("ANNULLA - CHIUDI"));
  cmdVediTutteLePromozioni_ =
      pulsante("cmdVediTutteLePromozioni", QStringLiteral("Tutte le Promozioni DAL"));

  auto* griglia = new QGridLayout(this);
  griglia->addWidget(lblProdotto_, 0, 0, 1, 10);
  griglia->addWidget(new QLabel(QStringLiteral("DAL")), 1, 0);
  griglia->addWidget(MaskDal_, 1, 1);
  griglia->addWidget(new QLabel(QStringLiteral("AL")), 2, 0);
  griglia->addWidget(MaskAl_, 2, 1);
  griglia->addWidget(valore, 1, 2);
  griglia->addWidget(percento, 2, 2);
  griglia->addWidget(Label5_, 1, 3);
  griglia->addWidget(txtSconto_, 1, 4);
  griglia->addWidget(new QLabel(QStringLiteral("Prezzo Scontato")), 2, 3);
  griglia->addWidget(txtPrezzoScontato_, 2, 4);
  // Each figure on the row of its own caption.
  griglia->addWidget(new QLabel(QStringLiteral("Prezzo più basso 30 gg")), 1, 5);
  griglia->addWidget(lblPrezzoPiuBasso_, 1, 6);
  griglia->addWidget(new QLabel(QStringLiteral("Sconto")), 2, 5);
  griglia->addWidget(lblScontoEffettivo_, 2, 6);
  griglia->addWidget(cmdConfermaPromozione_, 1, 7);
  griglia->addWidget(cmdAnnullaPromozione_, 2, 7);
  griglia->addWidget(cmdVediTutteLePromozioni_, 1, 8);
  griglia->setColumnStretch(9, 1);

  connect(optTipoSconto_, &QButtonGroup::idClicked, this, [this](int indice) {
    Label5_->setText(EtichettaSconto(static_cast<TipoSconto>(indice)));
    if (!calcoloDaPrezzo_) CalcolaPrezzoScontato();
  });
  // The price follows the discount as it is typed: the shop sees it at once.
  connect(txtSconto_, &QLineEdit::textEdited, this, [this] {
    if (!calcoloDaPrezzo_) CalcolaPrezzoScontato();
  });
  // Only a price the operator typed becomes a money discount: the focus passing through the
  // box leaves a typed percentage as it is.
  connect(txtPrezzoScontato_, &QLineEdit::textEdited, this, [this] { prezzoDigitato_ = true; });
  connect(txtPrezzoScontato_, &QLineEdit::textChanged, this, [this] { mostraScontoEffettivo(); });
  connect(txtPrezzoScontato_, &QLineEdit::returnPressed, this,
          [this] { cmdConfermaPromozione_->setFocus(); });
  connect(MaskDal_, &QDateEdit::dateChanged, this, [this] { aggiornaPrezzoPrecedente(); });
  connect(cmdConfermaPromozione_, &QPushButton::clicked, this,
          [this] { cmdConfermaPromozione_Click(); });
  connect(cmdAnnullaPromozione_, &QPushButton::clicked, this,
          [this] { cmdAnnullaPromozione_Click(); });
  connect(cmdVediTutteLePromozioni_, &QPushButton::clicked, this, [this] {
    calcoloDaPrezzo_ = false;
    emit elencoRichiesto(MaskDal_->date());
  });
}

void PannelloPromozione::cmdPromozioni_Click() {
  const ProdottoInOfferta selezionato = collegamenti_.prodottoSelezionato();
  // Open on another product, the panel moves to it rather than closing.
  if (isVisible() && selezionato.codice == prodotto_.codice) {
    hide();
    return;
  }
  prodotto_ = selezionato;
  prezzoDigitato_ = false;
  lblProdotto_->setText(prodotto_.codice.isEmpty()
                            ? QStringLiteral("Nessun prodotto selezionato")
                            : QStringLiteral("Cod %1 - %2 - prezzo %3 €")
                                  .arg(prodotto_.codice, prodotto_.descrizione,
                                       PrezzoBase(prodotto_.prezzo).toItalian()));
  scegliTipo(TipoSconto::Valore);
  show();
  try {
    CaricaOfferta(prodotto_.codice);
  } catch (const std::exception& errore) {
    registraErrore("CaricaOfferta", errore);
  }
  aggiornaPrezzoPrecedente();
  txtSconto_->setFocus();
}

void PannelloPromozione::CaricaOfferta(const QString& codice) {
  const std::optional<Offerta> offerta =
      codice.isEmpty() ? std::nullopt : listinova::CaricaOfferta(db_, codice);
  if (!offerta) {
    txtSconto_->clear();
    scegliTipo(TipoSconto::Percentuale);
    txtPrezzoScontato_->clear();
    return;
  }
  MaskDal_->setDate(offerta->dal);
  MaskAl_->setDate(offerta->al);
  scegliTipo(offerta->tipo);
  txtPrezzoScontato_->setText(offerta->prezzo);
  // The stored price decides; the discount is what it takes off today's selling price, which
  // may have changed since the offer was made.
  const ScontoEffettivo sconto =
      ScontoDiPrezzo(PrezzoBase(prodotto_.prezzo), PrezzoBase(offerta->prezzo));
  txtSconto_->setText(offerta->tipo == TipoSconto::Valore ? sconto.valore : sconto.percentuale);
}

void PannelloPromozione::mostraScontoEffettivo() {
  const QString prezzo = txtPrezzoScontato_->text().trimmed();
  const std::optional<Money> offerta = Money::parse(prezzo);
  if (prodotto_.codice.isEmpty() || !offerta) {
    lblScontoEffettivo_->clear();
    return;
  }
  const ScontoEffettivo sconto = ScontoDiPrezzo(PrezzoBase(prodotto_.prezzo), *offerta);
  lblScontoEffettivo_->setText(sconto.valore + QStringLiteral(" € - ") + sconto.percentuale +
                               QStringLiteral(" %"));
}

void PannelloPromozione::scegliTipo(TipoSconto tipo) {
  optTipoSconto_->button(static_cast<int>(tipo))->setChecked(true);
  Label5_->setText(EtichettaSconto(tipo));
}

TipoSconto PannelloPromozione::tipo() const {
  return optTipoSconto_->checkedId() == static_cast<int>(TipoSconto::Percentuale)
             ? TipoSconto::Percentuale
             : TipoSconto::Valore;
}

void PannelloPromozione::CalcolaPrezzoScontato() {
  if (prodotto_.codice.isEmpty()) return;
  const auto prezzo =
      listinova::CalcolaPrezzoScontato(PrezzoBase(prodotto_.prezzo), txtSconto_->text(), tipo());
  if (!prezzo) return;
  txtPrezzoScontato_->setText(prezzo->testo);
  if (!prezzo->scontoDaAzzerare) return;
  // A discount above the price cannot stand: it goes back to 0 and the price with it, so a
  // negative price is never offered for saving.
  txtSconto_->setText(QStringLiteral("0"));
  if (const auto pieno = listinova::CalcolaPrezzoScontato(PrezzoBase(prodotto_.prezzo),
                                                          txtSconto_->text(), tipo()))
    txtPrezzoScontato_->setText(pieno->testo);
}

void PannelloPromozione::CalcolaScontoDaPrezzo() {
  const QString prezzo = txtPrezzoScontato_->text().trimmed();
  if (!prezzoDigitato_ || prezzo.isEmpty() || prezzo == u",") return;
  prezzoDigitato_ = false;
  calcoloDaPrezzo_ = true;
  scegliTipo(TipoSconto::Valore);
  if (!prodotto_.codice.isEmpty())
    if (const auto sconto = listinova::CalcolaScontoDaPrezzo(PrezzoBase(prodotto_.prezzo), prezzo))
      txtSconto_->setText(*sconto);
  calcoloDaPrezzo_ = false;
}

void PannelloPromozione::aggiornaPrezzoPrecedente() {
  if (prodotto_.codice.isEmpty()) {
    lblPrezzoPiuBasso_->clear();
    return;
  }
  try {
    const auto prezzo = PrezzoPiuBasso30gg(db_, prodotto_.codice, MaskDal_->date());
    lblPrezzoPiuBasso_->setText(prezzo ? prezzo->toItalian() + QStringLiteral(" €") : QString());
  } catch (const std::exception& errore) {
    registraErrore("PrezzoPiuBasso30gg", errore);
  }
}

void PannelloPromozione::cmdConfermaPromozione_Click() {
  const QDate oggi = clock_.now().date();
  const EsitoConferma esito =
      ControllaConferma(txtPrezzoScontato_->text(), {MaskDal_->date(), MaskAl_->date()}, oggi);
  if (esito != EsitoConferma::Valida) {
    const MessaggioConferma messaggio = MessaggioPerEsito(esito);
    prompts_.ask({messaggio.testo, Globali().TitoloProgramma, platform::Buttons::Ok,
                  messaggio.icona, std::nullopt});
    if (esito == EsitoConferma::DalNonValida) MaskDal_->setDate(oggi);
    if (esito == EsitoConferma::AlNonValida) {
      MaskAl_->setDate(oggi);
      MaskAl_->setFocus();
    } else if (esito != EsitoConferma::NessunPrezzo) {
      MaskDal_->setFocus();
    }
    return;
  }
  if (prodotto_.codice.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    SalvaOfferta(db_, {prodotto_.codice, MaskDal_->date(), MaskAl_->date(), tipo(),
                       txtSconto_->text(), txtPrezzoScontato_->text()});
    if (txtSconto_->text().trimmed().isEmpty()) txtSconto_->setText(QStringLiteral("0"));
  } catch (const std::exception& errore) {
    registraErrore("SalvaOfferta", errore);
  }
  calcoloDaPrezzo_ = false;
  QApplication::restoreOverrideCursor();
  tornaAlBarCode();
}

void PannelloPromozione::cmdAnnullaPromozione_Click() {
  hide();
  calcoloDaPrezzo_ = false;
  tornaAlBarCode();
}

void PannelloPromozione::tornaAlBarCode() {
  if (collegamenti_.tornaAlBarCode) collegamenti_.tornaAlBarCode();
}

bool PannelloPromozione::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtSconto_) {
    if (event->type() == QEvent::FocusIn) {
      coloraSfondo(txtSconto_, kGialloChiaro);
      // After the focus event, or the click that gave the focus would undo the selection.
      QMetaObject::invokeMethod(txtSconto_, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut) {
      coloraSfondo(txtSconto_, Qt::white);
    }
  } else if (watched == txtPrezzoScontato_ && event->type() == QEvent::FocusOut) {
    CalcolaScontoDaPrezzo();
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace listinova
