#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace listinova::platform {
namespace {

// Close-on-exec: a text editor the program starts must not keep the shop locked after it ends.
int openForLocking(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  return fd;
}

// One name per shop folder, for a folder that cannot hold its own lock file.
QString fallbackPath(const QString& shopFolder) {
  const QByteArray key = QFile::encodeName(QFileInfo(shopFolder).absoluteFilePath());
  return QDir::temp().filePath(
      QStringLiteral("listinova-%1.lock")
          .arg(QString::fromLatin1(
              QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16))));
}

}  // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString& shopFolder)
    : path_(QDir(shopFolder).filePath(QStringLiteral("listinova.lock"))) {
  QDir().mkpath(shopFolder);
  descriptor_ = openForLocking(path_);
  if (descriptor_ < 0) {
    path_ = fallbackPath(shopFolder);
    descriptor_ = openForLocking(path_);
  }
  // No file to lock at all: nothing tells of a second copy, so this one runs.
  if (descriptor_ < 0) {
    acquired_ = true;
    return;
  }
  acquired_ = ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0;
  if (acquired_) {
    // For whoever looks: the process that holds the shop. The lock, not this, decides.
    const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
    if (::ftruncate(descriptor_, 0) == 0)
      (void)!::pwrite(descriptor_, pid.constData(), static_cast<size_t>(pid.size()), 0);
  }
}

SingleInstanceGuard::~SingleInstanceGuard() {
  // Closing releases the lock; the file stays, harmless, for the next start.
  if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace listinova::platform
