#pragma once

#include "startup/riga_di_comando.h"

namespace listinova {

// "listinova esporta magazzino FILE.xlsx" and "listinova esporta vendite --dal dd/mm/yyyy
// --al dd/mm/yyyy FILE.xlsx": the workbooks of the product list, for a scheduled run.
LavoroRigaDiComando LavoroEsporta();
// "listinova stampa magazzino FILE.pdf": the stock report of the whole archive as PDF.
LavoroRigaDiComando LavoroStampa();

}  // namespace listinova
