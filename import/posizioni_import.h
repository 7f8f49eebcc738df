#pragma once

#include <QString>
#include <optional>

namespace listinova {

// The column of each field in the supplier's rows, 1-based; 0 when not set.
struct PosizioniImport {
  int descrizione = 0;
  int quantita = 0;
  int barcode = 0;
  int reparto = 0;
  int prezzoVendita = 0;
  int prezzoAcquisto = 0;
  int iva = 0;
  int codiceFornitore = 0;
  int fornitore = 0;
};

// The highest column the position lists offer.
constexpr int kUltimaColonna = 100;

// "Predef.": the five fields of the text files; the others stay as they are.
PosizioniImport PredefinitePerTesto(PosizioniImport attuali);
// "Predef. XLS": all nine, quantity cleared.
PosizioniImport PredefinitePerFoglio();

// The first complaint about the positions of a text import, in the order the operator reads
// them; none when the import can go on.
std::optional<QString> ControllaPosizioniTesto(bool separatoreScelto, const PosizioniImport& p);
std::optional<QString> ControllaPosizioniFoglio(const PosizioniImport& p);

}  // namespace listinova
