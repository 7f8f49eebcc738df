#pragma once

#include "register/collegamento_casse.h"

namespace listinova {

// The register link's surroundings in this run: the program-wide store and settings, and a
// grave register fault that closes the store cleanly before the program ends.
CollegamentoCasse::Ambiente AmbienteCasse(platform::Prompts& prompts, platform::Notice& notice,
                                          platform::Clock& clock,
                                          platform::TextViewer& visualizzatore);

}  // namespace listinova
