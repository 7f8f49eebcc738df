#include "platform/db/online_backup.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "platform/db/database_error.h"
#include "platform/db/store_failure.h"

namespace listinova::platform::db {
namespace {

// Closes the connection however the work ends.
struct Connessione {
  sqlite3* handle = nullptr;
  ~Connessione() { sqlite3_close_v2(handle); }
};

void apri(Connessione& connessione, const QString& path, int flags) {
  const int rc = sqlite3_open_v2(path.toUtf8().constData(), &connessione.handle, flags, nullptr);
  if (rc != SQLITE_OK)
    throw DatabaseError(QStringLiteral("Impossibile aprire l'archivio \"%1\": %2")
                            .arg(path, QString::fromUtf8(sqlite3_errmsg(connessione.handle))),
                        rc);
  // A writer holding the store for a moment is waited for, not taken as a failure.
  sqlite3_busy_timeout(connessione.handle, 3000);
}

}  // namespace

bool isStoreFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

namespace {

// A store in a folder that takes no new file cannot be read the usual way when it keeps a
// write-ahead log (its index file must be made). Nobody can be writing it there: read as it
// is, unless its log holds changes the file lacks.
QString sourceForReadOnlyFolder(const QString& source) {
  if (QFileInfo(QFileInfo(source).absolutePath()).isWritable()) return {};
  if (QFileInfo(source + "-wal").size() > 0)
    throw DatabaseError(QStringLiteral("L'archivio \"%1\" è in una cartella in sola lettura e "
                                       "ha modifiche non ancora scritte nel file: non può essere "
                                       "copiato. Aprire il programma sulla cartella con il "
                                       "permesso di scrittura e ripetere il salvataggio.")
                            .arg(QDir::toNativeSeparators(source)),
                        SQLITE_READONLY);
  return QUrl::fromLocalFile(QFileInfo(source).absoluteFilePath()).toString(QUrl::FullyEncoded) +
         QStringLiteral("?immutable=1");
}

int copyPages(const QString& source, int sourceFlags, Connessione& a) {
  Connessione da;
  apri(da, source, sourceFlags);
  sqlite3_backup* copia = sqlite3_backup_init(a.handle, "main", da.handle, "main");
  if (!copia)
    throw DatabaseError(QStringLiteral("Copia dell'archivio \"%1\" non avviata: %2")
                            .arg(source, QString::fromUtf8(sqlite3_errmsg(a.handle))),
                        sqlite3_errcode(a.handle));
  // All pages in one step: one read transaction, hence one snapshot.
  const int rc = sqlite3_backup_step(copia, -1);
  sqlite3_backup_finish(copia);
  return rc;
}

}  // namespace

void backupStore(const QString& source, const QString& target) {
  if (QFile::exists(target) && !QFile::remove(target))
    throw DatabaseError(QStringLiteral("Impossibile sostituire \"%1\".").arg(target), 3051);
  Connessione a;
  apri(a, target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  int rc = copyPages(source, SQLITE_OPEN_READONLY, a);
  const int primary = rc & 0xff;
  if (primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY) {
    const QString asItIs = sourceForReadOnlyFolder(source);
    if (!asItIs.isEmpty()) rc = copyPages(asItIs, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, a);
  }
  if (rc != SQLITE_DONE) {
    const QString told = describeStoreFailure(sqlite3_extended_errcode(a.handle), target);
    throw DatabaseError(told.isEmpty() || (rc & 0xff) != SQLITE_FULL
                            ? QStringLiteral("Copia dell'archivio \"%1\" non riuscita: %2")
                                  .arg(source, QString::fromUtf8(sqlite3_errstr(rc)))
                            : told,
                        rc);
  }
  // The copy is one file on its own, without a log beside it; the program turns the log back
  // on when it opens the copy.
  char* errore = nullptr;
  if (sqlite3_exec(a.handle, "PRAGMA journal_mode=DELETE", nullptr, nullptr, &errore) !=
      SQLITE_OK) {
    const QString testo = QString::fromUtf8(errore ? errore : "");
    sqlite3_free(errore);
    throw DatabaseError(
        QStringLiteral("Copia dell'archivio \"%1\" non chiusa: %2").arg(target, testo), 3051);
  }
}

QString integrityCheck(const QString& path) {
  if (!isStoreFile(path)) return QStringLiteral("\"%1\" non è un archivio dati").arg(path);
  try {
    Connessione connessione;
    apri(connessione, path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* istruzione = nullptr;
    if (sqlite3_prepare_v2(connessione.handle, "PRAGMA integrity_check", -1, &istruzione,
                           nullptr) != SQLITE_OK)
      return QString::fromUtf8(sqlite3_errmsg(connessione.handle));
    QStringList righe;
    int rc;
    while ((rc = sqlite3_step(istruzione)) == SQLITE_ROW)
      righe << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(istruzione, 0)));
    sqlite3_finalize(istruzione);
    if (rc != SQLITE_DONE) return QString::fromUtf8(sqlite3_errstr(rc));
    return righe.join(u'\n');
  } catch (const DatabaseError& errore) {
    return errore.description();
  }
}

}  // namespace listinova::platform::db
