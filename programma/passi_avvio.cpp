#include "programma/passi_avvio.h"

#include "catalogue/magazzino.h"
#include "programma/tabelle_collegate.h"
#include "startup/var_globali.h"

namespace listinova {

FrmSplash::Passi PassiAvvio(VarGlobali& globali, platform::Clock& clock, Magazzino* magazzino,
                            std::function<void()> mostraPrincipale) {
  return {
      [&globali, &clock] { return GestisciTabelleCollegate(globali, clock); },
      [&globali, &clock, magazzino] {
        if (!globali.Archivio) return;
        SincronizzaDatabaseEsterno(*globali.Archivio, clock);
        if (magazzino) magazzino->CaricaElenchi();
      },
      std::move(mostraPrincipale),
  };
}

}  // namespace listinova
