#pragma once

#include "platform/file_system.h"

namespace listinova::platform {

// The real disk.
class LocalFileSystem : public FileSystem {
 public:
  bool exists(const QString& path) const override;
  bool isFolder(const QString& path) const override;
  std::int64_t size(const QString& path) const override;
  bool makeFolder(const QString& path) override;
  bool copyFile(const QString& from, const QString& to) override;
  // Creates `to` as needed and replaces the files already there; stops at the first failure.
  bool copyFolder(const QString& from, const QString& to) override;
  // Fails when `to` already exists.
  bool rename(const QString& from, const QString& to) override;
  // A folder goes with everything inside it.
  bool remove(const QString& path) override;
  std::int64_t freeSpace(const QString& path) const override;
};

}  // namespace listinova::platform
