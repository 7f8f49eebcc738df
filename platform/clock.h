#pragma once

#include <QDateTime>

namespace listinova::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime now() const = 0;
  // Waits while pending window events run; returns after the given time.
  virtual void wait(int milliseconds) = 0;
};

}  // namespace listinova::platform
