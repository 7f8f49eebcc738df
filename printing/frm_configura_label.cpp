// The label editor: a sample label whose elements the user drags and restyles.
#include "printing/frm_configura_label.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "catalogue/modulo_ean.h"
#include "platform/barcode_drawing.h"
#include "platform/db/database.h"
#include "platform/prompts.h"
#include "printing/impostazioni_etichetta.h"
#include "printing/superficie_painter.h"
#include "startup/error_log.h"
#include "startup/filtro_tasti.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr char kModulo[] = "frmConfiguraLabel";
constexpr int kModoSoloCifre = 1;
constexpr int kIndiceLogo = kElementiTesto;
// A valid EAN-13 that stands for "a bar code" in the editor when the caption is not one.
constexpr char kCifreEsempio[] = "8001234567897";
constexpr int kLatoLogoPixel = 48;
const QSize kSuperficiePixel(560, 300);
constexpr double kCorrezioneMassimaMm = 20;

int Pixel(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

std::optional<CarattereEtichetta> DialogoCarattere(QWidget* padre, const CarattereEtichetta& c) {
  bool ok = false;
  const QFont scelto = QFontDialog::getFont(&ok, FontEtichetta(c), padre);
  if (!ok) return std::nullopt;
  CarattereEtichetta nuovo = c;
  nuovo.nome = scelto.family();
  nuovo.punti = scelto.pointSizeF();
  nuovo.grassetto = scelto.bold();
  nuovo.corsivo = scelto.italic();
  nuovo.sottolineato = scelto.underline();
  nuovo.barrato = scelto.strikeOut();
  return nuovo;
}

// The bars the engine will print for the element, at the size it will print them.
QPixmap BarreDiEsempio(const ElementoTesto& e) {
  QString cifre = DigitiDaTestoEAN(e.didascalia);
  if (cifre.isEmpty()) cifre = QString::fromLatin1(kCifreEsempio);
  const QSizeF dimensione = DimensioneCodice(e.carattere.punti, cifre.size());
  QPixmap pixmap(std::max(1, Pixel(dimensione.width())), std::max(1, Pixel(dimensione.height())));
  pixmap.fill(Qt::transparent);  // the elements beneath stay visible
  QPainter painter(&pixmap);
  platform::ZintBarcodeDrawing().drawEan(painter, QRectF(QPointF(0, 0), pixmap.size()), cifre);
  return pixmap;
}

}  // namespace

QImage LogoEtichetta(const QString& cartellaProgramma) {
  QImage logo(cartellaProgramma + "/Logo.png");
  if (!logo.isNull()) return logo;
  logo = QImage(QStringLiteral(":/icons/magazzino.svg"))
             .scaled(kLatoLogoPixel * 2, kLatoLogoPixel * 2, Qt::KeepAspectRatio,
                     Qt::SmoothTransformation);
  return logo;
}

FrmConfiguraLabel::FrmConfiguraLabel(AmbienteEditorEtichette ambiente, QString contesto,
                                     RigaPerEtichetta riga, QWidget* parent)
    : QDialog(parent),
      ambiente_(std::move(ambiente)),
      riga_(std::move(riga)),
      layout_(LayoutEtichetta::progettato()),
      motore_(ambiente_.stampante),
      modelli_(CatalogoModelliFoglio()) {
  setObjectName("frmConfiguraLabel");
  setWindowTitle(QStringLiteral("Configurazione Etichetta - Frontalino"));
  motore_.setContesto(contesto);
  motore_.setSelezione([this](const QString& c) {
    return SelezionaProdotti(ambiente_.db, LeggiSelezioneStandard(ambiente_.percorsoSetup), c,
                             ambiente_.filtri ? ambiente_.filtri() : FiltriEtichette{});
  });
  motore_.setApriAnteprima(ambiente_.anteprima);
  layout_.logo = LogoEtichetta(ambiente_.cartellaProgramma);
  layout_.dimensioneLogo = QSizeF(kLatoLogoPixel, kLatoLogoPixel) * kTwipsPerPixel;

  chkAllowDragging_ = new QCheckBox(QStringLiteral("Sposta &Testo"));
  chkAllowDragging_->setObjectName("chkAllowDragging");
  Check1_ = new QCheckBox(QStringLiteral("NO Icona"));
  Check1_->setObjectName("Check1");

  auto* cmdAnteprima = new QPushButton(QStringLiteral("&Anteprima Etichette"));
  cmdAnteprima->setObjectName("cmdAnteprima");
  auto* cmdSalva = new QPushButton(QStringLiteral("&Salva Impostazioni"));
  cmdSalva->setObjectName("cmdSalva");
  auto* cmdChiudi = new QPushButton(QStringLiteral("&Chiudi"));
  cmdChiudi->setObjectName("cmdChiudi");

  auto* sinistra = new QVBoxLayout;
  sinistra->addWidget(costruisciSuperficie(), 1);
  sinistra->addWidget(
      new QLabel(QStringLiteral("1- Doppio Click sulle scritte per cambiare il Font")));
  auto* sposta = new QLabel(QStringLiteral(
      "2- Spuntare \"Sposta Testo\" e trascinare le scritte per disporre i dati sull'etichetta"));
  // Wrapped, and the sheet's captions over their boxes: the window fits a 1024-pixel screen.
  sposta->setWordWrap(true);
  sinistra->addWidget(sposta);
  auto* spunte = new QHBoxLayout;
  spunte->addWidget(chkAllowDragging_);
  spunte->addWidget(Check1_);
  spunte->addStretch();
  sinistra->addLayout(spunte);

  auto* destra = new QVBoxLayout;
  destra->addWidget(costruisciFoglio());
  destra->addStretch();
  destra->addWidget(cmdAnteprima);
  destra->addWidget(cmdSalva);
  destra->addWidget(cmdChiudi);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(sinistra, 1);
  layout->addLayout(destra);

  connect(cmdAnteprima, &QPushButton::clicked, this, [this] { motore_.Preview(); });
  connect(cmdSalva, &QPushButton::clicked, this, [this] { cmdSalva_Click(); });
  connect(cmdChiudi, &QPushButton::clicked, this, [this] { cmdChiudi_Click(); });
  connect(Check1_, &QCheckBox::toggled, this, [this](bool nascondi) {
    layout_.logoVisibile = !nascondi;
    Picture1_->setVisible(!nascondi);
    configura();
  });
  for (QLineEdit* casella : {txtNumCol_, txtNumRighe_})
    connect(casella, &QLineEdit::textChanged, this, [this](const QString& testo) {
      if (!carica_ && !testo.isEmpty()) configura();
    });
  connect(cboModello_, &QComboBox::currentIndexChanged, this, [this] {
    if (!carica_) cboModello_Change();
  });
  connect(spnInizio_, &QSpinBox::valueChanged, this, [this] {
    if (!carica_) configura();
  });
  for (QDoubleSpinBox* s : {spnCorrezioneX_, spnCorrezioneY_})
    connect(s, &QDoubleSpinBox::valueChanged, this, [this] {
      if (carica_ || !ambiente_.nomeStampante) return;
      ScriviSpostamentoStampante(ambiente_.percorsoSetup, ambiente_.nomeStampante(),
                                 {spnCorrezioneX_->value(), spnCorrezioneY_->value()});
    });
  aggiorna();
}

QWidget* FrmConfiguraLabel::costruisciSuperficie() {
  foglio_ = new QFrame;
  foglio_->setObjectName("superficie");
  foglio_->setMinimumSize(kSuperficiePixel);
  foglio_->setAutoFillBackground(true);
  QPalette bianco = foglio_->palette();
  bianco.setColor(QPalette::Window, Qt::white);
  foglio_->setPalette(bianco);
  Shape1_ = new QFrame(foglio_);
  Shape1_->setObjectName("Shape1");
  Shape1_->setFrameShape(QFrame::Box);
  Shape1_->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 1px dashed #4060a0; }"));
  Shape1_->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (int i = 0; i < kElementiTesto; ++i) {
    lblRigaEti_[i] = new QLabel(foglio_);
    lblRigaEti_[i]->setObjectName(QString("lblRigaEti_%1").arg(i));
    lblRigaEti_[i]->installEventFilter(this);
  }
  lblRigaEti_[kCodiceBarre]->setToolTip(QStringLiteral("Codice a barre"));
  Picture1_ = new QLabel(foglio_);
  Picture1_->setObjectName("Picture1");
  Picture1_->installEventFilter(this);
  return foglio_;
}

QWidget* FrmConfiguraLabel::costruisciFoglio() {
  auto* gruppo = new QGroupBox(QStringLiteral("Foglio"));
  auto* form = new QFormLayout(gruppo);
  form->setRowWrapPolicy(QFormLayout::WrapLongRows);
  txtNumCol_ = new QLineEdit(QString::number(kColonnePredefinite));
  txtNumCol_->setObjectName("txtNumCol");
  txtNumRighe_ = new QLineEdit(QString::number(kRighePredefinite));
  txtNumRighe_->setObjectName("txtNumRighe");
  for (QLineEdit* casella : {txtNumCol_, txtNumRighe_}) {
    FiltroTasti::applica(casella, kModoSoloCifre);
    casella->setMaximumWidth(50);
  }
  cboModello_ = new QComboBox;
  cboModello_->setObjectName("cboModello");
  cboModello_->addItem(QStringLiteral("(colonne e righe)"), QString());
  for (const auto& m : modelli_)
    cboModello_->addItem(QString("%1 - %2 x %3, %4 x %5 mm")
                             .arg(m.nome())
                             .arg(m.colonne)
                             .arg(m.righe)
                             .arg(m.larghezza, 0, 'f', 1)
                             .arg(m.altezza, 0, 'f', 1),
                         m.nome());
  cboModello_->setMaximumWidth(260);
  spnInizio_ = new QSpinBox;
  spnInizio_->setObjectName("spnInizio");
  spnInizio_->setRange(1, kMassimoEtichettePerFoglio);
  spnCorrezioneX_ = new QDoubleSpinBox;
  spnCorrezioneX_->setObjectName("spnCorrezioneX");
  spnCorrezioneY_ = new QDoubleSpinBox;
  spnCorrezioneY_->setObjectName("spnCorrezioneY");
  for (QDoubleSpinBox* s : {spnCorrezioneX_, spnCorrezioneY_}) {
    s->setRange(-kCorrezioneMassimaMm, kCorrezioneMassimaMm);
    s->setDecimals(1);
    s->setSingleStep(0.5);
    s->setSuffix(QStringLiteral(" mm"));
  }
  form->addRow(QStringLiteral("Col. x Pagina"), txtNumCol_);
  form->addRow(QStringLiteral("Righe x Pagina"), txtNumRighe_);
  form->addRow(QStringLiteral("Modello foglio"), cboModello_);
  form->addRow(QStringLiteral("Inizia dalla etichetta"), spnInizio_);
  form->addRow(QStringLiteral("Correzione stampante →"), spnCorrezioneX_);
  form->addRow(QStringLiteral("Correzione stampante ↓"), spnCorrezioneY_);
  return gruppo;
}

QWidget* FrmConfiguraLabel::elemento(int indice) const {
  return indice == kIndiceLogo ? static_cast<QWidget*>(Picture1_) : lblRigaEti_.at(indice);
}

QWidget* FrmConfiguraLabel::superficie() const { return foglio_; }

void FrmConfiguraLabel::aggiorna() {
  carica_ = true;
  const ImpostazioniEtichetta impostazioni = LeggiImpostazioniEtichetta(ambiente_.percorsoSetup);
  motore_.setOpzioniCodice(impostazioni.opzioni);
  ImpostaDidascalie(layout_, impostazioni, motore_.contesto(), riga_);
  try {
    if (CaricaLayout(ambiente_.db, layout_)) {
      txtNumCol_->setText(QString::number(layout_.numCol));
      txtNumRighe_->setText(QString::number(layout_.numRow));
    }
  } catch (const std::exception& errore) {
    ScriviErrore(kModulo, "CaricaLayout", QString::fromUtf8(errore.what()), 0);
  }
  const int modello = cboModello_->findData(impostazioni.modelloFoglio);
  cboModello_->setCurrentIndex(std::max(0, modello));
  const QPointF correzione =
      ambiente_.nomeStampante
          ? LeggiSpostamentoStampante(ambiente_.percorsoSetup, ambiente_.nomeStampante())
          : QPointF();
  spnCorrezioneX_->setValue(correzione.x());
  spnCorrezioneY_->setValue(correzione.y());
  carica_ = false;
  mostraElementi();
  configura();
}

void FrmConfiguraLabel::mostraElementi() {
  for (int i = 0; i <= kElementiTesto; ++i) mostraElemento(i);
  Shape1_->lower();
}

void FrmConfiguraLabel::mostraElemento(int indice) {
  if (indice == kIndiceLogo) {
    Picture1_->setPixmap(QPixmap::fromImage(layout_.logo)
                             .scaled(Pixel(layout_.dimensioneLogo.width()),
                                     Pixel(layout_.dimensioneLogo.height()), Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation));
    Picture1_->adjustSize();
    Picture1_->move(Pixel(layout_.logoLeft), Pixel(layout_.logoTop));
    Picture1_->setVisible(layout_.logoVisibile);
    return;
  }
  const ElementoTesto& e = layout_.testi[indice];
  QLabel* l = lblRigaEti_[indice];
  if (indice == kCodiceBarre &&
      (e.carattere.nome == kFontCodiceBarre || !DigitiDaTestoEAN(e.didascalia).isEmpty())) {
    l->setPixmap(BarreDiEsempio(e));
  } else {
    l->setText(e.didascalia);
    l->setFont(FontEtichetta(e.carattere));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, ColoreEtichetta(e.carattere.colore));
    l->setPalette(p);
  }
  l->adjustSize();
  l->move(Pixel(e.left), Pixel(e.top));
}

const ModelloFoglio* FrmConfiguraLabel::modelloScelto() const {
  const QString nome = cboModello_->currentData().toString();
  for (const auto& m : modelli_)
    if (m.nome() == nome) return &m;
  return nullptr;
}

void FrmConfiguraLabel::configura() {
  try {
    ConfiguraMotore(
        motore_, layout_,
        {txtNumCol_->text(), txtNumRighe_->text(), modelloScelto(), spnInizio_->value()});
  } catch (const std::exception& errore) {
    ScriviErrore(kModulo, "ConfiguraMotore", QString::fromUtf8(errore.what()), 0);
  }
  const QRectF cella = motore_.cella(0, 0);
  if (cella.width() > 0) Shape1_->setFixedWidth(Pixel(cella.width()));
  if (cella.height() > 0) Shape1_->setFixedHeight(Pixel(cella.height()));
}

void FrmConfiguraLabel::cboModello_Change() {
  const ModelloFoglio* m = modelloScelto();
  ScriviModelloFoglio(ambiente_.percorsoSetup, m ? m->nome() : QString());
  if (m) {
    carica_ = true;
    txtNumCol_->setText(QString::number(m->colonne));
    txtNumRighe_->setText(QString::number(m->righe));
    carica_ = false;
  }
  configura();
}

bool FrmConfiguraLabel::eventFilter(QObject* watched, QEvent* event) {
  int indice = -1;
  for (int i = 0; i <= kElementiTesto; ++i)
    if (watched == elemento(i)) indice = i;
  if (indice < 0) return QDialog::eventFilter(watched, event);
  auto* w = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* m = static_cast<QMouseEvent*>(event);
      if (!chkAllowDragging_->isChecked() || m->button() != Qt::LeftButton) break;
      trascinato_ = w;
      presa_ = m->position().toPoint();
      w->raise();
      return true;
    }
    case QEvent::MouseMove:
      if (trascinato_ == w) {
        const QPoint sul =
            w->mapTo(foglio_, static_cast<QMouseEvent*>(event)->position().toPoint());
        w->move(sul - presa_);
        return true;
      }
      break;
    case QEvent::MouseButtonRelease:
      if (trascinato_ == w) {
        const QPoint sul =
            w->mapTo(foglio_, static_cast<QMouseEvent*>(event)->position().toPoint());
        w->move(sul - presa_);
        trascinato_ = nullptr;
        lasciaElemento(indice);
        return true;
      }
      break;
    case QEvent::MouseButtonDblClick:
      if (indice < kElementiTesto) {
        trascinato_ = nullptr;
        cambiaCarattere(indice);
        return true;
      }
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void FrmConfiguraLabel::lasciaElemento(int indice) {
  const QWidget* w = elemento(indice);
  const double left = w->x() * kTwipsPerPixel;
  const double top = w->y() * kTwipsPerPixel;
  if (indice == kIndiceLogo) {
    layout_.logoLeft = left;
    layout_.logoTop = top;
  } else {
    layout_.testi[indice].left = left;
    layout_.testi[indice].top = top;
  }
}

void FrmConfiguraLabel::cambiaCarattere(int indice) {
  CarattereEtichetta& c = layout_.testi[indice].carattere;
  const auto scelto =
      ambiente_.sceltaCarattere ? ambiente_.sceltaCarattere(c) : DialogoCarattere(this, c);
  if (!scelto) return;
  c = *scelto;
  mostraElemento(indice);
}

void FrmConfiguraLabel::cmdSalva_Click() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    platform::db::Database::Transaction transazione(ambiente_.db);
    ambiente_.db.execute(IstruzionePosizioni(layout_, txtNumCol_->text(), txtNumRighe_->text()));
    ambiente_.db.execute(IstruzioneCaratteri(layout_));
    transazione.commit();
  } catch (const std::exception& errore) {
    ScriviErrore(kModulo, "cmdSalva_Click", QString::fromUtf8(errore.what()), 0);
    QApplication::restoreOverrideCursor();
    ambiente_.prompts.ask({QStringLiteral("Impostazioni dell'etichetta non salvate."),
                           Globali().TitoloProgramma, platform::Buttons::Ok,
                           platform::Icon::Exclamation});
    return;
  }
  QApplication::restoreOverrideCursor();
}

void FrmConfiguraLabel::cmdChiudi_Click() {
  if (motore_.contesto() == kContestoToolbar) motore_.chiudiSelezione();
  motore_.setContesto(kContestoToolbar);
  accept();
}

}  // namespace listinova
