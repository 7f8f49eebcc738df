#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "register/casse_configurate.h"

namespace listinova {
namespace platform {
class Clock;
class Notice;
class Prompts;
}  // namespace platform
namespace platform::db {
class Database;
}
class DriverComandi;
class RecordPlu;
class TrasportoRegistratore;

// What the send job shows on the product list; every hook may be empty.
struct SchermoInvio {
  std::function<void(const QString&)> lblTab;  // an empty text hides the field
  std::function<void()> fermaImportazione;     // the exchange-folder timer stays off
  std::function<void(bool)> occupato;          // the busy pointer
};

struct EsitoInvio {
  bool avviato = false;  // false when refused, declined or with nothing to send
  int casse = 0;         // registers configured
  int riuscite = 0;      // the success counter as the marks rule reads it
  int inviateBene = 0;   // registers that reached the end of the file
  int conRifiuti = 0;    // of those, the ones that refused some records
  bool modificatiAzzerati = false;
  bool erroreArchivio = false;  // the marks could not be cleared: they stay as they were
  bool tutteRiuscite() const {
    return avviato && casse > 0 && inviateBene == casse && conRifiuti == 0 && !erroreArchivio;
  }
  // For "listinova invia": 0 every record taken by every register, 2 a register refused some
  // records, 1 a register failed or nothing was sent.
  int statoUscita() const;
};

// "Invia PLU  >>>": the products go to every configured register, one after the other.
class InvioPlu {
 public:
  InvioPlu(platform::db::Database& db, RecordPlu& record, DriverComandi& driver,
           TrasportoRegistratore& trasporto, platform::Prompts& prompts, platform::Notice& notice,
           platform::Clock& clock, std::vector<CassaConfigurata> casse, SchermoInvio schermo = {});

  EsitoInvio cmdInviaPLU_Click(bool soloModificati);
  // Every product's mark but those of `recordRifiutati` (lines of the command file the
  // registers refused): their change has still to reach the register. Throws DatabaseError.
  void AzzeraModificati(const QStringList& recordRifiutati = {});

  static constexpr const char* kNessunaCassa =
      "Nessuna cassa configurata: impostare la porta della cassa";

 private:
  bool inviaA(const CassaConfigurata& cassa);
  void azzeraSecondoLePorte(int riuscite, const QStringList& recordRifiutati, EsitoInvio& esito);

  platform::db::Database& db_;
  RecordPlu& record_;
  DriverComandi& driver_;
  TrasportoRegistratore& trasporto_;
  platform::Prompts& prompts_;
  platform::Notice& notice_;
  platform::Clock& clock_;
  std::vector<CassaConfigurata> casse_;
  SchermoInvio schermo_;
};

}  // namespace listinova
