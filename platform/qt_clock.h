#pragma once

#include "platform/clock.h"

namespace listinova::platform {

// The wall clock; waiting keeps the windows alive instead of freezing them.
class QtClock : public Clock {
 public:
  QDateTime now() const override;
  void wait(int milliseconds) override;
};

}  // namespace listinova::platform
