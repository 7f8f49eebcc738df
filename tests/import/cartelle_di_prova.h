#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <utility>
#include <vector>

namespace listinova::testing {

// A fixed-column line: each text at its 1-based column, blanks between.
inline QByteArray RigaFissa(std::initializer_list<std::pair<int, const char*>> campi) {
  QByteArray riga;
  for (const auto& [colonna, testo] : campi) {
    if (riga.size() < colonna - 1) riga = riga.leftJustified(colonna - 1, ' ');
    riga = riga.left(colonna - 1) + testo;
  }
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

}  // namespace listinova::testing
