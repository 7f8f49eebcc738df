#pragma once

#include <QString>

namespace listinova::platform {

// Settings files in the "[Section]" / "key=value" layout, read and written the way the
// Windows profile-string calls do, so files shared with the Windows-era tools stay valid.
// Each line is read as UTF-8 when it is valid UTF-8, else as Windows-1252; a file opening with
// a UTF-16 byte-order mark is UTF-16 throughout.

// The stored value (blanks and enclosing double quotes removed, at most 254 characters),
// or `defaultValue` when the file, the section or the key is absent.
QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue);

// Replaces the key's value, or adds the key (and the section, and the file) when absent;
// every other line is kept byte for byte. New and changed lines are UTF-8 (UTF-16 in a UTF-16
// file). The file is replaced whole, never left half written.
bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

}  // namespace listinova::platform
