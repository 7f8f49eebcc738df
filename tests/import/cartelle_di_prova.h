// What the import tests (and the import benchmark) write by hand: fixed-column lines, zip
// archives, workbooks; and an import cut short.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "catalogue/apri_database.h"
#include "import/riepilogo_import.h"
#include "platform/db/database.h"

namespace listinova::testing {

// A fixed-column line: each text at its 1-based column, blanks between.
inline QByteArray RigaFissa(std::initializer_list<std::pair<int, const char*>> campi) {
  QByteArray riga;
  for (const auto& [colonna, testo] : campi) riga = riga.leftJustified(colonna - 1, ' ') + testo;
  return riga + "\r\n";
}

// A cell of a workbook written by a test: text, or a number written as the file writes it.
struct CellaDiProva {
  QString testo;
  bool numero = false;
};
using FoglioDiProva = std::vector<std::vector<CellaDiProva>>;

// Writes a zip archive of the given parts, as they are (for workbooks built by hand).
bool ScriviZip(const QString& percorso, const std::vector<std::pair<QString, QByteArray>>& parti);

// Writes a minimal .xlsx holding the sheets in order; true when written.
bool ScriviXlsx(const QString& percorso,
                const std::vector<std::pair<QString, FoglioDiProva>>& fogli);

// Runs `lavoro` on the store in a child process that dies, its transaction open, once `fatti`
// rows are done, as a power cut would; true when it got that far.
inline bool MortoAMeta(
    const QString& archivio, int fatti,
    const std::function<void(platform::db::Database&, const SchermoImport&)>& lavoro) {
  const pid_t figlio = fork();
  if (figlio == 0) {
    SchermoImport schermo;
    schermo.avanzamento = [fatti](int n, int) {
      if (n >= fatti) _exit(0);
    };
    lavoro(*ApriDatabase(archivio), schermo);
    _exit(1);
  }
  int stato = 0;
  return figlio > 0 && waitpid(figlio, &stato, 0) == figlio && WIFEXITED(stato) &&
         WEXITSTATUS(stato) == 0;
}

}  // namespace listinova::testing
