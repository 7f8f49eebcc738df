#pragma once

#include <QChar>
#include <QStringList>
#include <optional>
#include <vector>

#include "import/posizioni_import.h"
#include "import/riepilogo_import.h"
#include "platform/money.h"

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
  Money importo;     // the same price as an amount
  QString quantita;  // "2000", or "0" for the fixed layout
};

// Reads one line into `prodotto`; the reason when the line cannot give a sound product.
std::optional<QString> LeggiRigaTesto(const QString& riga, const OpzioniTesto& opzioni,
                                      ProdottoDaTesto& prodotto);

// VB's Val on a whole number: the leading digits (and sign) of the trimmed text, if any.
std::optional<long long> InteroIniziale(const QString& testo);

}  // namespace listinova
