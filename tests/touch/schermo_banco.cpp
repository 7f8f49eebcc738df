// Every touch test runs on a 1024 x 768 counter screen: the platform is chosen before the
// test program's application starts.
#include <QByteArray>
#include <QtGlobal>

namespace {

const bool kSchermoBanco = [] {
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=" LISTINOVA_SCHERMO_BANCO));
  return true;
}();

}  // namespace
