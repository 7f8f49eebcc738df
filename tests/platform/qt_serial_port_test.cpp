#include "platform/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "support/pseudo_terminal.h"
#include "support/qt_print.h"

namespace listinova::platform {
namespace {

using testing::PseudoTerminal;

// A pty keeps speed, stop bits and flow control but forces 8 bits without parity; of the parity
// it keeps PARODD and CMSPAR, which still tell odd, mark and space apart. Bytes sent before an
// open are dropped with the old session.
TEST(QtSerialPort, SetsTheLineAsTheSettingsSayAndCarriesBytesBothWays) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  QtSerialPort port;
  const auto receive = [&](qsizetype count) {
    QSignalSpy arrived(&port, &SerialPort::bytesArrived);
    QByteArray bytes = port.readAll();
    while (bytes.size() < count && arrived.wait(5000)) bytes += port.readAll();
    return bytes;
  };
  constexpr tcflag_t kParita = PARODD | CMSPAR;
  struct Linea {
    const char* impostazioni;
    FlowControl flusso;
    speed_t velocita;
    tcflag_t parita;
    bool dueStop, hardware, xonXoff;
  };
  const Linea casi[] = {
      {"19200,e,7,2", FlowControl::Hardware, B19200, 0, true, true, false},
      {"4800,o,8,1", FlowControl::XonXoff, B4800, PARODD, false, false, true},
      {"9600,m,8,1", FlowControl::None, B9600, PARODD | CMSPAR, false, false, false},
      {"1200,s,5,2", FlowControl::None, B1200, CMSPAR, true, false, false},
      {" 9600 , N , 8 , 1.5 ", FlowControl::None, B9600, 0, false, false, false},
  };
  for (const Linea& caso : casi) {
    SCOPED_TRACE(caso.impostazioni);
    ASSERT_TRUE(pty.write("vecchio"));
    ASSERT_TRUE(port.open(pty.slavePath(), caso.impostazioni, caso.flusso))
        << port.errorText().toStdString();
    EXPECT_EQ(port.readAll(), "");
    const termios line = pty.lineSettings();
    EXPECT_EQ(cfgetispeed(&line), caso.velocita);
    EXPECT_EQ(line.c_cflag & kParita, caso.parita);
    EXPECT_EQ(bool(line.c_cflag & CSTOPB), caso.dueStop);
    EXPECT_EQ(bool(line.c_cflag & CRTSCTS), caso.hardware);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), caso.xonXoff ? tcflag_t(IXON | IXOFF) : tcflag_t(0));
    ASSERT_TRUE(pty.write("8001234567890\r"));
    EXPECT_EQ(receive(14), "8001234567890\r");
    EXPECT_EQ(port.write("STATO?\r\n"), 8);
    EXPECT_EQ(pty.readAtLeast(8), "STATO?\r\n");
  }
  QByteArray answer;
  for (int i = 0; i < 1500; ++i) answer.append(char('0' + i % 10));
  ASSERT_TRUE(pty.write(answer));
  EXPECT_EQ(receive(answer.size()), answer);
  // Settings it cannot read are refused, and the line opened before is closed.
  for (const char* settings : {"", "9600", "9600;n;8;1", "veloce,n,8,1", "0,n,8,1", "9600,x,8,1",
                               "9600,n,4,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,1,1"}) {
    SCOPED_TRACE(settings);
    EXPECT_FALSE(port.open(pty.slavePath(), settings, FlowControl::None));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.errorText(), "Impossibile aprire la porta seriale " + pty.slavePath() +
                                    ": impostazioni non valide \"" + settings + "\"");
  }
}

// Port numbers count from one; anything else is used as given.
TEST(SerialDevices, NumbersNameTheSerialPorts) {
  QStringList percorsi;
  for (const char* porta : {"1", " 2 ", "/dev/ttyUSB0", "COM1", "0", ""})
    percorsi << serialDevicePath(porta);
  EXPECT_EQ(percorsi, QStringList({"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "COM1", "0", ""}));
}

}  // namespace
}  // namespace listinova::platform
