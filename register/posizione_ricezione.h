#pragma once

#include <QString>
#include <optional>

#include "register/aggiorna_storico_plu.h"

namespace listinova {
namespace platform::db {
class Database;
}

// How far a receive file has been booked, kept in the store beside what was booked so that the
// two cannot part: a reading killed after appending its lines leaves them pending, and the next
// reading books them, once.
struct PosizioneRicezione {
  qint64 posizione = 0;  // bytes of the file already booked
  // How the lines after `posizione` were read; nothing for a dump of the register's table,
  // whose lines are no sales.
  std::optional<MetodoLettura> metodo;
  bool torvane = false;
};

// Nothing for a file the store does not know yet.
std::optional<PosizioneRicezione> LeggiPosizioneRicezione(platform::db::Database& db,
                                                          const QString& percorso);
// Inside the caller's transaction when there is one.
void ScriviPosizioneRicezione(platform::db::Database& db, const QString& percorso,
                              const PosizioneRicezione& posizione);

}  // namespace listinova
