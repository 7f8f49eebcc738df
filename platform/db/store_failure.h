#pragma once

#include <QString>

namespace listinova::platform::db {

// What the operator is told when the store file itself fails (damaged, read-only, in a
// read-only folder, on a full disk, held by another program), in Italian; empty when the
// engine's code speaks of a statement rather than of the file.
QString describeStoreFailure(int extendedCode, const QString& path);

// The words for a store whose check found damage.
QString damagedStoreText(const QString& path);

}  // namespace listinova::platform::db
