// The product list: the search, the grid and the commands on the products it lists.
#include "catalogue/magazzino.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "catalogue/adegua_barcode.h"
#include "catalogue/aggiungi_materiale.h"
#include "catalogue/magazzino_comune.h"
#include "catalogue/modello_magazzino.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "startup/icone_pulsanti.h"
#include "startup/impostazioni.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using namespace magazzino_comune;
using platform::db::sqlText;

// The working window takes nearly the whole screen, leaving the title bar room on a 768-line one.
constexpr int kPercentualeSchermo = 96;
constexpr int kAltezzaMassimaPannelli = 160;
constexpr int kColonnaVuota = 12;

}  // namespace

Magazzino::Magazzino(platform::db::Database& db, platform::Prompts& prompts,
                     platform::Notice& notice, platform::Clock& clock,
                     std::function<platform::SerialPort*()> portaScanner, QWidget* parent)
    : QDialog(parent),
      db_(db),
      prompts_(prompts),
      notice_(notice),
      clock_(clock),
      portaScanner_(std::move(portaScanner)),
      marche_(db, prompts, clock) {
  setObjectName(kModulo);
  setWindowTitle(Globali().TitoloFinestre);
  setAutoFillBackground(true);
  QPalette colori = palette();
  colori.setColor(QPalette::Window, ColoreDaValore(Globali().ColoreInterfaccia));
  setPalette(colori);

  modello_ = new ModelloMagazzino(this);
  ListMagazzino_ = new QTreeView;
  ListMagazzino_->setObjectName("ListMagazzino");
  ListMagazzino_->setModel(modello_);
  ListMagazzino_->setRootIsDecorated(false);
  ListMagazzino_->setUniformRowHeights(true);
  ListMagazzino_->setAllColumnsShowFocus(true);
  ListMagazzino_->setSelectionMode(QAbstractItemView::SingleSelection);
  ListMagazzino_->setAlternatingRowColors(true);
  const int larghezze[kColonneMagazzino] = {70, 260, 110, 50, 50, 40,  75, 120, 60,
                                            70, 80,  115, 10, 75, 100, 50, 80,  80};
  for (int colonna = 0; colonna < kColonneMagazzino; ++colonna)
    ListMagazzino_->setColumnWidth(colonna, larghezze[colonna]);
  // Column 12 is empty by design: shown, it is a blank header on a wide screen.
  ListMagazzino_->setColumnHidden(kColonnaVuota, true);

  auto* alto = new QHBoxLayout;
  alto->addWidget(costruisciRicerca(), 1);
  alto->addWidget(costruisciLettura());
  auto* basso = new QHBoxLayout;
  basso->addWidget(costruisciComandi(), 1);

  lblTab_ = new QLabel;
  lblTab_->setObjectName("lblTab");
  lblTab_->setStyleSheet(
      "QLabel { background: #fff4c2; border: 1px solid #c9a400; padding: 4px; "
      "font-weight: bold; }");
  lblTab_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(alto);
  layout->addWidget(lblTab_);
  // The panels scroll when the screen is short, rather than pushing the window past its edge.
  scorriPannelli_ = new QScrollArea;
  scorriPannelli_->setObjectName("scorriPannelli");
  scorriPannelli_->setWidgetResizable(true);
  scorriPannelli_->setFrameShape(QFrame::NoFrame);
  scorriPannelli_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  scorriPannelli_->viewport()->setAutoFillBackground(false);
  auto* contenitorePannelli = new QWidget;
  pannelli_ = new QVBoxLayout(contenitorePannelli);
  pannelli_->setContentsMargins(0, 0, 0, 0);
  scorriPannelli_->setWidget(contenitorePannelli);
  scorriPannelli_->hide();
  layout->addWidget(scorriPannelli_);
  schede_ = new QTabWidget;
  schede_->setObjectName("schede");
  schede_->addTab(ListMagazzino_, QStringLiteral("Prodotti"));
  schede_->addTab(costruisciVendite(), QStringLiteral("Venduto"));
  layout->addWidget(schede_, 1);
  layout->addWidget(costruisciContatori());
  layout->addLayout(basso);

  // Enter belongs to the boxes (search, bar code), never to a default button.
  for (QPushButton* p : findChildren<QPushButton*>()) {
    p->setAutoDefault(false);
    p->setDefault(false);
  }
  ImpostaIconePulsanti(this);
  resize_.setSourceForm(this);
  resize_.SizeFormToScreen(kPercentualeSchermo);
  optCerca_->button(0)->setChecked(true);
  const QDate oggi = clock_.now().date();
  dal_->setDate(oggi);
  al_->setDate(oggi);
  Elimina_->setEnabled(false);
  Modifica_->setEnabled(false);

  tmrCaricaPLU_.setObjectName("tmrCaricaPLU");
  tmrCaricaPLU_.setSingleShot(true);
  // The grid loads once the window is up, with no further wait: a load takes milliseconds.
  tmrCaricaPLU_.setInterval(0);
  txtRicBarCode_->installEventFilter(this);
  collega();
  CaricaElenchi();
}

QPushButton* Magazzino::pulsante(const char* nome, const QString& testo) {
  auto* p = new QPushButton(testo);
  p->setObjectName(nome);
  return p;
}

QPushButton* Magazzino::prossimaVersione(const char* nome, const QString& testo) {
  QPushButton* p = pulsante(nome, testo);
  p->setEnabled(false);
  p->setToolTip(kProssimaVersione);
  return p;
}

QGroupBox* Magazzino::riquadro(const QString& titolo, const QList<QWidget*>& contenuto) {
  auto* gruppo = new QGroupBox(titolo);
  auto* layout = new QVBoxLayout(gruppo);
  for (QWidget* w : contenuto) layout->addWidget(w);
  layout->addStretch();
  return gruppo;
}

QWidget* Magazzino::costruisciRicerca() {
  auto* gruppo = new QGroupBox(QStringLiteral("Ricerca"));
  auto* griglia = new QGridLayout(gruppo);

  Descrizione_ = new QLineEdit;
  Descrizione_->setObjectName("Descrizione");
  Descrizione_->setPlaceholderText(QStringLiteral("Testo da cercare"));
  CmdCerca_ = pulsante("CmdCerca", QStringLiteral("&Cerca"));
  cmdTutti_ = pulsante("cmdTutti", QStringLiteral("&Tutti"));
  griglia->addWidget(new QLabel(QStringLiteral("Cerca:")), 0, 0);
  griglia->addWidget(Descrizione_, 0, 1, 1, 3);
  griglia->addWidget(CmdCerca_, 0, 4);
  griglia->addWidget(cmdTutti_, 0, 5);

  optCerca_ = new QButtonGroup(this);
  optCerca_->setObjectName("optCerca");
  auto* opzioni = new QHBoxLayout;
  const QString testi[] = {QStringLiteral("Descrizione"), QStringLiteral("Codice a barre"),
                           QStringLiteral("Cod. fornitore"), QStringLiteral("Prezzo a zero"),
                           QStringLiteral("Qtà esaurita (≤ 0)")};
  for (int i = 0; i < 5; ++i) {
    auto* opzione = new QRadioButton(testi[i]);
    opzione->setObjectName(QStringLiteral("optCerca%1").arg(i));
    optCerca_->addButton(opzione, i);
    opzioni->addWidget(opzione);
  }
  opzioni->addStretch();
  griglia->addWidget(new QLabel(QStringLiteral("Cerca per:")), 1, 0);
  griglia->addLayout(opzioni, 1, 1, 1, 5);

  Genere_ = new QComboBox;
  Genere_->setObjectName("Genere");
  Genere_->setMinimumWidth(180);
  Fornitore_ = new QComboBox;
  Fornitore_->setObjectName("Fornitore");
  Fornitore_->setMinimumWidth(180);
  griglia->addWidget(new QLabel(QStringLiteral("Reparto:")), 2, 0);
  griglia->addWidget(Genere_, 2, 1);
  griglia->addWidget(new QLabel(QStringLiteral("Fornitore:")), 2, 2, Qt::AlignRight);
  griglia->addWidget(Fornitore_, 2, 3);
  griglia->setColumnStretch(1, 1);
  griglia->setColumnStretch(3, 1);
  return gruppo;
}

QWidget* Magazzino::costruisciLettura() {
  auto* gruppo = new QGroupBox(QStringLiteral("Lettura codice a barre"));
  auto* layout = new QVBoxLayout(gruppo);
  txtRicBarCode_ = new QLineEdit;
  txtRicBarCode_->setObjectName("txtRicBarCode");
  txtRicBarCode_->setMinimumWidth(180);
  QFont carattere = txtRicBarCode_->font();
  carattere.setPointSize(carattere.pointSize() + 4);
  carattere.setBold(true);
  txtRicBarCode_->setFont(carattere);
  txtRicBarCode_->setToolTip(
      QStringLiteral("Leggere o digitare il codice a barre e premere Invio"));
  layout->addWidget(txtRicBarCode_);
  layout->addWidget(new QLabel(QStringLiteral("Invio apre la scheda del prodotto")));
  layout->addStretch();
  return gruppo;
}

QWidget* Magazzino::costruisciContatori() {
  auto* riga = new QWidget;
  auto* layout = new QHBoxLayout(riga);
  layout->setContentsMargins(0, 0, 0, 0);
  lblTotVociMaga_ = contatore("lblTotVociMaga");
  lblTotArt_ = contatore("lblTotArt");
  TotRicorrenze_ = contatore("TotRicorrenze");
  totValore_ = contatore("totValore");
  totValore_->setMinimumWidth(140);
  const std::pair<QString, QLabel*> voci[] = {
      {QStringLiteral("Voci trovate:"), lblTotVociMaga_},
      {QStringLiteral("Articoli elencati:"), lblTotArt_},
      {QStringLiteral("Ricorrenze:"), TotRicorrenze_},
      {QStringLiteral("Valore merce elencata (€):"), totValore_},
  };
  for (const auto& [testo, etichetta] : voci) {
    layout->addWidget(new QLabel(testo));
    layout->addWidget(etichetta);
    layout->addSpacing(16);
  }
  layout->addStretch();
  return riga;
}

void Magazzino::collega() {
  const auto su = [this](QPushButton* p, const char* procedura, void (Magazzino::*azione)()) {
    connect(p, &QPushButton::clicked, this, [this, procedura, azione] {
      comando(procedura, [this, azione] { (this->*azione)(); });
    });
  };
  su(CmdCerca_, "CmdCerca_Click", &Magazzino::CmdCerca_Click);
  su(cmdTutti_, "cmdTutti_Click", &Magazzino::cmdTutti_Click);
  su(Aggiungi_, "Aggiungi_Click", &Magazzino::Aggiungi_Click);
  su(Modifica_, "Modifica_Click", &Magazzino::Modifica_Click);
  su(Elimina_, "Elimina_click", &Magazzino::Elimina_click);
  su(cmdAdeguaCodici_, "cmdAdeguaCodici_Click", &Magazzino::cmdAdeguaCodici_Click);
  connect(cmdSegnaModificati_, &QPushButton::clicked, this, [this] {
    comando("cmdSegnaModificati_Click", [this] {
      if (marche_.segnaTuttiModificati()) CmdCerca_Click();
    });
  });
  connect(CmdUscita_, &QPushButton::clicked, this, &QDialog::close);
  connect(Descrizione_, &QLineEdit::returnPressed, this,
          [this] { comando("CmdCerca_Click", [this] { CmdCerca_Click(); }); });
  connect(ckModificati_, &QCheckBox::clicked, this, [this](bool spuntato) {
    comando("ckModificati_Click", [this, spuntato] { ckModificati_Click(spuntato); });
  });
  connect(ckPerFrontalini_, &QCheckBox::clicked, this, [this] { tornaAlBarCode(); });
  connect(optCerca_, &QButtonGroup::idClicked, this, [this] { tornaAlBarCode(); });
  connect(Genere_, &QComboBox::activated, this, [this] { tornaAlBarCode(); });
  connect(Fornitore_, &QComboBox::activated, this, [this] { tornaAlBarCode(); });
  connect(ListMagazzino_, &QTreeView::clicked, this, [this](const QModelIndex& indice) {
    comando("ListMagazzino_ItemClick", [this, indice] { ListMagazzino_ItemClick(indice); });
  });
  connect(ListMagazzino_, &QTreeView::doubleClicked, this,
          [this] { comando("Modifica_Click", [this] { Modifica_Click(); }); });
  connect(&tmrCaricaPLU_, &QTimer::timeout, this, [this] {
    comando("tmrCaricaPLU_Timer", [this] {
      PuntatoreOccupato occupato;
      CmdCerca_Click();
    });
  });
}

void Magazzino::comando(const char* procedura, const std::function<void()>& azione) {
  try {
    azione();
  } catch (const std::exception& errore) {
    registraErrore(procedura, errore);
  }
  tornaAlBarCode();
}

void Magazzino::tornaAlBarCode() {
  if (txtRicBarCode_->isVisible() && txtRicBarCode_->isEnabled()) txtRicBarCode_->setFocus();
}

bool Magazzino::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
    bool aperto = false;
    for (int i = 0; i < pannelli_->count(); ++i)
      if (const QWidget* p = pannelli_->itemAt(i)->widget()) aperto = aperto || !p->isHidden();
    scorriPannelli_->setVisible(aperto);
    // A panel shows whole, two share a height that still fits a 1024 x 768 screen.
    pannelli_->invalidate();
    scorriPannelli_->setMinimumHeight(
        qMin(pannelli_->sizeHint().height(), kAltezzaMassimaPannelli));
  }
  if (watched == txtRicBarCode_ && event->type() == QEvent::KeyPress) {
    const int tasto = static_cast<QKeyEvent*>(event)->key();
    if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter || tasto == Qt::Key_Escape) {
      const QString codice = txtRicBarCode_->text();
      comando("IntercettaBarCode", [this, &codice] { IntercettaBarCode(codice); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void Magazzino::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  comando("Form_Activate", [this] { Form_Activate(); });
}

void Magazzino::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  resize_.ResizeControls();
}

Magazzino::ProdottoSelezionato Magazzino::prodottoSelezionato() const {
  const int riga = ListMagazzino_->currentIndex().row();
  if (riga < 0) return {};
  return {modello_->cella(riga, 0), modello_->cella(riga, 1), modello_->cella(riga, 6)};
}

void Magazzino::aggiungiPannello(QWidget* pannello) {
  pannello->hide();
  pannelli_->addWidget(pannello);
  pannello->installEventFilter(this);
}

void Magazzino::abilitaElenco(bool abilitato) { ListMagazzino_->setEnabled(abilitato); }

void Magazzino::CaricaElenchi() {
  CaricaCboGeneri();
  CaricaFornitori();
}

void Magazzino::Form_Activate() {
  torvane_ = LeggiTorvane(Globali().PercorsoSetup);
  tmrCaricaPLU_.start();
}

void Magazzino::CaricaCboGeneri() {
  Genere_->clear();
  Genere_->addItem(QString());
  try {
    for (auto rs = db_.openRecordset("Select * from Reparti order by cod"); !rs.eof();
         rs.moveNext())
      Genere_->addItem(rs.text("Descrizione"));
  } catch (const std::exception& errore) {
    registraErrore("CaricaCboGeneri", errore);
  }
}

void Magazzino::CaricaFornitori() {
  Fornitore_->clear();
  Fornitore_->addItem(QString());
  try {
    for (auto rs =
             db_.openRecordset("select distinct fornitore from magazzino where fornitore<>''");
         !rs.eof(); rs.moveNext())
      Fornitore_->addItem(rs.text("fornitore"));
  } catch (const std::exception& errore) {
    registraErrore("CaricaFornitori", errore);
  }
}

void Magazzino::CaricaMagazzino(const QString& sql, bool togliMarcheEtichetta) {
  try {
    PuntatoreOccupato occupato;
    ElencoMagazzino elenco = LeggiElencoMagazzino(db_, sql, togliMarcheEtichetta);
    lblTotVociMaga_->setText(QString::number(elenco.vociTrovate));
    const bool vuoto = elenco.righe.empty();
    const QString elencati = QString::number(elenco.righe.size());
    modello_->imposta(std::move(elenco.righe));

    totValore_->setText(TestoValoreMagazzino(elenco.valore));
    lblTotArt_->setText(elencati);
    TotRicorrenze_->setText(elencati);
    if (!vuoto) ListMagazzino_->setCurrentIndex(modello_->index(0, 0));
    Elimina_->setEnabled(!vuoto);
    Modifica_->setEnabled(!vuoto);
  } catch (const std::exception& errore) {
    registraErrore("CaricaMagazzino", errore);
  }
}

CriteriRicerca Magazzino::criteri() const {
  return {optCerca_->checkedId(), Descrizione_->text(),
          RepartoPerRicerca(db_, Globali().PercorsoSetup, Genere_->currentText()),
          Fornitore_->currentText()};
}

void Magazzino::CmdCerca_Click() {
  CaricaMagazzino(IstruzioneRicerca(criteri()), false);
  txtRicBarCode_->setFocus();
}

void Magazzino::IntercettaBarCode(const QString& codice) {
  txtRicBarCode_->clear();
  if (codice.isEmpty()) return;
  const auto prodotto = [this](const QString& barCode) {
    auto rs = db_.openRecordset("Select * from Magazzino where BarCode=" + sqlText(barCode) +
                                " And Eliminato =" + "False");
    return rs.eof() ? QString() : rs.text("CodMateriale");
  };
  QString trovato = prodotto(codice);
  if (const QString completo = CodiceCompletato13(codice); trovato.isEmpty() && !completo.isEmpty())
    trovato = prodotto(completo);
  if (trovato.isEmpty()) {
    notice_.show(QStringLiteral("ATTENZIONE! Prodotto Non Registrato o Lettura Imperfetta!"));
    return;
  }
  if (apriEditor(trovato, false)) CmdCerca_Click();
}

bool Magazzino::apriEditor(const QString& codMateriale, bool senzaAggiungi) {
  bool salvato = false;
  try {
    AggiungiMateriale editor(db_, prompts_, notice_, portaScanner_ ? portaScanner_() : nullptr,
                             this);
    connect(&editor, &AggiungiMateriale::prodottoSalvato, this, [&salvato] { salvato = true; });
    if (codMateriale.isEmpty()) {
      editor.NuovoProdotto();
    } else if (!editor.PreparaPerModifica(codMateriale)) {
      return false;
    }
    if (senzaAggiungi) editor.setAggiungiAbilitato(false);
    editor.setOggi([this] { return clock_.now().date(); });
    editor.exec();
  } catch (const std::exception& errore) {
    registraErrore("PreparaPerModifica", errore);
  }
  return salvato;
}

QString Magazzino::codiceSelezionato() const {
  return modello_->cella(ListMagazzino_->currentIndex().row(), 0);
}

QString Magazzino::descrizioneSelezionata() const {
  return modello_->cella(ListMagazzino_->currentIndex().row(), 1);
}

void Magazzino::Elimina_click() {
  const QString codice = codiceSelezionato();
  if (codice.isEmpty()) return;
  if (marche_.eliminaProdotto(codice, descrizioneSelezionata()))
    CaricaMagazzino(QStringLiteral("Select * from Magazzino"), false);
}

void Magazzino::Modifica_Click() {
  const QString codice = codiceSelezionato();
  if (codice.isEmpty()) return;
  switch (marche_.chiediModificaOCancella()) {
    case SceltaModifica::Modifica:
      if (apriEditor(codice, true)) CmdCerca_Click();
      break;
    case SceltaModifica::Cancella: {
      PuntatoreOccupato occupato;
      marche_.cancellaPLU(codice);
      CmdCerca_Click();
      break;
    }
    case SceltaModifica::Nessuna:
      break;
  }
}

void Magazzino::Aggiungi_Click() {
  if (apriEditor(QString(), false)) CaricaMagazzino(kTuttiOrdinati, false);
}

void Magazzino::ckModificati_Click(bool spuntato) {
  // Ticked, the box means "send the modified products only"; clearing it offers to clear the
  // marks, and a No leaves the box as it was.
  if (spuntato) return;
  if (marche_.togliModificati())
    CmdCerca_Click();
  else
    ckModificati_->setChecked(true);
}

void Magazzino::cmdTutti_Click() {
  const bool togliMarche = ckPerFrontalini_->isChecked() && marche_.chiediTogliFrontalini();
  Genere_->setCurrentIndex(0);
  Fornitore_->setCurrentIndex(0);
  Descrizione_->clear();
  CaricaMagazzino(kTuttiOrdinati, togliMarche);
}

void Magazzino::cmdAdeguaCodici_Click() {
  AdeguaBarCode(db_, Globali().CartellaProgramma, prompts_, notice_, clock_).cmdAdeguaCodici();
  CmdCerca_Click();
}

void Magazzino::ListMagazzino_ItemClick(const QModelIndex& indice) {
  const QString codice = modello_->cella(indice.row(), 0);
  if (!codice.isEmpty()) marche_.cambiaMarcaEtichetta(codice, ckPerFrontalini_->isChecked());
}

}  // namespace listinova
