#include "register/trasporto_registratore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <vector>

#include "platform/qt_udp_endpoint.h"
#include "platform/serial_port.h"
#include "platform/udp_endpoint.h"
#include "register/log_driver.h"
#include "register/protocollo_ostrel.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::FlowControl;

QByteArray byte(char c) { return QByteArray(1, c); }

// The register's answer to a command: STX, body, checksum, ETX.
QByteArray risposta(const QByteArray& corpo) { return IncorniciaComando(corpo); }

class SerialeFinta : public platform::SerialPort {
 public:
  struct Apertura {
    QString impostazioni;
    FlowControl flusso;
  };

  bool open(const QString&, const QString& settings, FlowControl flow) override {
    aperture.push_back({settings, flow});
    return aperta = true;
  }
  void close() override { aperta = false; }
  bool isOpen() const override { return aperta; }
  qint64 write(const QByteArray& bytes) override {
    scritti.push_back(bytes);
    return bytes.size();
  }
  QByteArray readAll() override { return std::exchange(inArrivo, {}); }
  QString errorText() const override { return {}; }

  void arriva(const QByteArray& bytes) {
    inArrivo += bytes;
    emit bytesArrived();
  }

  bool aperta = false;
  std::vector<Apertura> aperture;
  std::vector<QByteArray> scritti;
  QByteArray inArrivo;
};

class UdpFinto : public platform::UdpEndpoint {
 public:
  bool open(const QString&, quint16, quint16) override { return aperto = true; }
  void close() override { aperto = false; }
  bool isOpen() const override { return aperto; }
  qint64 send(const QByteArray& datagram) override {
    inviati.push_back(datagram);
    return datagram.size();
  }

  bool aperto = false;
  std::vector<QByteArray> inviati;
};

class Trasporto : public ::testing::Test {
 protected:
  void SetUp() override { Globali() = VarGlobali{}; }
  void TearDown() override { Globali() = VarGlobali{}; }

  // The message lines of the driver log, without their date lines.
  QStringList righeLog() const {
    QFile file(log.percorsoLog());
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList righe = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    QStringList messaggi;
    for (qsizetype i = 1; i < righe.size(); i += 2) messaggi << righe[i];
    return messaggi;
  }

  CartellaDiProva cartella;
  testing::FakeClock orologio;
  LogDriver log{cartella.root(), orologio};
  SerialeFinta seriale;
  UdpFinto udp;
  TrasportoRegistratore trasporto{seriale, udp, log, {}, PorteUdp{19101, 19102}};
};

// A dot makes a network address only in an IPv4 address: device paths hold dots too.
TEST_F(Trasporto, PortSettingsAndWhichAddressIsANetworkOne) {
  Globali().RegCassa.velocita = "19200";
  Globali().RegCassa.parita = "Pari";
  Globali().RegCassa.flusso = "Xon / Xoff";
  trasporto.AperturaPortaRegCassa("2");
  Globali() = VarGlobali{};
  Globali().RegCassa.flusso = "Qualcosa";
  trasporto.AperturaPortaRegCassa("2");
  trasporto.AperturaPortaRegCassa("");
  ASSERT_EQ(seriale.aperture.size(), 2u);
  EXPECT_EQ(seriale.aperture[0].impostazioni, "19200,e,8,1");
  EXPECT_EQ(seriale.aperture[0].flusso, FlowControl::XonXoff);
  EXPECT_EQ(seriale.aperture[1].flusso, FlowControl::None);
  EXPECT_EQ(seriale.aperture[1].impostazioni, "9600,n,8,1");

  const std::pair<const char*, bool> casi[] = {
      {"192.168.1.20", true},
      {" 10.0.0.255 ", true},
      {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:1.1:1.0-port0", false},
      {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1.2-if00-port0", false},
      {"3", false},
      {"192.168.1.", false},
      {"192.168.1.256", false},
      {"1.2.3", false},
  };
  for (const auto& [indirizzo, rete] : casi)
    EXPECT_EQ(IndirizzoDiRete(indirizzo), rete) << indirizzo;
}

TEST_F(Trasporto, EnquiryEmptiesTheLastAnswer) {
  seriale.arriva(risposta("07/01/02"));
  ASSERT_EQ(trasporto.risposta().CodiceErrore, "7");

  trasporto.cmdInitCom("1");

  EXPECT_EQ(trasporto.risposta(), RispostaMisuratore{});
}

class RicezioneSeriale : public Trasporto {};

// Only a whole frame with its checksum right is an answer: a spoilt one is refused with a NAK
// and the resent one taken; stray bytes and frames too short for a checksum are dropped.
TEST_F(RicezioneSeriale, OnlyAWholeFrameWithItsChecksumIsAnAnswer) {
  const QByteArray senzaStx = risposta("00/00/00").mid(1);
  for (const QByteArray& rumore : {QByteArray("\x00\xff\x03", 3), senzaStx,
                                   QByteArray("00/00/0000\x03\x03"), QByteArray("\x02\x03"),
                                   QByteArray("\x02"
                                              "5\x03"),
                                   QByteArray("\x03")}) {
    seriale.arriva(rumore);
    EXPECT_EQ(trasporto.risposta(), RispostaMisuratore{}) << rumore.toHex().toStdString();
    EXPECT_TRUE(trasporto.BufferRicezione().isEmpty()) << rumore.toHex().toStdString();
  }
  EXPECT_TRUE(seriale.scritti.empty());

  seriale.arriva(byte(Controllo::ACK));
  QByteArray corrotta = risposta("00/00/00");
  corrotta[corrotta.size() - 2] = '9';
  seriale.arriva(corrotta);
  EXPECT_EQ(seriale.scritti, std::vector<QByteArray>({byte(Controllo::ACK), byte(Controllo::NAK),
                                                      byte(Controllo::ACK)}));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "");
  EXPECT_EQ(righeLog(), QStringList({">Seriale:       ***** checksum errato, Mando NAK"}));

  seriale.arriva(risposta("09/00/00"));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "9");
  EXPECT_FALSE(trasporto.risposta().riuscita());
}

// A flood inside a frame costs one pass and 64 KB at most; the next frame still counts.
TEST_F(RicezioneSeriale, ReceiveBufferIsBoundedAndTheDropLogged) {
  seriale.arriva(byte(Controllo::STX));
  const QByteArray blocco(4096, 'x');
  for (int i = 0; i < 256; ++i) {
    seriale.arriva(blocco);
    ASSERT_LE(trasporto.BufferRicezione().size(), TrasportoRegistratore::kMassimoBufferRicezione);
  }

  const QStringList log = righeLog();
  ASSERT_FALSE(log.isEmpty());
  EXPECT_TRUE(log.first().startsWith("> BUFFER DI RICEZIONE PIENO, SCARTATI "))
      << log.first().toStdString();
  seriale.arriva(risposta("00/00/00"));
  EXPECT_TRUE(trasporto.risposta().riuscita());
  EXPECT_TRUE(trasporto.BufferRicezione().isEmpty());
}

class CorpoRisposta : public Trasporto {
 protected:
  RispostaMisuratore dopo(const QByteArray& corpo) {
    seriale.arriva(risposta(corpo));
    return trasporto.risposta();
  }
};

// Only two hexadecimal digits make a result code, shown in decimal; anything else is a refusal
// and never a success.
TEST_F(CorpoRisposta, ResultCodeIsTwoHexDigitsTurnedDecimal) {
  const struct {
    QByteArray corpo;
    QString codice;
    bool riuscita;
    QString testo;
    QString gravita;
  } casi[] = {
      {"0A/00/00", "10", false, {}, {}},
      {"0a/00/00", "10", false, {}, {}},
      {"00/07/99", "0", true, {}, {}},
      {"2C/00/00/altro", "44", false, "Carta finita", "4"},
      {"ZZ/00/00", "ZZ", false, RispostaMisuratore::kCodiceNonValido, "0"},
      {"?\?/00/00", "??", false, RispostaMisuratore::kCodiceNonValido, "0"},
      {QByteArray("\0\0/00/00", 8), "??", false, RispostaMisuratore::kCodiceNonValido, "0"},
      {"", "??", false, RispostaMisuratore::kCodiceNonValido, "0"},
      {"0/00/00", "0/", false, RispostaMisuratore::kCodiceNonValido, "0"},
      {" 0/00/00", " 0", false, RispostaMisuratore::kCodiceNonValido, "0"},
      {"G1/00/00", "G1", false, RispostaMisuratore::kCodiceNonValido, "0"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.corpo.toHex().toStdString());
    const RispostaMisuratore r = dopo(caso.corpo);
    EXPECT_EQ(r.riuscita(), caso.riuscita);
    EXPECT_EQ(r.CodiceErrore, caso.codice);
    if (!caso.testo.isNull()) {
      EXPECT_EQ(r.TestoEsito, caso.testo);
    }
    if (!caso.gravita.isNull()) {
      EXPECT_EQ(r.Gravita, caso.gravita);
    }
  }
}

class RicezioneUdp : public Trasporto {
 protected:
  void SetUp() override {
    Trasporto::SetUp();
    trasporto.cmdInitCom("10.0.0.5");
    udp.inviati.clear();
  }
  void arriva(const QByteArray& datagramma) { emit udp.datagramArrived(datagramma); }
};

// A datagram is an answer only as one whole frame with its checksum right.
TEST_F(RicezioneUdp, BadChecksumIsRefusedOtherDatagramsIgnoredAndTheResendTaken) {
  arriva(byte(Controllo::ACK));
  QByteArray trama = risposta("00/00/00");
  trama[trama.size() - 2] = '9';
  arriva(trama);
  EXPECT_EQ(udp.inviati, std::vector<QByteArray>({byte(Controllo::NAK)}));
  EXPECT_EQ(righeLog(), QStringList({">Socket:        ***** checksum errato, Mando NAK"}));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "");

  udp.inviati.clear();
  for (const QByteArray& altro :
       {QByteArray("rumore"),
        QByteArray("\x02"
                   "1\x03"),
        QByteArray(), QByteArray("\x00\xff\x03", 3), risposta("00/00/00").mid(1)})
    arriva(altro);
  EXPECT_EQ(trasporto.risposta().Stato, "ACK");
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "");
  EXPECT_TRUE(udp.inviati.empty());

  arriva(risposta("09/00/00"));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "9");
  EXPECT_EQ(udp.inviati, std::vector<QByteArray>({byte(Controllo::ACK)}));
}

// A register switched off: the system reports its port unreachable to the connected channel,
// which must still carry the exchange once the register is back.
TEST(TrasportoSuUdp, ChannelOutlivesARegisterThatWasSwitchedOff) {
  CartellaDiProva cartella;
  testing::FakeClock orologio;
  LogDriver log(cartella.root(), orologio);
  SerialeFinta seriale;
  platform::QtUdpEndpoint udp;
  QUdpSocket registratore;
  ASSERT_TRUE(registratore.bind(QHostAddress::LocalHost, 0));
  const quint16 portaRegistratore = registratore.localPort();
  registratore.close();
  QUdpSocket libera;
  ASSERT_TRUE(libera.bind(QHostAddress::LocalHost, 0));
  const quint16 portaLocale = libera.localPort();
  libera.close();
  TrasportoRegistratore trasporto(seriale, udp, log, {}, PorteUdp{portaRegistratore, portaLocale});
  const auto ack = [&] { return trasporto.risposta().Stato == "ACK"; };

  trasporto.iniziaLavoro();
  for (int i = 0; i < 3; ++i) {
    trasporto.cmdInitCom("127.0.0.1");
    EXPECT_FALSE(trasporto.attendi(ack, 100));
  }

  ASSERT_TRUE(registratore.bind(QHostAddress::LocalHost, portaRegistratore));
  trasporto.cmdInitCom("127.0.0.1");
  if (!registratore.hasPendingDatagrams()) registratore.waitForReadyRead(2000);
  const QNetworkDatagram enq = registratore.receiveDatagram();
  EXPECT_EQ(enq.data(), byte(Controllo::ENQ));
  registratore.writeDatagram(enq.makeReply(byte(Controllo::ACK)));
  EXPECT_TRUE(trasporto.attendi(ack, 3000));
}

}  // namespace
}  // namespace listinova
