#include "platform/db/store_failure.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

namespace listinova::platform::db {
namespace {

QString folderOf(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

}  // namespace

QString damagedStoreText(const QString& path) {
  return QStringLiteral(
             "L'archivio \"%1\" è danneggiato: non è stato aperto e non è stato modificato. "
             "Ripristinare l'ultima copia di sicurezza, o farlo riparare, e riprovare.")
      .arg(QDir::toNativeSeparators(path));
}

QString describeStoreFailure(int extendedCode, const QString& path) {
  const QString file = QDir::toNativeSeparators(path);
  const QString readOnlyFolder = QStringLiteral(
      "La cartella \"%1\" è in sola lettura: il programma non può creare né aggiornare "
      "l'archivio \"%2\". Dare il permesso di scrittura sulla cartella e riprovare.");
  // A folder that refuses new files (the journal, the WAL) shows up as several codes.
  const bool folderRefuses = extendedCode == SQLITE_READONLY_DIRECTORY ||
                             !QFileInfo(QFileInfo(path).absolutePath()).isWritable();
  const int primary = extendedCode & 0xff;
  if (primary == SQLITE_CANTOPEN && !QFileInfo::exists(QFileInfo(path).absolutePath()))
    return QStringLiteral(
               "La cartella \"%1\" non esiste e non si può creare: l'archivio "
               "\"%2\" non può essere creato.")
        .arg(folderOf(path), file);
  if (folderRefuses && (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN))
    return readOnlyFolder.arg(folderOf(path), file);
  switch (primary) {
    case SQLITE_READONLY:
      return QStringLiteral(
                 "L'archivio \"%1\" è in sola lettura: il programma non può salvarvi nulla. "
                 "Togliere la protezione da scrittura al file e riprovare.")
          .arg(file);
    case SQLITE_CANTOPEN:
      if (QFileInfo::exists(path))
        return QStringLiteral(
                   "Impossibile aprire l'archivio \"%1\": il file non si lascia "
                   "leggere.")
            .arg(file);
      return readOnlyFolder.arg(folderOf(path), file);
    case SQLITE_FULL:
      return QStringLiteral(
                 "Spazio su disco esaurito in \"%1\": l'archivio \"%2\" non può essere "
                 "aggiornato. Liberare spazio sul disco e riprovare.")
          .arg(folderOf(path), file);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return damagedStoreText(path);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return QStringLiteral(
                 "L'archivio \"%1\" è occupato da un altro programma: chiuderlo e "
                 "riprovare.")
          .arg(file);
    case SQLITE_IOERR:
      return QStringLiteral("Errore di lettura o scrittura sul disco nell'archivio \"%1\".")
          .arg(file);
    default:
      return {};
  }
}

}  // namespace listinova::platform::db
