#pragma once

#include <QString>

namespace listinova {

struct VarGlobali;

// The start steps that read the settings file into the program-wide state.
QString ImpostaTitoli(const QString& percorsoSetup);
bool LeggiTastieraVisibile(const QString& percorsoSetup);
// Only called when the settings file exists; errors are logged and the rest still read.
void LeggiImpostazioni(VarGlobali& globali);
// [RegCassa] Torvane, written back "Falso" when absent or empty: true unless "FALSO".
bool LeggiTorvane(const QString& percorsoSetup);
// A [Config] switch such as SalvaRepartoComeCODICE: written back "Falso" when absent, on
// only when it reads "VERO".
bool LeggiOpzioneConfig(const QString& percorsoSetup, const QString& chiave);
// Writes the program folder into DovePrg.ini, where other programs look for it.
void RegistraPercorsoProgramma(const QString& cartellaProgramma);

}  // namespace listinova
