// Reads fuzzed bytes as an .xls (compound file and BIFF records, through our record reader and
// FreeXL): the only failure allowed is the reader's own Italian error.
#include "fuzz_cartella_zip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace listinova::fuzz;
  const QString percorso = cartella() + QStringLiteral("/prova.xls");
  scriviFile(percorso,
             QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  leggiTutto(percorso);
  return 0;
}
