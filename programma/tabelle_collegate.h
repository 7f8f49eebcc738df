#pragma once

#include <QString>

namespace listinova {
namespace platform {
class Clock;
}
namespace platform::db {
class Database;
}

struct VarGlobali;

// Makes the external database's Reparti and MAGAZZINO answer on the store as RepartiEsterno
// and MagazzinoEsterno: attached when it is a SQLite file, read in when it is an Access file.
// True only when both were made; never touches anything when links are not managed.
bool GestisciTabelleCollegate(VarGlobali& globali, platform::Clock& clock);

// Rebuilds the local departments and products from the linked tables.
void SincronizzaDatabaseEsterno(platform::db::Database& db, platform::Clock& clock);

}  // namespace listinova
