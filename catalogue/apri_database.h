#pragma once

#include <QString>
#include <memory>

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// Opens the store file, creating it with its tables when missing. A genuine Access file found
// there is converted once into the store format; the original stays beside it as
// "<name>.access". Throws DatabaseError with an Italian message for any other kind of file,
// leaving it untouched.
std::unique_ptr<platform::db::Database> ApriDatabase(const QString& percorso);

}  // namespace listinova
