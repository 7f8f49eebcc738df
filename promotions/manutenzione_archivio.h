// The whole-archive commands of the product list: every quantity to one number, the backup of
// the data folder and the switch to the archive of another folder. Each asks and reports
// through the prompts and the notice; store failures throw DatabaseError.
#pragma once

#include <QString>
#include <functional>

namespace listinova {
namespace platform {
class Clock;
class FileSystem;
class Notice;
class Prompts;
namespace db {
class Database;
}
}  // namespace platform

// The highest quantity "Applica" sets.
inline constexpr int kQuantitaMassima = 99999;

// The store file of a folder: "DbNegozio.mdb" whatever the case of its letters, in the folder
// or in its "Dati" sub-folder (a backup made by "Salva Dati"). Empty when there is none.
QString TrovaArchivio(const QString& cartella);

class ManutenzioneArchivio {
 public:
  struct Ambiente {
    // The live store: "Cambia Dati" puts the other file in place inside this same object.
    platform::db::Database& db;
    platform::Prompts& prompts;
    platform::Notice& notice;
    platform::Clock& clock;
    platform::FileSystem& fs;
    // The folder dialog: the chosen folder, or an empty text when cancelled.
    std::function<QString(const QString& domanda)> sceltaCartella;
    QString cartellaProgramma;
  };

  explicit ManutenzioneArchivio(Ambiente ambiente);

  // "Applica": true when every product's quantity was set, so the list reloads.
  bool applicaQuantita(const QString& testo);
  // "Salva Dati".
  void salvaDati();
  // "Cambia Dati": true when the program now works on the chosen archive.
  bool cambiaDati();

 private:
  Ambiente a_;
};

}  // namespace listinova
