#include "catalogue/storico_prezzi.h"

#include <sqlite3.h>

#include "platform/db/database.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;

// Quando is local time, as every other date of the store.
constexpr char kStoricoPrezzi[] = R"(
CREATE TABLE IF NOT EXISTS StoricoPrezzi (
  CodMateriale TEXT COLLATE NOCASE, Vecchio CURRENCY, Nuovo CURRENCY, Quando DATETIME);
CREATE INDEX IF NOT EXISTS StoricoPrezzi_CodMateriale ON StoricoPrezzi(CodMateriale, Quando);
CREATE TRIGGER IF NOT EXISTS StoricoPrezzi_Modifica AFTER UPDATE OF Costo ON Magazzino
WHEN OLD.Costo IS NOT NEW.Costo
BEGIN
  INSERT INTO StoricoPrezzi (CodMateriale, Vecchio, Nuovo, Quando)
  VALUES (NEW.CodMateriale, OLD.Costo, NEW.Costo, datetime('now', 'localtime'));
END;
-- A product deleted and added again (a rebuild, an import) keeps its history: the new row
-- records a change only against the last price known.
CREATE TRIGGER IF NOT EXISTS StoricoPrezzi_Inserimento AFTER INSERT ON Magazzino
WHEN EXISTS (SELECT 1 FROM StoricoPrezzi WHERE CodMateriale = NEW.CodMateriale)
 AND NEW.Costo IS NOT (SELECT Nuovo FROM StoricoPrezzi WHERE CodMateriale = NEW.CodMateriale
                       ORDER BY Quando DESC, rowid DESC LIMIT 1)
BEGIN
  INSERT INTO StoricoPrezzi (CodMateriale, Vecchio, Nuovo, Quando)
  VALUES (NEW.CodMateriale,
          (SELECT Nuovo FROM StoricoPrezzi WHERE CodMateriale = NEW.CodMateriale
           ORDER BY Quando DESC, rowid DESC LIMIT 1),
          NEW.Costo, datetime('now', 'localtime'));
END;
-- A new product starts its history with its first price.
CREATE TRIGGER IF NOT EXISTS StoricoPrezzi_Nuovo AFTER INSERT ON Magazzino
WHEN NOT EXISTS (SELECT 1 FROM StoricoPrezzi WHERE CodMateriale = NEW.CodMateriale)
BEGIN
  INSERT INTO StoricoPrezzi (CodMateriale, Vecchio, Nuovo, Quando)
  VALUES (NEW.CodMateriale, NULL, NEW.Costo, datetime('now', 'localtime'));
END;
)";

bool haColonna(Database& db, const char* tabella, const char* colonna) {
  auto rs = db.openRecordset(QStringLiteral("Select * from %1 where 0").arg(tabella));
  return rs.hasField(QString::fromUtf8(colonna));
}

}  // namespace

void CreaStoricoPrezzi(Database& db) {
  if (!db.tableExists("Magazzino")) return;
  char* errore = nullptr;
  // Trigger bodies hold semicolons of their own: they go to SQLite as they are.
  if (sqlite3_exec(db.handle(), kStoricoPrezzi, nullptr, nullptr, &errore) != SQLITE_OK) {
    const QString testo = QString::fromUtf8(errore ? errore : "");
    sqlite3_free(errore);
    throw DatabaseError(QStringLiteral("Storico dei prezzi non creato: %1").arg(testo), 3000);
  }
  if (db.tableExists("rptProdotti") && !haColonna(db, "rptProdotti", "PrezzoPiuBasso"))
    db.execute("ALTER TABLE rptProdotti ADD COLUMN PrezzoPiuBasso CURRENCY");
}

}  // namespace listinova
