#pragma once

#include <QString>

namespace listinova::platform {

// Held for the whole run; a second copy on the same shop folder fails to take it.
// The lock is the operating system's lock on "listinova.lock", which ends with the process
// that holds it: a file left behind by a power cut, empty or garbled, never blocks a start.
class SingleInstanceGuard {
 public:
  explicit SingleInstanceGuard(const QString& shopFolder);
  ~SingleInstanceGuard();
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  bool acquired() const { return acquired_; }
  // The file locked: in the shop folder, or in the temporary folder when the shop folder
  // cannot hold it (read-only).
  const QString& lockPath() const { return path_; }

 private:
  int descriptor_ = -1;
  QString path_;
  bool acquired_ = false;
};

}  // namespace listinova::platform
