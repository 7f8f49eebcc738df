// The store's schema version, kept in SQLite's user_version: which upgrades a store written by
// an earlier Listinova still needs, and whether this one may open it at all.
#pragma once

#include <QString>
#include <optional>

namespace listinova {
namespace platform::db {
class Database;
}

// The version this program writes.
inline constexpr int kVersioneArchivio = 1;

struct VersioneNelFile {
  int versione = 0;
  bool senzaTabelle = true;  // a file SQLite created but nobody filled: nothing to upgrade
};

// Read without writing a byte of the store; nothing when it is no readable SQLite file.
std::optional<VersioneNelFile> LeggiVersioneArchivio(const QString& percorso);
int VersioneArchivio(platform::db::Database& db);

// Throws DatabaseError, in Italian, for a store written by a newer Listinova.
void RifiutaArchivioPiuRecente(const QString& percorso, int versione);

// Brings the schema from `daVersione` to kVersioneArchivio, inside the caller's transaction.
void AggiornaSchemaArchivio(platform::db::Database& db, int daVersione);

}  // namespace listinova
