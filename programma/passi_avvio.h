#pragma once

#include <functional>

#include "programma/frm_splash.h"

namespace listinova {
namespace platform {
class Clock;
}
class Magazzino;
struct VarGlobali;

// The splash window's steps for the program: link the external database and rebuild the
// archive from it, then fill the product list's department and supplier lists again from what
// the rebuild wrote (`magazzino` may be null), then `mostraPrincipale`.
FrmSplash::Passi PassiAvvio(VarGlobali& globali, platform::Clock& clock, Magazzino* magazzino,
                            std::function<void()> mostraPrincipale);

}  // namespace listinova
