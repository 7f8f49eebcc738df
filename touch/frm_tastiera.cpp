#include "touch/frm_tastiera.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/clock.h"
#include "platform/notice.h"
#include "platform/qt_clock.h"

namespace listinova {
namespace {

// The screen the keyboard is drawn for, and its distance from the left edge (20 twips).
constexpr int kLarghezzaSchermoProgetto = 1024;
constexpr int kAltezzaSchermoProgetto = 768;
constexpr int kMargineSinistroTwips = 20;
constexpr int kTwipsPerPollice = 1440;
// A key a finger hits: the smallest comfortable target is about 9 mm, 48 pixels at 1024 x 768.
constexpr int kLatoTasto = 56;
constexpr int kAltezzaTasto = 52;
constexpr int kPassoX = 60;
constexpr int kPassoY = 58;
constexpr int kMargineGruppo = 10;
constexpr int kTitoloGruppo = 24;
constexpr int kPuntiTasti = 16;
constexpr int kPuntiDigitazione = 20;

const QString kRigheLettere[] = {QStringLiteral("QWERTYUIOP"), QStringLiteral("ASDFGHJKL"),
                                 QStringLiteral("ZXCVBNM")};
const QString kFormatoData = QStringLiteral("dd/MM/yyyy");
const QString kMascheraData = QStringLiteral("99/99/9999");

QRect casella(int colonna, int riga, int colonne = 1) {
  return {kMargineGruppo + colonna * kPassoX, kTitoloGruppo + riga * kPassoY,
          kLatoTasto + (colonne - 1) * kPassoX, kAltezzaTasto};
}

void scriviNelControllo(QWidget* controllo, const QString& testo) {
  if (auto* scelta = qobject_cast<QComboBox*>(controllo))
    scelta->setCurrentText(testo);
  else
    controllo->setProperty("text", testo);
}

}  // namespace

FrmTastiera::FrmTastiera(platform::Notice& notice, const platform::Clock& clock, QWidget* parent)
    : QDialog(parent), notice_(notice), clock_(clock) {
  setObjectName(QStringLiteral("frmTastiera"));
  setWindowTitle(QStringLiteral("Tastiera AlfaNumerica"));
  resize(kLarghezzaProgetto, kAltezzaProgetto);

  lblDigitazione_ = new QLineEdit(this);
  lblDigitazione_->setObjectName(QStringLiteral("lblDigitazione"));
  lblDigitazione_->setReadOnly(true);
  lblDigitazione_->setFocusPolicy(Qt::NoFocus);
  QFont grande = lblDigitazione_->font();
  grande.setPointSize(kPuntiDigitazione);
  grande.setBold(true);
  lblDigitazione_->setFont(grande);
  lblDigitazione_->setGeometry(10, 10, 620, 46);

  lblAvvisoData_ = new QLabel(QStringLiteral("Data: gg/mm/aaaa\n(vuota = oggi)"), this);
  lblAvvisoData_->setObjectName(QStringLiteral("lblAvvisoData"));
  lblAvvisoData_->setStyleSheet(QStringLiteral("QLabel { color: #8a1c00; font-weight: bold; }"));
  lblAvvisoData_->setGeometry(650, 10, 340, 46);

  costruisciAlfabeto();
  costruisciNumeri();
  costruisciComandi();
  for (QPushButton* p : findChildren<QPushButton*>()) {
    p->setAutoDefault(false);
    p->setFocusPolicy(Qt::NoFocus);
  }
  // Taken at the drawn size, so that every later size scales from it.
  resize_.setSourceForm(this);
  resize_.ResizeControls();
  AbilitaDisabilita(kModoTesto, nullptr, QString(), false);
}

QGroupBox* FrmTastiera::gruppo(const char* nome, const QString& titolo, const QRect& dove) {
  auto* riquadro = new QGroupBox(titolo, this);
  riquadro->setObjectName(QString::fromLatin1(nome));
  riquadro->setGeometry(dove);
  return riquadro;
}

QPushButton* FrmTastiera::tasto(QWidget* gruppo, const QString& nome, const QString& testo,
                                const QRect& dove) {
  auto* p = new QPushButton(testo, gruppo);
  p->setObjectName(nome);
  QFont carattere = p->font();
  carattere.setPointSize(kPuntiTasti);
  carattere.setBold(true);
  p->setFont(carattere);
  p->setGeometry(dove);
  return p;
}

void FrmTastiera::costruisciAlfabeto() {
  frAlfabeto_ = gruppo("frAlfabeto", QStringLiteral("Alfabeto"), {10, 64, 620, 276});
  int indice = 0;
  for (int riga = 0; riga < 3; ++riga) {
    const QString& lettere = kRigheLettere[riga];
    for (int colonna = 0; colonna < lettere.size(); ++colonna) {
      QPushButton* p = tasto(frAlfabeto_, QStringLiteral("ssAlfa_%1").arg(indice++),
                             lettere.at(colonna), casella(colonna, riga));
      // The rows are staggered as on a real keyboard.
      p->move(p->x() + riga * kPassoX / 2, p->y());
      connect(p, &QPushButton::clicked, this, [this, p] { Digita(p->text()); });
      ssAlfa_.push_back(p);
    }
  }
  ckMaiusc_ = new QCheckBox(QStringLiteral("Maiusc"), frAlfabeto_);
  ckMaiusc_->setObjectName(QStringLiteral("ckMaiusc"));
  ckMaiusc_->setGeometry(casella(0, 3, 2));
  ckMaiusc_->setChecked(true);
  connect(ckMaiusc_, &QCheckBox::toggled, this, &FrmTastiera::aggiornaMaiuscole);
  ssSpazio_ =
      tasto(frAlfabeto_, QStringLiteral("ssSpazio"), QStringLiteral("Spazio"), casella(2, 3, 7));
  connect(ssSpazio_, &QPushButton::clicked, this, [this] { Digita(QStringLiteral(" ")); });
}

void FrmTastiera::costruisciNumeri() {
  frNumeri_ = gruppo("frNumeri", QStringLiteral("Numeri"), {640, 64, 200, 276});
  for (int cifra = 0; cifra <= 9; ++cifra) {
    // A calculator pad: 7 8 9 on top, 0 at the bottom.
    const QRect dove =
        cifra == 0 ? casella(0, 3, 2) : casella((cifra - 1) % 3, 2 - (cifra - 1) / 3);
    ssNumeri_[cifra] =
        tasto(frNumeri_, QStringLiteral("ssNumeri_%1").arg(cifra), QString::number(cifra), dove);
    connect(ssNumeri_[cifra], &QPushButton::clicked, this,
            [this, cifra] { Digita(QString::number(cifra)); });
  }
  ssVirgola_ = tasto(frNumeri_, QStringLiteral("ssVirgola"), QStringLiteral(","), casella(2, 3));
  connect(ssVirgola_, &QPushButton::clicked, this, [this] { Digita(ssVirgola_->text()); });
}

void FrmTastiera::costruisciComandi() {
  frComandi_ = gruppo("frComandi", QStringLiteral("Comandi"), {850, 64, 140, 180});
  ssIndietro_ = tasto(frComandi_, QStringLiteral("ssIndietro"), QStringLiteral("← Canc"),
                      {kMargineGruppo, kTitoloGruppo, 120, kAltezzaTasto});
  connect(ssIndietro_, &QPushButton::clicked, this, &FrmTastiera::ssIndietro_Click);
  ssInvio_ = tasto(frComandi_, QStringLiteral("ssInvio"), QStringLiteral("Invio"),
                   {kMargineGruppo, kTitoloGruppo + kPassoY, 120, 90});
  connect(ssInvio_, &QPushButton::clicked, this, &FrmTastiera::ssInvio_Click);

  frChilo_ = gruppo("frChilo", QStringLiteral("Al Chilo"), {850, 250, 140, 90});
  ckChilo_ = new QCheckBox(QStringLiteral("Sì"), frChilo_);
  ckChilo_->setObjectName(QStringLiteral("ckChilo"));
  ckChilo_->setGeometry(kMargineGruppo, kTitoloGruppo, 120, kAltezzaTasto);
  // Check boxes a finger can hit.
  const QString grandi = QStringLiteral(
      "QCheckBox { font-size: 14pt; } QCheckBox::indicator { width: 28px; "
      "height: 28px; }");
  ckChilo_->setStyleSheet(grandi);
  ckMaiusc_->setStyleSheet(grandi);
}

void FrmTastiera::AbilitaDisabilita(int modo, QWidget* finestra, const QString& controllo,
                                    bool password) {
  modo_ = modo;
  finestraDestinazione_ = finestra;
  controlloDestinazione_ = controllo;
  password_ = password;
  const GruppiTastiera gruppi = GruppiDelModo(modo);
  frAlfabeto_->setEnabled(gruppi.lettere);
  frNumeri_->setEnabled(gruppi.cifre || gruppi.virgola);
  for (QPushButton* cifra : ssNumeri_) cifra->setEnabled(gruppi.cifre);
  ssVirgola_->setEnabled(gruppi.virgola);
  frChilo_->setEnabled(gruppi.alChilo);
  lblAvvisoData_->setVisible(gruppi.avvisoData);
  mostraDigitato();
}

void FrmTastiera::Digita(const QString& tasto) {
  digitato_ = DigitaTasto(digitato_, tasto, modo_);
  mostraDigitato();
}

void FrmTastiera::ssIndietro_Click() {
  digitato_ = TogliUltimo(digitato_);
  mostraDigitato();
}

void FrmTastiera::ssInvio_Click() {
  QWidget* bersaglio = nullptr;
  if (finestraDestinazione_) {
    for (QWidget* w : finestraDestinazione_->findChildren<QWidget*>())
      if (w->objectName().compare(controlloDestinazione_, Qt::CaseInsensitive) == 0) {
        bersaglio = w;
        break;
      }
  }
  if (!bersaglio) {
    accept();
    return;
  }
  if (GruppiDelModo(modo_).alChilo) {
    scriviNelControllo(bersaglio,
                       ckChilo_->isChecked() ? QStringLiteral("Vero") : QStringLiteral("Falso"));
  } else if (modo_ == kModoData) {
    if (digitato_.isEmpty()) {
      scriviNelControllo(bersaglio, clock_.now().date().toString(kFormatoData));
    } else if (const std::optional<QDate> data = DataDigitata(digitato_)) {
      auto* casella = qobject_cast<QLineEdit*>(bersaglio);
      if (casella) casella->setInputMask(QString());
      scriviNelControllo(bersaglio, data->toString(kFormatoData));
      if (casella) casella->setInputMask(kMascheraData);
    } else {
      notice_.show(QStringLiteral("Scrivere la data in Modo Corretto"));
      return;
    }
  } else {
    scriviNelControllo(bersaglio, digitato_);
  }
  accept();
}

void FrmTastiera::aggiornaMaiuscole() {
  const bool maiuscole = ckMaiusc_->isChecked();
  for (QPushButton* p : ssAlfa_) p->setText(maiuscole ? p->text().toUpper() : p->text().toLower());
}

void FrmTastiera::mostraDigitato() {
  lblDigitazione_->setText(password_ ? QString(digitato_.size(), u'*') : digitato_);
}

bool FrmTastiera::event(QEvent* evento) {
  if (evento->type() == QEvent::WindowActivate) posiziona();
  return QDialog::event(evento);
}

void FrmTastiera::showEvent(QShowEvent* evento) {
  adattaAlloSchermo();
  posiziona();
  QDialog::showEvent(evento);
}

void FrmTastiera::resizeEvent(QResizeEvent* evento) {
  QDialog::resizeEvent(evento);
  resize_.ResizeControls();
}

// Physical keys follow the same rules as the tapped ones.
void FrmTastiera::keyPressEvent(QKeyEvent* evento) {
  const GruppiTastiera gruppi = GruppiDelModo(modo_);
  const QString testo = evento->text();
  switch (evento->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ssInvio_Click();
      return;
    case Qt::Key_Backspace:
      ssIndietro_Click();
      return;
    default:
      break;
  }
  if (testo.size() == 1) {
    const QChar c = testo.at(0);
    if ((c.isLetter() && gruppi.lettere) || (c.isDigit() && gruppi.cifre) ||
        (c == u' ' && gruppi.lettere)) {
      Digita(testo);
      return;
    }
    if ((c == u',' || c == u'.') && gruppi.virgola) {
      Digita(QStringLiteral(","));
      return;
    }
  }
  QDialog::keyPressEvent(evento);
}

// The drawn size follows the screen's width and height, and the keys with it.
void FrmTastiera::adattaAlloSchermo() {
  const QScreen* schermo = screen();
  if (!schermo) return;
  const QRect area = schermo->availableGeometry();
  resize(kLarghezzaProgetto * area.width() / kLarghezzaSchermoProgetto,
         kAltezzaProgetto * area.height() / kAltezzaSchermoProgetto);
}

void FrmTastiera::posiziona() {
  const QScreen* schermo = screen();
  if (!schermo) return;
  const QRect area = schermo->availableGeometry();
  const int sinistra = kMargineSinistroTwips * logicalDpiX() / kTwipsPerPollice;
  move(area.left() + sinistra, area.top());
}

void ApriTastiera(int modo, QWidget* campo, platform::Notice& notice, bool password) {
  const platform::QtClock orologio;
  FrmTastiera tastiera(notice, orologio, campo->window());
  tastiera.AbilitaDisabilita(modo, campo->window(), campo->objectName(), password);
  tastiera.exec();
}

namespace {

class ApreAlTocco : public QObject {
 public:
  ApreAlTocco(QWidget* campo, int modo, platform::Notice& notice)
      : QObject(campo), modo_(modo), notice_(notice) {}

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override {
    if (evento->type() != QEvent::MouseButtonPress) return false;
    auto* campo = static_cast<QWidget*>(oggetto);
    if (!campo->isEnabled()) return false;
    ApriTastiera(modo_, campo, notice_);
    return true;
  }

 private:
  int modo_;
  platform::Notice& notice_;
};

}  // namespace

void TastieraAlTocco(QWidget* campo, int modo, platform::Notice& notice) {
  campo->installEventFilter(new ApreAlTocco(campo, modo, notice));
}

}  // namespace listinova
