#pragma once

#include <QString>
#include <vector>

namespace listinova::testing {

// A cell of a workbook written by a test: text, or a number written as the file writes it.
struct CellaDiProva {
  QString testo;
  bool numero = false;
};
using FoglioDiProva = std::vector<std::vector<CellaDiProva>>;

// Writes a zip archive of the given parts, as they are (for workbooks built by hand).
bool ScriviZip(const QString& percorso, const std::vector<std::pair<QString, QByteArray>>& parti);

// Writes a minimal .xlsx or .ods holding the sheets in order; true when written.
bool ScriviXlsx(const QString& percorso,
                const std::vector<std::pair<QString, FoglioDiProva>>& fogli);
bool ScriviOds(const QString& percorso,
               const std::vector<std::pair<QString, FoglioDiProva>>& fogli);

}  // namespace listinova::testing
