#include "platform/program_folder.h"

#include <QDir>
#include <QStandardPaths>
#include <utility>

namespace listinova::platform {

namespace {

QString folderArgument(const QStringList& arguments) {
  static const QString option = QStringLiteral("--cartella");
  static const QString optionWithValue = option + u'=';
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == option && i + 1 < arguments.size()) return arguments[i + 1];
    if (arguments[i].startsWith(optionWithValue)) return arguments[i].mid(optionWithValue.size());
  }
  return {};
}

}  // namespace

ProgramFolder::ProgramFolder(QString root) : root_(QDir::cleanPath(std::move(root))) {}

ProgramFolder ProgramFolder::fromEnvironment(const QStringList& arguments) {
  QString folder = folderArgument(arguments);
  if (folder.isEmpty()) folder = qEnvironmentVariable("LISTINOVA_CARTELLA");
  if (folder.isEmpty()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
             QStringLiteral("/listinova");
  }
  folder = QDir::cleanPath(QDir(folder).absolutePath());
  QDir().mkpath(folder);
  return ProgramFolder(folder);
}

QString ProgramFolder::path(const QString& windowsRelativePath) const {
  QString relative = windowsRelativePath;
  relative.replace(u'\\', u'/');
  while (relative.startsWith(u'/')) relative.remove(0, 1);
  return relative.isEmpty() ? root_ : root_ + u'/' + relative;
}

QString ProgramFolder::dovePrgPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/DovePrg.ini");
}

}  // namespace listinova::platform
