// The label preview.
#include "printing/frm_preview.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "platform/prompts.h"
#include "printing/easy_print.h"
#include "printing/frm_print.h"
#include "printing/stampante_etichette.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr double kTwipsPerPollice = 1440.0;
constexpr double kFattoreMinimo = 0.05;

}  // namespace

double FattoreZoom(int valore, QSizeF vista, QSizeF pagina) {
  if (valore > 0) return valore / 100.0;
  if (pagina.isEmpty()) return 1;
  const double f = valore == kZoomPaginaIntera ? vista.height() / pagina.height()
                                               : vista.width() / pagina.width();
  return std::max(f, kFattoreMinimo);
}

FrmPreview::FrmPreview(EasyPrint& documento, platform::Prompts& prompts, AzioniAnteprima azioni,
                       QWidget* parent)
    : QDialog(parent),
      documento_(documento),
      prompts_(prompts),
      azioni_(std::move(azioni)),
      cboZoom_(new QComboBox),
      area_(new QScrollArea),
      immagine_(new QLabel),
      lblStato_(new QLabel),
      cmdPrec_(new QPushButton(QStringLiteral("&Prec."))),
      cmdSucc_(new QPushButton(QStringLiteral("Su&cc."))) {
  setObjectName("frmPreview");
  setWindowTitle(azioni_.stampanteInstallata
                     ? QStringLiteral("Anteprima")
                     : QStringLiteral("Anteprima - Nessuna stampante installata: «Salva PDF» "
                                      "scrive le etichette in un file"));
  cboZoom_->setObjectName("cboZoom");
  lblStato_->setObjectName("lblStato");
  cmdPrec_->setObjectName("cmdPrec");
  cmdSucc_->setObjectName("cmdSucc");
  const std::pair<const char*, int> zoom[] = {{"100 %", 100},
                                              {"75 %", 75},
                                              {"50 %", 50},
                                              {"Pagina intera", kZoomPaginaIntera},
                                              {"Adatta", kZoomAdatta}};
  for (const auto& [testo, valore] : zoom) cboZoom_->addItem(QString::fromUtf8(testo), valore);
  auto* cmdStampa = new QPushButton(QStringLiteral("&Stampa"));
  cmdStampa->setObjectName("cmdStampa");
  cmdStampa->setVisible(azioni_.stampanteInstallata);
  auto* cmdSalvaPdf = new QPushButton(QStringLiteral("Salva P&DF"));
  cmdSalvaPdf->setObjectName("cmdSalvaPdf");
  cmdSalvaPdf->setToolTip(QStringLiteral("Scrive tutte le pagine delle etichette in un file PDF"));
  cmdSalvaPdf->setVisible(static_cast<bool>(azioni_.filePdf));
  auto* cmdChiudi = new QPushButton(QStringLiteral("&Chiudi"));
  cmdChiudi->setObjectName("cmdChiudi");

  immagine_->setAlignment(Qt::AlignCenter);
  area_->setWidget(immagine_);
  area_->setAlignment(Qt::AlignCenter);
  area_->setBackgroundRole(QPalette::Dark);

  auto* barra = new QHBoxLayout;
  barra->addWidget(new QLabel(QStringLiteral("Zoom:")));
  barra->addWidget(cboZoom_);
  barra->addSpacing(12);
  barra->addWidget(cmdPrec_);
  barra->addWidget(cmdSucc_);
  barra->addWidget(lblStato_);
  barra->addStretch();
  barra->addWidget(cmdStampa);
  barra->addWidget(cmdSalvaPdf);
  barra->addWidget(cmdChiudi);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(barra);
  layout->addWidget(area_, 1);
  resize(900, 700);

  connect(cboZoom_, &QComboBox::currentIndexChanged, this, [this] { disegna(); });
  connect(cmdPrec_, &QPushButton::clicked, this, [this] { vaiAPagina(pagina_ - 1); });
  connect(cmdSucc_, &QPushButton::clicked, this, [this] { vaiAPagina(pagina_ + 1); });
  connect(cmdStampa, &QPushButton::clicked, this, [this] { cmdStampa_Click(); });
  connect(cmdSalvaPdf, &QPushButton::clicked, this, [this] { cmdSalvaPdf_Click(); });
  connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
  vaiAPagina(1);
}

QString FrmPreview::stato() const { return lblStato_->text(); }

void FrmPreview::mostraStato(const QString& testo) { lblStato_->setText(testo); }

void FrmPreview::vaiAPagina(int pagina) {
  const int pagine = std::max(1, documento_.Pages());
  pagina_ = std::clamp(pagina, 1, pagine);
  cmdPrec_->setEnabled(pagina_ > 1);
  cmdSucc_->setEnabled(pagina_ < pagine);
  mostraStato("Pagina: " + QString::number(pagina_) + " / " + QString::number(pagine));
  disegna();
}

void FrmPreview::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (cboZoom_->currentData().toInt() <= 0) disegna();
}

void FrmPreview::disegna() {
  const QSizeF pagina = documento_.paginaTwips() * (kPuntiSchermo / kTwipsPerPollice);
  // the scroll bars' room is kept so that "Adatta" and "Pagina intera" never need them
  const QSizeF vista = area_->viewport()->size() - QSize(4, 4);
  const double fattore = FattoreZoom(cboZoom_->currentData().toInt(), vista, pagina);
  const qreal ratio = devicePixelRatioF();
  QImage pixel = ImmagineDellaPagina(documento_, pagina_, kPuntiSchermo * fattore * ratio);
  pixel.setDevicePixelRatio(ratio);
  immagine_->setPixmap(QPixmap::fromImage(pixel));
  immagine_->resize(pixel.size() / ratio);
}

void FrmPreview::avvisa(const QString& testo) {
  prompts_.ask(
      {testo, Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Exclamation});
}

void FrmPreview::cmdStampa_Click() {
  FrmPrint opzioni(pagina_, documento_.Pages(), prompts_, azioni_.cambiaStampante, this);
  if (opzioni.exec() != QDialog::Accepted || !opzioni.richiesta()) return;
  const RichiestaStampa r = *opzioni.richiesta();
  mostraStato(QStringLiteral("In corso..."));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool riuscita = documento_.PrintDoc(r.prima, r.ultima, r.etichetta);
  const QStringList avvisi = documento_.avvisi();
  QApplication::restoreOverrideCursor();
  vaiAPagina(pagina_);
  if (riuscita && !avvisi.isEmpty()) avvisa(avvisi.join(QStringLiteral("\n\n")));
  if (!riuscita)
    avvisa(
        QStringLiteral("Stampa non riuscita: la stampante non ha accettato le "
                       "etichette (dettagli nel registro degli errori)."));
}

void FrmPreview::cmdSalvaPdf_Click() {
  QString file = azioni_.filePdf();
  if (file.isEmpty()) return;
  if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) file += QStringLiteral(".pdf");
  mostraStato(QStringLiteral("In corso..."));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QString guasto = SalvaEtichettePdf(documento_, file);
  const QStringList avvisi = documento_.avvisi();
  QApplication::restoreOverrideCursor();
  vaiAPagina(pagina_);
  if (!guasto.isEmpty())
    avvisa(QStringLiteral("Le etichette non sono state salvate in PDF.\n\n") + guasto);
  else if (!avvisi.isEmpty())
    avvisa(avvisi.join(QStringLiteral("\n\n")));
}

}  // namespace listinova
