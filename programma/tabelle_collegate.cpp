#include "programma/tabelle_collegate.h"

#include <QCoreApplication>
#include <QFile>

#include "catalogue/ricerche_archivio.h"
#include "platform/clock.h"
#include "platform/db/access_file.h"
#include "platform/db/access_to_sqlite.h"
#include "platform/db/database.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;

constexpr char kSchemaEsterno[] = "esterno";

void rimuoviCollegamenti(Database& db) {
  db.execute("DROP VIEW IF EXISTS temp.RepartiEsterno");
  db.execute("DROP VIEW IF EXISTS temp.MAGAZZINOEsterno");
  db.execute("DROP TABLE IF EXISTS temp.RepartiEsterno");
  db.execute("DROP TABLE IF EXISTS temp.MAGAZZINOEsterno");
  auto schemi = db.openRecordset("PRAGMA database_list");
  for (; !schemi.eof(); schemi.moveNext())
    if (schemi.text("name").compare(kSchemaEsterno, Qt::CaseInsensitive) == 0)
      db.execute(QStringLiteral("DETACH DATABASE %1").arg(kSchemaEsterno));
}

void collegaSqlite(Database& db, const QString& quale, platform::Clock& clock) {
  db.execute(
      QStringLiteral("ATTACH DATABASE %1 AS %2").arg(platform::db::sqlText(quale), kSchemaEsterno));
  db.execute(QStringLiteral("CREATE TEMP VIEW RepartiEsterno AS SELECT * FROM %1.Reparti")
                 .arg(kSchemaEsterno));
  db.openRecordset("Select * from RepartiEsterno");  // fails here when the table is missing
  clock.wait(250);
  db.execute(QStringLiteral("CREATE TEMP VIEW MAGAZZINOEsterno AS SELECT * FROM %1.MAGAZZINO")
                 .arg(kSchemaEsterno));
  db.openRecordset("Select * from MAGAZZINOEsterno where 0");
  clock.wait(250);
}

void collegaAccess(Database& db, const QString& quale, platform::Clock& clock) {
  platform::db::copyAccessTable(quale, "Reparti", db.handle(), "temp.RepartiEsterno");
  clock.wait(250);
  platform::db::copyAccessTable(quale, "MAGAZZINO", db.handle(), "temp.MAGAZZINOEsterno");
  clock.wait(250);
}

// A department with only its name and VAT rate: no preset price, discount or icon.
void impostaReparto(platform::db::Recordset& reparto, const QString& descrizione, int iva) {
  reparto.edit();
  reparto.setText("Descrizione", descrizione);
  reparto.setValue("Iva", iva);
  reparto.setValue("PrezzoPrefissato", 0);
  reparto.setValue("Sconto", 0);
  reparto.setFlag("NoFiscale", false);
  reparto.setText("PercorsoIcon", "");
  reparto.setText("Icon", "");
  reparto.update();
}

}  // namespace

bool GestisciTabelleCollegate(VarGlobali& globali, platform::Clock& clock) {
  if (!globali.TabelleCollegate || !globali.Archivio) return false;
  const QString quale = LeggiINI(globali.PercorsoSetup, "DatabaseEsterno", "Quale", "?");
  if (quale == "?" || quale.trimmed().isEmpty() || !QFile::exists(quale)) return false;
  Database& db = *globali.Archivio;
  try {
    rimuoviCollegamenti(db);
    if (platform::db::isAccessFile(quale))
      collegaAccess(db, quale, clock);
    else
      collegaSqlite(db, quale, clock);
    return true;
  } catch (const DatabaseError& e) {
    ScriviErrore("Funzioni", "GestisciTabelleCollegate", e.description(), e.code());
  } catch (const std::exception& e) {
    ScriviErrore("Funzioni", "GestisciTabelleCollegate", QString::fromUtf8(e.what()), 3024);
  }
  try {
    rimuoviCollegamenti(db);
  } catch (const DatabaseError&) {
    // what could not be linked stays unlinked; the log has the cause already
  }
  return false;
}

void SincronizzaDatabaseEsterno(Database& db, platform::Clock& clock) {
  try {
    // One transaction: a failure halfway leaves the products as they were.
    Database::Transaction transazione(db);
    auto reparti = db.openRecordset("Select * from reparti order by Cod");
    for (; !reparti.eof(); reparti.moveNext())
      impostaReparto(reparti, "Reparto" + reparti.text("Cod"), 0);
    auto locali = db.openRecordset("Select * from Reparti order by Cod");
    auto esterni = db.openRecordset("Select * from RepartiEsterno order by IDReparto");
    for (; !esterni.eof() && !locali.eof(); esterni.moveNext(), locali.moveNext())
      impostaReparto(locali, esterni.text("NomeReparto").left(16), 20);
    db.execute("Delete * from Magazzino");
    clock.wait(500);
    auto magazzino = db.openRecordset("Select * from Magazzino where 0");
    auto prodotti = db.openRecordset("Select * from MagazzinoEsterno where Modificato=-1");
    bool soloModificati = !prodotti.eof();
    if (!soloModificati) prodotti = db.openRecordset("Select * from MagazzinoEsterno ");
    int codice = 51;
    for (; !prodotti.eof(); prodotti.moveNext()) {
      magazzino.addNew();
      magazzino.setText("CodMateriale", QString::number(codice++));
      magazzino.setText("Descrizione", prodotti.text("Descrizione").left(50));
      magazzino.setMoney("Costo", prodotti.money("PrezzoVendita"));
      if (!prodotti.isNull("CodiceEAN")) magazzino.setText("BarCode", prodotti.text("CodiceEAN"));
      magazzino.setValue(QString::fromUtf8("Quantità"), 1000);
      magazzino.setText("UnitaMisura", "Pz");
      magazzino.setText("Fornitore", "***");
      QString reparto = prodotti.text("Reparto");
      magazzino.setText(
          "Genere", (reparto.isEmpty() ? "Reparto41" : TrovaDescrizioneRep(db, reparto)).left(16));
      magazzino.setFlag("Modificato", soloModificati);
      magazzino.update();
      QCoreApplication::processEvents();
    }
    transazione.commit();
  } catch (const DatabaseError& e) {
    ScriviErrore("frmSplash", "SincronizzaDatabaseEsterno", e.description(), e.code());
  }
}

}  // namespace listinova
