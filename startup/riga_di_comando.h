#pragma once

#include <QStringList>
#include <QTextStream>

namespace listinova {

// The jobs a shop schedules, run without windows. True when the arguments name one.
bool eUnLavoroDaRigaDiComando(const QStringList& argomenti);
// Runs the job the arguments name and gives the exit status.
int EseguiRigaDiComando(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori);

}  // namespace listinova
