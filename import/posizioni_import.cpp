#include "import/posizioni_import.h"

#include <utility>
#include <vector>

namespace listinova {
namespace {

constexpr char kReplicati[] = "Valori di colonna replicati - Controllare";

using Richiesta = std::pair<int, const char*>;

std::optional<QString> primaMancante(const std::vector<Richiesta>& richieste) {
  for (const auto& [posizione, messaggio] : richieste)
    if (posizione <= 0) return QString::fromUtf8(messaggio);
  return std::nullopt;
}

std::optional<QString> replicati(const std::vector<int>& posizioni) {
  for (size_t i = 0; i < posizioni.size(); ++i)
    for (size_t j = i + 1; j < posizioni.size(); ++j)
      if (posizioni[i] > 0 && posizioni[i] == posizioni[j]) return QString::fromUtf8(kReplicati);
  return std::nullopt;
}

}  // namespace

PosizioniImport PredefinitePerTesto(PosizioniImport p) {
  p.descrizione = 5;
  p.quantita = 12;
  p.barcode = 4;
  p.reparto = 6;
  p.prezzoVendita = 10;
  return p;
}

PosizioniImport PredefinitePerFoglio() {
  return {.descrizione = 4,
          .quantita = 0,
          .barcode = 9,
          .reparto = 6,
          .prezzoVendita = 7,
          .prezzoAcquisto = 14,
          .iva = 8,
          .codiceFornitore = 15,
          .fornitore = 17};
}

std::optional<QString> ControllaPosizioniTesto(bool separatoreScelto, const PosizioniImport& p) {
  if (!separatoreScelto) return QStringLiteral("Separatore NON selezionato");
  if (auto mancante = primaMancante({
          {p.barcode, "Posizione del barcode non impostata"},
          {p.quantita, "Posizione della quantità non impostata"},
          {p.reparto, "Posizione del reparto non impostata"},
          {p.prezzoVendita, "Posizione del prezzo di vendita non impostata"},
          {p.descrizione, "Posizione della descrizione non impostata"},
      }))
    return mancante;
  return replicati({p.barcode, p.quantita, p.reparto, p.prezzoVendita, p.descrizione});
}

std::optional<QString> ControllaPosizioniFoglio(const PosizioniImport& p) {
  if (auto mancante = primaMancante({
          {p.barcode, "Posizione del barcode non impostata"},
          {p.reparto, "Posizione del reparto non impostata"},
          {p.prezzoVendita, "Posizione del prezzo di vendita non impostata"},
          {p.descrizione, "Posizione della descrizione non impostata"},
          {p.prezzoAcquisto, "Posizione del Prezzo di Acquisto non impostata"},
          {p.iva, "Posizione del valore IVA non impostata"},
          {p.codiceFornitore, "Posizione del codice Prodotto per il Fornitore non impostata"},
          {p.fornitore, "Posizione del Fornitore non impostata"},
      }))
    return mancante;
  return replicati({p.descrizione, p.quantita, p.barcode, p.reparto, p.prezzoVendita,
                    p.prezzoAcquisto, p.iva, p.codiceFornitore, p.fornitore});
}

}  // namespace listinova
