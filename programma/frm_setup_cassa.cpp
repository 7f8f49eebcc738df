// The setup window "Impostazioni Periferiche".
#include "programma/frm_setup_cassa.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/printers.h"
#include "platform/prompts.h"
#include "printing/frm_change_st.h"
#include "printing/scelta_stampante.h"
#include "register/lavoro_in_corso.h"
#include "startup/filtro_tasti.h"
#include "startup/icone_pulsanti.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

constexpr int kUltimaPorta = 254;
const QString kDomandaNonSalvate =
    QStringLiteral("Le nuove impostazioni non sono state salvate!!! Salvare ora?");
// Every picture the program can show; the older formats keep their names.
const QString kFiltroImmagini = QStringLiteral(
    "File bitmap (*.bmp *.dib);;File Gif (*.gif);;File Jpeg (*.jpg *.jpeg);;File Png (*.png);;"
    "File di Icona (*.ico);;Metafile (*.wmf)");
const QString kFiltroDatabase = QStringLiteral("Microsoft Excel files (*.mdb)");
const QSize kAnteprimaSfondo(220, 130);

QStringList numeriPorta() {
  QStringList voci{QString()};
  for (int n = 1; n <= kUltimaPorta; ++n) voci << QString::number(n);
  return voci;
}

QGroupBox* riquadro(const QString& titolo, QLayout* contenuto) {
  auto* box = new QGroupBox(titolo);
  box->setLayout(contenuto);
  return box;
}

// A list's choice; nothing while the operator left it unchosen.
std::optional<QString> scelta(const QComboBox* elenco) {
  if (elenco->currentIndex() < 0) return std::nullopt;
  return elenco->currentData().toString();
}

}  // namespace

FrmSetupCassa::FrmSetupCassa(AmbienteSetup ambiente, VarGlobali& globali, QWidget* parent)
    : QDialog(parent), a_(std::move(ambiente)), g_(globali), valori_(LeggiSetupCassa(globali)) {
  setObjectName("frmSetupCassa");
  setWindowTitle(QStringLiteral("Impostazioni Periferiche"));
  if (!a_.scegliFile)
    a_.scegliFile = [this](const QString& titolo, const QString& filtro) {
      return QFileDialog::getOpenFileName(this, titolo, QString(), filtro);
    };
  if (!a_.scegliCartella)
    a_.scegliCartella = [this](const QString& titolo) {
      return QFileDialog::getExistingDirectory(this, titolo);
    };
  if (!a_.scegliColore)
    a_.scegliColore = [this](const QColor& attuale) -> std::optional<QColor> {
      const QColor colore =
          QColorDialog::getColor(attuale, this, QStringLiteral("Colore di Sfondo"));
      if (!colore.isValid()) return std::nullopt;
      return colore;
    };

  auto* pagine = new QTabWidget;
  pagine->addTab(paginaCassa(), QStringLiteral("Stampante Fiscale"));
  pagine->addTab(paginaStampanti(), QStringLiteral("Stampanti e Sfondo"));
  pagine->addTab(paginaDati(), QStringLiteral("Dati e Frontalini"));

  CmdApplica_ = pulsante("CmdApplica", QStringLiteral("&Applica"), nullptr);
  connect(CmdApplica_, &QPushButton::clicked, this, [this] { salva(); });
  CmdApplica_->setEnabled(false);
  Command1_ = pulsante("Command1", QStringLiteral("&Chiudi"), nullptr);
  connect(Command1_, &QPushButton::clicked, this, &FrmSetupCassa::reject);
  auto* comandi = new QHBoxLayout;
  comandi->addStretch();
  comandi->addWidget(CmdApplica_);
  comandi->addWidget(Command1_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pagine);
  layout->addLayout(comandi);
  ImpostaIconePulsanti(this);
}

QPushButton* FrmSetupCassa::pulsante(const char* nome, const QString& testo,
                                     void (FrmSetupCassa::*azione)()) {
  auto* p = new QPushButton(testo);
  p->setObjectName(nome);
  p->setAutoDefault(false);
  if (azione) connect(p, &QPushButton::clicked, this, azione);
  return p;
}

QComboBox* FrmSetupCassa::elenco(const char* nome, const QStringList& voci) {
  auto* cb = new QComboBox;
  cb->setObjectName(nome);
  for (const QString& voce : voci) cb->addItem(voce, voce);
  cb->setCurrentIndex(-1);
  connect(cb, &QComboBox::activated, this, &FrmSetupCassa::segnaModificato);
  return cb;
}

// The numbered ports, then the devices this machine has; the current setting shows greyed
// while nothing is chosen.
QComboBox* FrmSetupCassa::elencoPorte(const char* nome, const QString& attuale) {
  QComboBox* cb = elenco(nome, numeriPorta());
  for (const platform::SerialDevice& d : a_.dispositivi) {
    cb->addItem(d.description.isEmpty() ? d.path : d.path + QStringLiteral("  -  ") + d.description,
                d.path);
    cb->setItemData(cb->count() - 1, d.description, Qt::ToolTipRole);
  }
  cb->setCurrentIndex(-1);
  cb->setPlaceholderText(attuale.isEmpty() ? QStringLiteral("(nessuna)") : attuale);
  cb->setMinimumContentsLength(12);
  cb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return cb;
}

QLineEdit* FrmSetupCassa::casella(const char* nome, const QString& testo) {
  auto* t = new QLineEdit(testo);
  t->setObjectName(nome);
  connect(t, &QLineEdit::textEdited, this, &FrmSetupCassa::segnaModificato);
  return t;
}

QWidget* FrmSetupCassa::paginaCassa() {
  const ImpostazioniSeriali& r = g_.RegCassa;
  cbPortaComCassa_ = elencoPorte("cbPortaComCassa", r.porta);
  cbVelocitaComCassa_ =
      elenco("cbVelocitaComCassa",
             {"110", "134", "150", "300", "600", "1200", "1800", "2400", "4800", "7200", "9600",
              "14400", "19200", "38400", "57600", "115200", "128000", "256000"});
  cbBitDatiComCassa_ = elenco("cbBitDatiComCassa", {"4", "5", "6", "7", "8"});
  cbParitaComCassa_ = elenco("cbParitaComCassa", {"Pari", "Dispari", "Nessuna", "Mark", "Spazio"});
  cbBitStopComCassa_ = elenco("cbBitStopComCassa", {"1", "1,5", "2"});
  cbFlussoComCassa_ = elenco("cbFlussoComCassa", {"Xon / Xoff", "Hardware", "Nessuno"});
  const std::pair<QComboBox*, QString> attuali[] = {
      {cbVelocitaComCassa_, r.velocita}, {cbBitDatiComCassa_, r.bitDati},
      {cbParitaComCassa_, r.parita},     {cbBitStopComCassa_, r.bitStop},
      {cbFlussoComCassa_, r.flusso},
  };
  for (const auto& [cb, valore] : attuali) cb->setPlaceholderText(valore);

  auto* seriale = new QFormLayout;
  seriale->addRow(QStringLiteral("Numero Porta"), cbPortaComCassa_);
  seriale->addRow(QStringLiteral("Velocità (Bit per secondo)"), cbVelocitaComCassa_);
  seriale->addRow(QStringLiteral("Bit di dati"), cbBitDatiComCassa_);
  seriale->addRow(QStringLiteral("Parità"), cbParitaComCassa_);
  seriale->addRow(QStringLiteral("Bit di stop"), cbBitStopComCassa_);
  seriale->addRow(QStringLiteral("Controllo di flusso"), cbFlussoComCassa_);

  auto* caselle = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) {
    txtIP_[i] = casella(QStringLiteral("txtIP%1").arg(i + 1).toLatin1().constData(), valori_.ip[i]);
    txtIP_[i]->setMaxLength(3);
    txtIP_[i]->setMaximumWidth(60);
    txtIP_[i]->setAlignment(Qt::AlignCenter);
    FiltroTasti::applica(txtIP_[i], 1);
    // Installed after the key filter, so it sees every key first, refused ones too.
    txtIP_[i]->installEventFilter(this);
    if (i > 0) caselle->addWidget(new QLabel(QStringLiteral(".")));
    caselle->addWidget(txtIP_[i]);
  }
  caselle->addStretch();
  auto* ip = new QVBoxLayout;
  ip->addLayout(caselle);
  auto* suggerimento = new QLabel(
      QStringLiteral("* Se impostato Indirizzo IP - LASCIARE VUOTA la casella Numero Porta"));
  suggerimento->setWordWrap(true);
  ip->addWidget(suggerimento);

  ckTipoST_ = new QCheckBox(QStringLiteral("Stampante Mod. Torvane"));
  ckTipoST_->setObjectName("ckTipoST");
  ckTipoST_->setChecked(valori_.torvane);
  connect(ckTipoST_, &QCheckBox::clicked, this, [this](bool spuntato) {
    SalvaTorvane(g_.PercorsoSetup, spuntato);
    segnaModificato();
  });
  cmdProvaCollegamento_ = pulsante("cmdProvaCollegamento", QStringLiteral("Prova collegamento"),
                                   &FrmSetupCassa::provaCollegamento);
  cmdProvaCollegamento_->setEnabled(static_cast<bool>(a_.provaCollegamento));
  cmdProvaCollegamento_->setToolTip(
      a_.provaCollegamento ? QStringLiteral("Manda la richiesta (ENQ) alle casse impostate e "
                                            "dice quali rispondono")
                           : QStringLiteral("Archivio non aperto: collegamento non disponibile"));

  auto* collegamento = new QGridLayout;
  collegamento->addWidget(riquadro(QStringLiteral("Porta seriale di collegamento (COM):"), seriale),
                          0, 0, 3, 1);
  collegamento->addWidget(riquadro(QStringLiteral("Indirizzo IP (LAN - Wifi)"), ip), 0, 1);
  collegamento->addWidget(ckTipoST_, 1, 1);
  collegamento->addWidget(cmdProvaCollegamento_, 2, 1, Qt::AlignLeft | Qt::AlignTop);
  collegamento->setColumnStretch(0, 1);
  collegamento->setColumnStretch(1, 1);

  cbPortaComCassa1_ = elencoPorte("cbPortaComCassa1", g_.PortaCOM1);
  cbPortaComCassa2_ = elencoPorte("cbPortaComCassa2", g_.PortaCOM2);
  auto* aggiuntive = new QGridLayout;
  aggiuntive->addWidget(new QLabel(QStringLiteral("Cassa 2")), 0, 0);
  aggiuntive->addWidget(new QLabel(QStringLiteral("Numero Porta")), 0, 1);
  aggiuntive->addWidget(cbPortaComCassa1_, 0, 2);
  aggiuntive->addWidget(new QLabel(QStringLiteral("Cassa 3")), 1, 0);
  aggiuntive->addWidget(new QLabel(QStringLiteral("Numero Porta")), 1, 1);
  aggiuntive->addWidget(cbPortaComCassa2_, 1, 2);
  aggiuntive->setColumnStretch(2, 1);

  auto* pagina = new QWidget;
  auto* layout = new QVBoxLayout(pagina);
  layout->addWidget(riquadro(QStringLiteral("Collegamento Stampante Fiscale"), collegamento));
  layout->addWidget(riquadro(QStringLiteral("Porte Aggiuntive"), aggiuntive));
  layout->addStretch();
  return pagina;
}

QWidget* FrmSetupCassa::paginaStampanti() {
  txtStA4_ = casella("txtStA4", valori_.stampanteA4);
  txtStFR_ = casella("txtStFR", valori_.stampanteEtichette);
  auto* stampanti = new QGridLayout;
  const std::tuple<QString, QLineEdit*, const char*, void (FrmSetupCassa::*)()> righe[] = {
      {QStringLiteral("Predefinita per A4"), txtStA4_, "cmdCambiaST0",
       &FrmSetupCassa::cambiaStampanteA4},
      {QStringLiteral("Predefinita per Frontalini"), txtStFR_, "cmdCambiaST1",
       &FrmSetupCassa::cambiaStampanteEtichette},
  };
  int riga = 0;
  for (const auto& [etichetta, testo, nome, azione] : righe) {
    testo->setReadOnly(true);  // chosen from the installed printers only
    stampanti->addWidget(new QLabel(etichetta), riga, 0);
    stampanti->addWidget(testo, riga, 1);
    stampanti->addWidget(pulsante(nome, QStringLiteral("Cambia"), azione), riga, 2);
    ++riga;
  }
  stampanti->setColumnStretch(1, 1);

  imgSfondo_ = new QLabel;
  imgSfondo_->setObjectName("imgSfondo");
  imgSfondo_->setFixedSize(kAnteprimaSfondo);
  imgSfondo_->setFrameShape(QFrame::StyledPanel);
  imgSfondo_->setAlignment(Qt::AlignCenter);
  auto* sfondo = new QHBoxLayout;
  sfondo->addWidget(imgSfondo_);
  sfondo->addWidget(
      pulsante("cmdCambiaSfondo", QStringLiteral("Cambia Sfondo"), &FrmSetupCassa::cambiaSfondo), 0,
      Qt::AlignBottom);
  sfondo->addStretch();

  PicColore_ = new QLabel;
  PicColore_->setObjectName("PicColore");
  PicColore_->setFixedSize(80, 40);
  PicColore_->setFrameShape(QFrame::StyledPanel);
  PicColore_->setAutoFillBackground(true);
  auto* colore = new QHBoxLayout;
  colore->addWidget(PicColore_);
  colore->addWidget(
      pulsante("CmdColore", QStringLiteral("Cambia Colore"), &FrmSetupCassa::cambiaColore));
  colore->addStretch();

  auto* pagina = new QWidget;
  auto* layout = new QVBoxLayout(pagina);
  layout->addWidget(riquadro(QStringLiteral("Assegnazione Stampanti del Sistema"), stampanti));
  auto* aspetto = new QHBoxLayout;
  aspetto->addWidget(riquadro(QStringLiteral("Img Sfondo"), sfondo), 2);
  aspetto->addWidget(riquadro(QStringLiteral("Colore di Sfondo"), colore), 1);
  layout->addLayout(aspetto);
  layout->addStretch();
  return pagina;
}

QWidget* FrmSetupCassa::paginaDati() {
  txtDatabaseEsterno_ = casella("txtDatabaseEsterno", valori_.databaseEsterno);
  auto* database = new QHBoxLayout;
  database->addWidget(txtDatabaseEsterno_, 1);
  database->addWidget(pulsante("cmdSelezionaDBEsterno", QStringLiteral("Sfoglia..."),
                               &FrmSetupCassa::cambiaDatabase));

  txtNomeAttivita_ = casella("txtNomeAttivita", valori_.nomeAttivita);
  auto* nome = new QHBoxLayout;
  nome->addWidget(txtNomeAttivita_);

  const QString didascalie[] = {QStringLiteral("Metodo Lento"), QStringLiteral("Metodo Veloce")};
  auto* metodo = new QHBoxLayout;
  for (int i = 0; i < 2; ++i) {
    ckPrendiPLU_[i] = new QCheckBox(didascalie[i]);
    ckPrendiPLU_[i]->setObjectName(QStringLiteral("ckPrendiPLU%1").arg(i));
    connect(ckPrendiPLU_[i], &QCheckBox::clicked, this, &FrmSetupCassa::segnaModificato);
    metodo->addWidget(ckPrendiPLU_[i]);
  }
  ckPrendiPLU_[0]->setChecked(valori_.metodoLento);
  ckPrendiPLU_[1]->setChecked(valori_.metodoVeloce);
  metodo->addStretch();

  txtInterscambioIN_ = casella("txtInterscambioIN", valori_.cartellaIn);
  txtInterscambioOUT_ = casella("txtInterscambioOUT", valori_.cartellaOut);
  auto* interscambio = new QGridLayout;
  interscambio->addWidget(new QLabel(QStringLiteral("Cartella di IN")), 0, 0);
  interscambio->addWidget(txtInterscambioIN_, 0, 1);
  interscambio->addWidget(
      pulsante("cmdCartellaIN", QStringLiteral("Sfoglia..."), &FrmSetupCassa::cambiaCartellaIn), 0,
      2);
  interscambio->addWidget(new QLabel(QStringLiteral("Cartella di OUT")), 1, 0);
  interscambio->addWidget(txtInterscambioOUT_, 1, 1);
  interscambio->addWidget(
      pulsante("cmdCartellaOUT", QStringLiteral("Sfoglia..."), &FrmSetupCassa::cambiaCartellaOut),
      1, 2);
  interscambio->setColumnStretch(1, 1);

  auto* pagina = new QWidget;
  auto* layout = new QVBoxLayout(pagina);
  layout->addWidget(riquadro(QStringLiteral("DATABASE DA COLLEGARE"), database));
  layout->addWidget(riquadro(QStringLiteral("Nome Attività su Frontalino"), nome));
  layout->addWidget(riquadro(QStringLiteral("Acquisizione PLU"), metodo));
  layout->addWidget(riquadro(QStringLiteral("INTERSCAMBIO"), interscambio));
  layout->addStretch();
  return pagina;
}

bool FrmSetupCassa::modificato() const { return CmdApplica_->isEnabled(); }

void FrmSetupCassa::segnaModificato() { CmdApplica_->setEnabled(true); }

bool FrmSetupCassa::salva() {
  ValoriSetupCassa v = valori_;
  v.portaCom = scelta(cbPortaComCassa_);
  v.portaCom1 = scelta(cbPortaComCassa1_);
  v.portaCom2 = scelta(cbPortaComCassa2_);
  v.velocita = scelta(cbVelocitaComCassa_);
  v.bitDati = scelta(cbBitDatiComCassa_);
  v.parita = scelta(cbParitaComCassa_);
  v.bitStop = scelta(cbBitStopComCassa_);
  v.flusso = scelta(cbFlussoComCassa_);
  for (int i = 0; i < 4; ++i) v.ip[i] = txtIP_[i]->text().trimmed();
  v.cartellaIn = txtInterscambioIN_->text();
  v.cartellaOut = txtInterscambioOUT_->text();
  v.metodoLento = ckPrendiPLU_[0]->isChecked();
  v.metodoVeloce = ckPrendiPLU_[1]->isChecked();
  v.nomeAttivita = txtNomeAttivita_->text();
  v.databaseEsterno = txtDatabaseEsterno_->text();
  const EsitoSetup esito = SalvaSetupCassa(v, g_);
  if (esito != EsitoSetup::Salvato) {
    a_.prompts.ask({MessaggioSetup(esito), g_.TitoloProgramma, Buttons::Ok, Icon::Exclamation});
    return false;
  }
  CmdApplica_->setEnabled(false);
  return true;
}

bool FrmSetupCassa::puoChiudere() {
  if (!modificato()) return true;
  const Answer risposta =
      a_.prompts.ask({kDomandaNonSalvate, g_.TitoloProgramma, Buttons::YesNo, Icon::Critical});
  // A refused store keeps the window open, so that nothing typed is lost.
  return risposta != Answer::Yes || salva();
}

void FrmSetupCassa::reject() {
  if (puoChiudere()) QDialog::reject();
}

void FrmSetupCassa::showEvent(QShowEvent* event) {
  mostraSfondo(valori_.immagineSfondo);
  mostraColore();
  QDialog::showEvent(event);
}

bool FrmSetupCassa::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  segnaModificato();
  return static_cast<QKeyEvent*>(event)->text() == u",";
}

void FrmSetupCassa::cambiaStampante(int indice) {
  if (ElencoStampanti(a_.stampanti).isEmpty()) {
    a_.prompts.ask({QStringLiteral("Nessuna stampante risulta installata - Impossibile continuare"),
                    g_.TitoloProgramma, Buttons::Ok, Icon::Information});
    return;
  }
  FrmChangeST scelta(QString::number(indice), g_.PercorsoSetup, a_.stampanti, a_.prompts, this);
  scelta.exec();
  txtStA4_->setText(LeggiStampanteST(g_.PercorsoSetup, kChiaveStampanteA4));
  txtStFR_->setText(LeggiStampanteST(g_.PercorsoSetup, kChiaveStampanteEtichette));
}

void FrmSetupCassa::cambiaSfondo() {
  const QString percorso =
      a_.scegliFile(QStringLiteral("Seleziona l'immagine di sfondo"), kFiltroImmagini);
  if (percorso.isEmpty()) return;
  valori_.immagineSfondo = percorso;
  mostraSfondo(percorso);
  segnaModificato();
}

void FrmSetupCassa::cambiaColore() {
  const std::optional<QColor> colore = a_.scegliColore(ColoreDaValore(valori_.colore));
  if (!colore) return;
  valori_.colore = ValoreColore(colore->red(), colore->green(), colore->blue());
  mostraColore();
  segnaModificato();
}

void FrmSetupCassa::cambiaDatabase() {
  const QString percorso =
      a_.scegliFile(QStringLiteral("Seleziona il Database da collegare"), kFiltroDatabase);
  if (percorso.isEmpty()) return;
  txtDatabaseEsterno_->setText(percorso);
  segnaModificato();
}

void FrmSetupCassa::cambiaCartellaIn() {
  const QString cartella =
      a_.scegliCartella(QStringLiteral("Seleziona la cartella per i dati in ingresso"));
  if (cartella.isEmpty()) return;
  txtInterscambioIN_->setText(cartella);
  segnaModificato();
}

void FrmSetupCassa::cambiaCartellaOut() {
  const QString cartella =
      a_.scegliCartella(QStringLiteral("Seleziona la cartella per i dati in uscita"));
  if (cartella.isEmpty()) return;
  txtInterscambioOUT_->setText(cartella);
  segnaModificato();
}

// Tries the registers as stored: unsaved changes are offered for storing first.
void FrmSetupCassa::provaCollegamento() {
  if (modificato()) {
    const Answer risposta =
        a_.prompts.ask({kDomandaNonSalvate, g_.TitoloProgramma, Buttons::YesNo, Icon::Question});
    if (risposta == Answer::Yes && !salva()) return;
  }
  if (LavoroInCorso::attivo()) {
    a_.prompts.ask({QString::fromUtf8(LavoroInCorso::kMessaggio), g_.TitoloProgramma, Buttons::Ok,
                    Icon::Exclamation});
    return;
  }
  cmdProvaCollegamento_->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::vector<EsitoProva> esiti = a_.provaCollegamento();
  QApplication::restoreOverrideCursor();
  cmdProvaCollegamento_->setEnabled(true);
  const bool tutte = !esiti.empty() && std::all_of(esiti.begin(), esiti.end(), [](const auto& e) {
    return e.risposta == EsitoProva::Risposta::Ack;
  });
  a_.prompts.ask({TestoProva(esiti), g_.TitoloProgramma, Buttons::Ok,
                  tutte ? Icon::Information : Icon::Exclamation});
}

void FrmSetupCassa::mostraSfondo(const QString& percorso) {
  const QPixmap immagine(percorso);
  if (percorso.isEmpty() || immagine.isNull()) {
    imgSfondo_->setPixmap({});
    imgSfondo_->setText(percorso.isEmpty() ? QStringLiteral("(nessuna)")
                                           : QStringLiteral("(immagine non leggibile)"));
    return;
  }
  imgSfondo_->setPixmap(
      immagine.scaled(kAnteprimaSfondo, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void FrmSetupCassa::mostraColore() {
  QPalette colori = PicColore_->palette();
  colori.setColor(QPalette::Window, ColoreDaValore(valori_.colore));
  PicColore_->setPalette(colori);
}

}  // namespace listinova
