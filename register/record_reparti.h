#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace listinova {
class Money;
namespace platform {
class Prompts;
namespace db {
class Database;
}  // namespace db
}  // namespace platform

// A department name as the registers take it: no "/ ' , : %", no accents on e, no zeros at
// all when it began with one, in capitals, at most 20 characters.
QString NomeRepartoPerCassa(const QString& descrizione);
// Two decimals with the shop's grouping, every separator a "." : 1234.5 gives "1.234.50".
QString PrezzoRepartoPerCassa(Money prezzo);

// The departments as the registers take them: "D/" records, each VAT rate turned into the
// register's own VAT code through the settings section "IVA KELTRANO".
class RecordReparti {
 public:
  static constexpr int kCodiceIvaMancante = 9999;

  // `torvane`: the registers of the Torvane family count the records' sequence up to 20.
  RecordReparti(platform::db::Database& db, platform::Prompts& prompts, QString cartellaProgramma,
                QString percorsoSetup, bool torvane);

  // The register's VAT code of a rate; a missing entry is marked "?" in the settings, the
  // operator is told which entries to write, and the result is kCodiceIvaMancante.
  int CodiceIvaKeltrano(int aliquota);

  // The department command file of one register; false, with nothing to send, when there are
  // no departments, a VAT code is missing or the store cannot be read.
  bool CreaFileInvioREPARTI(const QString& chiave);
  QString PercorsoFileREP(const QString& chiave) const;

  // The records of the direct serial send, in department order; nothing when a VAT code is
  // missing or the store cannot be read, an empty list when there are no departments.
  std::optional<QStringList> RecordSeriali();

 private:
  platform::db::Database& db_;
  platform::Prompts& prompts_;
  QString cartellaProgramma_;
  QString percorsoSetup_;
  bool torvane_;
};

}  // namespace listinova
