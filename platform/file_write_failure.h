#pragma once

#include <QString>

namespace listinova::platform {

// Why a file could not be written, in Italian and by its real cause (a full disk, a read-only
// disk, a protected folder), from the system's error number right after the failing call.
QString WriteFailureText(int systemError, const QString& path);

}  // namespace listinova::platform
