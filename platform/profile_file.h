#pragma once

#include <QString>

namespace listinova::platform {

// Settings files in the "[Section]" / "key=value" layout, read and written the way the
// Windows profile-string calls do, so files shared with the Windows-era tools stay valid.

// The stored value (blanks and enclosing double quotes removed, at most 254 characters),
// or `defaultValue` when the file, the section or the key is absent.
QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue);

// Replaces the key's value, or adds the key (and the section, and the file) when absent;
// every other line is kept. The file is replaced whole, never left half written.
bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

}  // namespace listinova::platform
