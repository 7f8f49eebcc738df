// The serial devices offered to the operator when choosing a register's port.
#include "platform/serial_devices.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace listinova::platform {

std::vector<SerialDevice> serialDevices(const QString& byIdFolder) {
  std::vector<SerialDevice> devices;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
    devices.push_back({port.systemLocation(), port.description()});
  return withStableNames(std::move(devices), byIdFolder);
}

std::vector<SerialDevice> withStableNames(std::vector<SerialDevice> devices,
                                          const QString& byIdFolder) {
  const std::size_t found = devices.size();
  const QFileInfoList links =
      QDir(byIdFolder).entryInfoList(QDir::Files | QDir::System, QDir::Name);
  for (const QFileInfo& link : links) {
    const QString target = link.canonicalFilePath();
    for (std::size_t i = 0; i < found; ++i) {
      if (QFileInfo(devices[i].path).canonicalFilePath() != target) continue;
      const QString name = QFileInfo(devices[i].path).fileName();
      const QString description = devices[i].description.isEmpty()
                                      ? name
                                      : devices[i].description + QStringLiteral(", ") + name;
      devices.push_back({link.absoluteFilePath(), description});
      break;
    }
  }
  return devices;
}

}  // namespace listinova::platform
