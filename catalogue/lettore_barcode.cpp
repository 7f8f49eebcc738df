#include "catalogue/lettore_barcode.h"

#include <QStringList>

#include "platform/serial_port.h"
#include "startup/error_log.h"

namespace listinova {

namespace {

// MSComm's "Invalid port number", what the scanner's old control raised for such a port.
constexpr int kPortaNonValida = 8002;

// Scanners end a code with CR, LF or CR LF; any of them closes the line.
qsizetype fineRiga(const QByteArray& bytes) {
  for (qsizetype i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\r' || bytes[i] == '\n') return i;
  return -1;
}

}  // namespace

LettoreBarCode::LettoreBarCode(platform::SerialPort& porta, QObject* parent)
    : QObject(parent), porta_(porta) {
  connect(&porta_, &platform::SerialPort::bytesArrived, this, &LettoreBarCode::riceviByte);
}

LettoreBarCode::~LettoreBarCode() {
  if (apertaDaQui_) porta_.close();
}

bool LettoreBarCode::ApriPortaBarCodeProdotti(const ImpostazioniSeriali& impostazioni) {
  if (impostazioni.porta.trimmed().isEmpty()) return false;
  if (porta_.isOpen()) porta_.close();
  buffer_.clear();
  apertaDaQui_ =
      porta_.open(impostazioni.porta, impostazioni.testoImpostazioni(), impostazioni.flussoPorta());
  if (!apertaDaQui_)
    ScriviErrore(QStringLiteral("FUNZIONI"), QStringLiteral("ApriPortaBarCodeProdotti"),
                 porta_.errorText(), kPortaNonValida);
  return apertaDaQui_;
}

void LettoreBarCode::riceviByte() {
  buffer_ += porta_.readAll();
  QStringList letti;
  for (qsizetype fine = fineRiga(buffer_); fine >= 0; fine = fineRiga(buffer_)) {
    // The LF of a CR LF makes an empty line of its own and gives nothing.
    const QString barCode = QString::fromLatin1(buffer_.left(fine)).trimmed();
    buffer_.remove(0, fine + 1);
    if (!barCode.isEmpty()) letti.append(barCode);
  }
  // Emitted only once the buffer is settled, since a receiver may reopen the port.
  for (const QString& barCode : letti) emit barCodeLetto(barCode);
}

}  // namespace listinova
