#pragma once

#include "import/posizioni_import.h"
#include "import/riepilogo_import.h"

namespace listinova::platform {
class WorkbookError;
class WorkbookReader;
namespace db {
class Database;
}
}  // namespace listinova::platform

namespace listinova {

// The import's failure for a workbook that cannot be read; what the library said is logged.
ErroreImport ErroreDaCartella(const platform::WorkbookError& errore);

// The sheet the import reads: without a supplier the one called "PRODOTTI", with one the
// first. Empty when the workbook has no such sheet.
QString FoglioDaImportare(const QStringList& fogli, bool conFornitore);

// Updates the archive by barcode from a workbook's sheet, in one transaction. The sheet's
// first row holds the column titles. Without a supplier (empty `fornitore`) every field is
// replaced; with one, quantities are added and new products marked "***NEW***". A workbook
// without the sheet changes nothing. Throws ErroreImport.
RiepilogoImport ImportaFoglio(platform::db::Database& db, platform::WorkbookReader& cartella,
                              const PosizioniImport& posizioni, const QString& fornitore,
                              const SchermoImport& schermo = {});

}  // namespace listinova
