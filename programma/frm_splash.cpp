#include "programma/frm_splash.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "startup/icone_pulsanti.h"
#include "startup/var_globali.h"

namespace listinova {

FrmSplash::FrmSplash(Passi passi, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), passi_(std::move(passi)) {
  setObjectName("frmSplash");
  setWindowTitle(Globali().TitoloProgramma);
  setFixedSize(520, 300);
  setStyleSheet(
      "#frmSplash { background: #1f4e79; border: 2px solid #0f2e4f; }"
      "QLabel { color: white; }");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(30, 24, 30, 24);
  auto etichetta = [&](const char* nome, const QString& testo, int punti, bool grassetto) {
    auto* label = new QLabel(testo, this);
    label->setObjectName(nome);
    QFont font = label->font();
    font.setPointSize(punti);
    font.setBold(grassetto);
    label->setFont(font);
    layout->addWidget(label);
    return label;
  };
  auto* logo = new QLabel(this);
  logo->setPixmap(iconaProgramma("magazzino").pixmap(64, 64));
  layout->addWidget(logo);
  etichetta("lblCompanyProduct", Globali().TitoloProgramma, 26, true);
  etichetta("lblVersion",
            QStringLiteral("Versione %1.%2.%3")
                .arg(LISTINOVA_VERSION_MAJOR)
                .arg(LISTINOVA_VERSION_MINOR)
                .arg(LISTINOVA_VERSION_PATCH),
            11, false);
  etichetta("lblPlatform", "x sistema Linux", 10, false);
  layout->addStretch();
  etichetta("lblWarning", "ATTENDERE Prego... Inizializzazione in Corso", 11, true);
  ImpostaIconePulsanti(this);

  timerCarica_.setParent(this);
  timerCarica_.setObjectName("TimerCarica");
  timerCarica_.setSingleShot(true);
  timerCarica_.setInterval(kAttesaMs);
  connect(&timerCarica_, &QTimer::timeout, this, &FrmSplash::passaAlPrincipale);
}

void FrmSplash::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (avviato_) return;
  avviato_ = true;
  passiInCorso_ = true;
  // Let the window paint before the slow steps start.
  QTimer::singleShot(0, this, &FrmSplash::avvia);
}

void FrmSplash::avvia() {
  QCoreApplication::processEvents();
  const bool collegate = passi_.collegaTabelle && passi_.collegaTabelle();
  if (collegate && passi_.sincronizza) passi_.sincronizza();
  passiInCorso_ = false;
  if (collegate || tastoDuranteIPassi_)
    passaAlPrincipale();
  else
    timerCarica_.start();
}

// A key press skips the wait: the main window comes at once, or, while the external database
// is linked and synced, as soon as that is over (when it comes anyway).
void FrmSplash::keyPressEvent(QKeyEvent*) {
  if (passiInCorso_)
    tastoDuranteIPassi_ = true;
  else
    passaAlPrincipale();
}

void FrmSplash::passaAlPrincipale() {
  if (concluso_) return;
  concluso_ = true;
  timerCarica_.stop();
  accept();
  if (passi_.mostraPrincipale) passi_.mostraPrincipale();
}

}  // namespace listinova
