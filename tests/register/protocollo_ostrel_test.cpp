#include "register/protocollo_ostrel.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(CalcolaChecksum, ExamplesOfTheRegisterFamily) {
  EXPECT_EQ(CalcolaChecksum("abc"), "38");
  EXPECT_EQ(CalcolaChecksum("?/"), "10");
  EXPECT_EQ(CalcolaChecksum(""), "00");
  EXPECT_EQ(CalcolaChecksum(QByteArray(256, '\x01')), "00");  // the sum wraps at 256
  EXPECT_EQ(CalcolaChecksum(QByteArray(1, '\xff')), "55");
}

TEST(IncorniciaComando, FrameIsStxCommandChecksumEtx) {
  EXPECT_EQ(IncorniciaComando("abc"), QByteArray::fromHex("02616263333803"));
  EXPECT_EQ(IncorniciaComando("?/"), QByteArray::fromHex("023F2F313003"));
}

TEST(Codifica1252, EuroAndAccentsTakeTheirWindowsBytes) {
  EXPECT_EQ(CodificaPerRegistratore(QString::fromUtf8("€ è à")), QByteArray("\x80 \xe8 \xe0"));
  EXPECT_EQ(CodificaPerRegistratore(QString::fromUtf8("ŒžŸ")), QByteArray("\x8c\x9e\x9f"));
  EXPECT_EQ(CodificaPerRegistratore(QString::fromUtf8("a→b")), QByteArray("a?b"));
  EXPECT_EQ(DecodificaDaRegistratore("\x80\xe8"), QString::fromUtf8("€è"));
  // The checksum is over the Windows bytes: "€" counts 128, not its UTF-8 bytes.
  EXPECT_EQ(CalcolaChecksum(CodificaPerRegistratore(QString::fromUtf8("€"))), "28");
}

}  // namespace
}  // namespace listinova
