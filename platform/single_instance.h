#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace listinova::platform {

// Held for the whole run; a second copy on the same shop folder fails to take it.
class SingleInstanceGuard {
 public:
  explicit SingleInstanceGuard(const QString& shopFolder);
  ~SingleInstanceGuard();
  bool acquired() const { return acquired_; }

 private:
  std::unique_ptr<QLockFile> lock_;
  bool acquired_ = false;
};

}  // namespace listinova::platform
