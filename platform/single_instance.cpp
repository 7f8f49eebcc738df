#include "platform/single_instance.h"

#include <QLockFile>

namespace listinova::platform {

SingleInstanceGuard::SingleInstanceGuard(const QString& shopFolder)
    : lock_(std::make_unique<QLockFile>(shopFolder + QStringLiteral("/listinova.lock"))) {
  // Only a dead owner makes the lock stale: a copy running for days still holds it.
  lock_->setStaleLockTime(0);
  acquired_ = lock_->tryLock(0);
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

}  // namespace listinova::platform
