#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "startup/modulo_file_ini.h"

namespace listinova {
namespace platform {
class SerialPort;
}

// The product editor's barcode scanner: one line from the scanner, one barcode.
// `porta` must outlive the reader.
class LettoreBarCode : public QObject {
  Q_OBJECT

 public:
  explicit LettoreBarCode(platform::SerialPort& porta, QObject* parent = nullptr);
  // Closes the port if this reader opened it.
  ~LettoreBarCode() override;

  // Without a configured port there is no scanner; a port that will not open is logged and
  // the editor works on without it.
  bool ApriPortaBarCodeProdotti(const ImpostazioniSeriali& impostazioni);

 signals:
  void barCodeLetto(const QString& barCode);

 private:
  void riceviByte();

  platform::SerialPort& porta_;
  QByteArray buffer_;
  bool apertaDaQui_ = false;
};

}  // namespace listinova
