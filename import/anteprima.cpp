#include "import/anteprima.h"

#include "import/importa_foglio.h"
#include "platform/workbook_reader.h"

namespace listinova {

std::vector<QStringList> AnteprimaTesto(const QStringList& righe, const OpzioniTesto& opzioni) {
  std::vector<QStringList> anteprima;
  for (const QString& riga : righe) {
    if (static_cast<int>(anteprima.size()) >= kRigheAnteprima) break;
    if (opzioni.pelidor35)
      anteprima.push_back({riga.mid(0, 2), riga.mid(2, 14), riga.mid(16, 20), riga.mid(37, 5)});
    else if (opzioni.separatore)
      anteprima.push_back(riga.split(*opzioni.separatore));
    else
      anteprima.push_back({riga});
  }
  return anteprima;
}

std::vector<QStringList> AnteprimaFoglio(platform::WorkbookReader& cartella, bool conFornitore) {
  std::vector<QStringList> anteprima;
  const QString foglio = FoglioDaImportare(cartella.sheets(), conFornitore);
  if (foglio.isEmpty()) return anteprima;
  for (const auto& riga : cartella.rows(foglio)) {
    if (static_cast<int>(anteprima.size()) >= kRigheAnteprima) break;
    QStringList celle;
    for (const auto& c : riga) celle << c.text;
    anteprima.push_back(celle);
  }
  return anteprima;
}

}  // namespace listinova
