#pragma once

#include "startup/riga_di_comando.h"

namespace listinova {

// "listinova leggi [--codice CODICE]": the reading of sold quantities without windows, for the
// evening's scheduled run.
LavoroRigaDiComando LavoroLeggi();

}  // namespace listinova
