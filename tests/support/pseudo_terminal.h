#pragma once

#include <termios.h>
#include <QByteArray>
#include <QString>

namespace listinova::testing {

// A pseudo-terminal pair in raw mode standing in for a serial device: the code under test
// opens slavePath() while the test plays the device at the master end.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool isOpen() const { return master_ >= 0; }
  QString slavePath() const { return slavePath_; }
  // The line as the code under test last set it (speed, frame, flow control).
  termios lineSettings() const;
  // Sends bytes as the device would; true when all of them went.
  bool write(const QByteArray& bytes);
  // What the code under test has sent and the test has not read yet; never blocks.
  QByteArray readAvailable();
  // Lets events run until at least `count` bytes have come or the limit passes.
  QByteArray readAtLeast(qsizetype count, int timeoutMs = 5000);

 private:
  int master_ = -1;
  // Kept open so the master never sees a hang-up while the code under test reopens the device.
  int slave_ = -1;
  QString slavePath_;
};

}  // namespace listinova::testing
