// Reads fuzzed bytes as a supplier's text file, line by line, and each line as the delimited
// and the "Pelidor 35" import would: lines never hold a line end or a control character, never
// exceed the limit, and a product read never carries an overlong barcode.
#include <QBuffer>
#include <cstdint>
#include <cstdlib>

#include "import/barcode_importato.h"
#include "import/riepilogo_import.h"
#include "import/testo_delimitato.h"
#include "import/testo_fornitore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace listinova;
  QByteArray byte(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer buffer(&byte);
  buffer.open(QIODevice::ReadOnly);
  LettoreRighe lettore(buffer);
  OpzioniTesto delimitato{QChar(';'), false, PredefinitePerTesto({})};
  OpzioniTesto pelidor = delimitato;
  pelidor.pelidor35 = true;
  QString riga;
  int righe = 0;
  while (lettore.prossima(riga)) {
    if (++righe != lettore.numero()) std::abort();
    if (riga.size() > kRigaMassima) std::abort();
    for (QChar c : riga)
      if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) std::abort();
    for (const OpzioniTesto* o : {&delimitato, &pelidor}) {
      ProdottoDaTesto p;
      if (!LeggiRigaTesto(riga, *o, p) && p.barcode.size() > kLunghezzaMassimaBarcode) std::abort();
    }
  }
  return 0;
}
