#include "support/pseudo_terminal.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>
#include <QTest>
#include <cerrno>

namespace listinova::testing {

PseudoTerminal::PseudoTerminal() {
  termios raw{};
  cfmakeraw(&raw);
  int master = -1;
  int slave = -1;
  if (openpty(&master, &slave, nullptr, &raw, nullptr) != 0) return;
  char name[256];
  if (ttyname_r(slave, name, sizeof name) != 0 ||
      fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
    ::close(master);
    ::close(slave);
    return;
  }
  master_ = master;
  slave_ = slave;
  slavePath_ = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal() {
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
}

termios PseudoTerminal::lineSettings() const {
  termios settings{};
  if (slave_ >= 0) tcgetattr(slave_, &settings);
  return settings;
}

bool PseudoTerminal::write(const QByteArray& bytes) {
  if (master_ < 0) return false;
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.constData() + sent, bytes.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += n;
  }
  return true;
}

QByteArray PseudoTerminal::readAvailable() {
  QByteArray bytes;
  if (master_ < 0) return bytes;
  char chunk[512];
  for (;;) {
    const ssize_t n = ::read(master_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(chunk, n);
  }
  return bytes;
}

QByteArray PseudoTerminal::readAtLeast(qsizetype count, int timeoutMs) {
  QByteArray bytes;
  // The caller judges what arrived; a short answer is its failure to report.
  static_cast<void>(QTest::qWaitFor(
      [&] {
        bytes += readAvailable();
        return bytes.size() >= count;
      },
      timeoutMs));
  return bytes;
}

}  // namespace listinova::testing
