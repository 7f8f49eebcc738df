#include "platform/local_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace listinova::platform {

bool LocalFileSystem::exists(const QString& path) const { return QFileInfo::exists(path); }

bool LocalFileSystem::isFolder(const QString& path) const { return QFileInfo(path).isDir(); }

std::int64_t LocalFileSystem::size(const QString& path) const {
  const QFileInfo info(path);
  return info.exists() ? info.size() : -1;
}

bool LocalFileSystem::makeFolder(const QString& path) { return QDir().mkpath(path); }

bool LocalFileSystem::copyFile(const QString& from, const QString& to) {
  if (!QFileInfo(from).isFile()) return false;
  if (QFileInfo::exists(to) && !QFile::remove(to)) return false;
  return QFile::copy(from, to);
}

bool LocalFileSystem::copyFolder(const QString& from, const QString& to) {
  const QDir source(from);
  if (!source.exists() || !QDir().mkpath(to)) return false;
  const QFileInfoList entries =
      source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QFileInfo& entry : entries) {
    const QString target = to + u'/' + entry.fileName();
    const bool copied =
        entry.isDir() ? copyFolder(entry.filePath(), target) : copyFile(entry.filePath(), target);
    if (!copied) return false;
  }
  return true;
}

bool LocalFileSystem::rename(const QString& from, const QString& to) {
  if (QFileInfo::exists(to)) return false;
  return QDir().rename(from, to);
}

bool LocalFileSystem::remove(const QString& path) {
  const QFileInfo info(path);
  // A link to a folder goes, not what it points to.
  if (info.isDir() && !info.isSymLink()) return QDir(path).removeRecursively();
  return QFile::remove(path);
}

std::int64_t LocalFileSystem::freeSpace(const QString& path) const {
  const QStorageInfo storage(path);
  return storage.isValid() ? storage.bytesAvailable() : -1;
}

}  // namespace listinova::platform
