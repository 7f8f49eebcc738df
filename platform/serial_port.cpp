#include "platform/serial_port.h"

namespace listinova::platform {

QString serialDevicePath(const QString& port) {
  if (port.contains(u'/')) return port;
  bool isNumber = false;
  const int number = port.trimmed().toInt(&isNumber);
  if (isNumber && number >= 1) return QStringLiteral("/dev/ttyS") + QString::number(number - 1);
  // QSerialPort reports such a name as missing, which is the message the operator needs.
  return port;
}

}  // namespace listinova::platform
