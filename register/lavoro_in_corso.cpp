#include "register/lavoro_in_corso.h"

namespace listinova {
namespace {
int lavoriAttivi = 0;
}

LavoroInCorso::LavoroInCorso() { ++lavoriAttivi; }
LavoroInCorso::~LavoroInCorso() { --lavoriAttivi; }
bool LavoroInCorso::attivo() { return lavoriAttivi > 0; }

}  // namespace listinova
