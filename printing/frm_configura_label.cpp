// The label editor: a sample label whose elements the user drags and restyles.
#include "printing/frm_configura_label.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "catalogue/modulo_ean.h"
#include "platform/barcode_drawing.h"
#include "platform/db/database.h"
#include "platform/prompts.h"
#include "printing/adatta_cella.h"
#include "printing/impostazioni_etichetta.h"
#include "printing/superficie_painter.h"
#include "startup/error_log.h"
#include "startup/filtro_tasti.h"
#include "startup/modulo_file_ini.h"
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
  const QFont mostrato = FontPerDialogo(c);
  const QFont scelto = QFontDialog::getFont(&ok, mostrato, padre);
  if (!ok) return std::nullopt;
  return CarattereScelto(c, mostrato, scelto);
}

std::optional<quint32> DialogoColore(QWidget* padre, quint32 colore) {
  const QColor scelto =
      QColorDialog::getColor(ColoreEtichetta(colore), padre, QStringLiteral("Colore"));
  if (!scelto.isValid()) return std::nullopt;
  return quint32(scelto.red()) | quint32(scelto.green()) << 8 | quint32(scelto.blue()) << 16;
}

QIcon Campione(quint32 colore) {
  QPixmap pixmap(16, 16);
  pixmap.fill(ColoreEtichetta(colore));
  return QIcon(pixmap);
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

QFont FontPerDialogo(const CarattereEtichetta& c) {
  QFont font = FontEtichetta(c);
  // The dialog lists the faces installed: "Arial" is shown as the face drawn for it.
  font.setFamily(QFontInfo(font).family());
  return font;
}

CarattereEtichetta CarattereScelto(const CarattereEtichetta& prima, const QFont& mostrato,
                                   const QFont& scelto) {
  CarattereEtichetta c = prima;
  if (scelto.family() != mostrato.family()) c.nome = scelto.family();
  if (scelto.pointSizeF() != mostrato.pointSizeF()) c.punti = scelto.pointSizeF();
  if (scelto.bold() != mostrato.bold()) c.grassetto = scelto.bold();
  if (scelto.italic() != mostrato.italic()) c.corsivo = scelto.italic();
  if (scelto.underline() != mostrato.underline()) c.sottolineato = scelto.underline();
  if (scelto.strikeOut() != mostrato.strikeOut()) c.barrato = scelto.strikeOut();
  return c;
}

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

  chkAllowDragging_ = new QCheckBox(QStringLiteral("Sposta &Testo"));
  chkAllowDragging_->setObjectName("chkAllowDragging");
  Check1_ = new QCheckBox(QStringLiteral("NO Icona"));
  Check1_->setObjectName("Check1");
  chkVediBarcode_ = new QCheckBox(QStringLiteral("Stampa il codice a barre"));
  chkVediBarcode_->setObjectName("chkVediBarcode");
  chkVediBarcode_->setToolTip(
      QStringLiteral("Sotto le barre il codice a barre del prodotto; senza spunta il codice "
                     "del fornitore"));
  chkCodFornitoreEAN8_ = new QCheckBox(QStringLiteral("Codice fornitore come EAN-8"));
  chkCodFornitoreEAN8_->setObjectName("chkCodFornitoreEAN8");
  chkCodFornitoreEAN8_->setToolTip(
      QStringLiteral("Stampa in barre il codice del fornitore di 8 o 13 cifre"));

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

  auto* codice = new QGroupBox(QStringLiteral("Codice a barre"));
  auto* colonnaCodice = new QVBoxLayout(codice);
  colonnaCodice->addWidget(chkVediBarcode_);
  colonnaCodice->addWidget(chkCodFornitoreEAN8_);

  auto* colori = new QGroupBox(QStringLiteral("Colore delle scritte"));
  auto* grigliaColori = new QGridLayout(colori);
  const std::array<QString, kElementiTesto> nomi = {
      QStringLiteral("Prezzo/Kg"), QStringLiteral("Descrizione"), QStringLiteral("Prezzo"),
      QStringLiteral("Negozio"), QStringLiteral("Codice")};
  for (int i = 0; i < kElementiTesto; ++i) {
    cmdColore_[i] = new QPushButton(nomi[i]);
    cmdColore_[i]->setObjectName(QString("cmdColore_%1").arg(i));
    grigliaColori->addWidget(cmdColore_[i], i / 2, i % 2);
    connect(cmdColore_[i], &QPushButton::clicked, this, [this, i] { cambiaColore(i); });
  }

  auto* destra = new QVBoxLayout;
  destra->addWidget(costruisciFoglio());
  destra->addWidget(codice);
  destra->addWidget(colori);
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
  connect(chkVediBarcode_, &QCheckBox::toggled, this, [this](bool attiva) {
    if (!carica_) cambiaOpzione(QStringLiteral("VediBARCODE"), attiva);
  });
  connect(chkCodFornitoreEAN8_, &QCheckBox::toggled, this, [this](bool attiva) {
    if (!carica_) cambiaOpzione(QStringLiteral("ConvertiCodFornitoreInEAN8"), attiva);
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
  lblCella_ = new QLabel;
  lblCella_->setObjectName("lblCella");
  lblCella_->setToolTip(QStringLiteral("Il disegno dell'etichetta si adatta a questa misura"));
  form->addRow(QStringLiteral("Etichetta del foglio"), lblCella_);
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
  chkVediBarcode_->setChecked(impostazioni.opzioni.vediBarcode);
  chkCodFornitoreEAN8_->setChecked(impostazioni.opzioni.convertiInEAN);
  chkCodFornitoreEAN8_->setEnabled(!impostazioni.opzioni.vediBarcode);
  const int modello = cboModello_->findData(impostazioni.modelloFoglio);
  cboModello_->setCurrentIndex(std::max(0, modello));
  if (modello < 0 && !impostazioni.modelloFoglio.isEmpty()) {
    const QString rifiuto = FoglioRifiutato(impostazioni.modelloFoglio);
    if (!rifiuto.isEmpty())
      ambiente_.prompts.ask(
          {rifiuto, Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Exclamation});
  }
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
  mostraColori();
}

void FrmConfiguraLabel::mostraColori() {
  for (int i = 0; i < kElementiTesto; ++i)
    cmdColore_[i]->setIcon(Campione(layout_.testi[i].carattere.colore));
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
  const OpzioniCodice& opzioni = motore_.opzioniCodice();
  const bool barre = motore_.contesto() == kContestoToolbar
                         ? opzioni.vediBarcode || opzioni.convertiInEAN
                         : !DigitiDaTestoEAN(e.didascalia).isEmpty();
  if (indice == kCodiceBarre && barre) {
    l->setPixmap(BarreDiEsempio(e));
  } else {
    CarattereEtichetta c = e.carattere;
    // A code without bars prints in plain digits.
    if (c.nome == kFontCodiceBarre) c = {kFontInChiaro, kPuntiCodiceInChiaro};
    l->setPixmap({});
    l->setText(e.didascalia);
    l->setFont(FontEtichetta(c));
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
  // The layout is drawn in the cell it is designed for; the engine fits it to the sheet's.
  Shape1_->setFixedSize(Pixel(kLarghezzaCellaProgettata), Pixel(kAltezzaCellaProgettata));
  const QRectF cella = motore_.cella(0, 0).intersected(motore_.areaStampabileTwips());
  const QLocale italiano(QLocale::Italian, QLocale::Italy);
  lblCella_->setText(QStringLiteral("%1 × %2 mm")
                         .arg(italiano.toString(cella.width() / kTwipsPerMm, 'f', 1),
                              italiano.toString(cella.height() / kTwipsPerMm, 'f', 1)));
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

void FrmConfiguraLabel::cambiaColore(int indice) {
  CarattereEtichetta& c = layout_.testi[indice].carattere;
  const auto scelto =
      ambiente_.sceltaColore ? ambiente_.sceltaColore(c.colore) : DialogoColore(this, c.colore);
  if (!scelto) return;
  c.colore = *scelto;
  mostraElemento(indice);
  mostraColori();
}

// The two switches are stored at once, as the other sheet settings are; the sample follows.
void FrmConfiguraLabel::cambiaOpzione(const QString& chiave, bool attiva) {
  ScriviINI(ambiente_.percorsoSetup, QStringLiteral("Etichetta"), chiave,
            attiva ? QStringLiteral("Vero") : QStringLiteral("Falso"));
  const ImpostazioniEtichetta impostazioni = LeggiImpostazioniEtichetta(ambiente_.percorsoSetup);
  motore_.setOpzioniCodice(impostazioni.opzioni);
  chkCodFornitoreEAN8_->setEnabled(!impostazioni.opzioni.vediBarcode);
  const CarattereEtichetta carattere = layout_.testi[kCodiceBarre].carattere;
  ImpostaDidascalie(layout_, impostazioni, motore_.contesto(), riga_);
  layout_.testi[kCodiceBarre].carattere = carattere;
  mostraElemento(kCodiceBarre);
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
