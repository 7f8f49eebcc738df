#pragma once

#include <QString>
#include <optional>

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// Shared look-ups of the store. Each logs its failures and then gives its empty result.
QString TrovaNomeRep(platform::db::Database& db, const QString& codice);
QString TrovaCodiceRep(platform::db::Database& db, const QString& nome);
QString TrovaDescrizioneRep(platform::db::Database& db, const QString& id);
int TrovaCodiceRepXIVA(platform::db::Database& db, const QString& aliquota);
// The department of that VAT rate; none when no department has it.
std::optional<int> CodiceRepXIVA(platform::db::Database& db, const QString& aliquota);
QString CodiceFornitoreProdotto(platform::db::Database& db, const QString& codMateriale);
// The code a new product gets: the highest numeric code plus one, "1" on an empty archive.
QString NuovoCodiceMateriale(platform::db::Database& db);

}  // namespace listinova
