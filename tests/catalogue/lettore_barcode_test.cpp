#include "catalogue/lettore_barcode.h"

#include <gtest/gtest.h>

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

// Each case's writes reach the reader one at a time; a second code behind a CR, LF or CR LF
// proves no empty code was read in between.
TEST_F(LettoreBarCodeSuPty, CodesAreCutAtLineEndsJoinedAcrossReadsAndTrimmed) {
  struct Caso {
    const char* nome;
    QList<QByteArray> scritture;
    QStringList attesi;
    bool riapri = false;
  };
  const Caso casi[] = {
      {"CR", {"8001234567890\r1\r"}, {kCodice, "1"}},
      {"LF", {"8001234567890\n1\r"}, {kCodice, "1"}},
      {"CR LF", {"8001234567890\r\n1\r"}, {kCodice, "1"}},
      {"split across reads", {"80012", "34567", "890\r"}, {kCodice}},
      {"LF of a CR LF in the next read", {"123\r", "\n456\r\n"}, {"123", "456"}},
      {"several in one read, blanks and empty lines",
       {"\r\n\r\n  \r\t 8001234567890 \r8009876543210\r\n42\n"},
       {kCodice, "8009876543210", "42"}},
      {"reopening forgets a half-read code", {"999", "123\r"}, {"123"}, true},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    letti_.clear();
    for (qsizetype i = 0; i + 1 < caso.scritture.size(); ++i) {
      scansiona(caso.scritture[i]);
      if (!caso.scritture[i].contains('\r') && !caso.scritture[i].contains('\n')) {
        EXPECT_EQ(letti_.count(), 0);  // half a code is not read
      }
    }
    if (caso.riapri) {
      ASSERT_TRUE(lettore_.ApriPortaBarCodeProdotti(impostazioni()));
    }
    ASSERT_TRUE(pty_.write(caso.scritture.back()));
    EXPECT_EQ(letti(int(caso.attesi.size())), caso.attesi);
  }
}

// No port opens nothing and logs nothing; one that will not open is logged once.
TEST(LettoreBarCodeSenzaPorta, NoPortOpensNothingAndOneThatWillNotOpenIsLoggedOnce) {
  CartellaDiProva cartella;
  testing::FakeClock orologio;
  ErrorLog log(cartella.root(), orologio);
  installaErrorLog(&log);
  platform::QtSerialPort porta;
  LettoreBarCode lettore(porta);
  for (const char* nome : {"", "  ", "/nonexistent/tty"}) {
    ImpostazioniSeriali impostazioni;
    impostazioni.porta = nome;
    EXPECT_FALSE(lettore.ApriPortaBarCodeProdotti(impostazioni)) << nome;
  }
  installaErrorLog(nullptr);
  const QString righe = QString::fromUtf8(testing::readAll(log.percorsoLog())).trimmed();
  EXPECT_EQ(righe.count("\r\n"), 0) << righe.toStdString();
  EXPECT_TRUE(righe.contains("/nonexistent/tty")) << righe.toStdString();
  EXPECT_TRUE(righe.endsWith("*-FUNZIONI-ApriPortaBarCodeProdotti-]"));
}

}  // namespace
}  // namespace listinova
