#include "startup/avvio.h"

#include <QFile>

#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/program_folder.h"
#include "platform/prompts.h"
#include "platform/single_instance.h"
#include "startup/error_log.h"
#include "startup/impostazioni.h"
#include "startup/var_globali.h"

namespace listinova {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

Avvio::Avvio(const platform::ProgramFolder& cartella, platform::Prompts& prompts,
             platform::Notice& notice, platform::Clock& clock, ApriArchivio apriArchivio)
    : cartella_(cartella),
      prompts_(prompts),
      notice_(notice),
      clock_(clock),
      apriArchivio_(std::move(apriArchivio)) {}

Avvio::~Avvio() { installaErrorLog(nullptr); }

bool Avvio::passo(const std::function<void()>& azione) {
  for (;;) {
    try {
      azione();
      return true;
    } catch (const platform::db::DatabaseError& e) {
      prompts_.ask({e.description(), Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
    } catch (const std::exception& e) {
      prompts_.ask(
          {QString::fromUtf8(e.what()), Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
    }
    switch (prompts_.ask({"Errore in fase di inizializzazione.", Globali().TitoloProgramma,
                          Buttons::AbortRetryIgnore, Icon::Critical})) {
      case Answer::Retry:
        continue;
      case Answer::Ignore:
        return true;
      default:
        return false;
    }
  }
}

bool Avvio::Main() {
  guardia_ = std::make_unique<platform::SingleInstanceGuard>(cartella_.root());
  if (!guardia_->acquired()) {
    giaInUso_ = true;
    notice_.show("ATTENZIONE l'applicazione risulta già in uso");
    return false;
  }
  VarGlobali& g = Globali();
  g.TitoloProgramma = "Listinova";
  g.CartellaProgramma = cartella_.root();
  g.PercorsoSetup = cartella_.path("Setup.ini");
  g.ModelloRegistratore = "OSTREL";
  log_ = std::make_unique<ErrorLog>(cartella_.root(), clock_);
  installaErrorLog(log_.get());

  const std::function<void()> passi[] = {
      [&] { g.TitoloFinestre = ImpostaTitoli(g.PercorsoSetup); },
      [&] { g.TastieraVisibile = LeggiTastieraVisibile(g.PercorsoSetup); },
      [&] { log_->controllaDimensione(); },
      [&] {
        g.Archivio =
            apriArchivio_(cartella_.path("Dati\\DbNegozio.mdb"), [&](const QString& testo) {
              prompts_.ask({testo, g.TitoloProgramma, Buttons::Ok, Icon::Information});
            });
        RegistraPercorsoProgramma(cartella_.root());
      },
      [&] {
        if (QFile::exists(g.PercorsoSetup)) LeggiImpostazioni(g);
      },
  };
  for (const auto& azione : passi)
    if (!passo(azione)) return false;
  return true;
}

}  // namespace listinova
