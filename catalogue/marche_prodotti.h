#pragma once

#include <QString>

namespace listinova {
namespace platform {
class Clock;
class Prompts;
namespace db {
class Database;
}
}  // namespace platform

// TipoVariazione after a click on the product: with the shelf-label printing on, "N" (or
// nothing) and "F" swap and any other letter stays; otherwise the mark is cleared to "N".
QString MarcaEtichettaSuccessiva(const QString& attuale, bool perFrontalini);

enum class SceltaModifica { Modifica, Cancella, Nessuna };

// The marks of the product list and the commands that delete products, with their questions.
// Store failures throw DatabaseError.
class MarcheProdotti {
 public:
  MarcheProdotti(platform::db::Database& db, platform::Prompts& prompts, platform::Clock& clock);

  // Asks, then clears every Modificato mark; true when the operator said Yes.
  bool togliModificati();
  // Asks, then marks every product modified; true when the operator said Yes.
  bool segnaTuttiModificati();
  void cambiaMarcaEtichetta(const QString& codMateriale, bool perFrontalini);
  // The question of "Tutti" while shelf labels are being marked; true on Yes.
  bool chiediTogliFrontalini();

  // Asks, then deletes the one product; true when it was deleted.
  bool eliminaProdotto(const QString& codMateriale, const QString& descrizione);
  // The two questions of "Modifica": edit the product, delete it, or nothing.
  SceltaModifica chiediModificaOCancella();
  // Deletes the product with its extra bar codes and its promotions.
  void cancellaPLU(const QString& codMateriale);

 private:
  bool conferma(const QString& testo, bool predefinitoNo = false);

  platform::db::Database& db_;
  platform::Prompts& prompts_;
  platform::Clock& clock_;
};

}  // namespace listinova
