#pragma once

#include "startup/riga_di_comando.h"

namespace listinova {

// "listinova salva CARTELLA": the backup of "Salva Dati" without windows, for a nightly job.
// It does not open the program (a copy already running is no obstacle).
LavoroRigaDiComando LavoroSalva();

}  // namespace listinova
