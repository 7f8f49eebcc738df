#include "catalogue/aggiungi_materiale.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/lettore_barcode.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "startup/filtro_tasti.h"
#include "startup/icone_pulsanti.h"
#include "startup/puntatore_occupato.h"
#include "startup/var_globali.h"
#include "touch/frm_tastiera.h"

namespace listinova {

namespace {

constexpr int kAltezzaCampi = 32;
constexpr int kLarghezzaCodici = 250;
constexpr int kCaselleMinime = 10;
constexpr int kCaselleLibere = 5;
const QColor kColoreTrovato{0xff, 0xf5, 0x9d};

const QString kTitoloNuovo = QStringLiteral("Nuovo prodotto");
const QString kTitoloModifica = QStringLiteral("Modifica");

void etichetta(QGridLayout* griglia, int riga, int colonna, const QString& testo, QWidget* campo) {
  auto* label = new QLabel(testo, campo->parentWidget());
  label->setBuddy(campo);
  griglia->addWidget(label, riga, colonna);
  griglia->addWidget(campo, riga, colonna + 1);
}

QGridLayout* grigliaDi(QGroupBox* riquadro) {
  auto* griglia = new QGridLayout(riquadro);
  griglia->setHorizontalSpacing(12);
  griglia->setVerticalSpacing(8);
  griglia->setColumnStretch(1, 1);
  griglia->setColumnStretch(3, 1);
  return griglia;
}

}  // namespace

AggiungiMateriale::AggiungiMateriale(platform::db::Database& db, platform::Prompts& prompts,
                                     platform::Notice& notice, platform::SerialPort* scanner,
                                     QWidget* parent)
    : QDialog(parent), prompts_(prompts), notice_(notice), scheda_(db, prompts) {
  setObjectName(QStringLiteral("AggiungiMateriale"));
  setWindowTitle(Globali().TitoloFinestre);
  QFont carattere = font();
  carattere.setPointSize(11);
  setFont(carattere);
  QPalette tavolozza = palette();
  tavolozza.setColor(QPalette::Window, ColoreDaValore(Globali().ColoreInterfaccia));
  setPalette(tavolozza);
  setAutoFillBackground(true);

  auto* sinistra = new QVBoxLayout;
  sinistra->addWidget(costruisciDati());
  sinistra->addWidget(costruisciPrezzi());
  auto* corpo = new QHBoxLayout;
  corpo->addLayout(sinistra, 1);
  corpo->addWidget(costruisciCodici());

  auto* pulsanti = new QHBoxLayout;
  cmdConferma_ = nuovoPulsante("cmdConferma", QStringLiteral("&Conferma"), this);
  cmdAggiungi_ = nuovoPulsante("cmdAggiungi", QStringLiteral("&Aggiungi"), this);
  cmdAggiungi_->setToolTip(
      QStringLiteral("Registra il prodotto e prepara la scheda per il prossimo"));
  QPushButton* tastiera = nuovoPulsante("cmdTastiera", QStringLiteral("Tastiera"), this);
  tastiera->setToolTip(QStringLiteral("Tastiera a video per il fornitore"));
  tastiera->setHidden(!Globali().TastieraVisibile);
  cmdAnnulla_ = nuovoPulsante("cmdAnnulla", QStringLiteral("&Annulla"), this);
  pulsanti->addWidget(cmdConferma_);
  pulsanti->addWidget(cmdAggiungi_);
  pulsanti->addWidget(tastiera);
  pulsanti->addStretch();
  pulsanti->addWidget(cmdAnnulla_);

  auto* finestra = new QVBoxLayout(this);
  finestra->setContentsMargins(14, 14, 14, 14);
  finestra->setSpacing(12);
  finestra->addLayout(corpo);
  finestra->addLayout(pulsanti);

  for (QLineEdit* campo : findChildren<QLineEdit*>()) campo->setMinimumHeight(kAltezzaCampi);
  for (QComboBox* campo : findChildren<QComboBox*>()) campo->setMinimumHeight(kAltezzaCampi);

  caricaElenchi();
  for (int campo = 0; campo < kNumeroCampi; ++campo)
    mostra(static_cast<Campo>(campo), scheda_.valore(static_cast<Campo>(campo)));
  collega();

  connect(cmdConferma_, &QPushButton::clicked, this, &AggiungiMateriale::CmdConferma_Click);
  connect(cmdAggiungi_, &QPushButton::clicked, this, &AggiungiMateriale::cmdAggiungi_Click);
  connect(cmdAnnulla_, &QPushButton::clicked, this, &AggiungiMateriale::cmdAnnulla_Click);
  connect(cmdBCAlternativi_, &QPushButton::clicked, this,
          &AggiungiMateriale::cmdBCAlternativi_Click);
  connect(tastiera, &QPushButton::clicked, this, [this] {
    ApriTastiera(kModoTesto, campi_[static_cast<int>(Campo::CboFornitore)], notice_);
  });
  if (Globali().TastieraVisibile)
    TastieraAlTocco(campi_[static_cast<int>(Campo::TxtCosto)], kModoNumero, notice_);

  if (scanner) {
    lettore_ = new LettoreBarCode(*scanner, this);
    connect(lettore_, &LettoreBarCode::barCodeLetto, this, &AggiungiMateriale::barCodeLetto);
    // The operator learns here why the scanner stays silent.
    if (!lettore_->ApriPortaBarCodeProdotti(Globali().BarCode) &&
        !Globali().BarCode.porta.trimmed().isEmpty())
      prompts_.ask({scanner->errorText(), Globali().TitoloProgramma, platform::Buttons::Ok,
                    platform::Icon::Exclamation});
  }

  ImpostaIconePulsanti(this);
  setMinimumSize(1000, 620);
  NuovoProdotto();
}

QLineEdit* AggiungiMateriale::nuovaCasella(Campo campo, const char* nome, QWidget* contenitore) {
  auto* testo = new QLineEdit(contenitore);
  testo->setObjectName(QString::fromLatin1(nome));
  campi_[static_cast<int>(campo)] = testo;
  return testo;
}

QComboBox* AggiungiMateriale::nuovaCombo(Campo campo, const char* nome, bool modificabile,
                                         QWidget* contenitore) {
  auto* scelta = new QComboBox(contenitore);
  scelta->setObjectName(QString::fromLatin1(nome));
  scelta->setEditable(modificabile);
  scelta->setInsertPolicy(QComboBox::NoInsert);
  campi_[static_cast<int>(campo)] = scelta;
  return scelta;
}

// No button is the dialog's default: Enter in a box (a keyboard scanner ends every code with
// one) must not save the product.
QPushButton* AggiungiMateriale::nuovoPulsante(const char* nome, const QString& testo,
                                              QWidget* contenitore) {
  auto* bottone = new QPushButton(testo, contenitore);
  bottone->setObjectName(QString::fromLatin1(nome));
  bottone->setAutoDefault(false);
  bottone->setMinimumHeight(40);
  return bottone;
}

QWidget* AggiungiMateriale::costruisciDati() {
  frDati_ = new QGroupBox(kTitoloNuovo, this);
  frDati_->setObjectName(QStringLiteral("frDati"));
  QGridLayout* griglia = grigliaDi(frDati_);

  QLineEdit* codice = nuovaCasella(Campo::AppCodeModifica, "AppCodeModifica", frDati_);
  codice->setReadOnly(true);
  codice->setFocusPolicy(Qt::NoFocus);
  QLineEdit* barCode = nuovaCasella(Campo::LbLBarCode, "LbLBarCode", frDati_);
  barCode->setStyleSheet(
      QStringLiteral("QLineEdit { background-color: #c62828; color: white; font-weight: bold; }"));
  etichetta(griglia, 0, 0, QStringLiteral("Codice"), codice);
  etichetta(griglia, 0, 2, QStringLiteral("Codice a barre"), barCode);

  QLineEdit* descrizione = nuovaCasella(Campo::TxtDesc, "TxtDesc", frDati_);
  auto* etichettaDescrizione = new QLabel(QStringLiteral("Descrizione"), frDati_);
  etichettaDescrizione->setBuddy(descrizione);
  griglia->addWidget(etichettaDescrizione, 1, 0);
  griglia->addWidget(descrizione, 1, 1, 1, 3);

  etichetta(griglia, 2, 0, QStringLiteral("Reparto"),
            nuovaCombo(Campo::CboGenere, "CboGenere", false, frDati_));
  etichetta(griglia, 2, 2, QStringLiteral("IVA %"), nuovaCasella(Campo::txtIVA, "txtIVA", frDati_));
  etichetta(griglia, 3, 0, QStringLiteral("Fornitore"),
            nuovaCombo(Campo::CboFornitore, "CboFornitore", true, frDati_));
  etichetta(griglia, 3, 2, QStringLiteral("Cod. art. fornitore"),
            nuovaCasella(Campo::txtCodArtFornitore, "txtCodArtFornitore", frDati_));
  etichetta(griglia, 4, 0, QStringLiteral("Quantità"),
            nuovaCasella(Campo::TxtQTA, "TxtQTA", frDati_));
  etichetta(griglia, 4, 2, QStringLiteral("Minimo"),
            nuovaCasella(Campo::TxtMin, "TxtMin", frDati_));
  etichetta(griglia, 5, 0, QStringLiteral("Unità di misura"),
            nuovaCombo(Campo::txtUm, "txtUm", false, frDati_));
  etichetta(griglia, 5, 2, QStringLiteral("Peso/Conf."),
            nuovaCasella(Campo::txtPesoConf, "txtPesoConf", frDati_));
  etichetta(griglia, 6, 0, QStringLiteral("Taglia"),
            nuovaCombo(Campo::cbTaglie, "cbTaglie", true, frDati_));
  etichetta(griglia, 6, 2, QStringLiteral("Colore"),
            nuovaCombo(Campo::cbColore, "cbColore", true, frDati_));
  etichetta(griglia, 7, 0, QStringLiteral("Materiale"),
            nuovaCombo(Campo::cbMateriale, "cbMateriale", true, frDati_));

  for (Campo numerico : {Campo::txtIVA, Campo::TxtQTA, Campo::TxtMin}) {
    auto* campo = static_cast<QLineEdit*>(campi_[static_cast<int>(numerico)]);
    FiltroTasti::applica(campo, FiltroTasti::kDecimale);
    campo->setAlignment(Qt::AlignRight);
  }
  FiltroTasti::applica(static_cast<QLineEdit*>(campi_[static_cast<int>(Campo::txtPesoConf)]), 3);
  return frDati_;
}

// Three columns with the captions above the boxes: the captions are long, the amounts short.
QWidget* AggiungiMateriale::costruisciPrezzi() {
  auto* frPrezzi = new QGroupBox(QStringLiteral("Prezzi"), this);
  frPrezzi->setObjectName(QStringLiteral("frPrezzi"));
  auto* griglia = new QGridLayout(frPrezzi);
  griglia->setHorizontalSpacing(16);
  griglia->setVerticalSpacing(4);
  const auto colonna = [&](int riga, int posizione, const QString& testo, QLineEdit* campo) {
    auto* label = new QLabel(testo, frPrezzi);
    label->setBuddy(campo);
    griglia->addWidget(label, riga, posizione);
    griglia->addWidget(campo, riga + 1, posizione);
    griglia->setColumnStretch(posizione, 1);
  };

  colonna(0, 0, QStringLiteral("Costo d'acquisto (IVA escl.)"),
          nuovaCasella(Campo::txtAcquisto, "txtAcquisto", frPrezzi));
  QLineEdit* conIva = nuovaCasella(Campo::txtAcquistoConIVA, "txtAcquistoConIVA", frPrezzi);
  conIva->setReadOnly(true);
  conIva->setFocusPolicy(Qt::NoFocus);
  conIva->setAlignment(Qt::AlignRight);
  colonna(0, 1, QStringLiteral("Costo d'acquisto (IVA incl.)"), conIva);
  colonna(0, 2, QStringLiteral("Ricarico %"),
          nuovaCasella(Campo::txtRicarico, "txtRicarico", frPrezzi));
  QLineEdit* vendita = nuovaCasella(Campo::TxtCosto, "TxtCosto", frPrezzi);
  QFont grassetto = vendita->font();
  grassetto.setBold(true);
  vendita->setFont(grassetto);
  colonna(2, 0, QStringLiteral("Prezzo di vendita (IVA incl.)"), vendita);
  colonna(2, 1, QStringLiteral("Prezzo al pubblico"),
          nuovaCasella(Campo::txtPrezzoPubblico, "txtPrezzoPubblico", frPrezzi));
  colonna(2, 2, QStringLiteral("Ricarico risultante %"),
          nuovaCasella(Campo::txtRicaricoCalcolato, "txtRicaricoCalcolato", frPrezzi));
  griglia->setRowMinimumHeight(2, 28);

  for (Campo numerico : {Campo::txtAcquisto, Campo::txtRicarico, Campo::TxtCosto,
                         Campo::txtPrezzoPubblico, Campo::txtRicaricoCalcolato}) {
    auto* campo = static_cast<QLineEdit*>(campi_[static_cast<int>(numerico)]);
    FiltroTasti::applica(campo, FiltroTasti::kDecimale);
    campo->setAlignment(Qt::AlignRight);
  }
  return frPrezzi;
}

QWidget* AggiungiMateriale::costruisciCodici() {
  auto* frCodici = new QGroupBox(QStringLiteral("Codici a barre alternativi"), this);
  frCodici->setObjectName(QStringLiteral("frCodici"));
  frCodici->setFixedWidth(kLarghezzaCodici);
  auto* colonna = new QVBoxLayout(frCodici);

  lstElencoBarCode_ = new QListWidget(frCodici);
  lstElencoBarCode_->setObjectName(QStringLiteral("lstElencoBarCode"));
  lstElencoBarCode_->setSelectionMode(QAbstractItemView::NoSelection);
  lstElencoBarCode_->setFocusPolicy(Qt::NoFocus);
  colonna->addWidget(lstElencoBarCode_, 1);

  frBarCodeAlternativi_ = new QGroupBox(QStringLiteral("Modifica codici"), frCodici);
  frBarCodeAlternativi_->setObjectName(QStringLiteral("frBarCodeAlternativi"));
  auto* pannello = new QVBoxLayout(frBarCodeAlternativi_);
  auto* ricerca = new QHBoxLayout;
  lblCercaBarCode_ = new QLineEdit(frBarCodeAlternativi_);
  lblCercaBarCode_->setObjectName(QStringLiteral("lblCercaBarCode"));
  lblCercaBarCode_->setPlaceholderText(QStringLiteral("codice da cercare"));
  auto* etichettaCerca = new QLabel(QStringLiteral("Cerca"), frBarCodeAlternativi_);
  etichettaCerca->setBuddy(lblCercaBarCode_);
  ricerca->addWidget(etichettaCerca);
  ricerca->addWidget(lblCercaBarCode_, 1);
  pannello->addLayout(ricerca);

  auto* scorrimento = new QScrollArea(frBarCodeAlternativi_);
  scorrimento->setWidgetResizable(true);
  auto* elenco = new QWidget(scorrimento);
  colonnaCaselle_ = new QVBoxLayout(elenco);
  colonnaCaselle_->addStretch();
  scorrimento->setWidget(elenco);
  pannello->addWidget(scorrimento, 1);

  QPushButton* chiudi =
      nuovoPulsante("cmdChiudiBarCode", QStringLiteral("Chiudi"), frBarCodeAlternativi_);
  pannello->addWidget(chiudi);
  frBarCodeAlternativi_->setVisible(false);
  colonna->addWidget(frBarCodeAlternativi_, 3);

  cmdBCAlternativi_ =
      nuovoPulsante("cmdBCAlternativi", QStringLiteral("Bar code &alternativi"), frCodici);
  colonna->addWidget(cmdBCAlternativi_);

  connect(chiudi, &QPushButton::clicked, this, &AggiungiMateriale::chiudiBarCodeAlternativi);
  connect(lblCercaBarCode_, &QLineEdit::textChanged, this, &AggiungiMateriale::evidenziaBarCode);
  connect(lblCercaBarCode_, &QLineEdit::returnPressed, this,
          &AggiungiMateriale::primoBarCodeTrovato);
  return frCodici;
}

void AggiungiMateriale::caricaElenchi() {
  auto* unita = static_cast<QComboBox*>(campi_[static_cast<int>(Campo::txtUm)]);
  unita->addItem(QString());
  unita->addItems(SchedaProdotto::UnitaDiMisura(Globali().PercorsoSetup));
  static_cast<QComboBox*>(campi_[static_cast<int>(Campo::CboGenere)])
      ->addItems(scheda_.CaricaGeneri());
  static_cast<QComboBox*>(campi_[static_cast<int>(Campo::cbTaglie)])
      ->addItems(scheda_.CaricaTaglie());
  static_cast<QComboBox*>(campi_[static_cast<int>(Campo::cbColore)])
      ->addItems(scheda_.CaricaColori());
  aggiornaFornitori();
}

// Every save may bring a new supplier into the list.
void AggiungiMateriale::aggiornaFornitori() {
  auto* fornitori = static_cast<QComboBox*>(campi_[static_cast<int>(Campo::CboFornitore)]);
  const QSignalBlocker fermo(fornitori);
  fornitori->clear();
  fornitori->addItems(scheda_.CaricaFornitori());
  fornitori->setCurrentText(scheda_.valore(Campo::CboFornitore));
}

void AggiungiMateriale::collega() {
  scheda_.setOsservatore([this](Campo campo, const QString& testo) { mostra(campo, testo); });
  for (int indice = 0; indice < kNumeroCampi; ++indice) {
    const auto campo = static_cast<Campo>(indice);
    if (auto* testo = qobject_cast<QLineEdit*>(campi_[indice])) {
      connect(testo, &QLineEdit::textChanged, this,
              [this, campo](const QString& nuovo) { scheda_.imposta(campo, nuovo); });
    } else if (auto* scelta = qobject_cast<QComboBox*>(campi_[indice])) {
      connect(scelta, &QComboBox::currentTextChanged, this,
              [this, campo](const QString& nuovo) { scheda_.imposta(campo, nuovo); });
    }
  }
  auto* ricarico = static_cast<QLineEdit*>(campi_[static_cast<int>(Campo::txtRicaricoCalcolato)]);
  connect(ricarico, &QLineEdit::textEdited, this,
          [this](const QString& testo) { scheda_.ricaricoDigitato(testo); });
  connect(static_cast<QLineEdit*>(campi_[static_cast<int>(Campo::TxtDesc)]),
          &QLineEdit::editingFinished, this, [this] { scheda_.pulisciDescrizione(); });
  connect(static_cast<QLineEdit*>(campi_[static_cast<int>(Campo::txtAcquisto)]),
          &QLineEdit::returnPressed, this,
          [this] { campi_[static_cast<int>(Campo::txtIVA)]->setFocus(); });
}

void AggiungiMateriale::mostra(Campo campo, const QString& testo) {
  QWidget* widget = campi_[static_cast<int>(campo)];
  if (auto* casella = qobject_cast<QLineEdit*>(widget)) {
    if (casella->text() != testo) casella->setText(testo);
    return;
  }
  auto* scelta = static_cast<QComboBox*>(widget);
  if (scelta->isEditable()) {
    if (scelta->currentText() != testo) scelta->setCurrentText(testo);
    return;
  }
  int indice = scelta->findText(testo);
  // A unit the settings no longer list is kept, not lost at the next save.
  if (indice < 0 && !testo.isEmpty()) {
    scelta->addItem(testo);
    indice = scelta->count() - 1;
  }
  scelta->setCurrentIndex(indice);
}

void AggiungiMateriale::NuovoProdotto() {
  scheda_.NuovoProdotto();
  aggiornaFornitori();
  frDati_->setTitle(kTitoloNuovo);
  cmdAggiungi_->setEnabled(true);
  mostraPannello(false);
  campi_[static_cast<int>(Campo::LbLBarCode)]->setFocus();
}

bool AggiungiMateriale::PreparaPerModifica(const QString& codMateriale) {
  aggiornaFornitori();
  if (!scheda_.PreparaPerModifica(codMateriale)) return false;
  frDati_->setTitle(kTitoloModifica);
  cmdAggiungi_->setEnabled(false);
  mostraPannello(false);
  campi_[static_cast<int>(Campo::TxtDesc)]->setFocus();
  return true;
}

void AggiungiMateriale::setAggiungiAbilitato(bool abilitato) {
  cmdAggiungi_->setEnabled(abilitato);
}

bool AggiungiMateriale::salva() {
  if (scheda_.ControlloCampi() != u"Ok") {
    const auto& mancanza = scheda_.mancanza();
    prompts_.ask(
        {mancanza ? mancanza->testo : QStringLiteral("Prego verificare tutti i dati e riprovare"),
         Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Information,
         std::nullopt});
    if (mancanza) campi_[static_cast<int>(mancanza->campo)]->setFocus();
    return false;
  }
  const PuntatoreOccupato occupato;
  const QString codice = scheda_.SalvaDatiMateriale();
  if (codice.isEmpty()) return false;
  mostraElencoBarCode();
  emit prodottoSalvato(codice);
  return true;
}

void AggiungiMateriale::CmdConferma_Click() {
  const bool nuovo = !scheda_.inModifica();
  if (!salva()) return;
  if (nuovo) {
    accept();
    return;
  }
  // The editor stays on the product: it shows what was stored, and says so.
  scheda_.RicaricaSalvato();
  aggiornaFornitori();
  mostraPannello(false);
  notice_.show(QStringLiteral("Dati salvati"));
}

void AggiungiMateriale::cmdAggiungi_Click() {
  if (salva()) NuovoProdotto();
}

void AggiungiMateriale::cmdAnnulla_Click() {
  scheda_.ScartaBarCodeInSospeso();
  reject();
}

void AggiungiMateriale::cmdBCAlternativi_Click() {
  if (!scheda_.ApriBarCodeAlternativi()) return;
  preparaCaselle();
  lblCercaBarCode_->clear();
  mostraPannello(true);
  caselleBarCode_.value(scheda_.barCodeUlteriori().size())->setFocus();
}

// One box per code the product has, and some free ones for new codes.
void AggiungiMateriale::preparaCaselle() {
  qDeleteAll(caselleBarCode_);
  caselleBarCode_.clear();
  const QStringList& barCode = scheda_.barCodeUlteriori();
  const int quante = std::max<int>(kCaselleMinime, barCode.size() + kCaselleLibere);
  QWidget* elenco = colonnaCaselle_->parentWidget();
  for (int i = 0; i < quante; ++i) {
    auto* casella = new QLineEdit(barCode.value(i), elenco);
    casella->setObjectName(QStringLiteral("Casella"));
    casella->setMinimumHeight(kAltezzaCampi);
    colonnaCaselle_->insertWidget(i, casella);
    caselleBarCode_.append(casella);
    connect(casella, &QLineEdit::textChanged, this, [this] {
      QStringList voci;
      for (const QLineEdit* voce : std::as_const(caselleBarCode_)) voci.append(voce->text());
      scheda_.setBarCodeUlteriori(voci);
    });
  }
}

void AggiungiMateriale::chiudiBarCodeAlternativi() {
  scheda_.ChiudiBarCodeAlternativi();
  mostraPannello(false);
}

// The panel edits the codes the list shows: one or the other is on screen.
void AggiungiMateriale::mostraPannello(bool aperto) {
  frBarCodeAlternativi_->setVisible(aperto);
  lstElencoBarCode_->setVisible(!aperto);
  cmdBCAlternativi_->setVisible(!aperto);
  mostraElencoBarCode();
}

void AggiungiMateriale::evidenziaBarCode(const QString& cerca) {
  for (QLineEdit* casella : std::as_const(caselleBarCode_)) {
    const bool corrisponde = !cerca.isEmpty() && casella->text().contains(cerca);
    QPalette tavolozza = casella->palette();
    tavolozza.setColor(QPalette::Base,
                       corrisponde ? kColoreTrovato : palette().color(QPalette::Base));
    casella->setPalette(tavolozza);
  }
}

void AggiungiMateriale::primoBarCodeTrovato() {
  const QString cerca = lblCercaBarCode_->text();
  if (cerca.isEmpty()) return;
  for (QLineEdit* casella : std::as_const(caselleBarCode_)) {
    if (casella->text().contains(cerca)) {
      casella->setFocus();
      casella->selectAll();
      return;
    }
  }
}

void AggiungiMateriale::mostraElencoBarCode() {
  lstElencoBarCode_->clear();
  lstElencoBarCode_->addItems(scheda_.barCodeUlteriori());
}

void AggiungiMateriale::barCodeLetto(const QString& barCode) {
  scheda_.imposta(Campo::LbLBarCode, barCode);
  auto* casella = static_cast<QLineEdit*>(campi_[static_cast<int>(Campo::LbLBarCode)]);
  casella->setFocus();
  casella->selectAll();
}

}  // namespace listinova
