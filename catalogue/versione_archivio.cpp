#include "catalogue/versione_archivio.h"

#include <sqlite3.h>

#include <QDir>
#include <iterator>

#include "platform/db/database.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;

struct Aggiornamento {
  int versione;  // the version this step reaches
  const char* istruzioni;
};

constexpr Aggiornamento kAggiornamenti[] = {
    // Version 0 ordered its text indexes by a NOCASE of the program's own, which no other tool
    // knows; rebuilt under SQLite's own they agree with every tool. No value changes.
    {1, "REINDEX NOCASE"},
};
static_assert(kAggiornamenti[std::size(kAggiornamenti) - 1].versione == kVersioneArchivio);

// SQLite's answer for a store that a newer program wrote with features this one lacks.
constexpr int kArchivioPiuRecente = 3343;

// Closes the connection however the reading ends.
struct SoloLettura {
  sqlite3* handle = nullptr;
  ~SoloLettura() { sqlite3_close_v2(handle); }
};

std::optional<qint64> leggiNumero(sqlite3* handle, const char* istruzione) {
  sqlite3_stmt* s = nullptr;
  std::optional<qint64> numero;
  if (sqlite3_prepare_v2(handle, istruzione, -1, &s, nullptr) == SQLITE_OK &&
      sqlite3_step(s) == SQLITE_ROW)
    numero = sqlite3_column_int64(s, 0);
  sqlite3_finalize(s);
  return numero;
}

}  // namespace

std::optional<VersioneNelFile> LeggiVersioneArchivio(const QString& percorso) {
  SoloLettura file;
  if (sqlite3_open_v2(percorso.toUtf8().constData(), &file.handle, SQLITE_OPEN_READONLY, nullptr) !=
      SQLITE_OK)
    return std::nullopt;
  const auto versione = leggiNumero(file.handle, "PRAGMA user_version");
  const auto tabelle = leggiNumero(file.handle, "SELECT count(*) FROM sqlite_master");
  if (!versione || !tabelle) return std::nullopt;
  return VersioneNelFile{static_cast<int>(*versione), *tabelle == 0};
}

int VersioneArchivio(Database& db) {
  auto versione = db.openRecordset("PRAGMA user_version");
  return versione.eof() ? 0 : static_cast<int>(versione.value(0).toLongLong());
}

void RifiutaArchivioPiuRecente(const QString& percorso, int versione) {
  if (versione <= kVersioneArchivio) return;
  throw DatabaseError(
      QStringLiteral("L'archivio \"%1\" è stato scritto da una versione più recente di Listinova "
                     "(archivio versione %2, questo programma arriva alla %3): aggiornare "
                     "Listinova per aprirlo. L'archivio non è stato modificato.")
          .arg(QDir::toNativeSeparators(percorso))
          .arg(versione)
          .arg(kVersioneArchivio),
      kArchivioPiuRecente);
}

void AggiornaSchemaArchivio(Database& db, int daVersione) {
  for (const Aggiornamento& passo : kAggiornamenti)
    if (passo.versione > daVersione) db.execute(QString::fromUtf8(passo.istruzioni));
  db.execute(QStringLiteral("PRAGMA user_version=%1").arg(kVersioneArchivio));
}

}  // namespace listinova
