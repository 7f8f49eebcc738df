#include "printing/report_anteprima.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

#include "platform/whole_file.h"
#include "printing/report_motore.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr int kRisoluzionePdf = 300;

}  // namespace

bool StampanteInstallata() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

QString NomeStampanteA4(const QString& setup) {
  const QString nome = LeggiINI(setup, "STdiSISTEMA", "Predefinita", "?");
  return nome == "?" ? QString() : nome.trimmed();
}

std::unique_ptr<QPrinter> StampanteA4(const QString& nome) {
  const QPrinterInfo scelta = QPrinterInfo::printerInfo(nome);
  if (!nome.isEmpty() && !scelta.isNull())
    return std::make_unique<QPrinter>(scelta, QPrinter::HighResolution);
  return std::make_unique<QPrinter>(QPrinter::HighResolution);
}

int SalvaReportPdf(const ModelloReport& modello, const QString& file, QString* guasto) {
  platform::WholeFile destinazione(file);
  int pagine = 0;
  if (destinazione.open()) {
    QPdfWriter pdf(&destinazione);
    pdf.setResolution(kRisoluzionePdf);
    pdf.setTitle(modello.titolo);
    pdf.setCreator(QStringLiteral("Listinova"));
    PreparaPagina(pdf, modello);
    pagine = DisegnaReport(modello, pdf);
  }
  // The PDF engine does not report a failed write: the device does.
  if (pagine > 0 && destinazione.commit()) return pagine;
  destinazione.discard();
  if (guasto)
    *guasto = destinazione.failure().isEmpty() ? platform::probeWriteFailure(file)
                                               : destinazione.failure();
  return 0;
}

void AnteprimaReport(const ModelloReport& modello, const QString& nomeStampante, QWidget* parent) {
  auto stampante = StampanteA4(nomeStampante);
  PreparaPagina(*stampante, modello);
  QPrintPreviewDialog anteprima(stampante.get(), parent);
  anteprima.setWindowTitle(QStringLiteral("Anteprima - ") + modello.titolo);
  anteprima.setWindowState(Qt::WindowMaximized);
  QObject::connect(&anteprima, &QPrintPreviewDialog::paintRequested, &anteprima,
                   [&modello](QPrinter* p) { DisegnaReport(modello, *p); });
  if (auto* barra = anteprima.findChild<QToolBar*>()) {
    barra->addSeparator();
    QAction* pdf = barra->addAction(QStringLiteral("Salva PDF"));
    pdf->setObjectName("salvaPdf");
    QObject::connect(pdf, &QAction::triggered, &anteprima, [&] {
      const QString file = QFileDialog::getSaveFileName(
          &anteprima, QStringLiteral("Salva il report in PDF"), {}, QStringLiteral("PDF (*.pdf)"));
      if (file.isEmpty()) return;
      QString guasto;
      if (SalvaReportPdf(modello, file.endsWith(".pdf", Qt::CaseInsensitive) ? file : file + ".pdf",
                         &guasto) == 0) {
        ScriviErrore("ReportAnteprima", "SalvaPdf", guasto, 0);
        QMessageBox::warning(&anteprima, Globali().TitoloProgramma, guasto);
      }
    });
  }
  anteprima.exec();
}

}  // namespace listinova
