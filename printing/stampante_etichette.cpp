// Label documents on a printer, a PDF file or a picture.
#include "printing/stampante_etichette.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "printing/easy_print.h"
#include "printing/superficie_painter.h"

namespace listinova {
namespace {

constexpr double kPollice = 1440.0;
constexpr double kMetriPerPollice = 0.0254;

}  // namespace

StampanteEtichette::StampanteEtichette(std::unique_ptr<QPrinter> printer, QPointF spostamentoMm)
    : printer_(std::move(printer)), spostamentoTwips_(spostamentoMm * kTwipsPerMm) {
  printer_->setFullPage(true);
  printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

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
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(file);
  printer->setPageSize(QPageSize(QPageSize::A4));
  printer->setDocName(QStringLiteral("Etichette"));
  return std::unique_ptr<StampanteEtichette>(new StampanteEtichette(std::move(printer), {}));
}

QString StampanteEtichette::nomeStampante() const { return printer_->printerName(); }

QSizeF StampanteEtichette::paginaTwips() const {
  const QSizeF mm = printer_->pageLayout().fullRect(QPageLayout::Millimeter).size();
  return mm * kTwipsPerMm;
}

QRectF StampanteEtichette::areaStampabileTwips() const {
  QPageLayout layout = printer_->pageLayout();
  layout.setUnits(QPageLayout::Millimeter);
  const QRectF mm = layout.fullRect().marginsRemoved(layout.minimumMargins());
  return QRectF(mm.topLeft() * kTwipsPerMm, mm.size() * kTwipsPerMm).translated(-spostamentoTwips_);
}

std::unique_ptr<SuperficieEtichette> StampanteEtichette::apri() {
  auto superficie =
      std::make_unique<SuperficiePainter>(*printer_, printer_.get(), barre_, spostamentoTwips_);
  if (!superficie->attiva()) return nullptr;
  return superficie;
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
