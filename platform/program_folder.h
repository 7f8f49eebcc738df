#pragma once

#include <QString>
#include <QStringList>

namespace listinova::platform {

// The shop folder: settings, data, command files and logs all live under it.
class ProgramFolder {
 public:
  explicit ProgramFolder(QString root);
  // From "--cartella DIR" in the arguments, else LISTINOVA_CARTELLA, else the user's data folder.
  static ProgramFolder fromEnvironment(const QStringList& arguments);

  const QString& root() const { return root_; }
  // "Dati\DbNegozio.mdb" or "\FilePLU1.txt" resolved inside the shop folder with "/".
  QString path(const QString& windowsRelativePath) const;
  // Where "C:\DovePrg.ini" lives: the user's configuration folder.
  static QString dovePrgPath();

 private:
  QString root_;
};

}  // namespace listinova::platform
