#pragma once

#include <QString>
#include <vector>

namespace listinova::platform {

struct SerialDevice {
  QString path;  // "/dev/ttyUSB0", "/dev/serial/by-id/usb-..."
  QString description;
};

// The serial devices of this machine as QSerialPortInfo finds them, followed by the names in
// `byIdFolder` that lead to one of them: a by-id name stays the same when the cable is
// plugged into another socket, where ttyUSB0 may become ttyUSB1.
std::vector<SerialDevice> serialDevices(const QString& byIdFolder = "/dev/serial/by-id");

// The same from a given list of devices.
std::vector<SerialDevice> withStableNames(std::vector<SerialDevice> devices,
                                          const QString& byIdFolder);

}  // namespace listinova::platform
