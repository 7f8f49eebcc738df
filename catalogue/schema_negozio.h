#pragma once

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// Creates every store table that is missing; a new Reparti gets departments 1 to 40 and a
// new FormatoEtichetta its one row. Tables already there keep their rows; a store of an earlier
// version is upgraded in the same transaction, one of a newer version refused untouched
// (see versione_archivio.h).
void CreaSchemaNegozio(platform::db::Database& db);

}  // namespace listinova
