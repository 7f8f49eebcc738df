#pragma once

#include <QString>
#include <functional>

namespace listinova {
namespace platform {
class Clock;
class Notice;
class Prompts;
namespace db {
class Database;
}  // namespace db
}  // namespace platform

// In-store codes begin with "2": the register knows them by their five-digit item number.
QString BarCodePerCassa(const QString& barCode);

// The products as the registers take them: first gathered, already in the register's
// formats, into the work table MagazzinoPerOstrel, then written out as the PLU file that the
// register driver sends.
class RecordPlu {
 public:
  // The register numbers PLUs with a 16-bit signed integer; the numbers below 51 are its own.
  static constexpr int kPrimoPlu = 51;
  static constexpr int kUltimoPlu = 32767;

  // `torvane`: the registers of the Torvane family, whose records carry more fields.
  // `statoPreparazione` receives the product list's status text, `totaleRecord` the number of
  // records written; either may be empty.
  RecordPlu(platform::db::Database& db, QString cartellaProgramma, platform::Notice& notice,
            platform::Prompts& prompts, platform::Clock& clock, bool torvane,
            std::function<void(const QString&)> statoPreparazione = {},
            std::function<void(int)> totaleRecord = {});

  // Refills the work table with every product, or with the modified ones only. False, with
  // the table as it was, when there is nothing to send, more than the register can number
  // (the operator is told) or the table cannot be rewritten (the error is logged).
  bool PreparaTabxInvio(bool soloModificati);
  // `chiave`: the register's serial port number or its IP address. False, with the error
  // logged, when there is nothing to write or the file cannot be written whole (the file of
  // an earlier send stays as it was and is not sent).
  bool ScriviFilePLU(const QString& chiave);
  QString PercorsoFilePLU(const QString& chiave) const;
  // Why the last preparation or file failed when the disk or the store was the cause (full,
  // read-only), in the operator's words; empty otherwise.
  const QString& guasto() const { return guasto_; }

 private:
  platform::db::Database& db_;
  QString cartellaProgramma_;
  platform::Notice& notice_;
  platform::Prompts& prompts_;
  platform::Clock& clock_;
  bool torvane_;
  std::function<void(const QString&)> statoPreparazione_;
  std::function<void(int)> totaleRecord_;
  QString guasto_;
};

}  // namespace listinova
