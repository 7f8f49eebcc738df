// Text written by Windows-era tools: settings files and supplier price lists.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace listinova::platform {

// Windows-1252 bytes as text; the five unassigned bytes keep their own code point, as Windows
// does.
QString decodeCp1252(QByteArrayView bytes);

// A line that is valid UTF-8 is UTF-8; any other was written by a Windows-era tool in CP1252.
// Deciding line by line keeps a file that mixes both (or holds one stray byte) readable.
QString decodeTextLine(QByteArrayView bytes);

}  // namespace listinova::platform
