#include "import/archivio_prodotti.h"

#include <sqlite3.h>

#include <QStringList>

#include "catalogue/ricerche_archivio.h"
#include "catalogue/storico_prezzi.h"
#include "import/riepilogo_import.h"
#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"
#include "platform/db/store_failure.h"
#include "platform/money.h"
#include "startup/error_log.h"

namespace listinova {

using platform::db::sqlIdentifier;
using platform::db::SqliteStatement;

namespace {

// Queued products wait in a temporary table, written to the archive this many at a time: few
// statements, and a queue that stays small whatever the file's length.
constexpr int kRigheInCoda = 50000;
// Below this many the history triggers run row by row: setting them aside costs more than they
// do for a few rows, as when a file repeats a barcode on every other line.
constexpr int kRighePerBlocco = 200;
constexpr char kCoda[] = "temp.ProdottiInCoda";

void esegui(platform::db::Database& db, const QString& sql) {
  SqliteStatement(db.handle(), sql).step();
}

}  // namespace

ArchivioProdotti::ArchivioProdotti(platform::db::Database& db) : db_(db) {}

ArchivioProdotti::~ArchivioProdotti() {
  if (ultimaAccoda_.istruzione)
    sqlite3_exec(db_.handle(), (QByteArray("DROP TABLE IF EXISTS ") + kCoda).constData(), nullptr,
                 nullptr, nullptr);
}

SqliteStatement& ArchivioProdotti::prepara(const QString& sql) {
  auto& istruzione = istruzioni_[sql];
  if (!istruzione)
    istruzione = std::make_unique<SqliteStatement>(db_.handle(), sql);
  else
    istruzione->reset();
  return *istruzione;
}

void ArchivioProdotti::accoda(const Campi& campi) {
  if (!ultimoCodice_) ultimoCodice_ = NuovoCodiceMateriale(db_).toLongLong() - 1;
  if (!ultimaAccoda_.uguale(campi)) {
    scarica();
    QStringList colonne{QStringLiteral("CodMateriale")};
    QStringList segnaposti{QStringLiteral("?")};
    for (const auto& [colonna, valore] : campi) {
      colonne << sqlIdentifier(colonna);
      segnaposti << QStringLiteral("?");
    }
    colonneInCoda_ = colonne.join(',');
    // No declared types: each value waits as it was given and takes the archive's own column
    // type only when it is written there.
    esegui(db_, QStringLiteral("DROP TABLE IF EXISTS %1").arg(kCoda));
    esegui(db_, QStringLiteral("CREATE TABLE %1 (%2)").arg(kCoda, colonneInCoda_));
    ultimaAccoda_.ricorda(
        campi,
        prepara(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(kCoda, segnaposti.join(','))));
  }
  SqliteStatement& s = *ultimaAccoda_.istruzione;
  s.bind(1, QString::number(++*ultimoCodice_));
  int posizione = 2;
  for (const auto& campo : campi) s.bind(posizione++, campo.second);
  s.step();
  s.reset();
  if (++righeInCoda_ >= kRigheInCoda) scarica();
}

void ArchivioProdotti::scarica() {
  if (righeInCoda_ == 0) return;
  const QString select =
      QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(colonneInCoda_, kCoda);
  if (righeInCoda_ < kRighePerBlocco)
    prepara(QStringLiteral("INSERT OR FAIL INTO Magazzino (%1) %2").arg(colonneInCoda_, select))
        .step();
  else
    InserisciProdottiInBlocco(db_, colonneInCoda_, select);
  righeInCoda_ = 0;
  prepara(QStringLiteral("DELETE FROM %1").arg(kCoda)).step();
}

std::optional<qint64> ArchivioProdotti::trova(const QString& colonna, const QString& valore) {
  return trova({{colonna, valore}});
}

bool ArchivioProdotti::Ultima::uguale(const Campi& campi) const {
  if (!istruzione || colonne.size() != campi.size()) return false;
  for (size_t i = 0; i < campi.size(); ++i)
    if (colonne[i] != campi[i].first) return false;
  istruzione->reset();
  return true;
}

void ArchivioProdotti::Ultima::ricorda(const Campi& campi, SqliteStatement& s) {
  colonne.clear();
  for (const auto& campo : campi) colonne.push_back(campo.first);
  istruzione = &s;
}

std::optional<qint64> ArchivioProdotti::trova(const Campi& condizioni) {
  scarica();
  if (!ultimaTrova_.uguale(condizioni)) {
    QStringList confronti;
    for (const auto& [colonna, valore] : condizioni) confronti << sqlIdentifier(colonna) + "=?";
    ultimaTrova_.ricorda(condizioni,
                         prepara(QStringLiteral("SELECT _rowid_ FROM Magazzino WHERE %1 LIMIT 1")
                                     .arg(confronti.join(" AND "))));
  }
  SqliteStatement& s = *ultimaTrova_.istruzione;
  int posizione = 1;
  for (const auto& condizione : condizioni) s.bind(posizione++, condizione.second);
  if (!s.step()) return std::nullopt;
  return s.column(0).toLongLong();
}

double ArchivioProdotti::quantita(qint64 riga) {
  scarica();
  SqliteStatement& s =
      prepara(QStringLiteral("SELECT \"Quantità\" FROM Magazzino WHERE _rowid_=?"));
  s.bind(1, riga);
  return s.step() ? s.column(0).toDouble() : 0.0;
}

qint64 ArchivioProdotti::aggiungi(const Campi& campi) {
  scarica();
  if (!ultimoCodice_) ultimoCodice_ = NuovoCodiceMateriale(db_).toLongLong() - 1;
  if (!ultimaAggiungi_.uguale(campi)) {
    QStringList colonne{QStringLiteral("CodMateriale")};
    for (const auto& [colonna, valore] : campi) colonne << sqlIdentifier(colonna);
    ultimaAggiungi_.ricorda(
        // One row per statement, its constraints checked before anything is written: FAIL
        // spares SQLite the statement journal that ABORT keeps for every row, and a failure
        // still undoes the whole import through its transaction.
        campi, prepara(QStringLiteral("INSERT OR FAIL INTO Magazzino (%1) VALUES (%2)")
                           .arg(colonne.join(','),
                                QStringList(colonne.size(), QStringLiteral("?")).join(','))));
  }
  SqliteStatement& s = *ultimaAggiungi_.istruzione;
  s.bind(1, QString::number(++*ultimoCodice_));
  int posizione = 2;
  for (const auto& campo : campi) s.bind(posizione++, campo.second);
  s.step();
  return sqlite3_last_insert_rowid(db_.handle());
}

void ArchivioProdotti::aggiorna(qint64 riga, const Campi& campi) {
  scarica();
  if (!ultimaAggiorna_.uguale(campi)) {
    QStringList assegnazioni;
    for (const auto& [colonna, valore] : campi) assegnazioni << sqlIdentifier(colonna) + "=?";
    ultimaAggiorna_.ricorda(
        campi,
        prepara(
            QStringLiteral("UPDATE Magazzino SET %1 WHERE _rowid_=?").arg(assegnazioni.join(','))));
  }
  SqliteStatement& s = *ultimaAggiorna_.istruzione;
  int posizione = 1;
  for (const auto& campo : campi) s.bind(posizione++, campo.second);
  s.bind(posizione, riga);
  s.step();
}

void ArchivioProdotti::svuota() {
  scarica();
  db_.execute("Delete * from Magazzino");
  ultimoCodice_ = 0;
}

QString ArchivioProdotti::nomeReparto(const QString& numero) {
  auto trovato = reparti_.constFind(numero);
  if (trovato != reparti_.constEnd()) return trovato.value();
  return reparti_[numero] = TrovaNomeRep(db_, numero);
}

}  // namespace listinova

namespace listinova {

namespace {

// A whole-archive write touches every page of the product table and its indexes: with the
// store's small default page cache SQLite would write them out again and again before the
// commit, and each row's statement journal would go through a temporary file. For the
// import's length the cache holds the pages and the journal stays in memory.
constexpr int kCacheImportKiB = 64 * 1024;

class CacheDiImportazione {
 public:
  explicit CacheDiImportazione(platform::db::Database& db) : db_(db) {
    cache_ = leggi("cache_size", cache_);
    temp_ = leggi("temp_store", temp_);
    imposta("cache_size", -kCacheImportKiB);
    imposta("temp_store", kTempInMemoria);
  }
  ~CacheDiImportazione() {
    imposta("cache_size", cache_);
    imposta("temp_store", temp_);
  }
  CacheDiImportazione(const CacheDiImportazione&) = delete;
  CacheDiImportazione& operator=(const CacheDiImportazione&) = delete;

 private:
  static constexpr long long kTempInMemoria = 2;

  long long leggi(const char* pragma, long long altrimenti) {
    SqliteStatement attuale(db_.handle(), QStringLiteral("PRAGMA %1").arg(pragma));
    return attuale.step() ? attuale.column(0).toLongLong() : altrimenti;
  }
  void imposta(const char* pragma, long long valore) {
    const QByteArray sql = QByteArray("PRAGMA ") + pragma + "=" + QByteArray::number(valore);
    sqlite3_exec(db_.handle(), sql.constData(), nullptr, nullptr, nullptr);
  }
  platform::db::Database& db_;
  long long cache_ = -2000;
  long long temp_ = 0;
};

}  // namespace

void ScriviInTransazione(platform::db::Database& db, const char* procedura,
                         const std::function<void()>& scrittura) {
  try {
    CacheDiImportazione cache(db);
    platform::db::Database::Transaction transazione(db);
    scrittura();
    transazione.commit();
  } catch (const platform::db::DatabaseError& errore) {
    ScriviErrore("frmImporta", procedura, errore.description(), errore.code());
    // The engine's own words (English) stay in the error log; the operator reads Italian.
    const QString causa = platform::db::describeStoreFailure(errore.code(), db.path());
    throw ErroreImport(
        QStringLiteral("Importazione non riuscita: l'archivio è rimasto com'era.\n%1")
            .arg(causa.isEmpty() ? QStringLiteral("Il motivo è nel registro degli errori.")
                                 : causa));
  }
}

int ContaProdotti(platform::db::Database& db) {
  auto rs = db.openRecordset("SELECT Count(*) AS Quanti FROM Magazzino");
  return rs.eof() ? 0 : rs.value(0).toInt();
}

std::optional<double> NumeroFornitore(const QString& testo) {
  const QString t = testo.trimmed();
  if (t.isEmpty()) return std::nullopt;
  if (auto importo = Money::parse(t)) return importo->toDouble();
  bool ok = false;
  const double valore = t.toDouble(&ok);
  return ok ? std::optional<double>(valore) : std::nullopt;
}

}  // namespace listinova
