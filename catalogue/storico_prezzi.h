// The history of every product's selling price, kept by the store itself: triggers on
// Magazzino record each change of Costo, so the editor, the imports and the start-up rebuild
// are all covered without each of them remembering to.
#pragma once

#include <QString>

namespace listinova {
namespace platform::db {
class Database;
}

// Creates the StoricoPrezzi table and its triggers where missing (new and existing stores),
// and the rptProdotti column of the lowest earlier price. Throws DatabaseError.
void CreaStoricoPrezzi(platform::db::Database& db);

// Adds to Magazzino, in one statement, the rows `select` gives for `colonne`, and records their
// prices as the insert triggers would. Run row by row, the triggers cost a large import more
// than the rows themselves. Throws DatabaseError.
void InserisciProdottiInBlocco(platform::db::Database& db, const QString& colonne,
                               const QString& select);

}  // namespace listinova
