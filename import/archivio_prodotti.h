#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "import/barcode_importato.h"

namespace listinova::platform::db {
class Database;
class SqliteStatement;
}  // namespace listinova::platform::db

namespace listinova {

// The product archive as the imports write it: look-ups and writes through statements
// prepared once, because an import repeats the same few for every row of a large file.
// Text values travel as bound parameters, so apostrophes in descriptions are safe.
class ArchivioProdotti {
 public:
  using Campi = std::vector<std::pair<QString, QVariant>>;

  explicit ArchivioProdotti(platform::db::Database& db);
  ~ArchivioProdotti();

  // The row of the first product found, by the column's value (compared as text).
  std::optional<qint64> trova(const QString& colonna, const QString& valore);
  // The same, by several columns at once.
  std::optional<qint64> trova(const Campi& condizioni);
  double quantita(qint64 riga);

  // Adds a product with the next free code and the given fields; returns its row.
  qint64 aggiungi(const Campi& campi);
  // The same, but the product is queued and written with the others in one statement: by
  // scarica(), by any other call of this archive, or every so many rows. Products still
  // queued when the archive goes away are not written.
  void accoda(const Campi& campi);
  void scarica();
  void aggiorna(qint64 riga, const Campi& campi);
  void svuota();

  // The department name of a department number, looked up once per number.
  QString nomeReparto(const QString& numero);

 private:
  platform::db::SqliteStatement& prepara(const QString& sql);
  // The statement of the last call of the same kind when it named the same columns: an import
  // writes the same columns row after row, and building the text each time would cost more
  // than the write.
  struct Ultima {
    std::vector<QString> colonne;
    platform::db::SqliteStatement* istruzione = nullptr;
    bool uguale(const Campi& campi) const;
    void ricorda(const Campi& campi, platform::db::SqliteStatement& s);
  };
  Ultima ultimaTrova_, ultimaAggiungi_, ultimaAggiorna_, ultimaAccoda_;
  QString colonneInCoda_;
  int righeInCoda_ = 0;

  platform::db::Database& db_;
  std::map<QString, std::unique_ptr<platform::db::SqliteStatement>> istruzioni_;
  QHash<QString, QString> reparti_;
  std::optional<long long> ultimoCodice_;
};

}  // namespace listinova

namespace listinova {

// Runs a whole-archive write as one transaction: on any store error nothing of it stays, the
// error is logged under `procedura`, and ErroreImport tells the operator the archive is as it
// was.
void ScriviInTransazione(platform::db::Database& db, const char* procedura,
                         const std::function<void()>& scrittura);

// A number as a supplier writes it ("12", "1,5", "1.5", "00000012,50000"); none when it is not.
std::optional<double> NumeroFornitore(const QString& testo);

// The number of products in the archive.
int ContaProdotti(platform::db::Database& db);

// Progress is shown every so many rows: often enough to move, rarely enough to cost nothing.
constexpr int kPassoAvanzamento = 250;

}  // namespace listinova
