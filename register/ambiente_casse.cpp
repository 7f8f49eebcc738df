#include "register/ambiente_casse.h"

#include <cstdlib>

#include "startup/var_globali.h"

namespace listinova {

// Exit status of a run ended by a grave fault of a register.
constexpr int kUscitaErroreGrave = 3;

CollegamentoCasse::Ambiente AmbienteCasse(platform::Prompts& prompts, platform::Notice& notice,
                                          platform::Clock& clock,
                                          platform::TextViewer& visualizzatore) {
  VarGlobali& g = Globali();
  return {*g.Archivio,
          prompts,
          notice,
          clock,
          visualizzatore,
          g.CartellaProgramma,
          g.PercorsoSetup,
          [] {
            Globali().Archivio.reset();
            std::exit(kUscitaErroreGrave);
          },
          {}};
}

}  // namespace listinova
