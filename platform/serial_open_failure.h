#pragma once

#include <QSerialPort>
#include <QString>

namespace listinova::platform {

// The two causes an operator can mend alone, in words that say how: a device the user may not
// open (on Debian serial devices belong to the group dialout) and one that is not there.
// Empty for any other cause, such as a device another program holds.
QString describeSerialOpenFailure(const QString& path, QSerialPort::SerialPortError error);

}  // namespace listinova::platform
