// The backup of the data folder: where it goes, the free-space guard, and a copy whose stores
// are consistent databases even while the program is writing them.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace listinova {
namespace platform {
class FileSystem;
}

// Below this many free bytes the backup is refused (about 124 MB).
inline constexpr std::int64_t kSpazioMinimoSalvataggio = 130000000;

// scelta/PLU_BCK the first time; once that exists, the sibling named with the day, month,
// four-digit year (no leading zeros on day and month) and "hhmm": PLU_BCK41220261405.
QString CartellaDiSalvataggio(const platform::FileSystem& fs, const QString& scelta,
                              const QDateTime& adesso);

struct EsitoSalvataggio {
  enum class Stato { Completato, SpazioInsufficiente, Fallito };
  Stato stato = Stato::Fallito;
  QString cartella;  // the backup folder (PLU_BCK...), once chosen
  QString errore;    // what went wrong, for Fallito
  bool completato() const { return stato == Stato::Completato; }
};

// Copies `cartellaDati` whole into the backup folder of `scelta` (…\PLU_BCK\Dati\…). Store
// files are copied through SQLite's online backup and must then pass its integrity check;
// their -wal and -shm companions are not copied (the copy holds their content); every other
// file is copied as it is.
EsitoSalvataggio SalvaCartellaDati(platform::FileSystem& fs, const QString& cartellaDati,
                                   const QString& scelta, const QDateTime& adesso);

}  // namespace listinova
