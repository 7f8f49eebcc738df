#include "catalogue/apri_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/schema_negozio.h"
#include "platform/db/access_file.h"
#include "platform/db/access_to_sqlite.h"
#include "platform/db/database.h"
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

}  // namespace

std::unique_ptr<Database> ApriDatabase(const QString& percorso) {
  QDir().mkpath(QFileInfo(percorso).absolutePath());
  if (platform::db::isAccessFile(percorso)) convertiDaAccess(percorso);
  auto db = Database::open(percorso);
  CreaSchemaNegozio(*db);
  return db;
}

}  // namespace listinova
