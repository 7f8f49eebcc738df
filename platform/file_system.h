#pragma once

#include <QString>
#include <cstdint>

namespace listinova::platform {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool exists(const QString& path) const = 0;
  virtual bool isFolder(const QString& path) const = 0;
  virtual std::int64_t size(const QString& path) const = 0;           // -1 when missing
  virtual bool makeFolder(const QString& path) = 0;                   // with the parents
  virtual bool copyFile(const QString& from, const QString& to) = 0;  // replaces `to`
  virtual bool copyFolder(const QString& from, const QString& to) = 0;
  virtual bool rename(const QString& from, const QString& to) = 0;
  virtual bool remove(const QString& path) = 0;
  virtual std::int64_t freeSpace(const QString& path) const = 0;  // bytes, -1 when unknown
};

}  // namespace listinova::platform
