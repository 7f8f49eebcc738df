#include "platform/serial_open_failure.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace listinova::platform {

QString describeSerialOpenFailure(const QString& path, QSerialPort::SerialPortError error) {
  if (error == QSerialPort::DeviceNotFoundError || !QFileInfo::exists(path))
    return QStringLiteral(
               "La porta %1 non esiste: controllare che il dispositivo sia collegato e la porta "
               "indicata nelle impostazioni")
        .arg(path);
  // Qt says "permission" also for a device locked by another program: only the system's own
  // answer tells the two apart.
  if (error == QSerialPort::PermissionError &&
      ::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0 && errno == EACCES)
    return QStringLiteral(
               "Permesso negato sulla porta %1: aggiungere l'utente al gruppo dialout e rientrare "
               "nella sessione")
        .arg(path);
  return {};
}

}  // namespace listinova::platform
