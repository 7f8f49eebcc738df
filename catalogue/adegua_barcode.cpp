#include "catalogue/adegua_barcode.h"

#include <QFile>
#include <QStringList>
#include <utility>

#include "catalogue/ricerche_archivio.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;
using platform::db::Recordset;

// Visual Basic's "Path/File access error", the number file failures are logged with.
constexpr int kErroreFile = 75;

const QStringList& campiCopiati() {
  static const QStringList campi = {"Descrizione", "Quantità", "Costo",          "UnitaMisura",
                                    "Minimo",      "Genere",   "Fornitore",      "Eliminato",
                                    "CodPV",       "Costo2",   "PeriodoRiordino"};
  return campi;
}

}  // namespace

AdeguaBarCode::AdeguaBarCode(Database& db, QString cartellaProgramma, platform::Prompts& prompts,
                             platform::Notice& notice, platform::Clock& clock)
    : db_(db),
      cartellaProgramma_(std::move(cartellaProgramma)),
      prompts_(prompts),
      notice_(notice),
      clock_(clock) {}

QString AdeguaBarCode::percorsoDoppi() const {
  return cartellaProgramma_ + QStringLiteral("/1-PLUDoppio.txt");
}

void AdeguaBarCode::cmdAdeguaCodici() {
  const platform::Answer risposta = prompts_.ask(
      {QStringLiteral("ATTENZIONE - La procedura modificherà i bar code da 4 cifre in 5 "
                      "generando la quinta cifra in automatico - Continuare? "),
       Globali().TitoloProgramma, platform::Buttons::YesNo, platform::Icon::Question,
       std::nullopt});
  if (risposta != platform::Answer::Yes) return;
  try {
    adegua();
  } catch (const DatabaseError& e) {
    ScriviErrore("Magazzino", "cmdAdeguaCodici", e.description(), e.code());
  }
}

void AdeguaBarCode::adegua() {
  Recordset sorgenti = db_.openRecordset(
      QStringLiteral("SELECT * From Magazzino WHERE ((Len([Magazzino]![BarCode])=") + "4" +
      ") AND ((Magazzino.Note) Is Null Or (Magazzino.Note)=''))");
  if (sorgenti.eof()) {
    notice_.show(QStringLiteral("Nessun adeguamento da eseguire"));
    return;
  }
  QFile doppi(percorsoDoppi());
  if (doppi.exists() && !doppi.remove()) {
    ScriviErrore("Magazzino", "cmdAdeguaCodici",
                 percorsoDoppi() + QStringLiteral(": ") + doppi.errorString(), kErroreFile);
    return;
  }
  clock_.wait(500);
  Recordset nuovi = db_.openRecordset(QStringLiteral("select * from Magazzino"));
  // The run is the only writer: after the first look-up of the highest code, the next one
  // is one more than the last given, and the whole-archive scan need not run again.
  qint64 prossimoCodice = 0;
  for (sorgenti.moveFirst(); !sorgenti.eof(); sorgenti.moveNext()) {
    // One product's ten codes are written together: a failure leaves it as it was.
    Database::Transaction transazione(db_);
    adeguaProdotto(sorgenti, nuovi, prossimoCodice);
    transazione.commit();
  }
  notice_.show(QStringLiteral("Operazione effettuata"));
}

void AdeguaBarCode::adeguaProdotto(Recordset& sorgente, Recordset& nuovi, qint64& prossimoCodice) {
  const QString barCode = sorgente.text("BarCode");
  const QString codMateriale = sorgente.text("CodMateriale");
  for (int d = 0; d <= 9; ++d) {
    const QString codice = barCode + QString::number(d);
    if (VerificaBarCodeDoppio(codice)) continue;
    if (d == 0) {
      sorgente.edit();
      sorgente.setText("BarCode", codice);
      sorgente.setText("Note", codMateriale);
      sorgente.update();
      continue;
    }
    nuovi.addNew();
    if (!prossimoCodice) prossimoCodice = NuovoCodiceMateriale(db_).toLongLong();
    nuovi.setText("CodMateriale", QString::number(prossimoCodice++));
    for (const QString& campo : campiCopiati()) nuovi.setValue(campo, sorgente.value(campo));
    nuovi.setText("Note", codMateriale);
    nuovi.setText("BarCode", codice);
    nuovi.update();
  }
}

bool AdeguaBarCode::VerificaBarCodeDoppio(const QString& codice) {
  Recordset esistenti =
      db_.openRecordset(QStringLiteral("Select Descrizione,BarCode from Magazzino where BarCode=") +
                        platform::db::sqlText(codice));
  if (esistenti.eof()) return false;
  QFile doppi(percorsoDoppi());
  if (doppi.open(QIODevice::WriteOnly | QIODevice::Append))
    doppi.write(
        (codice + QStringLiteral(" - ") + esistenti.text("Descrizione") + QStringLiteral("\r\n"))
            .toUtf8());
  else
    // The list is only a report: the code stays skipped all the same.
    ScriviErrore("Magazzino", "VerificaBarCodeDoppio",
                 percorsoDoppi() + QStringLiteral(": ") + doppi.errorString(), kErroreFile);
  return true;
}

}  // namespace listinova
