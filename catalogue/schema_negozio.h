#pragma once

#include <QString>

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// Creates every store table that is missing; a new Reparti gets departments 1 to 40 and a
// new FormatoEtichetta its one row. Tables already there keep their rows; a store of an earlier
// version is upgraded in the same transaction, one of a newer version refused untouched
// (see versione_archivio.h).
void CreaSchemaNegozio(platform::db::Database& db);

// True when the store at `percorso` holds every object today's program makes, exactly as it
// makes them, and its indexes are in SQLite's own order: a store whose version number alone
// was lost (the stock sqlite3 tool's ".dump" does not carry it) and that needs no upgrade.
// Reads without writing a byte.
bool SchemaDiOggi(const QString& percorso);

}  // namespace listinova
