#include "platform/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "support/pseudo_terminal.h"
#include "support/qt_print.h"

namespace listinova::platform {
namespace {

using testing::PseudoTerminal;

// Port numbers count from one; anything else is used as given, for the port to accept or reject.
TEST(SerialDevicePath, NumbersNameTheSerialPorts) {
  const std::pair<const char*, const char*> casi[] = {
      {"1", "/dev/ttyS0"},
      {" 2 ", "/dev/ttyS1"},
      {"/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"COM1", "COM1"},
      {"0", "0"},
      {"", ""},
  };
  for (const auto& [porta, percorso] : casi) EXPECT_EQ(serialDevicePath(porta), percorso) << porta;
}

class QtSerialPortOnPty : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.isOpen()); }

  // What the port received, gathered as bytesArrived announces it.
  QByteArray receive(qsizetype count) {
    QSignalSpy arrived(&port_, &SerialPort::bytesArrived);
    QByteArray bytes = port_.readAll();
    while (bytes.size() < count && arrived.wait(5000)) bytes += port_.readAll();
    return bytes;
  }

  PseudoTerminal pty_;
  QtSerialPort port_;
};

// A pty keeps speed, stop bits and flow control but forces 8 bits without parity; of the parity
// it keeps PARODD and CMSPAR, which still tell odd, mark and space apart. Bytes sent before an
// open are dropped with the old session.
TEST_F(QtSerialPortOnPty, SetsTheLineAsTheSettingsSayAndCarriesBytesBothWays) {
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
    ASSERT_TRUE(pty_.write("vecchio"));
    ASSERT_TRUE(port_.open(pty_.slavePath(), caso.impostazioni, caso.flusso))
        << port_.errorText().toStdString();
    EXPECT_EQ(port_.errorText(), "");
    EXPECT_EQ(port_.readAll(), "");
    const termios line = pty_.lineSettings();
    EXPECT_EQ(cfgetispeed(&line), caso.velocita);
    EXPECT_EQ(line.c_cflag & kParita, caso.parita);
    EXPECT_EQ(bool(line.c_cflag & CSTOPB), caso.dueStop);
    EXPECT_EQ(bool(line.c_cflag & CRTSCTS), caso.hardware);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), caso.xonXoff ? tcflag_t(IXON | IXOFF) : tcflag_t(0));
    ASSERT_TRUE(pty_.write("8001234567890\r"));
    EXPECT_EQ(receive(14), "8001234567890\r");
    EXPECT_EQ(port_.write("STATO?\r\n"), 8);
    EXPECT_EQ(pty_.readAtLeast(8), "STATO?\r\n");
  }
  QByteArray answer;
  for (int i = 0; i < 1500; ++i) answer.append(char('0' + i % 10));
  ASSERT_TRUE(pty_.write(answer));
  EXPECT_EQ(receive(answer.size()), answer);
  port_.close();
  EXPECT_FALSE(port_.isOpen());
}

TEST_F(QtSerialPortOnPty, RefusesSettingsItCannotRead) {
  // A failed open also closes the line opened before it.
  ASSERT_TRUE(port_.open(pty_.slavePath(), "9600,n,8,1", FlowControl::None));
  for (const char* settings : {"", "9600", "9600;n;8;1", "veloce,n,8,1", "0,n,8,1", "9600,x,8,1",
                               "9600,n,4,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,1,1"}) {
    SCOPED_TRACE(settings);
    EXPECT_FALSE(port_.open(pty_.slavePath(), settings, FlowControl::None));
    EXPECT_FALSE(port_.isOpen());
    EXPECT_EQ(port_.errorText(), "Impossibile aprire la porta seriale " + pty_.slavePath() +
                                     ": impostazioni non valide \"" + settings + "\"");
  }
}

TEST(QtSerialPort, MissingDevicesAndAClosedPortFailWithAnItalianReason) {
  QtSerialPort port;
  EXPECT_FALSE(port.open("100", "9600,n,8,1", FlowControl::None));
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.errorText(), QStringLiteral("La porta /dev/ttyS99 non esiste: controllare che il "
                                             "dispositivo sia collegato e la porta indicata "
                                             "nelle impostazioni"));
  EXPECT_EQ(port.write("x"), -1);
  EXPECT_EQ(port.errorText(), QStringLiteral("La porta seriale non è aperta"));
}

}  // namespace
}  // namespace listinova::platform
