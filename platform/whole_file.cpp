#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace listinova::platform {
namespace {

// Below this much free room a folder counts as full: no file of ours fits in it.
constexpr unsigned long long kQuasiPieno = 64 * 1024;
constexpr qint64 kBloccoCopia = 64 * 1024;

QByteArray nativo(const QString& path) { return QFile::encodeName(path); }

QString cartellaDi(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

// A hidden name beside `finalPath`, created empty and open; -1 with errno on failure.
int creaAccanto(const QString& finalPath, QString& partial) {
  const QFileInfo info(finalPath);
  QByteArray modello =
      nativo(info.absolutePath() + QStringLiteral("/.") + info.fileName() + ".XXXXXX");
  const int fd = ::mkstemp(modello.data());
  if (fd >= 0) {
    ::fchmod(fd, 0644);
    partial = QFile::decodeName(modello);
  }
  return fd;
}

// Every byte written, or false with errno set.
bool scriviTutto(int fd, const char* data, qint64 size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;
      return false;
    }
    data += n;
    size -= n;
  }
  return true;
}

// fsync and close; false with errno set when either fails.
bool chiudiSuDisco(int fd) {
  const bool sincronizzato = ::fsync(fd) == 0;
  const int erroreSync = errno;
  const bool chiuso = ::close(fd) == 0;
  if (!sincronizzato) errno = erroreSync;
  return sincronizzato && chiuso;
}

bool sincronizzaPerNome(const QString& path) {
  const int fd = ::open(nativo(path).constData(), O_RDONLY | O_CLOEXEC);
  return fd >= 0 && chiudiSuDisco(fd);
}

bool rinomina(const QString& from, const QString& to) {
  if (std::rename(nativo(from).constData(), nativo(to).constData()) != 0) return false;
  syncFolder(QFileInfo(to).absolutePath());
  return true;
}

}  // namespace

QString describeWriteFailure(int systemError, const QString& path) {
  const QString file = QDir::toNativeSeparators(path);
  switch (systemError) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral(
                 "Spazio su disco esaurito in \"%1\": \"%2\" non è stato scritto. Liberare "
                 "spazio sul disco e riprovare.")
          .arg(cartellaDi(path), file);
    case EROFS:
    case EACCES:
    case EPERM:
      return QStringLiteral(
                 "Cartella \"%1\" in sola lettura: \"%2\" non è stato scritto. Dare il permesso "
                 "di scrittura sulla cartella, o sceglierne un'altra, e riprovare.")
          .arg(cartellaDi(path), file);
    case ENOENT:
    case ENOTDIR:
      return QStringLiteral("La cartella \"%1\" non esiste: \"%2\" non è stato scritto.")
          .arg(cartellaDi(path), file);
    case EISDIR:
    case ENOTEMPTY:
    case EEXIST:
      return QStringLiteral(
                 "Al posto del file \"%1\" c'è una cartella: il file non è stato "
                 "scritto.")
          .arg(file);
    case EIO:
      return QStringLiteral("Errore del disco in \"%1\": \"%2\" non è stato scritto.")
          .arg(cartellaDi(path), file);
    default:
      return QStringLiteral("Impossibile scrivere \"%1\" (errore di sistema %2).")
          .arg(file)
          .arg(systemError);
  }
}

int probeFolderError(const QString& path) {
  const QString cartella = QFileInfo(path).absolutePath();
  if (!QFileInfo(cartella).isDir()) return ENOENT;
  struct statvfs disco {};
  if (::statvfs(nativo(cartella).constData(), &disco) == 0) {
    if (disco.f_flag & ST_RDONLY) return EROFS;
    if (static_cast<unsigned long long>(disco.f_bavail) * disco.f_frsize < kQuasiPieno)
      return ENOSPC;
  }
  if (::access(nativo(cartella).constData(), W_OK) != 0) return errno;
  return 0;
}

QString probeWriteFailure(const QString& path) {
  const int errore = probeFolderError(path);
  if (errore != 0) return describeWriteFailure(errore, path);
  return QStringLiteral("Impossibile scrivere \"%1\": il file non è stato scritto per intero.")
      .arg(QDir::toNativeSeparators(path));
}

QString describeLibraryFailure(int systemError, const QString& path) {
  const int dalDisco = probeFolderError(path);
  if (dalDisco != 0) return describeWriteFailure(dalDisco, path);
  if (systemError == ENOSPC || systemError == EDQUOT || systemError == EROFS || systemError == EIO)
    return describeWriteFailure(systemError, path);
  return probeWriteFailure(path);
}

void syncFolder(const QString& folder) {
  const int fd = ::open(nativo(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // some file systems cannot sync a folder; the rename stands anyway
  ::close(fd);
}

// WholeFile

WholeFile::WholeFile(QString finalPath) : final_(std::move(finalPath)) {}

WholeFile::~WholeFile() { discard(); }

bool WholeFile::open(OpenMode mode) {
  if (fd_ >= 0 || (mode & ReadOnly)) return false;
  error_ = 0;
  failure_.clear();
  fd_ = creaAccanto(final_, partial_);
  if (fd_ < 0) return fail(errno);
  return QIODevice::open(WriteOnly);
}

qint64 WholeFile::writeData(const char* data, qint64 size) {
  if (fd_ < 0 || error_ != 0) return -1;
  if (!scriviTutto(fd_, data, size)) {
    fail(errno);
    return -1;
  }
  return size;
}

bool WholeFile::commit() {
  if (fd_ < 0 || error_ != 0) {
    discard();
    return false;
  }
  QIODevice::close();
  const int fd = fd_;
  fd_ = -1;
  if (!chiudiSuDisco(fd) || !rinomina(partial_, final_)) {
    fail(errno);
    discard();
    return false;
  }
  partial_.clear();
  return true;
}

void WholeFile::discard() {
  if (isOpen()) QIODevice::close();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!partial_.isEmpty()) ::unlink(nativo(partial_).constData());
  partial_.clear();
}

bool WholeFile::fail(int systemError) {
  if (error_ == 0) {
    error_ = systemError;
    failure_ = describeWriteFailure(systemError, final_);
  }
  setErrorString(failure_);
  return false;
}

// PartialFile

PartialFile::PartialFile(QString finalPath) : final_(std::move(finalPath)) {
  const int fd = creaAccanto(final_, partial_);
  if (fd < 0) {
    failure_ = describeWriteFailure(errno, final_);
    done_ = true;
    return;
  }
  ::close(fd);
}

PartialFile::~PartialFile() {
  if (!done_) ::unlink(nativo(partial_).constData());
}

bool PartialFile::place() {
  if (done_) return false;
  if (!sincronizzaPerNome(partial_) || !rinomina(partial_, final_)) {
    abandon(errno);
    return false;
  }
  done_ = true;
  return true;
}

QString PartialFile::abandon(int systemError) {
  if (done_) return failure_;
  failure_ = describeLibraryFailure(systemError, final_);
  ::unlink(nativo(partial_).constData());
  done_ = true;
  return failure_;
}

QString writeWholeFile(const QString& path, const QByteArray& content) {
  WholeFile file(path);
  if (!file.open() || file.write(content) != content.size() || !file.commit())
    return file.failure();
  return {};
}

QString copyFileChecked(const QString& from, const QString& to) {
  QFile sorgente(from);
  if (!sorgente.open(QIODevice::ReadOnly))
    return QStringLiteral("Impossibile leggere \"%1\".").arg(QDir::toNativeSeparators(from));
  const int fd = ::open(nativo(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return describeWriteFailure(errno, to);
  QByteArray blocco;
  while (!(blocco = sorgente.read(kBloccoCopia)).isEmpty()) {
    if (!scriviTutto(fd, blocco.constData(), blocco.size())) {
      const int errore = errno;
      ::close(fd);
      return describeWriteFailure(errore, to);
    }
  }
  if (sorgente.error() != QFileDevice::NoError) {
    ::close(fd);
    return QStringLiteral("Impossibile leggere \"%1\".").arg(QDir::toNativeSeparators(from));
  }
  if (!chiudiSuDisco(fd)) return describeWriteFailure(errno, to);
  return {};
}

}  // namespace listinova::platform
