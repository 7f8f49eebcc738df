#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "platform/money.h"

namespace listinova {
namespace platform::db {
class Database;
}

// One row of Reparti as the department window shows and edits it.
struct DatiReparto {
  int cod = 0;
  QString descrizione;
  double iva = 0;
  Money prezzoPrefissato;
  double sconto = 0;
  bool noFiscale = false;
  QString percorsoIcon;  // both empty: no picture
  QString icon;
};

// A product of a department as the department window lists it.
struct ProdottoReparto {
  QString descrizione;
  Money costo;
  Money prezzo1;
  Money prezzo2;
};

// What the department window reads from and writes to the store. Store failures throw
// DatabaseError.
class ArchivioReparti {
 public:
  explicit ArchivioReparti(platform::db::Database& db) : db_(db) {}

  std::vector<DatiReparto> elenco();
  std::optional<DatiReparto> reparto(int cod);
  // The products not deleted whose Genere names the department or holds its code.
  std::vector<ProdottoReparto> prodotti(int cod);

  // Writes the department. Products keep their department by its name, so a new name is given
  // to every product that held the old one, in the same transaction; products that hold the
  // code are unaffected. When another department still bears the old name, its products stay.
  // False when the department is not in the store.
  bool salva(const DatiReparto& reparto);
  // Back to "Reparto" + number, no VAT, price, discount or picture, fiscal.
  bool azzera(int cod);

 private:
  platform::db::Database& db_;
};

}  // namespace listinova
