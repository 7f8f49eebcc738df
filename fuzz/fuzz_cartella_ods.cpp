// Reads fuzzed content.xml as an .ods: repeats and spelled-out spaces must stay within the
// workbook limits, and the only failure is the reader's own Italian error.
#include "fuzz_cartella_zip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace listinova::fuzz;
  const QString percorso = preparaCartella(
      data, size, "prova.ods", {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}},
      "content.xml");
  leggiTutto(percorso);
  return 0;
}
