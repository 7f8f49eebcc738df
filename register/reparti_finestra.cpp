#include "register/reparti_finestra.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "platform/db/database_error.h"
#include "platform/money.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "register/archivio_reparti.h"
#include "register/lavoro_in_corso.h"
#include "startup/error_log.h"
#include "startup/icone_pulsanti.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::db::DatabaseError;

constexpr char kModulo[] = "Reparti";
constexpr int kLatoImmagine = 96;
// Over the product list, a little smaller than it.
constexpr int kPercentualeSchermo = 92;
enum { kModifica, kAzzera, kTrasferisci };
const QStringList kFiltroImmagini{"*.bmp", "*.ico", "*.png", "*.jpg", "*.jpeg", "*.gif", "*.svg"};

// Whole or decimal, with comma or point: "10%" is not a number.
std::optional<double> numero(const QString& testo) {
  static const QRegularExpression forma(QStringLiteral("^[-+]?\\d+(?:[.,]\\d+)?$"));
  const QString t = testo.trimmed();
  if (!forma.match(t).hasMatch()) return std::nullopt;
  return QString(t).replace(u',', u'.').toDouble();
}

QString numeroItaliano(double valore) { return QString::number(valore).replace(u'.', u','); }

// `larga` takes the room left; the numbers are right-aligned, headings included.
QTreeWidget* nuovoElenco(const char* nome, const QStringList& colonne,
                         std::initializer_list<int> larghezze, std::initializer_list<int> numeriche,
                         int larga) {
  auto* elenco = new QTreeWidget;
  elenco->setObjectName(nome);
  elenco->setHeaderLabels(colonne);
  elenco->setRootIsDecorated(false);
  elenco->setUniformRowHeights(true);
  elenco->setAllColumnsShowFocus(true);
  elenco->setAlternatingRowColors(true);
  elenco->setSelectionMode(QAbstractItemView::SingleSelection);
  int colonna = 0;
  for (int larghezza : larghezze) elenco->setColumnWidth(colonna++, larghezza);
  for (int numerica : numeriche)
    elenco->headerItem()->setTextAlignment(numerica, Qt::AlignRight | Qt::AlignVCenter);
  elenco->header()->setStretchLastSection(false);
  elenco->header()->setSectionResizeMode(larga, QHeaderView::Stretch);
  return elenco;
}

QTreeWidgetItem* nuovaRiga(QTreeWidget* elenco, const QStringList& testi) {
  auto* riga = new QTreeWidgetItem(elenco, testi);
  for (int colonna = 0; colonna < testi.size(); ++colonna)
    if (const int allineamento = elenco->headerItem()->textAlignment(colonna))
      riga->setTextAlignment(colonna, Qt::Alignment(allineamento));
  return riga;
}

QString percorsoPulito(const QString& percorso) {
  return percorso.isEmpty() ? QString() : QDir::cleanPath(percorso);
}

}  // namespace

Reparti::Reparti(platform::db::Database& db, platform::Prompts& prompts, platform::Notice& notice,
                 TrasferisciReparti trasferisci, QWidget* parent)
    : QDialog(parent),
      archivio_(db),
      prompts_(prompts),
      notice_(notice),
      trasferisci_(std::move(trasferisci)),
      cartellaIcone_(Globali().CartellaProgramma + QStringLiteral("/Icone")) {
  setObjectName(kModulo);
  setWindowTitle(QStringLiteral("- Gestione Reparti -"));
  setAutoFillBackground(true);
  QPalette colori = palette();
  colori.setColor(QPalette::Window, ColoreDaValore(Globali().ColoreInterfaccia));
  setPalette(colori);

  ListReparti_ = nuovoElenco(
      "ListReparti",
      {QStringLiteral("Reparto"), QStringLiteral("Descrizione"), QStringLiteral("PrezzoUni"),
       QStringLiteral("Sconto Uni"), QStringLiteral("Icona")},
      {70, 250, 90, 85, 55}, {0, 2, 3}, 1);
  ListProdRep_ = nuovoElenco("ListProdRep",
                             {QStringLiteral("Descrizione"), QStringLiteral("Costo"),
                              QStringLiteral("Prezzo"), QStringLiteral("Prezzo2")},
                             {270, 80, 80, 80}, {1, 2, 3}, 0);
  auto* titoloProdotti = new QLabel(QStringLiteral("Prodotti assegnati al reparto:"));
  titoloProdotti->setBuddy(ListProdRep_);

  auto* sinistra = new QVBoxLayout;
  ListReparti_->setMinimumWidth(420);
  sinistra->addWidget(ListReparti_, 3);
  sinistra->addWidget(titoloProdotti);
  sinistra->addWidget(ListProdRep_, 2);
  auto* corpo = new QHBoxLayout;
  corpo->addLayout(sinistra, 1);
  corpo->addWidget(costruisciModifica());

  auto* comandi = new QHBoxLayout;
  const QString testi[] = {QStringLiteral("Modifica Reparto"), QStringLiteral("Azzera Reparto"),
                           QStringLiteral("Trasferisci sulla CASSA")};
  for (int indice = 0; indice < 3; ++indice) {
    Command1_[indice] = new QPushButton(testi[indice]);
    Command1_[indice]->setObjectName(QStringLiteral("Command1_%1").arg(indice));
    Command1_[indice]->setMinimumHeight(40);
    connect(Command1_[indice], &QPushButton::clicked, this,
            [this, indice] { Command1_Click(indice); });
    if (indice == kTrasferisci) comandi->addStretch();
    comandi->addWidget(Command1_[indice]);
  }
  cmdChiudi_ = new QPushButton(QStringLiteral("&Chiudi"));
  cmdChiudi_->setObjectName("cmdChiudi");
  cmdChiudi_->setMinimumHeight(40);
  connect(cmdChiudi_, &QPushButton::clicked, this, &QDialog::close);
  comandi->addWidget(cmdChiudi_);
  Command1_[kAzzera]->setToolTip(QStringLiteral("Riporta il reparto al nome e ai valori iniziali"));
  Command1_[kTrasferisci]->setEnabled(static_cast<bool>(trasferisci_));

  auto* finestra = new QVBoxLayout(this);
  finestra->setContentsMargins(12, 12, 12, 12);
  finestra->addWidget(costruisciAvviso());
  finestra->addLayout(corpo, 1);
  finestra->addLayout(comandi);

  for (QPushButton* p : findChildren<QPushButton*>()) {
    p->setAutoDefault(false);
    p->setDefault(false);
  }
  connect(ListReparti_, &QTreeWidget::currentItemChanged, this, &Reparti::ListReparti_Click);

  ImpostaIconePulsanti(this);
  caricaCartelle();
  abilitaModifica(false);
  CaricaReparti();
  resize_.setSourceForm(this);
  resize_.SizeFormToScreen(kPercentualeSchermo);
}

void Reparti::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  resize_.ResizeControls();
}

QGroupBox* Reparti::costruisciModifica() {
  frModifica_ = new QGroupBox(QStringLiteral("Reparto"));
  frModifica_->setObjectName("frModifica");
  frModifica_->setFixedWidth(440);
  auto* griglia = new QGridLayout(frModifica_);
  griglia->setVerticalSpacing(8);

  const auto casella = [this](const char* nome) {
    auto* testo = new QLineEdit(frModifica_);
    testo->setObjectName(nome);
    return testo;
  };
  const auto etichetta = [&](int riga, const QString& testo, QWidget* campo) {
    auto* label = new QLabel(testo, frModifica_);
    label->setBuddy(campo);
    griglia->addWidget(label, riga, 0);
    griglia->addWidget(campo, riga, 1);
  };
  NomeReparto_ = casella("NomeReparto");
  etichetta(0, QStringLiteral("Nome Reparto (Max 16 caratteri)"), NomeReparto_);
  Iva_ = casella("Iva");
  Iva_->setAlignment(Qt::AlignRight);
  etichetta(1, QStringLiteral("Iva al Reparto"), Iva_);
  txtValoreReparto_ = casella("txtValoreReparto");
  txtValoreReparto_->setAlignment(Qt::AlignRight);
  etichetta(2, QStringLiteral("Valore Reparto"), txtValoreReparto_);

  const auto opzione = [this](const char* nome, const QString& testo) {
    auto* scelta = new QRadioButton(testo, frModifica_);
    scelta->setObjectName(nome);
    return scelta;
  };
  OpzPrezzo_ = opzione("OpzPrezzo", QStringLiteral("Prezzo Prefissato"));
  OpzSconto_ = opzione("OpzSconto", QStringLiteral("Sconto Automatico (%)"));
  auto* valore = new QButtonGroup(frModifica_);
  valore->addButton(OpzPrezzo_);
  valore->addButton(OpzSconto_);
  OpzFiscale_ = opzione("OpzFiscale", QStringLiteral("Fiscale"));
  OpzNonFiscale_ = opzione("OpzNonFiscale", QStringLiteral("Non Fiscale"));
  auto* fiscale = new QButtonGroup(frModifica_);
  fiscale->addButton(OpzFiscale_);
  fiscale->addButton(OpzNonFiscale_);
  griglia->addWidget(OpzPrezzo_, 3, 0);
  griglia->addWidget(OpzSconto_, 3, 1);
  griglia->addWidget(OpzFiscale_, 4, 0);
  griglia->addWidget(OpzNonFiscale_, 4, 1);
  ckPrezzoZero_ = new QCheckBox(QStringLiteral("Prezzo Zero"), frModifica_);
  ckPrezzoZero_->setObjectName("ckPrezzoZero");
  griglia->addWidget(ckPrezzoZero_, 5, 0, 1, 2);
  connect(ckPrezzoZero_, &QCheckBox::clicked, this, &Reparti::ckPrezzoZero_Click);

  griglia->addWidget(costruisciImmagine(frModifica_), 6, 0, 1, 2);
  griglia->setRowStretch(6, 1);

  cmdConferma_ = new QPushButton(QStringLiteral("Conferma"), frModifica_);
  cmdConferma_->setObjectName("cmdConferma");
  cmdAnnulla_ = new QPushButton(QStringLiteral("Annulla"), frModifica_);
  cmdAnnulla_->setObjectName("cmdAnnulla");
  auto* pulsanti = new QHBoxLayout;
  pulsanti->addStretch();
  pulsanti->addWidget(cmdConferma_);
  pulsanti->addWidget(cmdAnnulla_);
  griglia->addLayout(pulsanti, 7, 0, 1, 2);
  connect(cmdConferma_, &QPushButton::clicked, this, &Reparti::cmdConferma_Click);
  connect(cmdAnnulla_, &QPushButton::clicked, this, &Reparti::cmdAnnulla_Click);
  return frModifica_;
}

QWidget* Reparti::costruisciImmagine(QWidget* contenitore) {
  auto* riquadro = new QWidget(contenitore);
  auto* griglia = new QGridLayout(riquadro);
  griglia->setContentsMargins(0, 6, 0, 0);
  Dir1_ = new QListWidget(riquadro);
  Dir1_->setObjectName("Dir1");
  File1_ = new QListWidget(riquadro);
  File1_->setObjectName("File1");
  Image1_ = new QLabel(riquadro);
  Image1_->setObjectName("Image1");
  Image1_->setFixedSize(kLatoImmagine + 8, kLatoImmagine + 8);
  Image1_->setAlignment(Qt::AlignCenter);
  Image1_->setFrameShape(QFrame::StyledPanel);
  auto* etichettaDir = new QLabel(QStringLiteral("Dir:"), riquadro);
  etichettaDir->setBuddy(Dir1_);
  auto* etichettaFile = new QLabel(QStringLiteral("Files:"), riquadro);
  etichettaFile->setBuddy(File1_);
  griglia->addWidget(etichettaDir, 0, 0);
  griglia->addWidget(etichettaFile, 0, 1);
  griglia->addWidget(Dir1_, 1, 0);
  griglia->addWidget(File1_, 1, 1);
  griglia->addWidget(Image1_, 1, 2, Qt::AlignTop);
  connect(Dir1_, &QListWidget::currentRowChanged, this, &Reparti::Dir1_Change);
  connect(File1_, &QListWidget::itemClicked, this, &Reparti::File1_Click);
  return riquadro;
}

QGroupBox* Reparti::costruisciAvviso() {
  frAvviso_ = new QGroupBox(QStringLiteral("Avviso"));
  frAvviso_->setObjectName("frAvviso");
  frAvviso_->setStyleSheet(
      QStringLiteral("QGroupBox#frAvviso { background: #fff4c2; border: 1px solid #c9a400; "
                     "margin-top: 1.4em; font-weight: bold; } QGroupBox#frAvviso::title { "
                     "subcontrol-origin: margin; left: 8px; }"));
  auto* riga = new QHBoxLayout(frAvviso_);
  riga->addWidget(new QLabel(QStringLiteral("ATTENDERE... INVIO IN CORSO"), frAvviso_), 1);
  auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), frAvviso_);
  chiudi->setObjectName("cmdChiudiAvviso");
  riga->addWidget(chiudi);
  connect(chiudi, &QPushButton::clicked, frAvviso_, &QWidget::hide);
  frAvviso_->hide();
  return frAvviso_;
}

void Reparti::CaricaReparti(int cod) {
  const QSignalBlocker silenzio(ListReparti_);
  ListReparti_->clear();
  try {
    for (const DatiReparto& reparto : archivio_.elenco()) {
      // The departments the store starts with have an empty name there: no picture either.
      const bool immagine = !reparto.icon.isEmpty();
      QTreeWidgetItem* riga = nuovaRiga(
          ListReparti_,
          {QString::number(reparto.cod), reparto.descrizione, reparto.prezzoPrefissato.toItalian(2),
           numeroItaliano(reparto.sconto), immagine ? QStringLiteral("Si") : QStringLiteral("No")});
      riga->setData(0, Qt::UserRole, reparto.cod);
      if (reparto.cod == cod) ListReparti_->setCurrentItem(riga);
    }
  } catch (const DatabaseError& e) {
    errore("CaricaReparti", e);
  }
  if (!ListReparti_->currentItem() && ListReparti_->topLevelItemCount() > 0)
    ListReparti_->setCurrentItem(ListReparti_->topLevelItem(0));
  ListReparti_Click();
}

int Reparti::repartoSelezionato() const {
  const QTreeWidgetItem* riga = ListReparti_->currentItem();
  return riga ? riga->data(0, Qt::UserRole).toInt() : 0;
}

void Reparti::ListReparti_Click() {
  const int cod = repartoSelezionato();
  caricaReparto(cod);
  caricaProdotti(cod);
}

void Reparti::caricaReparto(int cod) {
  frModifica_->setTitle(cod ? QStringLiteral("Reparto %1").arg(cod) : QStringLiteral("Reparto"));
  NomeReparto_->clear();
  Iva_->clear();
  txtValoreReparto_->clear();
  OpzPrezzo_->setChecked(true);
  OpzFiscale_->setChecked(true);
  ckPrezzoZero_->setChecked(false);
  percorsoIcon_.clear();
  icon_.clear();
  if (cod) {
    try {
      if (const auto reparto = archivio_.reparto(cod)) {
        NomeReparto_->setText(reparto->descrizione);
        Iva_->setText(numeroItaliano(reparto->iva));
        const double sconto = reparto->sconto;
        const Money prezzo = reparto->prezzoPrefissato;
        (sconto != 0 ? OpzSconto_ : OpzPrezzo_)->setChecked(true);
        txtValoreReparto_->setText(sconto != 0 ? numeroItaliano(sconto) : prezzo.toItalian(2));
        ckPrezzoZero_->setChecked(sconto == 0 && prezzo == Money());
        (reparto->noFiscale ? OpzNonFiscale_ : OpzFiscale_)->setChecked(true);
        percorsoIcon_ = percorsoPulito(reparto->percorsoIcon);
        icon_ = reparto->icon;
      }
    } catch (const DatabaseError& e) {
      errore("caricaReparto", e);
    }
  }
  for (int riga = 0; riga < Dir1_->count(); ++riga)
    if (Dir1_->item(riga)->data(Qt::UserRole).toString() == percorsoIcon_)
      Dir1_->setCurrentRow(riga);
  for (int riga = 0; riga < File1_->count(); ++riga)
    File1_->item(riga)->setSelected(File1_->item(riga)->text() == icon_);
  mostraImmagine();
  ckPrezzoZero_Click();
}

void Reparti::caricaProdotti(int cod) {
  ListProdRep_->clear();
  if (!cod) return;
  try {
    for (const ProdottoReparto& prodotto : archivio_.prodotti(cod))
      nuovaRiga(ListProdRep_, {prodotto.descrizione, prodotto.costo.toItalian(2),
                               prodotto.prezzo1.toItalian(2), prodotto.prezzo2.toItalian(2)});
  } catch (const DatabaseError& e) {
    errore("caricaProdotti", e);
  }
}

// The values stay readable, and the picture in its colours, while nothing is being edited.
void Reparti::abilitaModifica(bool abilitata) {
  inModifica_ = abilitata;
  for (QWidget* campo :
       std::initializer_list<QWidget*>{NomeReparto_, Iva_, OpzFiscale_, OpzNonFiscale_,
                                       ckPrezzoZero_, Dir1_, File1_, cmdConferma_, cmdAnnulla_})
    campo->setEnabled(abilitata);
  ckPrezzoZero_Click();
  ListReparti_->setEnabled(!abilitata);
  Command1_[kModifica]->setEnabled(!abilitata);
  Command1_[kAzzera]->setEnabled(!abilitata);
  Command1_[kTrasferisci]->setEnabled(!abilitata && trasferisci_);
  if (abilitata) NomeReparto_->setFocus();
}

// "Prezzo Zero": neither a preset price nor a discount, whatever the box held.
void Reparti::ckPrezzoZero_Click() {
  const bool zero = ckPrezzoZero_->isChecked();
  if (zero) {
    OpzPrezzo_->setChecked(true);
    txtValoreReparto_->setText(Money().toItalian(2));
  }
  const bool libero = inModifica_ && !zero;
  txtValoreReparto_->setEnabled(libero);
  OpzPrezzo_->setEnabled(libero);
  OpzSconto_->setEnabled(libero);
}

void Reparti::Command1_Click(int indice) {
  const int cod = repartoSelezionato();
  switch (indice) {
    case kModifica:
      if (cod) abilitaModifica(true);
      break;
    case kAzzera:
      if (cod) azzera(cod);
      break;
    case kTrasferisci:
      trasferisci();
      break;
  }
}

void Reparti::cmdConferma_Click() {
  const int cod = repartoSelezionato();
  if (!cod || !convalida()) return;
  salva(cod);
  abilitaModifica(false);
  CaricaReparti(cod);
}

void Reparti::cmdAnnulla_Click() {
  abilitaModifica(false);
  ListReparti_Click();
}

bool Reparti::convalida() {
  const QString& titolo = Globali().TitoloProgramma;
  const auto rifiuta = [&](const QString& testo) {
    prompts_.ask({testo, titolo, Buttons::Ok, Icon::Exclamation, std::nullopt});
    return false;
  };
  if (NomeReparto_->text().trimmed().isEmpty())
    return rifiuta(QStringLiteral("Il 'Nome reparto' non può essere nullo!"));
  const QString iva = Iva_->text().trimmed();
  if (iva == u"0" && prompts_.ask({QStringLiteral("Impostare l'Iva del reparto a 0?"), titolo,
                                   Buttons::YesNo, Icon::Question, std::nullopt}) != Answer::Yes)
    return false;
  if (!numero(iva)) return rifiuta(QStringLiteral("Formato 'Iva' non valido"));
  const QString valore = txtValoreReparto_->text().trimmed();
  if (OpzPrezzo_->isChecked() && !Money::parse(valore))
    return rifiuta(QStringLiteral("Formato 'Prezzo Prefissato' non valido"));
  if (OpzSconto_->isChecked() && !numero(valore))
    return rifiuta(QStringLiteral("Formato 'Sconto Automatico' non valido"));
  return true;
}

void Reparti::salva(int cod) {
  const QString valore = txtValoreReparto_->text().trimmed();
  const bool prezzo = OpzPrezzo_->isChecked();
  DatiReparto reparto;
  reparto.cod = cod;
  reparto.descrizione = NomeReparto_->text().trimmed();
  reparto.iva = *numero(Iva_->text());
  // One value box: a department has either a preset price or an automatic discount.
  reparto.prezzoPrefissato = prezzo ? *Money::parse(valore) : Money();
  reparto.sconto = prezzo ? 0.0 : *numero(valore);
  reparto.noFiscale = OpzNonFiscale_->isChecked();
  if (!icon_.isEmpty()) {
    reparto.percorsoIcon = percorsoIcon_;
    reparto.icon = icon_;
  }
  try {
    archivio_.salva(reparto);
  } catch (const DatabaseError& e) {
    errore("salva", e);
  }
}

void Reparti::azzera(int cod) {
  if (prompts_.ask({QStringLiteral("Tutte le personalizzazioni del reparto verranno "
                                   "rimosse!Continuare?"),
                    Globali().TitoloProgramma, Buttons::YesNo, Icon::Question, std::nullopt}) !=
      Answer::Yes)
    return;
  try {
    archivio_.azzera(cod);
  } catch (const DatabaseError& e) {
    errore("azzera", e);
  }
  CaricaReparti(cod);
}

void Reparti::trasferisci() {
  if (LavoroInCorso::attivo()) {
    notice_.show(LavoroInCorso::kMessaggio);
    return;
  }
  for (QPushButton* comando : Command1_) comando->setEnabled(false);
  trasferisci_([this](bool visibile) { frAvviso_->setVisible(visibile); });
  abilitaModifica(false);
}

// The folders of the pictures: "Icone" in the program folder and every folder inside it.
void Reparti::caricaCartelle() {
  Dir1_->clear();
  if (!QDir(cartellaIcone_).exists()) return;
  QStringList cartelle{QDir::cleanPath(cartellaIcone_)};
  QDirIterator sotto(cartellaIcone_, QDir::Dirs | QDir::NoDotAndDotDot,
                     QDirIterator::Subdirectories);
  while (sotto.hasNext()) cartelle << QDir::cleanPath(sotto.next());
  std::sort(cartelle.begin() + 1, cartelle.end());
  const QDir programma(Globali().CartellaProgramma);
  for (const QString& cartella : cartelle) {
    auto* voce = new QListWidgetItem(programma.relativeFilePath(cartella), Dir1_);
    voce->setData(Qt::UserRole, cartella);
  }
}

void Reparti::Dir1_Change() {
  File1_->clear();
  const QListWidgetItem* voce = Dir1_->currentItem();
  if (!voce) return;
  const QDir cartella(voce->data(Qt::UserRole).toString());
  for (const QString& nome : cartella.entryList(kFiltroImmagini, QDir::Files, QDir::Name)) {
    auto* file = new QListWidgetItem(nome, File1_);
    file->setSelected(cartella.absolutePath() == percorsoIcon_ && nome == icon_);
  }
}

void Reparti::File1_Click() {
  const QListWidgetItem* cartella = Dir1_->currentItem();
  const QListWidgetItem* file = File1_->currentItem();
  if (!cartella || !file) return;
  percorsoIcon_ = cartella->data(Qt::UserRole).toString();
  icon_ = file->text();
  mostraImmagine();
}

void Reparti::mostraImmagine() {
  Image1_->clear();
  if (icon_.isEmpty()) return;
  QPixmap immagine(percorsoIcon_ + u'/' + icon_);
  if (immagine.isNull()) immagine.load(cartellaIcone_ + u'/' + icon_);
  if (immagine.isNull()) return;
  Image1_->setPixmap(
      immagine.scaled(kLatoImmagine, kLatoImmagine, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Reparti::errore(const char* procedura, const DatabaseError& e) const {
  ScriviErrore(kModulo, procedura, e.description(), e.code());
}

}  // namespace listinova
