#pragma once

#include "import/riepilogo_import.h"
#include "import/testo_delimitato.h"

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// Replaces the whole archive with the products of a text file, numbered 1, 2, 3 ... in file
// order. One transaction: a failure or a crash halfway leaves the old archive whole. A file
// that gives no product at all is refused before anything is deleted. Throws ErroreImport.
RiepilogoImport ImportaTestoDelimitato(platform::db::Database& db, const QString& percorso,
                                       const OpzioniTesto& opzioni,
                                       const SchermoImport& schermo = {});

}  // namespace listinova
