#pragma once

#include "import/interscambio.h"

namespace listinova {

// The exchange folder named by [Cartelle] IN of the settings file; empty when none is set.
// A folder on the old drive "C:" is taken inside the shop folder.
QString CartellaInterscambio(const QString& percorsoSetup, const QString& cartellaProgramma);

// One pass of `tmrImporta`: nothing while a register job runs or when no folder is set.
// True when at least one file was imported.
bool PassaInterscambio(Interscambio& interscambio, const QString& percorsoSetup,
                       const QString& cartellaProgramma, const SchermoImport& schermo = {});

}  // namespace listinova
