#include "register/trasporto_registratore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTimer>
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
    QString porta;
    QString impostazioni;
    FlowControl flusso;
  };

  bool open(const QString& port, const QString& settings, FlowControl flow) override {
    aperture.push_back({port, settings, flow});
    aperta = apribile;
    return aperta;
  }
  void close() override {
    ++chiusure;
    aperta = false;
  }
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

  bool apribile = true;
  bool aperta = false;
  int chiusure = 0;
  std::vector<Apertura> aperture;
  std::vector<QByteArray> scritti;
  QByteArray inArrivo;
};

class UdpFinto : public platform::UdpEndpoint {
 public:
  struct Apertura {
    QString host;
    quint16 portaRemota;
    quint16 portaLocale;
  };

  bool open(const QString& remoteHost, quint16 remotePort, quint16 localPort) override {
    aperture.push_back({remoteHost, remotePort, localPort});
    aperto = apribile;
    return aperto;
  }
  void close() override {
    ++chiusure;
    aperto = false;
  }
  bool isOpen() const override { return aperto; }
  qint64 send(const QByteArray& datagram) override {
    inviati.push_back(datagram);
    return datagram.size();
  }

  bool apribile = true;
  bool aperto = false;
  int chiusure = 0;
  std::vector<Apertura> aperture;
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
  QStringList stati;
  TrasportoRegistratore trasporto{
      seriale, udp, log, [this](const QString& testo) { stati << testo; }, PorteUdp{19101, 19102}};
};

TEST_F(Trasporto, CommandGoesOutAsOneFrameOfWindowsBytesOrOneDatagram) {
  trasporto.cmdInitCom("1");
  seriale.scritti.clear();

  trasporto.SendCMD("abc");
  trasporto.SendCMD("  abc \r\n");
  trasporto.SendCMD(QString::fromUtf8("€"));
  trasporto.SendCMD("");

  ASSERT_EQ(seriale.scritti.size(), 4u);
  EXPECT_EQ(seriale.scritti[0], QByteArray::fromHex("02616263333803"));
  EXPECT_EQ(seriale.scritti[1], QByteArray::fromHex("02616263333803"));
  EXPECT_EQ(seriale.scritti[2], QByteArray::fromHex("0280323803"));
  EXPECT_EQ(seriale.scritti[3], QByteArray::fromHex("02303003"));
  EXPECT_TRUE(udp.inviati.empty());

  trasporto.cmdInitCom("192.168.1.20");
  udp.inviati.clear();
  trasporto.SendCMD("abc");
  EXPECT_EQ(udp.inviati, std::vector<QByteArray>({QByteArray::fromHex("02616263333803")}));
  EXPECT_EQ(seriale.scritti.size(), 4u);
}

TEST_F(Trasporto, AddressWithoutDotIsTheSerialPortReopenedAtEveryEnquiry) {
  Globali().RegCassa.velocita = "19200";
  Globali().RegCassa.parita = "Pari";
  Globali().RegCassa.flusso = "Hardware";

  trasporto.cmdInitCom("3");
  trasporto.cmdInitCom("3");

  EXPECT_FALSE(trasporto.ModoIP());
  ASSERT_EQ(seriale.aperture.size(), 2u);
  EXPECT_EQ(seriale.aperture[0].porta, "3");
  EXPECT_EQ(seriale.aperture[0].impostazioni, "19200,e,8,1");
  EXPECT_EQ(seriale.aperture[0].flusso, FlowControl::Hardware);
  EXPECT_EQ(seriale.chiusure, 1);  // the second enquiry found the port open
  const std::vector<QByteArray> enquiry = {byte(Controllo::CAN), byte(Controllo::CAN),
                                           byte(Controllo::CAN), byte(Controllo::ENQ)};
  EXPECT_EQ(std::vector<QByteArray>(seriale.scritti.begin(), seriale.scritti.begin() + 4), enquiry);
  EXPECT_EQ(seriale.scritti.size(), 8u);
  EXPECT_EQ(stati, QStringList({"APERTO PORTA COM: 3", "APERTO PORTA COM: 3"}));
  EXPECT_TRUE(udp.aperture.empty());
  EXPECT_EQ(trasporto.risposta().Stato, "");
}

TEST_F(Trasporto, FlowControlFollowsTheSettings) {
  Globali().RegCassa.flusso = "Xon / Xoff";
  trasporto.AperturaPortaRegCassa("2");
  Globali().RegCassa.flusso = "Qualcosa";
  trasporto.AperturaPortaRegCassa("2");
  trasporto.AperturaPortaRegCassa("");

  ASSERT_EQ(seriale.aperture.size(), 2u);
  EXPECT_EQ(seriale.aperture[0].flusso, FlowControl::XonXoff);
  EXPECT_EQ(seriale.aperture[1].flusso, FlowControl::None);
  EXPECT_EQ(seriale.aperture[1].impostazioni, "9600,n,8,1");
}

TEST_F(Trasporto, AnIpv4AddressIsUdp) {
  trasporto.cmdInitCom(" 192.168.1.20 ");

  EXPECT_TRUE(trasporto.ModoIP());
  ASSERT_EQ(udp.aperture.size(), 1u);
  EXPECT_EQ(udp.aperture[0].host, "192.168.1.20");
  EXPECT_EQ(udp.aperture[0].portaRemota, 19101);
  EXPECT_EQ(udp.aperture[0].portaLocale, 19102);
  EXPECT_EQ(udp.inviati, std::vector<QByteArray>({byte(Controllo::ENQ)}));
  EXPECT_EQ(stati, QStringList({"APERTO CANALE IP:  192.168.1.20 "}));
  EXPECT_TRUE(seriale.aperture.empty());
}

TEST_F(Trasporto, ADotMakesANetworkAddressOnlyInAnIpv4Address) {
  const std::pair<const char*, bool> casi[] = {
      {"192.168.1.20", true},
      {" 10.0.0.255 ", true},
      {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:1.1:1.0-port0", false},
      {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1.2-if00-port0", false},
      {"/dev/ttyUSB0", false},
      {"3", false},
      {"192.168.1.", false},
      {"192.168.1.256", false},
      {"1.2.3", false},
  };
  for (const auto& [indirizzo, rete] : casi)
    EXPECT_EQ(IndirizzoDiRete(indirizzo), rete) << indirizzo;

  const QString perPercorso = casi[2].first;
  trasporto.cmdInitCom(perPercorso);
  EXPECT_FALSE(trasporto.ModoIP());
  ASSERT_EQ(seriale.aperture.size(), 1u);
  EXPECT_EQ(seriale.aperture[0].porta, perPercorso);
  EXPECT_TRUE(udp.aperture.empty());
}

TEST_F(Trasporto, UdpIsReopenedOnlyAtTheFirstEnquiryOfAJob) {
  trasporto.iniziaLavoro();
  std::vector<quint16> contatori;
  for (int i = 0; i < 12; ++i) {
    trasporto.cmdInitCom("10.0.0.5");
    contatori.push_back(trasporto.ContatoreAperture());
  }

  EXPECT_EQ(contatori, std::vector<quint16>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 2, 3}));
  EXPECT_EQ(udp.aperture.size(), 1u);
  EXPECT_EQ(udp.chiusure, 0);
  EXPECT_EQ(udp.inviati.size(), 12u);

  trasporto.iniziaLavoro();
  trasporto.cmdInitCom("10.0.0.5");
  EXPECT_EQ(udp.aperture.size(), 2u);
  EXPECT_EQ(udp.chiusure, 1);  // closed before it is bound again
}

TEST_F(Trasporto, ClosedChannelIsReportedAndNothingIsSent) {
  seriale.apribile = false;
  udp.apribile = false;

  trasporto.cmdInitCom("1");
  EXPECT_EQ(trasporto.risposta().Stato, "ERR");
  trasporto.cmdInitCom("10.0.0.5");
  EXPECT_EQ(trasporto.risposta().Stato, "");

  EXPECT_TRUE(seriale.scritti.empty());
  EXPECT_TRUE(udp.inviati.empty());
  EXPECT_EQ(righeLog(),
            QStringList({"> PORTA DI COMUNICAZIONE SERIALE CHIUSA, IMPOSSIBILE MANDARE ENQ",
                         "> PORTA DI COMUNICAZIONE UDP CHIUSA, IMPOSSIBILE MANDARE ENQ"}));
}

TEST_F(Trasporto, EnquiryEmptiesTheLastAnswer) {
  seriale.arriva(risposta("07/01/02"));
  ASSERT_EQ(trasporto.risposta().CodiceErrore, "7");

  trasporto.cmdInitCom("1");

  EXPECT_EQ(trasporto.risposta(), RispostaMisuratore{});
}

TEST_F(Trasporto, AzzeraRispostaKeepsOnlyStato) {
  seriale.arriva(risposta("1A/99/99"));
  seriale.arriva(byte(Controllo::ACK));
  ASSERT_TRUE(trasporto.risposta().StatoA_Bit0);

  trasporto.AzzeraRisposta();

  RispostaMisuratore attesa;
  attesa.Stato = "ACK";
  EXPECT_EQ(trasporto.risposta(), attesa);
}

class RicezioneSeriale : public Trasporto {};

TEST_F(RicezioneSeriale, AnswerSplitOverSeveralEventsIsHandledOnceAtTheEtx) {
  QSignalSpy aggiornamenti(&trasporto, &TrasportoRegistratore::rispostaAggiornata);
  const QByteArray trama = risposta("0A/00/00");

  seriale.arriva(trama.left(3));
  seriale.arriva(trama.mid(3, 5));
  EXPECT_TRUE(seriale.scritti.empty());
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "");
  EXPECT_EQ(trasporto.BufferRicezione(), trama.mid(1, 7));

  seriale.arriva(trama.mid(8));

  EXPECT_EQ(aggiornamenti.count(), 1);
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "10");
  EXPECT_EQ(seriale.scritti, std::vector<QByteArray>({byte(Controllo::ACK), byte(Controllo::ACK)}));
  EXPECT_TRUE(trasporto.BufferRicezione().isEmpty());
}

TEST_F(RicezioneSeriale, NoiseBeforeTheLastStxIsDiscarded) {
  seriale.arriva(QByteArray("rumore\x02"
                            "99/") +
                 byte(Controllo::STX) + "xx");
  EXPECT_EQ(trasporto.BufferRicezione(), "xx");

  seriale.arriva(risposta("07/00/00"));

  EXPECT_EQ(trasporto.risposta().CodiceErrore, "7");
  EXPECT_EQ(trasporto.risposta().TestoEsito, "Il PLU non esiste");
  EXPECT_EQ(seriale.scritti, std::vector<QByteArray>({byte(Controllo::ACK), byte(Controllo::ACK)}));
}

TEST_F(RicezioneSeriale, AckOrNakAtTheEndIsTakenEvenAfterAPartialFrameAndAnsweredAck) {
  seriale.arriva(byte(Controllo::STX) + "00/0");
  seriale.arriva(byte(Controllo::ACK));

  EXPECT_EQ(trasporto.risposta().Stato, "ACK");
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "");
  EXPECT_TRUE(trasporto.BufferRicezione().isEmpty());
  EXPECT_EQ(seriale.scritti, std::vector<QByteArray>({byte(Controllo::ACK)}));

  seriale.arriva(byte(Controllo::NAK));
  EXPECT_EQ(trasporto.risposta().Stato, "NAK");
  EXPECT_EQ(seriale.scritti, std::vector<QByteArray>({byte(Controllo::ACK), byte(Controllo::ACK)}));
}

TEST_F(RicezioneSeriale, CorruptedFrameIsRefusedAndTheResentAnswerTaken) {
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

TEST_F(RicezioneSeriale, BytesOutsideAFrameOrTooShortForAChecksumNeverBecomeAnAnswer) {
  const RispostaMisuratore prima = trasporto.risposta();
  const QByteArray senzaStx = risposta("00/00/00").mid(1);
  for (const QByteArray& rumore : {QByteArray("\x00\xff\x03", 3), senzaStx,
                                   QByteArray("00/00/0000\x03\x03"), QByteArray("\x02\x03"),
                                   QByteArray("\x02"
                                              "5\x03"),
                                   QByteArray("\x03")}) {
    seriale.arriva(rumore);
    EXPECT_EQ(trasporto.risposta(), prima) << rumore.toHex().toStdString();
    EXPECT_TRUE(trasporto.BufferRicezione().isEmpty()) << rumore.toHex().toStdString();
  }
  EXPECT_TRUE(seriale.scritti.empty());
  seriale.arriva(risposta("00/00/00"));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "0");
}

TEST_F(RicezioneSeriale, FrameAndAcknowledgementInOneReadAreBothTaken) {
  seriale.arriva(risposta("07/00/00") + byte(Controllo::ACK));

  EXPECT_EQ(trasporto.risposta().CodiceErrore, "7");
  EXPECT_EQ(trasporto.risposta().Stato, "ACK");
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

TEST_F(RicezioneSeriale, EverythingReceivedIsTracedUntilTheNextJob) {
  const QByteArray trama = risposta("00/00/00\xe8");
  seriale.arriva(byte(Controllo::ACK));
  seriale.arriva(trama);

  EXPECT_EQ(trasporto.DatiRicevuti(), QChar(Controllo::ACK) + DecodificaDaRegistratore(trama));
  EXPECT_TRUE(trasporto.DatiRicevuti().contains(QString::fromUtf8("00è")));
  trasporto.iniziaLavoro();
  EXPECT_EQ(trasporto.DatiRicevuti(), "");
  EXPECT_EQ(trasporto.ContatoreAperture(), 0);
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

TEST_F(CorpoRisposta, StatusBytesAreKeptAsTextAndSplitIntoBits) {
  // 88 = bits 3, 4, 6; 99 = bits 0, 1, 5, 6
  const RispostaMisuratore r = dopo("00/88/99");
  EXPECT_EQ(r.StatoA, "88");
  EXPECT_EQ(r.StatoB, "99");
  EXPECT_EQ((std::vector<bool>{r.StatoA_Bit0, r.StatoA_Bit1, r.StatoA_Bit2, r.StatoA_Bit3,
                               r.StatoA_Bit4, r.StatoA_Bit6}),
            (std::vector<bool>{false, false, false, true, true, true}));
  EXPECT_EQ((std::vector<bool>{r.StatoB_Bit0, r.StatoB_Bit1, r.StatoB_Bit2, r.StatoB_Bit4,
                               r.StatoB_Bit5, r.StatoB_Bit6, r.StatoB_Bit7}),
            (std::vector<bool>{true, true, false, false, true, true, false}));

  // 07 = bits 0, 1, 2; 212 would not fit: only two characters are read (21 = bits 0, 2, 4)
  const RispostaMisuratore s = dopo("00/07/212");
  EXPECT_EQ((std::vector<bool>{s.StatoA_Bit0, s.StatoA_Bit1, s.StatoA_Bit2, s.StatoA_Bit3}),
            (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(s.StatoB, "21");
  EXPECT_EQ((std::vector<bool>{s.StatoB_Bit0, s.StatoB_Bit1, s.StatoB_Bit2, s.StatoB_Bit4}),
            (std::vector<bool>{true, false, true, true}));
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

TEST_F(RicezioneUdp, AckAndNakAreTakenWithoutAnswer) {
  arriva(byte(Controllo::ACK));
  EXPECT_EQ(trasporto.risposta().Stato, "ACK");
  arriva(byte(Controllo::NAK));
  EXPECT_EQ(trasporto.risposta().Stato, "NAK");
  EXPECT_TRUE(udp.inviati.empty());
}

TEST_F(RicezioneUdp, GoodFrameIsAcknowledgedAndItsBodyKept) {
  arriva(risposta("07/00/00/resto"));

  EXPECT_EQ(udp.inviati, std::vector<QByteArray>({byte(Controllo::ACK)}));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "7");
  EXPECT_EQ(trasporto.risposta().Gravita, "2");
  EXPECT_EQ(trasporto.DatiRicevuti(), "07/00/00/rest");
}

TEST_F(RicezioneUdp, BadChecksumIsLoggedRefusedAndTheResendTaken) {
  arriva(byte(Controllo::ACK));
  QByteArray trama = risposta("00/00/00");
  trama[trama.size() - 2] = '9';

  arriva(trama);

  EXPECT_EQ(udp.inviati, std::vector<QByteArray>({byte(Controllo::NAK)}));
  EXPECT_EQ(righeLog(), QStringList({">Socket:        ***** checksum errato, Mando NAK"}));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "");

  arriva(risposta("09/00/00"));
  EXPECT_EQ(trasporto.risposta().CodiceErrore, "9");
}

TEST_F(RicezioneUdp, OtherDatagramsAreIgnored) {
  arriva(risposta("07/00/00"));
  const RispostaMisuratore prima = trasporto.risposta();
  udp.inviati.clear();

  arriva("rumore");
  arriva(
      QByteArray("\x02"
                 "1\x03"));
  arriva({});
  arriva(QByteArray("\x00\xff\x03", 3));
  // Only a whole frame: a datagram without its STX is not one.
  arriva(QByteArray("00/00/00") + CalcolaChecksum("00/00/00") + byte(Controllo::ETX));

  EXPECT_EQ(trasporto.risposta(), prima);
  EXPECT_TRUE(udp.inviati.empty());
  EXPECT_EQ(trasporto.DatiRicevuti(), "07/00/0");
}

TEST_F(Trasporto, WaitEndsWithTheAwaitedAnswerOrItsTimeout) {
  const auto ack = [this] { return trasporto.risposta().Stato == "ACK"; };
  // An answer that is not the awaited one wakes the wait without ending it.
  QTimer::singleShot(20, [this] { seriale.arriva(byte(Controllo::NAK)); });
  EXPECT_FALSE(trasporto.attendi(ack, 300));
  EXPECT_EQ(trasporto.risposta().Stato, "NAK");

  QTimer::singleShot(20, [this] { seriale.arriva(byte(Controllo::ACK)); });
  EXPECT_TRUE(trasporto.attendi(ack, 3000));
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
