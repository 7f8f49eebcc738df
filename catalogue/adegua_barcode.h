#pragma once

#include <QString>

namespace listinova {
namespace platform {
class Clock;
class Notice;
class Prompts;
namespace db {
class Database;
class Recordset;
}  // namespace db
}  // namespace platform

// "Adegua BC" of the product list: every four-digit bar code without a Note becomes the ten
// five-digit codes it can be extended to, the product itself taking the one ending in 0 and
// copies of it the others. Codes already in use are skipped and listed in "1-PLUDoppio.txt".
class AdeguaBarCode {
 public:
  AdeguaBarCode(platform::db::Database& db, QString cartellaProgramma, platform::Prompts& prompts,
                platform::Notice& notice, platform::Clock& clock);

  void cmdAdeguaCodici();
  // True when a product already has `codice`; the collision is then added to the list file.
  // Store failures throw DatabaseError.
  bool VerificaBarCodeDoppio(const QString& codice);

  QString percorsoDoppi() const;

 private:
  void adegua();
  void adeguaProdotto(platform::db::Recordset& sorgente, platform::db::Recordset& nuovi,
                      qint64& prossimoCodice);

  platform::db::Database& db_;
  QString cartellaProgramma_;
  platform::Prompts& prompts_;
  platform::Notice& notice_;
  platform::Clock& clock_;
};

}  // namespace listinova
