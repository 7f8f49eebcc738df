#include "catalogue/magazzino.h"

#include <QApplication>
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
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "catalogue/adegua_barcode.h"
#include "catalogue/aggiungi_materiale.h"
#include "catalogue/modello_magazzino.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "startup/error_log.h"
#include "startup/filtro_tasti.h"
#include "startup/icone_pulsanti.h"
#include "startup/impostazioni.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "touch/frm_tastiera.h"

namespace listinova {
namespace {

using platform::db::DatabaseError;
using platform::db::sqlText;

constexpr char kModulo[] = "Magazzino";
constexpr char kProssimaVersione[] = "Disponibile in una prossima versione";
constexpr char kTuttiOrdinati[] = "Select * from magazzino order by descrizione";
// The working window takes nearly the whole screen, leaving the title bar room on a 768-line one.
constexpr int kPercentualeSchermo = 96;
constexpr int kAltezzaMassimaPannelli = 160;

// The busy pointer for as long as the object lives, also when an error cuts the work short.
class PuntatoreOccupato {
 public:
  PuntatoreOccupato() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~PuntatoreOccupato() { QApplication::restoreOverrideCursor(); }
  PuntatoreOccupato(const PuntatoreOccupato&) = delete;
  PuntatoreOccupato& operator=(const PuntatoreOccupato&) = delete;
};

void registraErrore(const char* procedura, const std::exception& errore) {
  if (const auto* db = dynamic_cast<const DatabaseError*>(&errore))
    ScriviErrore(kModulo, procedura, db->description(), db->code());
  else
    ScriviErrore(kModulo, procedura, QString::fromUtf8(errore.what()), 0);
}

QLabel* contatore(const char* nome) {
  auto* etichetta = new QLabel(QStringLiteral("0"));
  etichetta->setObjectName(nome);
  etichetta->setMinimumWidth(60);
  etichetta->setFrameShape(QFrame::StyledPanel);
  etichetta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return etichetta;
}

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

QWidget* Magazzino::costruisciComandi() {
  auto* riga = new QWidget;
  auto* layout = new QHBoxLayout(riga);
  layout->setContentsMargins(0, 0, 0, 0);

  ckModificati_ = new QCheckBox(QStringLiteral("Invio PLU Modificati"));
  ckModificati_->setObjectName("ckModificati");
  cmdSegnaModificati_ = pulsante("cmdSegnaModificati", QStringLiteral("Segna tutti modificati"));
  cmdInviaPLU_ = prossimaVersione("cmdInviaPLU", QStringLiteral("Invia PLU  >>>"));
  lblRecAct_ = contatore("lblRecAct");
  lblRecTot_ = contatore("lblRecTot");
  auto* record = new QWidget;
  auto* righeRecord = new QHBoxLayout(record);
  righeRecord->setContentsMargins(0, 0, 0, 0);
  righeRecord->addWidget(new QLabel(QStringLiteral("Record")));
  righeRecord->addWidget(lblRecAct_);
  righeRecord->addWidget(new QLabel(QStringLiteral("di")));
  righeRecord->addWidget(lblRecTot_);
  cmdRiceviPLU_ = prossimaVersione("cmdLeggiPLU", QStringLiteral("Leggi PLU  <<<"));
  cmdGeneraFile_ = prossimaVersione("cmdGeneraFile", QStringLiteral("&Genera File Dati"));
  ProgressBar1_ = new QProgressBar;
  ProgressBar1_->setObjectName("ProgressBar1");
  ProgressBar1_->hide();
  layout->addWidget(
      riquadro(QStringLiteral("Casse"), {cmdInviaPLU_, record, cmdRiceviPLU_, cmdGeneraFile_,
                                         ProgressBar1_, ckModificati_, cmdSegnaModificati_}));

  auto* date = new QWidget;
  auto* righeDate = new QGridLayout(date);
  righeDate->setContentsMargins(0, 0, 0, 0);
  dal_ = new QDateEdit;
  dal_->setObjectName("dal");
  al_ = new QDateEdit;
  al_->setObjectName("al");
  int r = 0;
  for (QDateEdit* data : {dal_, al_}) {
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    data->setCalendarPopup(true);
    data->setEnabled(false);
    data->setToolTip(kProssimaVersione);
    righeDate->addWidget(new QLabel(r == 0 ? QStringLiteral("dal") : QStringLiteral("al")), r, 0);
    righeDate->addWidget(data, r++, 1);
  }
  layout->addWidget(riquadro(
      QStringLiteral("Offerte"),
      {cmdPromozioni_ = prossimaVersione("cmdPromozioni", QStringLiteral("PROMOZIONI")), date}));

  cmdAdeguaCodici_ = pulsante("cmdAdeguaCodici", QStringLiteral("Adegua BC"));
  layout->addWidget(riquadro(
      QStringLiteral("Archivio"),
      {Generi_ = prossimaVersione("Generi", QStringLiteral("&Reparti")), cmdAdeguaCodici_,
       cmdImporta_ = prossimaVersione("cmdImporta", QStringLiteral("&Importa da FileDati"))}));

  txtQtaPredef_ = new QLineEdit;
  txtQtaPredef_->setObjectName("txtQtaPredef");
  txtQtaPredef_->setMaximumWidth(70);
  txtQtaPredef_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
  txtQtaPredef_->setToolTip(QStringLiteral("Quantità da dare a tutti i prodotti"));
  FiltroTasti::applica(txtQtaPredef_, 1);
  if (Globali().TastieraVisibile) TastieraAlTocco(txtQtaPredef_, kModoNumero, notice_);
  cmdAggiornaQta_ = prossimaVersione("cmdAggiornaQta", QStringLiteral("Applica"));
  auto* quantita = new QWidget;
  auto* rigaQuantita = new QHBoxLayout(quantita);
  rigaQuantita->setContentsMargins(0, 0, 0, 0);
  rigaQuantita->addWidget(txtQtaPredef_);
  rigaQuantita->addWidget(cmdAggiornaQta_);
  cmdSalva_ = prossimaVersione("cmdSalva", QStringLiteral("&Salva Dati"));
  cmdCambiaDb_ = prossimaVersione("cmdCambiaDb", QStringLiteral("Cambia &Dati"));
  layout->addWidget(riquadro(QStringLiteral("Manutenzione"), {cmdSalva_, cmdCambiaDb_, quantita}));

  ckPerFrontalini_ = new QCheckBox(QStringLiteral("x Frontalini"));
  ckPerFrontalini_->setObjectName("ckPerFrontalini");
  layout->addWidget(
      riquadro(QStringLiteral("Stampe"),
               {cmdStampaMagazzino_ =
                    prossimaVersione("cmdStampaMagazzino", QStringLiteral("Stampa Esporta")),
                cmdStampaVPLU_ = prossimaVersione("cmdStampa", QStringLiteral("Stampa")),
                cmdStampaFrontalino_ =
                    prossimaVersione("cmdStampaFrontalino", QStringLiteral("Stampa Front.")),
                ckPerFrontalini_}));
  layout->addStretch();

  Aggiungi_ = pulsante("Aggiungi", QStringLiteral("&Nuovo"));
  Modifica_ = pulsante("Modifica", QStringLiteral("&Modifica"));
  Elimina_ = pulsante("Elimina", QStringLiteral("&Elimina"));
  CmdUscita_ = pulsante("CmdUscita", QStringLiteral("Esci"));
  // "Esci" under the product's box rather than beside it: the row fits a 1024-pixel screen.
  auto* uscita = new QVBoxLayout;
  uscita->addWidget(riquadro(QStringLiteral("Prodotto"), {Aggiungi_, Modifica_, Elimina_}));
  uscita->addStretch();
  uscita->addWidget(CmdUscita_);
  layout->addLayout(uscita);
  return riga;
}

QWidget* Magazzino::costruisciVendite() {
  auto* pagina = new QWidget;
  auto* layout = new QVBoxLayout(pagina);
  auto* periodo = new QHBoxLayout;
  dtGiornoRif_ = new QDateEdit;
  dtGiornoRif_->setObjectName("dtGiornoRif");
  dtDataAl_ = new QDateEdit;
  dtDataAl_->setObjectName("dtDataAl");
  periodo->addWidget(new QLabel(QStringLiteral("Vendite dal")));
  periodo->addWidget(dtGiornoRif_);
  periodo->addWidget(new QLabel(QStringLiteral("al")));
  periodo->addWidget(dtDataAl_);
  for (QDateEdit* data : {dtGiornoRif_, dtDataAl_}) {
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    data->setCalendarPopup(true);
    data->setDate(clock_.now().date());
  }
  cmdTrova_ = prossimaVersione("cmdTrova", QStringLiteral("Trova"));
  periodo->addWidget(cmdTrova_);
  periodo->addStretch();
  layout->addLayout(periodo);

  lstPLU_ = new QTreeWidget;
  lstPLU_->setObjectName("lstPLU");
  lstPLU_->setHeaderLabels({QStringLiteral("Codice a barre"), QStringLiteral("Descrizione"),
                            QStringLiteral("Quantità")});
  lstPLU_->setRootIsDecorated(false);
  lstPLU_->setAlternatingRowColors(true);
  lstPLU_->setColumnWidth(0, 140);
  lstPLU_->setColumnWidth(1, 420);
  layout->addWidget(lstPLU_, 1);

  auto* totali = new QHBoxLayout;
  lblTotMovimentati_ = contatore("lblTotMovimentati");
  lblTotQuantita_ = contatore("lblTotQuantita");
  lblTotQuantita_->setMinimumWidth(100);
  totali->addWidget(new QLabel(QStringLiteral("Prodotti movimentati:")));
  totali->addWidget(lblTotMovimentati_);
  totali->addSpacing(16);
  totali->addWidget(new QLabel(QStringLiteral("Quantità venduta:")));
  totali->addWidget(lblTotQuantita_);
  totali->addStretch();
  layout->addLayout(totali);
  return pagina;
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

bool Magazzino::soloModificati() const { return ckModificati_->isChecked(); }

void Magazzino::setInviaPLU(std::function<void(bool soloModificati)> invia) {
  cmdInviaPLU_->disconnect(this);
  cmdInviaPLU_->setEnabled(static_cast<bool>(invia));
  cmdInviaPLU_->setToolTip(invia ? QStringLiteral("Invia i prodotti alle casse configurate")
                                 : kProssimaVersione);
  if (!invia) return;
  connect(cmdInviaPLU_, &QPushButton::clicked, this, [this, invia] {
    comando("cmdInviaPLU_Click", [this, invia] {
      invia(soloModificati());
      CmdCerca_Click();
    });
  });
}

void Magazzino::setStampaMagazzino(
    std::function<void(const QString& sqlRicerca, bool soloQtaZero)> stampa) {
  cmdStampaMagazzino_->disconnect(this);
  cmdStampaMagazzino_->setEnabled(static_cast<bool>(stampa));
  cmdStampaMagazzino_->setToolTip(
      stampa ? QStringLiteral("Stampa o esporta le giacenze dei prodotti cercati")
             : kProssimaVersione);
  if (!stampa) return;
  connect(cmdStampaMagazzino_, &QPushButton::clicked, this, [this, stampa] {
    comando("cmdStampaMagazzino_Click", [this, stampa] {
      const CriteriRicerca ricerca = criteri();
      stampa(IstruzioneRicerca(ricerca), ricerca.opzione == 4);
    });
  });
}

void Magazzino::setStampaVendite(std::function<void(const QDate& dal, const QDate& al)> stampa) {
  cmdStampaVPLU_->disconnect(this);
  cmdStampaVPLU_->setEnabled(static_cast<bool>(stampa));
  cmdStampaVPLU_->setToolTip(stampa ? QStringLiteral("Stampa o esporta le vendite del periodo")
                                    : kProssimaVersione);
  if (!stampa) return;
  for (QDateEdit* data : {dal_, al_}) {
    data->setEnabled(true);
    data->setToolTip({});
    data->setDate(clock_.now().date());
  }
  connect(cmdStampaVPLU_, &QPushButton::clicked, this, [this, stampa] {
    comando("cmdStampaVPLU_Click", [this, stampa] { stampa(dal_->date(), al_->date()); });
  });
}

void Magazzino::setApriReparti(std::function<void()> apri) {
  Generi_->disconnect(this);
  Generi_->setEnabled(static_cast<bool>(apri));
  Generi_->setToolTip(apri ? QStringLiteral("Gestione dei reparti della cassa")
                           : kProssimaVersione);
  if (!apri) return;
  connect(Generi_, &QPushButton::clicked, this, [this, apri] {
    comando("Generi_Click", [this, apri] {
      apri();
      CaricaCboGeneri();
    });
  });
}

void Magazzino::setRiceviPLU(std::function<void()> ricevi) {
  cmdRiceviPLU_->disconnect(this);
  cmdRiceviPLU_->setEnabled(static_cast<bool>(ricevi));
  cmdRiceviPLU_->setToolTip(ricevi ? QStringLiteral("Legge dalle casse le quantità vendute")
                                   : kProssimaVersione);
  if (!ricevi) return;
  connect(cmdRiceviPLU_, &QPushButton::clicked, this, [this, ricevi] {
    comando("cmdRiceviPLU_Click", [this, ricevi] {
      ricevi();
      CmdCerca_Click();
    });
  });
}

void Magazzino::setGeneraFile(std::function<void()> genera) {
  cmdGeneraFile_->disconnect(this);
  cmdGeneraFile_->setEnabled(static_cast<bool>(genera));
  cmdGeneraFile_->setToolTip(genera ? QStringLiteral("Scrive su file la tabella PLU delle casse")
                                    : kProssimaVersione);
  if (!genera) return;
  connect(cmdGeneraFile_, &QPushButton::clicked, this,
          [this, genera] { comando("cmdGeneraFile_Click", genera); });
}

void Magazzino::setTrovaVendite(
    std::function<VenditeDaMostrare(const QDate& dal, const QDate& al)> trova) {
  trovaVendite_ = std::move(trova);
  cmdTrova_->disconnect(this);
  cmdTrova_->setEnabled(static_cast<bool>(trovaVendite_));
  cmdTrova_->setToolTip(trovaVendite_ ? QStringLiteral("Mostra il venduto del periodo")
                                      : kProssimaVersione);
  if (trovaVendite_)
    connect(cmdTrova_, &QPushButton::clicked, this,
            [this] { comando("cmdTrova_Click", [this] { cmdTrova_Click(); }); });
}

void Magazzino::cmdTrova_Click() {
  if (dtDataAl_->date() < dtGiornoRif_->date()) {
    prompts_.ask({QStringLiteral("ATTENZIONE!!! - Controllare il periodo selezionato (la Data Al "
                                 "non può essere precedente alla Data Dal) e riprovare"),
                  QStringLiteral("Listinova"), platform::Buttons::Ok, platform::Icon::Exclamation});
    return;
  }
  PuntatoreOccupato occupato;
  const VenditeDaMostrare vendite = trovaVendite_(dtGiornoRif_->date(), dtDataAl_->date());
  lstPLU_->clear();
  QList<QTreeWidgetItem*> righe;
  for (const QStringList& riga : vendite.righe) {
    auto* voce = new QTreeWidgetItem(riga);
    voce->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    righe.append(voce);
  }
  lstPLU_->addTopLevelItems(righe);
  lblTotMovimentati_->setText(QString::number(righe.size()));
  lblTotQuantita_->setText(vendite.totale);
}

void Magazzino::mostraAvanzamento(int valore, int massimo) {
  ProgressBar1_->setVisible(massimo > 0);
  ProgressBar1_->setMaximum(qMax(massimo, 1));
  ProgressBar1_->setValue(qMin(valore, qMax(massimo, 1)));
}

void Magazzino::setPromozioni(std::function<void()> apri) {
  cmdPromozioni_->disconnect(this);
  cmdPromozioni_->setEnabled(static_cast<bool>(apri));
  cmdPromozioni_->setToolTip(apri ? QStringLiteral("Offerta del prodotto selezionato")
                                  : kProssimaVersione);
  if (!apri) return;
  connect(cmdPromozioni_, &QPushButton::clicked, this, [this, apri] {
    try {
      apri();
    } catch (const std::exception& errore) {
      registraErrore("cmdPromozioni_Click", errore);
    }
  });
}

void Magazzino::setManutenzione(Manutenzione manutenzione) {
  const auto prepara = [this](QPushButton* p, bool presente, const QString& aiuto) {
    p->disconnect(this);
    p->setEnabled(presente);
    p->setToolTip(presente ? aiuto : QString::fromUtf8(kProssimaVersione));
    return presente;
  };
  if (prepara(cmdAggiornaQta_, static_cast<bool>(manutenzione.applicaQuantita),
              QStringLiteral("Dà a tutti i prodotti la quantità indicata")))
    connect(cmdAggiornaQta_, &QPushButton::clicked, this,
            [this, applica = manutenzione.applicaQuantita] {
              comando("cmdAggiornaQta_Click", [this, &applica] {
                if (applica(txtQtaPredef_->text()))
                  CaricaMagazzino(QStringLiteral("Select * from magazzino"), false);
              });
            });
  if (prepara(cmdSalva_, static_cast<bool>(manutenzione.salvaDati),
              QStringLiteral("Copia la cartella dei dati in una cartella a scelta")))
    connect(cmdSalva_, &QPushButton::clicked, this, [this, salva = manutenzione.salvaDati] {
      comando("cmdSalva_Click", [&salva] {
        PuntatoreOccupato occupato;
        salva();
      });
    });
  if (prepara(cmdCambiaDb_, static_cast<bool>(manutenzione.cambiaDati),
              QStringLiteral("Apre l'archivio di un'altra cartella")))
    connect(cmdCambiaDb_, &QPushButton::clicked, this, [this, cambia = manutenzione.cambiaDati] {
      comando("cmdCambiaDb_Click", [this, &cambia] {
        if (!cambia()) return;
        CaricaCboGeneri();
        CaricaFornitori();
        Form_Activate();
      });
    });
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

void Magazzino::mostraAvviso(const QString& testo, int punti) {
  QFont carattere = lblTab_->font();
  if (punti > 0) carattere.setPointSize(punti);
  lblTab_->setFont(carattere);
  mostraStato(testo);
}

bool Magazzino::perFrontalini() const { return ckPerFrontalini_->isChecked(); }

void Magazzino::setStampaFrontalino(std::function<void()> stampa) {
  cmdStampaFrontalino_->disconnect(this);
  cmdStampaFrontalino_->setEnabled(static_cast<bool>(stampa));
  cmdStampaFrontalino_->setToolTip(stampa ? QStringLiteral("Stampa le etichette dei prodotti")
                                          : kProssimaVersione);
  if (!stampa) return;
  connect(cmdStampaFrontalino_, &QPushButton::clicked, this,
          [this, stampa] { comando("cmdStampaFrontalino_Click", [stampa] { stampa(); }); });
}

void Magazzino::setImporta(std::function<bool()> importa) {
  cmdImporta_->disconnect(this);
  cmdImporta_->setEnabled(static_cast<bool>(importa));
  cmdImporta_->setToolTip(
      importa ? QStringLiteral("Importa prodotti da file di testo o fogli di calcolo")
              : kProssimaVersione);
  if (!importa) return;
  connect(cmdImporta_, &QPushButton::clicked, this, [this, importa] {
    comando("cmdImporta_Click", [this, importa] {
      if (!importa()) return;
      CaricaCboGeneri();
      CaricaFornitori();
      CaricaMagazzino(kTuttiOrdinati, false);
    });
  });
}

void Magazzino::setImportaInterscambio(std::function<bool()> importa, int intervalloMs) {
  tmrImporta_.stop();
  tmrImporta_.disconnect(this);
  if (!importa) return;
  tmrImporta_.setObjectName("tmrImporta");
  tmrImporta_.setInterval(intervalloMs);
  connect(&tmrImporta_, &QTimer::timeout, this, [this, importa] {
    tmrImporta_.stop();
    comando("tmrImporta_Timer", [this, importa] {
      PuntatoreOccupato occupato;
      if (importa()) CmdCerca_Click();
    });
    tmrImporta_.start();
  });
  tmrImporta_.start();
}

void Magazzino::mostraStato(const QString& testo) {
  lblTab_->setText(testo);
  lblTab_->setVisible(!testo.isEmpty());
}

void Magazzino::mostraRecordAttuale(const QString& numero) { lblRecAct_->setText(numero); }

void Magazzino::mostraTotaleRecord(int totale) { lblRecTot_->setText(QString::number(totale)); }

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
  auto rs = db_.openRecordset("Select * from Magazzino where BarCode=" + sqlText(codice) +
                              " And Eliminato =" + "False");
  if (rs.eof()) {
    notice_.show(QStringLiteral("ATTENZIONE! Prodotto Non Registrato o Lettura Imperfetta!"));
    return;
  }
  if (apriEditor(rs.text("CodMateriale"), false)) CmdCerca_Click();
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
