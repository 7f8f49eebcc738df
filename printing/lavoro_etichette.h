#pragma once

#include "startup/riga_di_comando.h"

namespace listinova {

// "listinova etichette FILE.pdf | --stampante NOME [--modificati]": the labels of the
// engine's product selection, in the stored layout and sheet, without windows.
LavoroRigaDiComando LavoroEtichette();

}  // namespace listinova
