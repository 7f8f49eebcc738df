#pragma once

#include "startup/riga_di_comando.h"

namespace listinova {

// "listinova interscambio": one pass over the exchange folder, for a scheduled run.
LavoroRigaDiComando LavoroInterscambio();

// "listinova importa FILE [--separatore C | --pelidor35] [--barcode N] [--descrizione N]
// [--reparto N] [--prezzo N] [--quantita N] [--si]": the text import that replaces the archive.
// The positions default to those of "Predef."; without --si it asks before replacing.
LavoroRigaDiComando LavoroImporta();

}  // namespace listinova
