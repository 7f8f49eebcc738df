#include "register/trame_lette.h"

#include <gtest/gtest.h>

#include "register/protocollo_ostrel.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

QString trama(const QString& corpo) {
  return DecodificaDaRegistratore(IncorniciaComando(CodificaPerRegistratore(corpo)));
}

TEST(TrameLette, OnlyWholeFramesWithTheirChecksumAreTaken) {
  const QString buona = trama("00/00/00/8001/");
  const QString guasta = QString(buona).replace("8001", "8002");  // checksum of another body
  const QChar stx(Controllo::STX);
  const QChar ack(Controllo::ACK);
  struct Caso {
    QString ricevuti;
    QStringList corpi;
  };
  const Caso casi[] = {
      {buona, {"00/00/00/8001/"}},
      {QStringLiteral("\x06\x7f\xff") + buona + ack, {"00/00/00/8001/"}},
      {guasta, {}},
      {guasta + buona + trama("07/00/02/82/"), {"00/00/00/8001/", "07/00/02/82/"}},
      {buona.left(8), {}},                                         // still on its way
      {stx + QStringLiteral("00/0") + buona, {"00/00/00/8001/"}},  // given up on, then whole
      {stx + QStringLiteral("1\x03"), {}},                         // no room for the checksum
      {trama(QString::fromUtf8("00/00/00/CAFFÈ/")), {QString::fromUtf8("00/00/00/CAFFÈ/")}},
      {{}, {}},
  };
  for (const Caso& c : casi) EXPECT_EQ(TrameBuone(c.ricevuti), c.corpi) << c.ricevuti.toStdString();
}

TEST(TrameLette, ResultCodesAreTwoHexDigits) {
  for (const char* buono : {"00/00/00", "07/00/02/82", "1A", "ff/00/00"})
    EXPECT_TRUE(CodiceRispostaValido(buono)) << buono;
  for (const char* cattivo : {"", "0", "0G/00/00", "000/00", " 0/00/00", "/0/00"})
    EXPECT_FALSE(CodiceRispostaValido(cattivo)) << cattivo;
}

}  // namespace
}  // namespace listinova
