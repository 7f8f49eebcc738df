// Reads fuzzed worksheet XML (and, after a NUL, shared strings) as an .xlsx: the reader must
// stay within the workbook limits and fail only with its own Italian error.
#include "fuzz_cartella_zip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace listinova::fuzz;
  const QString percorso = preparaCartella(
      data, size, "prova.xlsx",
      {{"xl/workbook.xml",
        "<workbook xmlns:r=\"r\"><sheets><sheet name=\"PRODOTTI\" r:id=\"rId1\"/></sheets>"
        "</workbook>"},
       {"xl/_rels/workbook.xml.rels",
        "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
        "</Relationships>"}},
      "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml");
  leggiTutto(percorso);
  return 0;
}
