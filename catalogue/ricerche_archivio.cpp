#include "catalogue/ricerche_archivio.h"

#include "platform/db/database.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;

// Runs `query` and gives the first column of its first row, or `absent` when there is none.
QString primoValore(Database& db, const QString& query, const QString& absent,
                    const char* procedura) {
  try {
    auto rs = db.openRecordset(query);
    if (rs.eof() || rs.value(0).isNull()) return absent;
    return rs.value(0).toString();
  } catch (const DatabaseError& e) {
    ScriviErrore("Funzioni", procedura, e.description(), e.code());
    return absent;
  }
}

}  // namespace

QString TrovaNomeRep(Database& db, const QString& codice) {
  return primoValore(db, "Select Descrizione from reparti where Cod=" + codice, codice,
                     "TrovaNomeRep");
}

QString TrovaCodiceRep(Database& db, const QString& nome) {
  // The name travels between double quotes, so that its apostrophes survive.
  QString query =
      "Select Cod from Reparti where Descrizione='" + QString(nome).replace('\'', '@') + "'";
  query.replace('\'', '"').replace('@', '\'');
  return primoValore(db, query, "1", "TrovaCodiceRep");
}

QString TrovaDescrizioneRep(Database& db, const QString& id) {
  return primoValore(db, "Select NomeReparto from RepartiEsterno where IDReparto=" + id,
                     "Reparto41", "TrovaDescrizioneRep");
}

std::optional<int> CodiceRepXIVA(Database& db, const QString& aliquota) {
  bool ok = false;
  const int codice =
      primoValore(db, "Select Cod from Reparti where Iva=" + aliquota, {}, "TrovaCodiceRepXIVA")
          .toInt(&ok);
  if (!ok) return std::nullopt;
  return codice;
}

int TrovaCodiceRepXIVA(Database& db, const QString& aliquota) {
  return CodiceRepXIVA(db, aliquota).value_or(40);
}

QString CodiceFornitoreProdotto(Database& db, const QString& codMateriale) {
  return primoValore(
      db, "Select CodProdottoFornitore from Magazzino where CodMateriale=" + codMateriale,
      QString(), "CodiceFornitoreProdotto");
}

QString NuovoCodiceMateriale(Database& db) {
  QString massimo = primoValore(db, "select Max(CLng([CodMateriale])) AS CodMat from Magazzino",
                                "0", "NuovoCodiceMateriale");
  return QString::number(massimo.toLongLong() + 1);
}

}  // namespace listinova
