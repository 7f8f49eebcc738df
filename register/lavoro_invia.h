#pragma once

#include "startup/riga_di_comando.h"

namespace listinova {

// "listinova invia [--modificati] [--si]": the send job without windows, for a scheduled run.
LavoroRigaDiComando LavoroInvia();

}  // namespace listinova
