#include "programma/mdi_principale.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/prompts.h"
#include "startup/error_log.h"
#include "startup/icone_pulsanti.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

MdiPrincipale::MdiPrincipale(platform::Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts) {
  setObjectName("mdiPrincipale");
  setWindowTitle(Globali().TitoloProgramma);
  setWindowIcon(iconaProgramma("magazzino"));
  resize(1000, 700);  // with its borders, inside a 1024 x 768 screen

  auto* toolbar = addToolBar("Toolbar1");
  toolbar->setObjectName("Toolbar1");
  toolbar->setMovable(false);
  toolbar->setIconSize(QSize(40, 40));
  toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  tbMaga_ = toolbar->addAction(iconaProgramma("magazzino"), "Magazzino");
  tbMaga_->setObjectName("tbMaga");
  tbImpo_ = toolbar->addAction(iconaProgramma("impostazioni"), "Impostazioni");
  tbImpo_->setObjectName("tbImpo");
  toolbar->addSeparator();
  tbEsci_ = toolbar->addAction(iconaProgramma("esci"), "Esci");
  tbEsci_->setObjectName("tbEsci");
  tbEsci_->setToolTip("Esci dal programma");
  connect(tbEsci_, &QAction::triggered, this, [this] {
    if (chiediUscita()) close();
  });
  setApriMagazzino({});
  setApriImpostazioni({});

  auto* sfondo = new QWidget(this);
  sfondo->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(sfondo);
  layout->setContentsMargins(0, 0, 0, 0);
  pctSfondo_ = new QLabel(sfondo);
  pctSfondo_->setObjectName("pctSfondo");
  pctSfondo_->setScaledContents(true);  // the picture is stretched to fill the frame
  pctSfondo_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  layout->addWidget(pctSfondo_);
  setCentralWidget(sfondo);

  statusBar()->setObjectName("StatusBar1");
  auto* cartella = new QLabel("Cartella dati: " + Globali().CartellaProgramma);
  auto* data = new QLabel(QDate::currentDate().toString("dd/MM/yyyy"));
  statusBar()->addWidget(cartella, 1);
  statusBar()->addPermanentWidget(data);
}

void MdiPrincipale::collega(QAction* azione, std::function<void()>& destinazione,
                            std::function<void()> apri, const QString& suggerimento) {
  destinazione = std::move(apri);
  azione->disconnect(this);
  azione->setEnabled(static_cast<bool>(destinazione));
  azione->setToolTip(destinazione ? suggerimento
                                  : suggerimento + " (non ancora disponibile in questa versione)");
  if (destinazione) connect(azione, &QAction::triggered, this, [&destinazione] { destinazione(); });
}

void MdiPrincipale::setApriMagazzino(std::function<void()> apri) {
  collega(tbMaga_, apriMagazzino_, std::move(apri), "Archivio prodotti");
}

void MdiPrincipale::setApriImpostazioni(std::function<void()> apri) {
  collega(tbImpo_, apriImpostazioni_, std::move(apri), "Impostazioni");
}

bool MdiPrincipale::chiediUscita() {
  if (uscitaConfermata_) return true;
  Answer risposta = prompts_.ask({"Vuoi uscire dal programma e tornare al sistema ?",
                                  Globali().TitoloProgramma, Buttons::OkCancel, Icon::Question});
  if (risposta != Answer::Ok) return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  uscitaConfermata_ = true;
  return true;
}

void MdiPrincipale::closeEvent(QCloseEvent* event) {
  if (!chiediUscita()) {
    event->ignore();
    return;
  }
  event->accept();
  QApplication::restoreOverrideCursor();
  QApplication::quit();
}

void MdiPrincipale::aggiornaSfondo() {
  // The colour too: the setup window may have changed it since.
  QPalette colori = centralWidget()->palette();
  colori.setColor(QPalette::Window, ColoreDaValore(Globali().ColoreInterfaccia));
  centralWidget()->setPalette(colori);
  const QString percorso = LeggiINI(Globali().PercorsoSetup, "InterfacciaUtente", "ImgSfondo", "?");
  if (percorso == "?" || percorso.isEmpty() || !QFile::exists(percorso)) {
    pctSfondo_->clear();
    pctSfondo_->hide();
    immagineSfondo_.clear();
    return;
  }
  if (percorso == immagineSfondo_) return;
  QPixmap immagine(percorso);
  if (immagine.isNull()) {
    ScriviErrore("mdiPrincipale", "MDIForm_Activate",
                 "Immagine di sfondo non leggibile: " + percorso, 481);
    pctSfondo_->hide();
    immagineSfondo_.clear();
    return;
  }
  pctSfondo_->setPixmap(immagine);
  pctSfondo_->show();
  immagineSfondo_ = percorso;
}

void MdiPrincipale::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) aggiornaSfondo();
  QMainWindow::changeEvent(event);
}

void MdiPrincipale::showEvent(QShowEvent* event) {
  aggiornaSfondo();
  QMainWindow::showEvent(event);
}

}  // namespace listinova
