// Text written by Windows-era tools: settings files and supplier price lists.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace listinova::platform {

// Windows-1252 bytes as text; the five unassigned bytes keep their own code point, as Windows
// does.
QString decodeCp1252(QByteArrayView bytes);

}  // namespace listinova::platform
