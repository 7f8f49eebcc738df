// Puts this subsystem's panels and commands on the product list.
#pragma once

#include <QDate>
#include <QString>
#include <functional>

namespace listinova {
class Magazzino;
class PannelloPromozione;
class ElencoPromozioni;
namespace platform {
class Clock;
class Notice;
class Prompts;
namespace db {
class Database;
}
}  // namespace platform

struct PannelliPromozioni {
  PannelloPromozione* promozione = nullptr;
  ElencoPromozioni* elenco = nullptr;
};

// The offer panel and the offer list, owned by the product list; "PROMOZIONI" opens the panel.
PannelliPromozioni InstallaPromozioni(Magazzino& lista, platform::db::Database& db,
                                      platform::Prompts& prompts, platform::Clock& clock);

// "Applica", "Salva Dati" and "Cambia Dati" on the real disk with the folder dialog.
// `cartellaProgramma` holds the "Dati" folder that is backed up.
void InstallaManutenzione(Magazzino& lista, platform::db::Database& db, platform::Prompts& prompts,
                          platform::Notice& notice, platform::Clock& clock,
                          const QString& cartellaProgramma);

// The start-of-day banner of the product list.
void MostraAvvisoPromozioni(Magazzino& lista, platform::db::Database& db, const QString& setup,
                            const QDate& oggi);

}  // namespace listinova
