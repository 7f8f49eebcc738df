#include "import/frm_importa.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "import/anteprima.h"
#include "import/importa_foglio.h"
#include "import/importa_testo.h"
#include "import/testo_fornitore.h"
#include "import/tracciati_fornitori.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/prompts.h"
#include "platform/workbook_reader.h"
#include "startup/error_log.h"
#include "startup/puntatore_occupato.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr char kTitolo[] = "Importazione dati - Aggiornamento";
constexpr char kTitoloFile[] = "Apri file con i PLU da caricare";
constexpr char kFiltroFile[] =
    "File di testo (*.txt);;File di Excel (*.xls *.xlsx *.ods);;File di testo (*.old)";
constexpr char kAnnullata[] = "Operazione annullata dall'Utente";
constexpr char kTerminata[] = "Importazione Dati PLU - Terminata";
// The supplier list is given a moment on screen before the operator starts.
constexpr int kAttesaDopoCaricamentoMs = 650;
constexpr int kPelidor = 4;
const QChar kSeparatori[] = {'/', ';', ',', ':', QChar(), '!'};

QComboBox* comboPosizione(const char* nome) {
  auto* combo = new QComboBox;
  combo->setObjectName(nome);
  combo->addItem(QString());
  for (int colonna = 1; colonna <= kUltimaColonna; ++colonna)
    combo->addItem(QString::number(colonna));
  combo->setMaxVisibleItems(15);
  return combo;
}

int posizioneDi(const QComboBox* combo) { return combo->currentText().toInt(); }

void impostaCombo(QComboBox* combo, int posizione) {
  combo->setCurrentIndex(posizione > 0 && posizione <= kUltimaColonna ? posizione : 0);
}

}  // namespace

FrmImporta::FrmImporta(AmbienteImporta ambiente, QWidget* parent)
    : QDialog(parent), ambiente_(std::move(ambiente)) {
  setObjectName("frmImporta");
  setWindowTitle(QString::fromUtf8(kTitolo));
  if (!ambiente_.apriCartella) ambiente_.apriCartella = platform::openWorkbook;

  auto* cmdValPredef = new QPushButton(QStringLiteral("Predef."));
  cmdValPredef->setObjectName("cmdValPredef");
  auto* command1 = new QPushButton(QStringLiteral("Predef. XLS"));
  command1->setObjectName("Command1");
  auto* cmdProcedi = new QPushButton(QStringLiteral("&Procedi"));
  cmdProcedi->setObjectName("cmdProcedi");
  auto* cmdChiudi = new QPushButton(QStringLiteral("&Termina - Chiudi"));
  cmdChiudi->setObjectName("cmdChiudi");
  auto* cmdAnteprima = new QPushButton(QStringLiteral("Anteprima"));
  cmdAnteprima->setObjectName("cmdAnteprima");
  cmdAnteprima->setToolTip(
      QStringLiteral("Mostra le prime righe di un file divise in colonne, senza importare"));

  ckFileExcel_ = new QCheckBox(QStringLiteral("Formato File Xls"));
  ckFileExcel_->setObjectName("ckFileExcel");
  txtPercorso_ = new QLineEdit;
  txtPercorso_->setObjectName("txtPercorso");
  txtPercorso_->setReadOnly(true);
  lblTab_ = new QLabel;
  lblTab_->setObjectName("lblTab");
  lblTab_->setStyleSheet("QLabel { font-weight: bold; }");
  avanzamento_ = new QProgressBar;
  avanzamento_->setObjectName("avanzamento");
  avanzamento_->setTextVisible(true);
  avanzamento_->hide();
  anteprima_ = new QTableWidget;
  anteprima_->setObjectName("anteprima");
  anteprima_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  anteprima_->verticalHeader()->setDefaultSectionSize(20);

  auto* predefiniti = new QHBoxLayout;
  predefiniti->addWidget(cmdValPredef);
  predefiniti->addWidget(command1);
  predefiniti->addStretch();

  auto* sinistra = new QVBoxLayout;
  sinistra->addWidget(costruisciPosizioni());
  sinistra->addLayout(predefiniti);
  sinistra->addStretch();
  auto* destra = new QVBoxLayout;
  destra->addWidget(costruisciSeparatori());
  destra->addWidget(costruisciFornitore());
  destra->addWidget(ckFileExcel_);
  destra->addStretch();
  auto* comandi = new QVBoxLayout;
  comandi->addWidget(cmdProcedi);
  comandi->addWidget(cmdAnteprima);
  comandi->addStretch();
  comandi->addWidget(cmdChiudi);

  auto* alto = new QHBoxLayout;
  alto->addLayout(sinistra);
  alto->addLayout(destra);
  alto->addLayout(comandi);

  auto* percorso = new QHBoxLayout;
  percorso->addWidget(new QLabel(QStringLiteral("File:")));
  percorso->addWidget(txtPercorso_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(alto);
  layout->addLayout(percorso);
  layout->addWidget(lblTab_);
  layout->addWidget(avanzamento_);
  layout->addWidget(new QLabel(QStringLiteral("Anteprima (prime %1 righe):").arg(kRigheAnteprima)));
  layout->addWidget(anteprima_, 1);
  resize(900, 620);

  for (QPushButton* p : findChildren<QPushButton*>()) p->setAutoDefault(false);
  connect(cmdValPredef, &QPushButton::clicked, this,
          [this] { impostaPosizioni(PredefinitePerTesto(posizioni())); });
  connect(command1, &QPushButton::clicked, this,
          [this] { impostaPosizioni(PredefinitePerFoglio()); });
  connect(cmdProcedi, &QPushButton::clicked, this, &FrmImporta::cmdProcedi_Click);
  connect(cmdAnteprima, &QPushButton::clicked, this, &FrmImporta::cmdAnteprima_Click);
  connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::reject);
  CaricaFornitori();
  ambiente_.clock.wait(kAttesaDopoCaricamentoMs);
}

QWidget* FrmImporta::costruisciPosizioni() {
  auto* gruppo = new QGroupBox(QStringLiteral("Posizione dei campi (colonna)"));
  auto* griglia = new QGridLayout(gruppo);
  struct Voce {
    QComboBox*& combo;
    const char* nome;
    const char* etichetta;
    const char* predefinito;
  };
  const Voce voci[] = {
      {cbPDes_, "cbPDes", "Descrizione", "(5)"},
      {cbPQta_, "cbPQta", "Quantità", "(12)"},
      {cbPBC_, "cbPBC", "BarCode", "(4)"},
      {cbPRep_, "cbPRep", "Reparto", "(6)"},
      {cbPPV_, "cbPPV", "Prezzo di Vendita", "(10)"},
      {cbPACQ_, "cbPACQ", "Prezzo di Acquisto", ""},
      {cbIVA_, "cbIVA", "IVA", ""},
      {cbCFOR_, "cbCFOR", "Cod x Fornitore", ""},
      {cbFOR_, "cbFOR", "Fornitore", ""},
  };
  int riga = 0;
  for (const Voce& v : voci) {
    v.combo = comboPosizione(v.nome);
    griglia->addWidget(new QLabel(QString::fromUtf8(v.etichetta)), riga, 0);
    griglia->addWidget(v.combo, riga, 1);
    griglia->addWidget(new QLabel(QString::fromUtf8(v.predefinito)), riga, 2);
    ++riga;
  }
  return gruppo;
}

QWidget* FrmImporta::costruisciSeparatori() {
  auto* gruppo = new QGroupBox(QStringLiteral("Separatore di Campi"));
  auto* griglia = new QGridLayout(gruppo);
  optSeparatore_ = new QButtonGroup(this);
  optSeparatore_->setObjectName("optSeparatore");
  const char* testi[] = {"/", ";", ",", ":", "Pelidor 35", "!"};
  for (int i = 0; i < 6; ++i) {
    auto* opzione = new QRadioButton(QString::fromUtf8(testi[i]));
    opzione->setObjectName(QStringLiteral("optSeparatore%1").arg(i));
    optSeparatore_->addButton(opzione, i);
    griglia->addWidget(opzione, i / 3, i % 3);
  }
  connect(optSeparatore_, &QButtonGroup::idClicked, this, &FrmImporta::scegliSeparatore);
  return gruppo;
}

QWidget* FrmImporta::costruisciFornitore() {
  auto* gruppo = new QGroupBox(QStringLiteral("Fornitore"));
  auto* layout = new QVBoxLayout(gruppo);
  cbFornitore_ = new QComboBox;
  cbFornitore_->setObjectName("cbFornitore");
  cbFornitore_->setEditable(true);
  cbFornitore_->setMinimumWidth(220);
  layout->addWidget(cbFornitore_);
  return gruppo;
}

void FrmImporta::CaricaFornitori() {
  cbFornitore_->clear();
  cbFornitore_->addItem(QString());
  try {
    for (auto rs = ambiente_.db.openRecordset(
             "SELECT Fornitore From Magazzino GROUP BY Fornitore order by Fornitore ASC");
         !rs.eof(); rs.moveNext())
      if (!rs.isNull("Fornitore")) cbFornitore_->addItem(rs.text("Fornitore"));
  } catch (const platform::db::DatabaseError& errore) {
    ScriviErrore("frmImporta", "Form_Load", errore.description(), errore.code());
  }
}

void FrmImporta::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  scegliSeparatore(1);
}

PosizioniImport FrmImporta::posizioni() const {
  return {posizioneDi(cbPDes_), posizioneDi(cbPQta_), posizioneDi(cbPBC_),
          posizioneDi(cbPRep_), posizioneDi(cbPPV_),  posizioneDi(cbPACQ_),
          posizioneDi(cbIVA_),  posizioneDi(cbCFOR_), posizioneDi(cbFOR_)};
}

void FrmImporta::impostaPosizioni(const PosizioniImport& p) {
  impostaCombo(cbPDes_, p.descrizione);
  impostaCombo(cbPQta_, p.quantita);
  impostaCombo(cbPBC_, p.barcode);
  impostaCombo(cbPRep_, p.reparto);
  impostaCombo(cbPPV_, p.prezzoVendita);
  impostaCombo(cbPACQ_, p.prezzoAcquisto);
  impostaCombo(cbIVA_, p.iva);
  impostaCombo(cbCFOR_, p.codiceFornitore);
  impostaCombo(cbFOR_, p.fornitore);
}

void FrmImporta::scegliSeparatore(int indice) {
  if (auto* opzione = optSeparatore_->button(indice)) opzione->setChecked(true);
  separatoreScelto_ = true;
  if (indice != kPelidor && indice >= 0 && indice < 6) separatore_ = kSeparatori[indice];
}

OpzioniTesto FrmImporta::opzioniTesto() const {
  OpzioniTesto o;
  if (separatoreScelto_) o.separatore = separatore_;
  o.pelidor35 = optSeparatore_->checkedId() == kPelidor;
  o.posizioni = posizioni();
  return o;
}

void FrmImporta::avvisa(const QString& testo) {
  ambiente_.prompts.ask({testo, Globali().TitoloProgramma});
}

SchermoImport FrmImporta::schermo() {
  return {
      [this](const QString& testo) {
        lblTab_->setText(testo);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      },
      [this](int fatti, int totale) {
        // Without a total (a text file read as a stream) the bar only counts.
        avanzamento_->setMaximum(std::max(totale, 0));
        avanzamento_->setValue(totale > 0 ? fatti : 0);
        avanzamento_->setFormat(totale > 0 ? QStringLiteral("righe %1 di %2").arg(fatti).arg(totale)
                                           : QStringLiteral("righe %1").arg(fatti));
        avanzamento_->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      },
      [this](const QString& domanda) {
        return ambiente_.prompts.ask({domanda, Globali().TitoloProgramma, platform::Buttons::YesNo,
                                      platform::Icon::Question, platform::Answer::No}) ==
               platform::Answer::Yes;
      }};
}

void FrmImporta::cmdProcedi_Click() {
  const bool foglio = ckFileExcel_->isChecked();
  const QString fornitore = cbFornitore_->currentText().trimmed();
  const QString percorso =
      ambiente_.sceltaFile(QString::fromUtf8(kTitoloFile), QString::fromUtf8(kFiltroFile));
  txtPercorso_->setText(percorso);
  if (percorso.isEmpty() || !QFileInfo::exists(percorso)) {
    ambiente_.prompts.ask({QString::fromUtf8(kAnnullata), Globali().TitoloProgramma,
                           platform::Buttons::Ok, platform::Icon::Information});
    return;
  }
  if (esegui(percorso, foglio, fornitore)) accept();
}

bool FrmImporta::esegui(const QString& percorso, bool foglio, const QString& fornitore) {
  const OpzioniTesto opzioni = opzioniTesto();
  if (!foglio && fornitore.isEmpty()) {
    if (auto problema =
            ControllaPosizioniTesto(opzioni.separatore.has_value(), opzioni.posizioni)) {
      avvisa(*problema);
      return false;
    }
  } else if (foglio && fornitore.isEmpty()) {
    if (auto problema = ControllaPosizioniFoglio(opzioni.posizioni)) {
      avvisa(*problema);
      return false;
    }
  }
  RiepilogoImport riepilogo;
  try {
    PuntatoreOccupato occupato;
    if (!foglio && fornitore.isEmpty()) {
      riepilogo = ImportaTestoDelimitato(ambiente_.db, percorso, opzioni, schermo());
    } else if (foglio) {
      std::unique_ptr<platform::WorkbookReader> cartella;
      try {
        cartella = ambiente_.apriCartella(percorso);
      } catch (const platform::WorkbookError& errore) {
        throw ErroreDaCartella(errore);
      }
      riepilogo = ImportaFoglio(ambiente_.db, *cartella, opzioni.posizioni, fornitore, schermo());
    } else {
      riepilogo = EseguiImport(ambiente_.db, percorso, fornitore, schermo());
    }
  } catch (const ErroreImport& errore) {
    lblTab_->setText(QString());
    QString testo = errore.messaggio();
    if (const RiepilogoImport* letto = errore.riepilogo()) {
      const QString elenco =
          letto->scriviScartate(ambiente_.cartellaLog, ambiente_.clock.now(), percorso);
      if (!elenco.isEmpty()) testo += QStringLiteral("\n\nElenco completo in: %1").arg(elenco);
    }
    ambiente_.prompts.ask(
        {testo, Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Critical});
    return false;
  } catch (const std::exception& errore) {
    // Whatever a library throws (out of memory included) ends here, never in the event loop.
    ScriviErrore("frmImporta", "cmdProcedi_Click", QString::fromLocal8Bit(errore.what()), 0);
    lblTab_->setText(QString());
    ambiente_.prompts.ask({QStringLiteral("Importazione non riuscita: l'archivio è rimasto "
                                          "com'era. Il motivo è nel registro degli errori."),
                           Globali().TitoloProgramma, platform::Buttons::Ok,
                           platform::Icon::Critical});
    return false;
  }
  lblTab_->setText(QString::fromUtf8(kTerminata));
  QString testo = QStringLiteral("Operazione terminata\n\n") + riepilogo.testo();
  const QString scartate =
      riepilogo.scriviScartate(ambiente_.cartellaLog, ambiente_.clock.now(), percorso);
  if (!scartate.isEmpty()) testo += QStringLiteral("\n\nElenco completo in: %1").arg(scartate);
  avvisa(testo);
  return true;
}

void FrmImporta::cmdAnteprima_Click() {
  const QString percorso =
      ambiente_.sceltaFile(QString::fromUtf8(kTitoloFile), QString::fromUtf8(kFiltroFile));
  if (percorso.isEmpty()) return;
  txtPercorso_->setText(percorso);
  try {
    if (ckFileExcel_->isChecked()) {
      auto cartella = ambiente_.apriCartella(percorso);
      mostraAnteprima(AnteprimaFoglio(*cartella, !cbFornitore_->currentText().trimmed().isEmpty()));
    } else {
      mostraAnteprima(
          AnteprimaTesto(LeggiRigheFornitore(percorso, kRigheAnteprima), opzioniTesto()));
    }
  } catch (const platform::WorkbookError& errore) {
    ambiente_.prompts.ask({errore.message(), Globali().TitoloProgramma, platform::Buttons::Ok,
                           platform::Icon::Exclamation});
  } catch (const ErroreImport& errore) {
    ambiente_.prompts.ask({errore.messaggio(), Globali().TitoloProgramma, platform::Buttons::Ok,
                           platform::Icon::Exclamation});
  } catch (const std::exception& errore) {
    ScriviErrore("frmImporta", "cmdAnteprima_Click", QString::fromLocal8Bit(errore.what()), 0);
    ambiente_.prompts.ask({QStringLiteral("Anteprima non riuscita: il motivo è nel registro "
                                          "degli errori."),
                           Globali().TitoloProgramma, platform::Buttons::Ok,
                           platform::Icon::Exclamation});
  }
}

void FrmImporta::mostraAnteprima(const std::vector<QStringList>& righe) {
  int colonne = 0;
  for (const QStringList& r : righe) colonne = std::max(colonne, static_cast<int>(r.size()));
  anteprima_->clear();
  anteprima_->setRowCount(static_cast<int>(righe.size()));
  anteprima_->setColumnCount(colonne);
  QStringList intestazioni;
  for (int c = 1; c <= colonne; ++c) intestazioni << QString::number(c);
  anteprima_->setHorizontalHeaderLabels(intestazioni);
  for (int r = 0; r < static_cast<int>(righe.size()); ++r)
    for (int c = 0; c < static_cast<int>(righe[r].size()); ++c)
      anteprima_->setItem(r, c, new QTableWidgetItem(righe[r][c]));
  anteprima_->resizeColumnsToContents();
}

bool ApriImportazione(const AmbienteImporta& ambiente, const std::function<bool()>& password,
                      QWidget* parent) {
  if (password && !password()) return false;
  FrmImporta finestra(ambiente, parent);
  finestra.exec();
  return true;
}

}  // namespace listinova
