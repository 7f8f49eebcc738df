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
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "catalogue/adegua_barcode.h"
#include "catalogue/aggiungi_materiale.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "startup/error_log.h"
#include "startup/impostazioni.h"
#include "startup/icone_pulsanti.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::db::DatabaseError;
using platform::db::sqlText;

constexpr char kModulo[] = "Magazzino";
constexpr char kProssimaVersione[] = "Disponibile in una prossima versione";
constexpr char kTuttiOrdinati[] = "Select * from magazzino order by descrizione";

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

bool colonnaNumerica(int colonna) {
  switch (colonna) {
    case 3:
    case 4:
    case 6:
    case 13:
    case 15:
    case 16:
    case 17:
      return true;
    default:
      return false;
  }
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
  resize(1200, 760);

  ListMagazzino_ = new QTreeWidget;
  ListMagazzino_->setObjectName("ListMagazzino");
  ListMagazzino_->setColumnCount(kColonneMagazzino);
  ListMagazzino_->setHeaderLabels(IntestazioniMagazzino());
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
  lblTab_->setStyleSheet("QLabel { background: #fff4c2; border: 1px solid #c9a400; padding: 4px; "
                         "font-weight: bold; }");
  lblTab_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(alto);
  layout->addWidget(lblTab_);
  layout->addWidget(ListMagazzino_, 1);
  layout->addWidget(costruisciContatori());
  layout->addLayout(basso);

  // Enter belongs to the boxes (search, bar code), never to a default button.
  for (QPushButton* p : findChildren<QPushButton*>()) {
    p->setAutoDefault(false);
    p->setDefault(false);
  }
  ImpostaIconePulsanti(this);
  optCerca_->button(0)->setChecked(true);
  const QDate oggi = clock_.now().date();
  dal_->setDate(oggi);
  al_->setDate(oggi);
  Elimina_->setEnabled(false);
  Modifica_->setEnabled(false);

  tmrCaricaPLU_.setObjectName("tmrCaricaPLU");
  tmrCaricaPLU_.setSingleShot(true);
  tmrCaricaPLU_.setInterval(50);
  txtRicBarCode_->installEventFilter(this);
  collega();
  CaricaCboGeneri();
  CaricaFornitori();
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
  txtRicBarCode_->setMinimumWidth(220);
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
  layout->addWidget(riquadro(QStringLiteral("Casse"),
                             {cmdInviaPLU_, record,
                              prossimaVersione("cmdLeggiPLU", QStringLiteral("Leggi PLU  <<<")),
                              ckModificati_, cmdSegnaModificati_}));

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
  layout->addWidget(riquadro(QStringLiteral("Offerte"),
                             {prossimaVersione("cmdOfferte", QStringLiteral("Offerte")), date}));

  cmdAdeguaCodici_ = pulsante("cmdAdeguaCodici", QStringLiteral("Adegua BC"));
  layout->addWidget(riquadro(
      QStringLiteral("Archivio"),
      {Generi_ = prossimaVersione("Generi", QStringLiteral("&Reparti")), cmdAdeguaCodici_,
       prossimaVersione("cmdManutenzione", QStringLiteral("Manutenzione archivio")),
       cmdImporta_ = prossimaVersione("cmdImporta", QStringLiteral("&Importa da FileDati"))}));

  ckPerFrontalini_ = new QCheckBox(QStringLiteral("x Frontalini"));
  ckPerFrontalini_->setObjectName("ckPerFrontalini");
  layout->addWidget(
      riquadro(QStringLiteral("Stampe"),
               {prossimaVersione("cmdStampa", QStringLiteral("Stampa")),
                prossimaVersione("cmdEtichette", QStringLiteral("Etichette")), ckPerFrontalini_}));
  layout->addStretch();

  Aggiungi_ = pulsante("Aggiungi", QStringLiteral("&Nuovo"));
  Modifica_ = pulsante("Modifica", QStringLiteral("&Modifica"));
  Elimina_ = pulsante("Elimina", QStringLiteral("&Elimina"));
  CmdUscita_ = pulsante("CmdUscita", QStringLiteral("&Esci"));
  layout->addWidget(riquadro(QStringLiteral("Prodotto"), {Aggiungi_, Modifica_, Elimina_}));
  auto* uscita = new QVBoxLayout;
  uscita->addStretch();
  uscita->addWidget(CmdUscita_);
  layout->addLayout(uscita);
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
      marche_.segnaTuttiModificati();
      CmdCerca_Click();
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
  connect(ListMagazzino_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* riga) {
    comando("ListMagazzino_ItemClick", [this, riga] { ListMagazzino_ItemClick(riga); });
  });
  connect(ListMagazzino_, &QTreeWidget::itemDoubleClicked, this,
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
    const ElencoMagazzino elenco = LeggiElencoMagazzino(db_, sql, togliMarcheEtichetta);
    lblTotVociMaga_->setText(QString::number(elenco.vociTrovate));

    QList<QTreeWidgetItem*> righe;
    righe.reserve(static_cast<qsizetype>(elenco.righe.size()));
    for (const RigaMagazzino& riga : elenco.righe) {
      auto* voce = new QTreeWidgetItem;
      for (int colonna = 0; colonna < kColonneMagazzino; ++colonna) {
        voce->setText(colonna, riga.celle[colonna]);
        if (colonnaNumerica(colonna))
          voce->setTextAlignment(colonna, Qt::AlignRight | Qt::AlignVCenter);
        if (riga.colore.isValid()) voce->setForeground(colonna, riga.colore);
      }
      righe.append(voce);
    }
    ListMagazzino_->setUpdatesEnabled(false);
    ListMagazzino_->clear();
    ListMagazzino_->addTopLevelItems(righe);
    ListMagazzino_->setUpdatesEnabled(true);

    const QString elencati = QString::number(righe.size());
    totValore_->setText(TestoValoreMagazzino(elenco.valore));
    lblTotArt_->setText(elencati);
    TotRicorrenze_->setText(elencati);
    if (!righe.isEmpty()) ListMagazzino_->setCurrentItem(righe.first());
    Elimina_->setEnabled(!righe.isEmpty());
    Modifica_->setEnabled(!righe.isEmpty());
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
    AggiungiMateriale editor(db_, prompts_, portaScanner_ ? portaScanner_() : nullptr, this);
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

void Magazzino::Elimina_click() {
  const QTreeWidgetItem* riga = ListMagazzino_->currentItem();
  if (!riga) return;
  if (marche_.eliminaProdotto(riga->text(0), riga->text(1)))
    CaricaMagazzino(QStringLiteral("Select * from Magazzino"), false);
}

void Magazzino::Modifica_Click() {
  const QTreeWidgetItem* riga = ListMagazzino_->currentItem();
  if (!riga) return;
  const QString codice = riga->text(0);
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
  // Left ticked, the box means "send the modified products only".
  if (!spuntato || !marche_.togliModificati()) return;
  CmdCerca_Click();
  ckModificati_->setChecked(false);
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

void Magazzino::ListMagazzino_ItemClick(QTreeWidgetItem* riga) {
  if (riga) marche_.cambiaMarcaEtichetta(riga->text(0), ckPerFrontalini_->isChecked());
}

}  // namespace listinova
