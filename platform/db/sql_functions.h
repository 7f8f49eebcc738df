#pragma once

#include <QString>

struct sqlite3;

namespace listinova::platform::db {

// Jet's functions (CLng, DateValue, Len...), its LIKE wildcards, exact sums and its
// case-insensitive text comparison (the collation kJetTextCollation), on one connection.
void registerJetFunctions(sqlite3* connection);

// Jet LIKE: * any run, ? one character, # one digit, [abc], [!a-z]; letter case ignored.
bool jetLike(const QString& pattern, const QString& value);

}  // namespace listinova::platform::db
