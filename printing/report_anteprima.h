#pragma once

#include <QString>
#include <memory>

#include "printing/report_modello.h"

class QPrinter;
class QWidget;

namespace listinova {

// True when at least one printer is installed.
bool StampanteInstallata();
// The A4 printer of [STdiSISTEMA] Predefinita in `setup`, as the settings name it.
QString NomeStampanteA4(const QString& setup);
// A printer on `nome`, or on the system's default when no such printer is installed.
std::unique_ptr<QPrinter> StampanteA4(const QString& nome);

// Writes the report as a PDF file, whole or not at all; the pages written, 0 when the file
// cannot be written, with the cause in `guasto`.
int SalvaReportPdf(const ModelloReport& modello, const QString& file, QString* guasto = nullptr);

// The preview window: pages as they will print, "Stampa" on `nomeStampante`, "Salva PDF".
void AnteprimaReport(const ModelloReport& modello, const QString& nomeStampante, QWidget* parent);

}  // namespace listinova
