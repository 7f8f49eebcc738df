#pragma once

#include <QImage>
#include <QString>
#include <memory>

#include "platform/barcode_drawing.h"
#include "printing/superficie_etichette.h"

class QPdfWriter;
class QPrinter;

namespace listinova::platform {
class WholeFile;
}

namespace listinova {
class EasyPrint;

// The label engine's printer: a CUPS queue by name, or a PDF file. The page is the whole
// sheet of paper; the sheet layout sets its own margins.
class StampanteEtichette : public DispositivoEtichette {
 public:
  // An empty `nomeStampante` prints on the system's default printer.
  static std::unique_ptr<StampanteEtichette> suStampante(const QString& nomeStampante,
                                                         QPointF spostamentoMm = {});
  static std::unique_ptr<StampanteEtichette> suPdf(const QString& file);
  ~StampanteEtichette() override;

  QSizeF paginaTwips() const override;
  QRectF areaStampabileTwips() const override;
  std::unique_ptr<SuperficieEtichette> apri() override;
  QString guasto() const override;
  QString nomeStampante() const;

 private:
  explicit StampanteEtichette(std::unique_ptr<QPrinter> printer, QPointF spostamentoMm);
  explicit StampanteEtichette(const QString& filePdf);

  // A printer, or else a PDF file written whole beside its name and renamed into place.
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<platform::WholeFile> filePdf_;
  std::unique_ptr<QPdfWriter> pdf_;
  QPointF spostamentoTwips_;
  platform::ZintBarcodeDrawing barre_;
};

// Every page the engine lays out, written as a PDF file whole or not at all: empty when written,
// else the cause in Italian.
QString SalvaEtichettePdf(EasyPrint& motore, const QString& file);

// A page drawn on a picture at `dpi` dots per inch, for the preview.
QImage ImmagineDellaPagina(EasyPrint& motore, int pagina, double dpi);

}  // namespace listinova
