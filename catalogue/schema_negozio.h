#pragma once

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// Creates every store table that is missing; a new Reparti gets departments 1 to 40 and a
// new FormatoEtichetta its one row. Tables already there are left as they are, but a store of
// an earlier version has its text indexes rebuilt once (see PRAGMA user_version).
void CreaSchemaNegozio(platform::db::Database& db);

}  // namespace listinova
