#include "catalogue/storico_prezzi.h"

#include <sqlite3.h>

#include <QStringList>
#include <optional>

#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;
using platform::db::SqliteStatement;

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

// What StoricoPrezzi_Nuovo and StoricoPrezzi_Inserimento write, for every row added after
// the given rowid at once. Each added product has a code of its own, so each row is judged
// against the history as it was before the insert, as the triggers judge it.
constexpr char kPrezziInseriti[] = R"(
INSERT INTO StoricoPrezzi (CodMateriale, Vecchio, Nuovo, Quando)
SELECT CodMateriale, Ultimo, Costo, datetime('now', 'localtime') FROM (
  SELECT m.rowid AS Riga, m.CodMateriale, m.Costo,
         EXISTS (SELECT 1 FROM StoricoPrezzi s WHERE s.CodMateriale = m.CodMateriale) AS Noto,
         (SELECT s.Nuovo FROM StoricoPrezzi s WHERE s.CodMateriale = m.CodMateriale
          ORDER BY s.Quando DESC, s.rowid DESC LIMIT 1) AS Ultimo
  FROM Magazzino m WHERE m.rowid > ?)
WHERE NOT Noto OR Costo IS NOT Ultimo
ORDER BY Riga
)";

// The insert triggers, as the store keeps their text.
constexpr const char* kTriggerInserimento[] = {"StoricoPrezzi_Inserimento", "StoricoPrezzi_Nuovo"};

QString testoAtteso(const QString& nome) {
  const QString tutto = QString::fromUtf8(kStoricoPrezzi);
  const qsizetype inizio = tutto.indexOf(QStringLiteral("IF NOT EXISTS %1 ").arg(nome));
  const qsizetype fine = tutto.indexOf(QStringLiteral("\nEND;"), inizio);
  return QStringLiteral("CREATE TRIGGER ") + tutto.mid(inizio + 14, fine + 4 - (inizio + 14));
}

QString testoNelloSchema(Database& db, const QString& nome) {
  SqliteStatement s(db.handle(),
                    QStringLiteral("SELECT sql FROM main.sqlite_master WHERE type = 'trigger' "
                                   "AND name = ?"));
  s.bind(1, nome);
  return s.step() ? s.column(0).toString() : QString();
}

void esegui(Database& db, const QString& sql, std::optional<qint64> valore = std::nullopt) {
  SqliteStatement s(db.handle(), sql);
  if (valore) s.bind(1, *valore);
  s.step();
}

void inserisciInBlocco(Database& db, const QString& inserimento) {
  bool nostri = true;
  QStringList trigger;
  for (const char* nome : kTriggerInserimento) {
    trigger << testoNelloSchema(db, QString::fromLatin1(nome));
    nostri = nostri && trigger.back() == testoAtteso(QString::fromLatin1(nome));
  }
  // A store whose triggers say something else keeps them, row by row.
  if (!nostri) return esegui(db, inserimento);
  qint64 ultima = 0;
  {
    SqliteStatement massima(db.handle(), QStringLiteral("SELECT max(rowid) FROM Magazzino"));
    if (massima.step()) ultima = massima.column(0).toLongLong();
  }
  // Only these two step aside, inside the caller's transaction: any other trigger on the
  // archive still runs, and a failure takes them back with everything else.
  for (const char* nome : kTriggerInserimento)
    esegui(db, QStringLiteral("DROP TRIGGER main.%1").arg(QString::fromLatin1(nome)));
  esegui(db, inserimento);
  esegui(db, QString::fromUtf8(kPrezziInseriti), ultima);
  for (const QString& testo : trigger) esegui(db, testo);
}

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

void InserisciProdottiInBlocco(Database& db, const QString& colonne, const QString& select) {
  const QString inserimento =
      QStringLiteral("INSERT OR FAIL INTO Magazzino (%1) %2").arg(colonne, select);
  if (!sqlite3_get_autocommit(db.handle())) return inserisciInBlocco(db, inserimento);
  Database::Transaction transazione(db);
  inserisciInBlocco(db, inserimento);
  transazione.commit();
}

}  // namespace listinova
