#pragma once

#include <QStringList>
#include <utility>
#include <vector>

#include "platform/workbook_reader.h"

namespace listinova::testing {

// A written workbook read back through the program's own reader (not the library that wrote
// it): each sheet by name, as rows of cell texts; numbers come as their shortest digits.
inline std::vector<std::pair<QString, std::vector<QStringList>>> FogliScritti(const QString& file) {
  std::vector<std::pair<QString, std::vector<QStringList>>> fogli;
  const auto libro = platform::openWorkbook(file);
  for (const QString& nome : libro->sheets()) {
    auto& righe = fogli.emplace_back(nome, std::vector<QStringList>{}).second;
    for (const auto& riga : libro->rows(nome)) {
      QStringList& celle = righe.emplace_back();
      for (const auto& c : riga) celle << c.text;
    }
  }
  return fogli;
}

}  // namespace listinova::testing
