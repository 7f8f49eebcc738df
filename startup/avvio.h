#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "platform/db/database.h"

namespace listinova {
namespace platform {
class Clock;
class Notice;
class Prompts;
class ProgramFolder;
class SingleInstanceGuard;
}  // namespace platform
class ErrorLog;

// Opens the shop's store (`ApriDatabase`); `avviso` tells the operator of a store set aside.
// Handed in because the store belongs to the catalogue, which stands on this layer.
using ApriArchivio = std::function<std::unique_ptr<platform::db::Database>(
    const QString& percorso, const std::function<void(const QString&)>& avviso)>;

// The start routine: from nothing to the program-wide state the windows need.
class Avvio {
 public:
  Avvio(const platform::ProgramFolder& cartella, platform::Prompts& prompts,
        platform::Notice& notice, platform::Clock& clock, ApriArchivio apriArchivio);
  ~Avvio();

  // False when the program must end (a second copy, or Abort on a failed step).
  bool Main();
  // Main refused to start because another copy holds the shop folder.
  bool giaInUso() const { return giaInUso_; }

 private:
  // Runs one step; on failure asks Abort / Retry / Ignore. False means Abort.
  bool passo(const std::function<void()>& azione);

  const platform::ProgramFolder& cartella_;
  platform::Prompts& prompts_;
  platform::Notice& notice_;
  platform::Clock& clock_;
  ApriArchivio apriArchivio_;
  std::unique_ptr<platform::SingleInstanceGuard> guardia_;
  std::unique_ptr<ErrorLog> log_;
  bool giaInUso_ = false;
};

}  // namespace listinova
