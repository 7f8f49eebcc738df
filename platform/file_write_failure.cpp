#include "platform/file_write_failure.h"

#include <QDir>
#include <cerrno>
#include <cstring>

namespace listinova::platform {

QString WriteFailureText(int systemError, const QString& path) {
  const QString file = QDir::toNativeSeparators(path);
  switch (systemError) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral(
                 "Il disco è pieno: impossibile scrivere \"%1\". Liberare spazio sul "
                 "disco e riprovare.")
          .arg(file);
    case EROFS:
      return QStringLiteral("Il disco è in sola lettura: impossibile scrivere \"%1\".").arg(file);
    case EACCES:
    case EPERM:
      return QStringLiteral(
                 "Scrittura non permessa: impossibile scrivere \"%1\" (cartella o file "
                 "protetti).")
          .arg(file);
    case EIO:
      return QStringLiteral("Errore del disco: impossibile scrivere \"%1\".").arg(file);
    default:
      return QStringLiteral("Impossibile scrivere \"%1\": %2")
          .arg(file, QString::fromLocal8Bit(std::strerror(systemError)));
  }
}

}  // namespace listinova::platform
