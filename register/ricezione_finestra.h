#pragma once

namespace listinova {
namespace platform {
class Clock;
class Prompts;
namespace db {
class Database;
}
}  // namespace platform
class CollegamentoCasse;
class Magazzino;

// Gives the product list its reading commands ("Leggi PLU  <<<", "&Genera File Dati") and its
// sales view, over the program's link to the registers.
void CollegaRicezione(Magazzino& lista, CollegamentoCasse& casse, platform::db::Database& db,
                      platform::Prompts& prompts, platform::Clock& clock);

}  // namespace listinova
