#include "catalogue/apri_database.h"

#include <sqlite3.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/schema_negozio.h"
#include "catalogue/versione_archivio.h"
#include "platform/db/access_file.h"
#include "platform/db/access_to_sqlite.h"
#include "platform/db/database.h"
#include "platform/db/online_backup.h"
#include "platform/db/store_failure.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;

QString nomeLibero(const QString& desiderato) {
  QString nome = desiderato;
  for (int n = 2; QFile::exists(nome); ++n) nome = desiderato + "." + QString::number(n);
  return nome;
}

// The converted copy is built beside the original and takes its name only when complete.
void convertiDaAccess(const QString& percorso) {
  const QString provvisorio = percorso + ".conversione";
  QFile::remove(provvisorio);
  platform::db::ConversionReport report;
  try {
    auto db = Database::open(provvisorio);
    report = platform::db::convertAccessToSqlite(percorso, db->handle());
    CreaSchemaNegozio(*db);
  } catch (const std::exception& e) {
    QFile::remove(provvisorio);
    throw DatabaseError(QStringLiteral("Conversione dell'archivio Access \"%1\" non riuscita: %2")
                            .arg(percorso, QString::fromUtf8(e.what())),
                        3049);
  }
  const QString originale = nomeLibero(percorso + ".access");
  if (!QFile::rename(percorso, originale) || !QFile::rename(provvisorio, percorso))
    throw DatabaseError(
        QStringLiteral("Impossibile sostituire l'archivio \"%1\" con la copia convertita.")
            .arg(percorso),
        3049);
  ScriviErrore("Funzioni", "ApriDatabase",
               QStringLiteral("Archivio Access convertito: %1 tabelle, %2 righe; originale in %3")
                   .arg(report.tables)
                   .arg(report.rows)
                   .arg(originale),
               0);
}

// An empty file (what a crash or a full disk can leave) is no store: it is kept aside, never
// silently reused, and the operator hears that a new, empty store takes its place.
void mettiDaParteFileVuoto(const QString& percorso,
                           const std::function<void(const QString&)>& avviso) {
  const QFileInfo info(percorso);
  if (!info.exists() || !info.isFile() || info.size() != 0) return;
  const QString daParte = nomeLibero(percorso + QStringLiteral(".vuoto-") +
                                     QDate::currentDate().toString("yyyy-MM-dd"));
  if (!QFile::rename(percorso, daParte))
    throw DatabaseError(platform::db::describeStoreFailure(SQLITE_READONLY_DIRECTORY, percorso),
                        SQLITE_READONLY_DIRECTORY);
  const QString testo =
      QStringLiteral(
          "L'archivio \"%1\" era vuoto (0 byte): è stato messo da parte come \"%2\" "
          "ed è stato creato un archivio nuovo, senza prodotti.")
          .arg(QDir::toNativeSeparators(percorso), QFileInfo(daParte).fileName());
  ScriviErrore("Funzioni", "ApriDatabase", testo, 0);
  if (avviso) avviso(testo);
}

// A store of an earlier version is upgraded in place; a sound copy of it as it was stays beside
// it first, written under another name and renamed when whole. Gives the copy's path, empty
// when no upgrade is due. A store of a newer version is refused here, before a byte of it is
// written.
QString copiaPrimaDiAggiornare(const QString& percorso, bool& soloNumero) {
  soloNumero = false;
  const auto letta = LeggiVersioneArchivio(percorso);
  if (!letta || letta->senzaTabelle) return {};
  RifiutaArchivioPiuRecente(percorso, letta->versione);
  if (letta->versione >= kVersioneArchivio) return {};
  if (letta->versione == 0 && SchemaDiOggi(percorso)) {
    soloNumero = true;
    return {};
  }
  const QString copia = nomeLibero(percorso + ".v" + QString::number(letta->versione));
  const QString parziale = copia + ".parziale";
  try {
    platform::db::backupStore(percorso, parziale);
    if (!QFile::rename(parziale, copia))
      throw DatabaseError(platform::db::describeStoreFailure(SQLITE_READONLY_DIRECTORY, percorso),
                          SQLITE_READONLY_DIRECTORY);
  } catch (const DatabaseError& e) {
    QFile::remove(parziale);
    const int primario = e.code() & 0xff;
    if (primario == SQLITE_CORRUPT || primario == SQLITE_NOTADB)
      throw DatabaseError(platform::db::damagedStoreText(percorso), SQLITE_CORRUPT);
    throw DatabaseError(QStringLiteral("L'archivio \"%1\" è di una versione precedente e va "
                                       "aggiornato, ma non è stato possibile metterne da parte "
                                       "una copia (%2): l'archivio non è stato modificato.")
                            .arg(QDir::toNativeSeparators(percorso), e.description()),
                        e.code());
  }
  return copia;
}

}  // namespace

std::unique_ptr<Database> ApriDatabase(const QString& percorso,
                                       const std::function<void(const QString&)>& avviso) {
  QDir().mkpath(QFileInfo(percorso).absolutePath());
  mettiDaParteFileVuoto(percorso, avviso);
  if (platform::db::isAccessFile(percorso)) convertiDaAccess(percorso);
  const bool nuovo = !QFileInfo::exists(percorso);
  bool soloNumero = false;
  const QString copia = nuovo ? QString() : copiaPrimaDiAggiornare(percorso, soloNumero);
  try {
    auto db = Database::open(percorso);
    if (soloNumero) db->execute(QStringLiteral("PRAGMA user_version=%1").arg(kVersioneArchivio));
    CreaSchemaNegozio(*db);
    if (!copia.isEmpty())
      ScriviErrore("Funzioni", "ApriDatabase",
                   QStringLiteral("Archivio aggiornato alla versione %1; com'era prima in %2")
                       .arg(kVersioneArchivio)
                       .arg(copia),
                   0);
    return db;
  } catch (const DatabaseError&) {
    // A store that could not be made (full disk, say) leaves no empty file behind.
    if (nuovo && QFileInfo(percorso).size() == 0) QFile::remove(percorso);
    throw;
  }
}

}  // namespace listinova
