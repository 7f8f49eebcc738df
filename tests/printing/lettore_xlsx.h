#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace listinova::testing {

// A cell as an .xlsx file stores it, read without any spreadsheet program.
struct CellaXlsx {
  enum class Tipo { Vuota, Testo, Numero, Booleano } tipo = Tipo::Vuota;
  QString testo;      // Testo
  double numero = 0;  // Numero, Booleano
  QString formato;    // the number format's code, empty for General
  bool data() const { return tipo == Tipo::Numero && formato.contains("yy"); }
};

struct FoglioXlsx {
  QString nome;
  std::vector<std::vector<CellaXlsx>> righe;  // row 1 first; short rows are padded
};

// The sheets of the workbook in their order; nullopt when the file is not a readable .xlsx.
std::optional<std::vector<FoglioXlsx>> LeggiXlsx(const QString& file);

}  // namespace listinova::testing
