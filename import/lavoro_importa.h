#pragma once

#include "startup/riga_di_comando.h"

namespace listinova {

// "listinova interscambio": one pass over the exchange folder, for a scheduled run.
LavoroRigaDiComando LavoroInterscambio();

// "listinova importa FILE [--fornitore NOME] [options]": a text file replaces the archive
// (positions of "Predef." unless given); an .xls, .xlsx or .ods updates it by barcode from the
// sheet PRODOTTI (positions of "Predef. XLS"); --fornitore runs the supplier's route. Without
// --si it asks before replacing, and before an archive shrinks to less than half.
LavoroRigaDiComando LavoroImporta();

}  // namespace listinova
