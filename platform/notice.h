#pragma once

#include <QString>

namespace listinova::platform {

// The transient notice: shown, then gone by itself after a short while.
class Notice {
 public:
  virtual ~Notice() = default;
  virtual void show(const QString& message) = 0;
};

}  // namespace listinova::platform
