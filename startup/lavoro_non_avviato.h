#pragma once

#include <QString>
#include <QTextStream>

namespace listinova {

// Exit statuses every command-line job shares when it cannot start. A shop folder held by the
// open window (or by another job) is told apart from a failure, so that a scheduled job can
// simply run again later.
inline constexpr int kUscitaAvvioNonRiuscito = 4;
inline constexpr int kUscitaCartellaOccupata = 5;

inline constexpr char kMessaggioCartellaOccupata[] = "Listinova è già aperto su questa cartella";

// Says on `errori` why the job named `cosaNonFatta` ("invio non eseguito") did not run, and
// gives the exit status.
int LavoroNonAvviato(bool cartellaOccupata, const QString& cosaNonFatta, QTextStream& errori);

}  // namespace listinova
