#include "platform/qt_clock.h"

#include <QEventLoop>
#include <QTimer>

namespace listinova::platform {

QDateTime QtClock::now() const { return QDateTime::currentDateTime(); }

void QtClock::wait(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace listinova::platform
