#pragma once

#include <QStringList>
#include <vector>

#include "import/testo_delimitato.h"

namespace listinova::platform {
class WorkbookReader;
}

namespace listinova {

// The first rows of a file as the import would split them, so that the operator sets the
// positions by looking: element n of a row is column n + 1.
constexpr int kRigheAnteprima = 20;

std::vector<QStringList> AnteprimaTesto(const QStringList& righe, const OpzioniTesto& opzioni);
std::vector<QStringList> AnteprimaFoglio(platform::WorkbookReader& cartella, bool conFornitore);

}  // namespace listinova
