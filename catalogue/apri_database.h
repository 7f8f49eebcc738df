#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// Opens the store file, creating it with its tables when missing. A genuine Access file found
// there is converted once into the store format; the original stays beside it as
// "<name>.access". Throws DatabaseError with an Italian message for any other kind of file,
// leaving it untouched, and for a damaged, read-only or unwritable store. An empty (0 byte) file
// is kept aside as "<name>.vuoto-<date>" and a new store created; `avviso` is told so. A store
// of an earlier version is upgraded in one transaction after a copy "<name>.v<old>" is kept
// beside it; one of a newer version is refused untouched.
std::unique_ptr<platform::db::Database> ApriDatabase(
    const QString& percorso, const std::function<void(const QString&)>& avviso = {});

}  // namespace listinova
