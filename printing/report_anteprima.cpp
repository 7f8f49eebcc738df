#include "printing/report_anteprima.h"

#include <QAction>
#include <QFileDialog>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

#include "printing/report_motore.h"
#include "startup/modulo_file_ini.h"

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

int SalvaReportPdf(const ModelloReport& modello, const QString& file) {
  QPdfWriter pdf(file);
  pdf.setResolution(kRisoluzionePdf);
  pdf.setTitle(modello.titolo);
  pdf.setCreator(QStringLiteral("Listinova"));
  PreparaPagina(pdf, modello);
  return DisegnaReport(modello, pdf);
}

void AnteprimaReport(const ModelloReport& modello, const QString& nomeStampante, QWidget* parent) {
  auto stampante = StampanteA4(nomeStampante);
  PreparaPagina(*stampante, modello);
  QPrintPreviewDialog anteprima(stampante.get(), parent);
  anteprima.setWindowTitle(QStringLiteral("Anteprima - ") + modello.titolo +
                           (StampanteInstallata()
                                ? QString()
                                : QStringLiteral(" - Nessuna stampante installata: «Salva PDF» "
                                                 "scrive il report in un file")));
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
      SalvaReportPdf(modello, file.endsWith(".pdf", Qt::CaseInsensitive) ? file : file + ".pdf");
    });
  }
  anteprima.exec();
}

}  // namespace listinova
