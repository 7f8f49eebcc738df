#pragma once

#include <QChar>
#include <QStringList>
#include <optional>
#include <vector>

#include "import/posizioni_import.h"
#include "import/riepilogo_import.h"

namespace listinova {

// How a text file is read: split at the separator by the positions, or the fixed columns of
// the "Pelidor 35" layout.
struct OpzioniTesto {
  std::optional<QChar> separatore;
  bool pelidor35 = false;
  PosizioniImport posizioni;
};

// One product of the file, ready to be written.
struct ProdottoDaTesto {
  int riga = 0;  // line of the file, 1-based
  QString barcode;
  QString descrizione;
  QString reparto;   // department number
  QString prezzo;    // "1,50"
  QString quantita;  // "2000", or "0" for the fixed layout
};

struct LetturaTesto {
  std::vector<ProdottoDaTesto> prodotti;
  RiepilogoImport riepilogo;  // lines read and lines refused
};

// Reads every line; a line that cannot give a product is refused with its reason.
LetturaTesto LeggiTestoDelimitato(const QStringList& righe, const OpzioniTesto& opzioni);

// VB's Val on a whole number: the leading digits (and sign) of the trimmed text, if any.
std::optional<long long> InteroIniziale(const QString& testo);

}  // namespace listinova
