#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace listinova {
namespace platform {
class Notice;
class Prompts;
class WorkbookWriter;
namespace db {
class Database;
class DatabaseError;
}  // namespace db
}  // namespace platform

// The statements of the two exports, each writing one sheet of the workbook `file`.
QStringList IstruzioniEsportaMagazzino(const QString& file, bool soloQtaZero);
QString IstruzioneEsportaVendite(const QString& file, const QDate& dal, const QDate& al);

// What the error log keeps of a failure: the operator's words and the library's own.
QString DescrizioneCompleta(const platform::db::DatabaseError& e);

// The name the workbook is saved under: ".xlsx" added when the operator typed no extension
// (and in place of ".xls", which would promise the old format).
QString NomeCartellaDiLavoro(const QString& nomeScelto);

// Runs `istruzioni` (given the file they must write) into a file beside `file` through
// `scrittore`, the store's workbook writer, then puts it in place: a failure leaves `file` as
// it was. Throws DatabaseError.
void ScriviCartellaDiLavoro(platform::db::Database& db, platform::WorkbookWriter& scrittore,
                            const QString& file,
                            const std::function<QStringList(const QString&)>& istruzioni);

// The window side of an export: the questions, the file choice and the notices.
struct AmbienteEsportazione {
  platform::db::Database& db;
  platform::Prompts& prompts;
  platform::Notice& notice;
  platform::WorkbookWriter& scrittore;  // the one attached to `db`
  QString percorsoSetup;
  // The save dialog with its title; an empty text when the operator gave no name.
  std::function<QString(const QString& titolo)> nomeFile;
  // The busy pointer on (true) and off; may be empty.
  std::function<void(bool)> attesa;
};

enum class EsitoEsportazione { Eseguita, Annullata, Fallita };

EsitoEsportazione EsportaMagazzino(AmbienteEsportazione& ambiente, bool soloQtaZero);
EsitoEsportazione EsportaVendite(AmbienteEsportazione& ambiente, const QDate& dal, const QDate& al);

}  // namespace listinova
