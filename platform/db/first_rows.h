#pragma once

#include <QString>

#include "platform/db/recordset.h"

namespace listinova::platform::db {

class Database;

// For lists that show how many rows a search matched but only the first ones: the store
// counts the rows and hands over just those shown, instead of every matching row being read.

// The number of rows the Jet SELECT yields.
int countRows(Database& db, const QString& jetSelect);

// The first `limit` rows of the Jet SELECT, in its order, among those for which
// `sqliteCondition` (an SQLite expression on its columns) holds. The recordset is read-only.
Recordset openFirstRows(Database& db, const QString& jetSelect, const QString& sqliteCondition,
                        int limit);

}  // namespace listinova::platform::db
