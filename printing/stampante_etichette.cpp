// Label documents on a printer, a PDF file or a picture.
#include "printing/stampante_etichette.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/whole_file.h"

#include "printing/easy_print.h"
#include "printing/superficie_painter.h"

namespace listinova {
namespace {

constexpr double kPollice = 1440.0;
constexpr double kMetriPerPollice = 0.0254;
// As QPrinter::HighResolution writes PDF files.
constexpr int kRisoluzionePdf = 1200;

QPageLayout paginaPdf() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                     QPageLayout::Millimeter);
}

// The PDF is put in place only when the painter ended it and every byte reached the disk.
class SuperficiePdf : public SuperficiePainter {
 public:
  SuperficiePdf(QPdfWriter& pdf, platform::WholeFile& file, const platform::BarcodeDrawing& barre)
      : SuperficiePainter(pdf, &pdf, barre), file_(file) {}
  ~SuperficiePdf() override { file_.discard(); }
  bool fine() override {
    if (SuperficiePainter::fine() && file_.commit()) return true;
    file_.discard();
    return false;
  }

 private:
  platform::WholeFile& file_;
};

}  // namespace

StampanteEtichette::StampanteEtichette(std::unique_ptr<QPrinter> printer, QPointF spostamentoMm)
    : printer_(std::move(printer)), spostamentoTwips_(spostamentoMm * kTwipsPerMm) {
  printer_->setFullPage(true);
  printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

StampanteEtichette::StampanteEtichette(const QString& filePdf)
    : filePdf_(std::make_unique<platform::WholeFile>(filePdf)) {}

StampanteEtichette::~StampanteEtichette() = default;

std::unique_ptr<StampanteEtichette> StampanteEtichette::suStampante(const QString& nome,
                                                                    QPointF spostamentoMm) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::NativeFormat);
  if (!nome.isEmpty()) printer->setPrinterName(nome);
  const QPageSize formato = QPrinterInfo::printerInfo(printer->printerName()).defaultPageSize();
  printer->setPageSize(formato.isValid() ? formato : QPageSize(QPageSize::A4));
  printer->setDocName(QStringLiteral("Etichette"));
  return std::unique_ptr<StampanteEtichette>(
      new StampanteEtichette(std::move(printer), spostamentoMm));
}

std::unique_ptr<StampanteEtichette> StampanteEtichette::suPdf(const QString& file) {
  return std::unique_ptr<StampanteEtichette>(new StampanteEtichette(file));
}

QString StampanteEtichette::nomeStampante() const {
  return printer_ ? printer_->printerName() : QString();
}

QSizeF StampanteEtichette::paginaTwips() const {
  const QPageLayout pagina = printer_ ? printer_->pageLayout() : paginaPdf();
  return pagina.fullRect(QPageLayout::Millimeter).size() * kTwipsPerMm;
}

QString StampanteEtichette::guasto() const {
  if (!filePdf_) return {};
  return filePdf_->failure().isEmpty() ? platform::probeWriteFailure(filePdf_->finalPath())
                                       : filePdf_->failure();
}

QRectF StampanteEtichette::areaStampabileTwips() const {
  // A PDF file has no edge a printer cannot reach.
  QPageLayout layout = printer_ ? printer_->pageLayout() : paginaPdf();
  layout.setUnits(QPageLayout::Millimeter);
  const QRectF mm = layout.fullRect().marginsRemoved(layout.minimumMargins());
  return QRectF(mm.topLeft() * kTwipsPerMm, mm.size() * kTwipsPerMm).translated(-spostamentoTwips_);
}

std::unique_ptr<SuperficieEtichette> StampanteEtichette::apri() {
  if (filePdf_) {
    pdf_.reset();
    filePdf_->discard();
    if (!filePdf_->open()) return nullptr;
    pdf_ = std::make_unique<QPdfWriter>(filePdf_.get());
    pdf_->setResolution(kRisoluzionePdf);
    pdf_->setPageLayout(paginaPdf());
    pdf_->setTitle(QStringLiteral("Etichette"));
    pdf_->setCreator(QStringLiteral("Listinova"));
    auto superficie = std::make_unique<SuperficiePdf>(*pdf_, *filePdf_, barre_);
    if (!superficie->attiva()) return nullptr;
    return superficie;
  }
  auto superficie =
      std::make_unique<SuperficiePainter>(*printer_, printer_.get(), barre_, spostamentoTwips_);
  if (!superficie->attiva()) return nullptr;
  return superficie;
}

QString SalvaEtichettePdf(EasyPrint& motore, const QString& file) {
  const auto pdf = StampanteEtichette::suPdf(file);
  if (motore.stampaSu(*pdf, 1, motore.Pages(), 0)) return {};
  return pdf->guasto();
}

QImage ImmagineDellaPagina(EasyPrint& motore, int pagina, double dpi) {
  const QSizeF twips = motore.paginaTwips();
  QImage immagine((twips * dpi / kPollice).toSize(), QImage::Format_RGB32);
  const int puntiPerMetro = static_cast<int>(dpi / kMetriPerPollice);
  immagine.setDotsPerMeterX(puntiPerMetro);
  immagine.setDotsPerMeterY(puntiPerMetro);
  immagine.fill(Qt::white);
  static const platform::ZintBarcodeDrawing barre;
  SuperficiePainter superficie(immagine, nullptr, barre);
  motore.disegnaPagina(pagina, superficie);
  superficie.fine();
  return immagine;
}

}  // namespace listinova
