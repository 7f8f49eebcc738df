#include "startup/lavoro_non_avviato.h"

namespace listinova {

int LavoroNonAvviato(bool cartellaOccupata, const QString& cosaNonFatta, QTextStream& errori) {
  if (cartellaOccupata) {
    errori << QString::fromUtf8(kMessaggioCartellaOccupata) << ": " << cosaNonFatta << '.'
           << Qt::endl;
    return kUscitaCartellaOccupata;
  }
  errori << "Avvio non riuscito: " << cosaNonFatta << '.' << Qt::endl;
  return kUscitaAvvioNonRiuscito;
}

}  // namespace listinova
