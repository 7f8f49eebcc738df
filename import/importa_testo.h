#pragma once

#include "import/riepilogo_import.h"
#include "import/testo_delimitato.h"

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// How the question before an archive shrinks to less than half begins.
constexpr char kDomandaRiduzione[] = "L'archivio passerebbe da ";

// Replaces the whole archive with the products of a text file, numbered 1, 2, 3 ... in file
// order; of two lines with one barcode the later wins. The file is read as a stream inside one
// transaction, and the old archive stays whole unless the file reads well: at least half of
// its lines give a product and one at least has a barcode. When the archive would shrink to
// less than half, `schermo.conferma` is asked first. Throws ErroreImport, with the summary of
// the file when it was refused.
RiepilogoImport ImportaTestoDelimitato(platform::db::Database& db, const QString& percorso,
                                       const OpzioniTesto& opzioni,
                                       const SchermoImport& schermo = {});

}  // namespace listinova
