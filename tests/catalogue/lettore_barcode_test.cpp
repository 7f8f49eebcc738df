#include "catalogue/lettore_barcode.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QStringList>

#include "platform/qt_serial_port.h"
#include "startup/error_log.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/pseudo_terminal.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

constexpr auto kCodice = "8001234567890";

class LettoreBarCodeSuPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.isOpen());
    ASSERT_TRUE(lettore_.ApriPortaBarCodeProdotti(impostazioni()))
        << porta_.errorText().toStdString();
  }

  ImpostazioniSeriali impostazioni() const {
    ImpostazioniSeriali impostazioni;
    impostazioni.porta = pty_.slavePath();
    return impostazioni;
  }

  // Sends as the scanner does and returns once the reader has had the bytes.
  void scansiona(const QByteArray& bytes) {
    QSignalSpy arrivati(&porta_, &platform::SerialPort::bytesArrived);
    ASSERT_TRUE(pty_.write(bytes));
    ASSERT_TRUE(arrivati.wait(5000));
  }

  QStringList letti(int quanti) {
    while (letti_.count() < quanti && letti_.wait(5000)) {
    }
    QStringList codici;
    for (const QList<QVariant>& argomenti : letti_) codici << argomenti.at(0).toString();
    return codici;
  }

  testing::PseudoTerminal pty_;
  platform::QtSerialPort porta_;
  LettoreBarCode lettore_{porta_};
  QSignalSpy letti_{&lettore_, &LettoreBarCode::barCodeLetto};
};

TEST_F(LettoreBarCodeSuPty, ReadsACodeEndedByCrLfOrCrLf) {
  for (const char* fine : {"\r", "\n", "\r\n"}) {
    SCOPED_TRACE(QByteArray(fine).toHex().toStdString());
    letti_.clear();
    ASSERT_TRUE(pty_.write(QByteArray(kCodice) + fine));
    // A second code behind it proves no empty code was read in between.
    ASSERT_TRUE(pty_.write("1\r"));
    EXPECT_EQ(letti(2), QStringList({kCodice, "1"}));
  }
}

TEST_F(LettoreBarCodeSuPty, JoinsACodeSplitAcrossReads) {
  scansiona("80012");
  scansiona("34567");
  EXPECT_EQ(letti_.count(), 0);
  scansiona("890\r");
  EXPECT_EQ(letti(1), QStringList({kCodice}));
}

TEST_F(LettoreBarCodeSuPty, TheLfOfACrLfInTheNextReadGivesNothing) {
  scansiona("123\r");
  scansiona("\n456\r\n");
  EXPECT_EQ(letti(2), QStringList({"123", "456"}));
}

TEST_F(LettoreBarCodeSuPty, ReadsEveryCodeOfOneReadTrimmedAndSkipsEmptyLines) {
  ASSERT_TRUE(pty_.write("\r\n\r\n  \r\t 8001234567890 \r8009876543210\r\n42\n"));
  EXPECT_EQ(letti(3), QStringList({kCodice, "8009876543210", "42"}));
}

TEST_F(LettoreBarCodeSuPty, ReopeningForgetsAHalfReadCode) {
  scansiona("999");
  ASSERT_TRUE(lettore_.ApriPortaBarCodeProdotti(impostazioni()));
  ASSERT_TRUE(pty_.write("123\r"));
  EXPECT_EQ(letti(1), QStringList({"123"}));
}

// The line bits themselves are checked on QtSerialPort; here the scanner's settings reach it.
TEST_F(LettoreBarCodeSuPty, OpensTheLineWithTheScannerSettings) {
  EXPECT_FALSE(pty_.lineSettings().c_cflag & (CSTOPB | CRTSCTS));

  ImpostazioniSeriali scanner = impostazioni();
  scanner.velocita = "4800";
  scanner.bitStop = "2";
  scanner.flusso = "Hardware";
  ASSERT_TRUE(lettore_.ApriPortaBarCodeProdotti(scanner));
  termios linea = pty_.lineSettings();
  EXPECT_EQ(cfgetispeed(&linea), speed_t(B4800));
  EXPECT_TRUE(linea.c_cflag & CSTOPB);
  EXPECT_TRUE(linea.c_cflag & CRTSCTS);

  scanner.flusso = "Xon / Xoff";
  ASSERT_TRUE(lettore_.ApriPortaBarCodeProdotti(scanner));
  EXPECT_EQ(pty_.lineSettings().c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  ASSERT_TRUE(pty_.write("7\r"));
  EXPECT_EQ(letti(1), QStringList({"7"}));
}

TEST_F(LettoreBarCodeSuPty, ClosesThePortItOpenedWhenTheEditorGoes) {
  // The scanner line is exclusive: the fixture's reader lets it go first.
  porta_.close();
  platform::QtSerialPort porta;
  {
    LettoreBarCode lettore(porta);
    ASSERT_TRUE(lettore.ApriPortaBarCodeProdotti(impostazioni()));
    EXPECT_TRUE(porta.isOpen());
  }
  EXPECT_FALSE(porta.isOpen());
}

class LettoreBarCodeSenzaPorta : public ::testing::Test {
 protected:
  void SetUp() override { installaErrorLog(&log_); }
  void TearDown() override { installaErrorLog(nullptr); }

  QStringList righeLog() const {
    return QString::fromUtf8(testing::readAll(log_.percorsoLog()))
        .split("\r\n", Qt::SkipEmptyParts);
  }

  CartellaDiProva cartella_;
  testing::FakeClock orologio_;
  ErrorLog log_{cartella_.root(), orologio_};
  platform::QtSerialPort porta_;
  LettoreBarCode lettore_{porta_};
};

TEST_F(LettoreBarCodeSenzaPorta, AnEmptyPortaComOpensNothing) {
  ImpostazioniSeriali impostazioni;
  EXPECT_FALSE(lettore_.ApriPortaBarCodeProdotti(impostazioni));
  impostazioni.porta = "  ";
  EXPECT_FALSE(lettore_.ApriPortaBarCodeProdotti(impostazioni));
  EXPECT_FALSE(porta_.isOpen());
  EXPECT_EQ(righeLog(), QStringList());
}

TEST_F(LettoreBarCodeSenzaPorta, APortThatWillNotOpenIsLoggedOnce) {
  ImpostazioniSeriali impostazioni;
  impostazioni.porta = "/nonexistent/tty";
  EXPECT_FALSE(lettore_.ApriPortaBarCodeProdotti(impostazioni));
  EXPECT_FALSE(porta_.isOpen());
  const QStringList righe = righeLog();
  ASSERT_EQ(righe.size(), 1);
  EXPECT_EQ(righe[0],
            "[-15/03/2024-09:30:00- Des.:La porta /nonexistent/tty non esiste: controllare che il "
            "dispositivo sia collegato e la porta indicata nelle impostazioni Err.N.:8002 "
            "*-FUNZIONI-ApriPortaBarCodeProdotti-]");
}

}  // namespace
}  // namespace listinova
