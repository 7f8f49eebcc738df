#include "platform/qt_serial_port.h"

#include <optional>

#include "platform/serial_open_failure.h"

namespace listinova::platform {

namespace {

// Holds a whole barcode or register answer many times over.
constexpr qint64 kReadBufferSize = 2048;

struct LineSettings {
  qint32 speed;
  QSerialPort::Parity parity;
  QSerialPort::DataBits dataBits;
  QSerialPort::StopBits stopBits;
};

std::optional<QSerialPort::Parity> parityFromLetter(const QString& letter) {
  const QString l = letter.toLower();
  if (l == u"n") return QSerialPort::NoParity;
  if (l == u"e") return QSerialPort::EvenParity;
  if (l == u"o") return QSerialPort::OddParity;
  if (l == u"m") return QSerialPort::MarkParity;
  if (l == u"s") return QSerialPort::SpaceParity;
  return std::nullopt;
}

std::optional<QSerialPort::StopBits> stopBitsFromText(const QString& text) {
  if (text == u"1") return QSerialPort::OneStop;
  if (text == u"1.5") return QSerialPort::OneAndHalfStop;
  if (text == u"2") return QSerialPort::TwoStop;
  return std::nullopt;
}

// "9600,n,8,1"
std::optional<LineSettings> parseSettings(const QString& text) {
  const QStringList parts = text.split(u',');
  if (parts.size() != 4) return std::nullopt;
  bool speedOk = false;
  const int speed = parts[0].trimmed().toInt(&speedOk);
  bool dataOk = false;
  const int dataBits = parts[2].trimmed().toInt(&dataOk);
  const auto parity = parityFromLetter(parts[1].trimmed());
  const auto stopBits = stopBitsFromText(parts[3].trimmed());
  if (!speedOk || speed <= 0 || !dataOk || dataBits < 5 || dataBits > 8 || !parity || !stopBits)
    return std::nullopt;
  return LineSettings{speed, *parity, static_cast<QSerialPort::DataBits>(dataBits), *stopBits};
}

QSerialPort::FlowControl qtFlowControl(FlowControl flow) {
  switch (flow) {
    case FlowControl::Hardware:
      return QSerialPort::HardwareControl;
    case FlowControl::XonXoff:
      return QSerialPort::SoftwareControl;
    case FlowControl::None:
      break;
  }
  return QSerialPort::NoFlowControl;
}

// Qt's own text is English; it stays in brackets because it names the system's cause.
QString reason(const QSerialPort& port) {
  QString italian;
  switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
      italian = QStringLiteral("la porta non esiste");
      break;
    case QSerialPort::PermissionError:
      italian = QStringLiteral("accesso negato o porta già in uso");
      break;
    case QSerialPort::OpenError:
      italian = QStringLiteral("la porta è già aperta");
      break;
    case QSerialPort::UnsupportedOperationError:
      italian = QStringLiteral("impostazioni non supportate dalla porta");
      break;
    case QSerialPort::WriteError:
      italian = QStringLiteral("errore di scrittura");
      break;
    case QSerialPort::ReadError:
      italian = QStringLiteral("errore di lettura");
      break;
    case QSerialPort::ResourceError:
      italian = QStringLiteral("la porta non è più disponibile");
      break;
    default:
      italian = QStringLiteral("errore della porta");
      break;
  }
  return italian + QStringLiteral(" (") + port.errorString() + u')';
}

}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
  connect(&port_, &QSerialPort::readyRead, this, &SerialPort::bytesArrived);
  connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::noteFailure);
}

bool QtSerialPort::open(const QString& port, const QString& settings, FlowControl flow) {
  close();
  errorText_.clear();
  path_ = serialDevicePath(port);
  const auto line = parseSettings(settings);
  if (!line) {
    errorText_ = QStringLiteral("Impossibile aprire la porta seriale ") + path_ +
                 QStringLiteral(": impostazioni non valide \"") + settings + u'"';
    return false;
  }
  port_.setPortName(path_);
  port_.setBaudRate(line->speed);
  port_.setParity(line->parity);
  port_.setDataBits(line->dataBits);
  port_.setStopBits(line->stopBits);
  port_.setFlowControl(qtFlowControl(flow));
  port_.setReadBufferSize(kReadBufferSize);
  if (!port_.open(QIODevice::ReadWrite)) {
    errorText_ = describeSerialOpenFailure(path_, port_.error());
    if (errorText_.isEmpty())
      errorText_ = QStringLiteral("Impossibile aprire la porta seriale ") + path_ +
                   QStringLiteral(": ") + reason(port_);
    return false;
  }
  // Whatever the device sent before we listened belongs to nobody.
  port_.clear();
  return true;
}

void QtSerialPort::close() {
  if (port_.isOpen()) port_.close();
}

bool QtSerialPort::isOpen() const { return port_.isOpen(); }

qint64 QtSerialPort::write(const QByteArray& bytes) {
  if (!port_.isOpen()) {
    errorText_ = QStringLiteral("La porta seriale non è aperta");
    return -1;
  }
  const qint64 written = port_.write(bytes);
  if (written < 0) return -1;
  // Out now, not at the next turn of the event loop: callers write and then wait for an answer.
  port_.flush();
  return written;
}

QByteArray QtSerialPort::readAll() { return port_.isOpen() ? port_.readAll() : QByteArray(); }

QString QtSerialPort::errorText() const { return errorText_; }

void QtSerialPort::noteFailure(QSerialPort::SerialPortError error) {
  // Failures while opening are reported by open() itself.
  if (error != QSerialPort::WriteError && error != QSerialPort::ReadError &&
      error != QSerialPort::ResourceError)
    return;
  errorText_ =
      QStringLiteral("Errore sulla porta seriale ") + path_ + QStringLiteral(": ") + reason(port_);
  // A vanished device (a USB adapter pulled out) cannot be used again until reopened.
  if (error == QSerialPort::ResourceError) port_.close();
}

}  // namespace listinova::platform
