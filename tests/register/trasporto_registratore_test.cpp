// The register link under the jobs: frames and checksums, what counts as an answer on the
// serial line and on UDP, the result codes, the driver log, the driver's retries, and a port
// the user may not open.
#include "register/trasporto_registratore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QProcess>
#include <QStandardPaths>
#include <QUdpSocket>
#include <deque>
#include <set>
#include <vector>

#include "platform/qt_udp_endpoint.h"
#include "platform/serial_port.h"
#include "platform/text_viewer.h"
#include "platform/udp_endpoint.h"
#include "register/collegamento_casse.h"
#include "register/esame_comandi.h"
#include "register/log_driver.h"
#include "register/protocollo_ostrel.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/pseudo_terminal.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::FlowControl;

QByteArray byte(char c) { return QByteArray(1, c); }

// A register on the serial line: what `arriva` gets comes at once. With `risponde` it also
// takes enquiries and answers commands from a script, on the next turn of the event loop.
class SerialeFinta : public platform::SerialPort {
 public:
  bool open(const QString&, const QString& settings, FlowControl flow) override {
    aperture.push_back({settings, flow});
    return aperta = true;
  }
  void close() override { aperta = false; }
  bool isOpen() const override { return aperta; }
  qint64 write(const QByteArray& bytes) override {
    scritti.push_back(bytes);
    if (risponde && bytes == byte(Controllo::ENQ)) {
      if (!enquiryIgnorate.count(++enquiry)) rispondi(rispostaEnquiry);
    } else if (risponde && bytes.startsWith(Controllo::STX)) {
      comandi << DecodificaDaRegistratore(bytes.mid(1, bytes.size() - 4));
      const QByteArray esito = esiti.empty() ? QByteArray("00") : esiti.front();
      if (!esiti.empty()) esiti.pop_front();
      if (rispondeAiComandi) rispondi(IncorniciaComando(esito + "/00/00"));
    }
    return bytes.size();
  }
  QByteArray readAll() override { return std::exchange(inArrivo, {}); }
  QString errorText() const override { return {}; }
  void arriva(const QByteArray& bytes) {
    inArrivo += bytes;
    emit bytesArrived();
  }
  void rispondi(const QByteArray& bytes) {
    QMetaObject::invokeMethod(
        this, [this, bytes] { arriva(bytes); }, Qt::QueuedConnection);
  }

  bool aperta = false;
  std::vector<std::pair<QString, FlowControl>> aperture;
  std::vector<QByteArray> scritti;
  QByteArray inArrivo;
  bool risponde = false, rispondeAiComandi = true;
  QByteArray rispostaEnquiry = byte(Controllo::ACK);
  std::set<int> enquiryIgnorate;  // counted from 1
  std::deque<QByteArray> esiti;   // then "00"
  int enquiry = 0;
  QStringList comandi;
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
    const QStringList righe = QString::fromUtf8(testing::readAll(log.percorsoLog())).split("\r\n");
    QStringList messaggi;
    for (qsizetype i = 1; i < righe.size(); i += 2) messaggi << righe[i];
    return messaggi;
  }
  RispostaMisuratore dopo(const QByteArray& corpo) {
    seriale.arriva(IncorniciaComando(corpo));
    return trasporto.risposta();
  }

  CartellaDiProva cartella;
  testing::FakeClock orologio;
  LogDriver log{cartella.root(), orologio};
  SerialeFinta seriale;
  UdpFinto udp;
  TrasportoRegistratore trasporto{seriale, udp, log, {}, PorteUdp{19101, 19102}};
};

// The checksum is over the Windows-1252 bytes the register reads, the sum wrapping at 256.
TEST(ProtocolloOstrel, ChecksumFrameAndWindowsBytes) {
  const std::pair<QByteArray, QByteArray> somme[] = {
      {"abc", "38"}, {"?/", "10"}, {"", "00"}, {QByteArray(256, '\x01'), "00"}, {"\xff", "55"}};
  for (const auto& [byte, somma] : somme)
    EXPECT_EQ(CalcolaChecksum(byte), somma) << byte.toHex().toStdString();
  EXPECT_EQ(IncorniciaComando("abc"), QByteArray::fromHex("02616263333803"));
  EXPECT_EQ(CodificaPerRegistratore(QString::fromUtf8("€ è ŒžŸ a→b")),
            QByteArray("\x80 \xe8 \x8c\x9e\x9f a?b"));
  EXPECT_EQ(DecodificaDaRegistratore("\x80\xe8"), QString::fromUtf8("€è"));
}

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
  EXPECT_EQ(seriale.aperture,
            (std::vector<std::pair<QString, FlowControl>>{{"19200,e,8,1", FlowControl::XonXoff},
                                                          {"9600,n,8,1", FlowControl::None}}));

  const std::pair<const char*, bool> casi[] = {{" 10.0.0.255 ", true},
                                               {"/dev/serial/by-id/usb-A1.2-port0", false},
                                               {"3", false},
                                               {"192.168.1.", false},
                                               {"192.168.1.256", false},
                                               {"1.2.3", false}};
  for (const auto& [indirizzo, rete] : casi)
    EXPECT_EQ(IndirizzoDiRete(indirizzo), rete) << indirizzo;
}

// A flood inside a frame costs one pass and 64 KB at most; the next frame still counts.
TEST_F(Trasporto, ReceiveBufferIsBoundedAndTheDropLogged) {
  seriale.arriva(byte(Controllo::STX));
  for (int i = 0; i < 256; ++i) {
    seriale.arriva(QByteArray(4096, 'x'));
    ASSERT_LE(trasporto.BufferRicezione().size(), TrasportoRegistratore::kMassimoBufferRicezione);
  }
  ASSERT_FALSE(righeLog().isEmpty());
  EXPECT_TRUE(righeLog().first().startsWith("> BUFFER DI RICEZIONE PIENO, SCARTATI "));
  EXPECT_TRUE(dopo("00/00/00").riuscita());
  EXPECT_TRUE(trasporto.BufferRicezione().isEmpty());
}

// Only two hexadecimal digits make a result code, shown in decimal; anything else is a refusal
// and never a success. The class of a code decides the driver: 1 resend, 2 skip, 4 ask, 9 stop.
TEST_F(Trasporto, ResultCodeIsTwoHexDigitsTurnedDecimalWithItsClass) {
  const QString nonValido = RispostaMisuratore::kCodiceNonValido;
  const struct {
    QByteArray corpo;
    QString codice, testo, gravita;
    bool riuscita = false;
  } casi[] = {
      {"0a/00/00", "10", "Numero operatore inesistente", "2"},
      {"00/07/99", "0", "", "0", true},
      {"2C/00/00/altro", "44", "Carta finita", "4"},
      {"1A/00/00", "26", "Stampante Busy, reinviare il comando", "1"},
      {"1D/00/00", "29", "Raggiunto limite massimo Programmazione Intestazioni scontrino", "9"},
      {"5A/00/00", "90", "", "0"},
      {"ZZ/00/00", "ZZ", nonValido, "0"},
      {QByteArray("\0\0/00/00", 8), "??", nonValido, "0"},
      {"", "??", nonValido, "0"},
      {"0/00/00", "0/", nonValido, "0"},
      {" 0/00/00", " 0", nonValido, "0"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.corpo.toHex().toStdString());
    const RispostaMisuratore r = dopo(caso.corpo);
    EXPECT_EQ(r.riuscita(), caso.riuscita);
    EXPECT_EQ(QStringList({r.CodiceErrore, r.TestoEsito, r.Gravita}),
              QStringList({caso.codice, caso.testo, caso.gravita}));
  }
  // every code below 0x5A has its text
  for (int codice = 1; codice < 0x5A; ++codice)
    EXPECT_NE(dopo(QByteArray::number(codice, 16).rightJustified(2, '0') + "/00/00").TestoEsito, "")
        << codice;
}

// Only a whole frame with its checksum right is an answer, on either line: a spoilt one is
// refused with a NAK and logged, the resent one taken; stray bytes, frames without their STX
// and frames too short for a checksum are dropped unanswered. A new enquiry forgets the answer.
TEST_F(Trasporto, OnlyAWholeFrameWithItsChecksumIsAnAnswer) {
  const QByteArray ack = byte(Controllo::ACK), nak = byte(Controllo::NAK);
  QByteArray corrotta = IncorniciaComando("00/00/00");
  corrotta[corrotta.size() - 2] = '9';
  const struct {
    const char* indirizzo;
    QString log;
    std::vector<QByteArray> alCorrotto, alBuono;
  } linee[] = {
      {"1", ">Seriale:       ***** checksum errato, Mando NAK", {ack, nak, ack}, {ack, ack}},
      {"10.0.0.5", ">Socket:        ***** checksum errato, Mando NAK", {nak}, {ack}}};
  for (const auto& linea : linee) {
    SCOPED_TRACE(linea.indirizzo);
    const bool rete = IndirizzoDiRete(linea.indirizzo);
    std::vector<QByteArray>& risposte = rete ? udp.inviati : seriale.scritti;
    const auto arriva = [&](const QByteArray& b) {
      rete ? udp.datagramArrived(b) : seriale.arriva(b);
    };
    trasporto.cmdInitCom(linea.indirizzo);
    risposte.clear();
    QFile::remove(log.percorsoLog());
    for (const QByteArray& rumore :
         {QByteArray("\x00\xff\x03", 3), IncorniciaComando("00/00/00").mid(1), QByteArray(),
          QByteArray("00/00/0000\x03\x03"), QByteArray("\x02\x03"), QByteArray("\x02\x35\x03")})
      arriva(rumore);
    EXPECT_EQ(trasporto.risposta(), RispostaMisuratore{});
    EXPECT_TRUE(trasporto.BufferRicezione().isEmpty());
    EXPECT_TRUE(risposte.empty());

    arriva(ack);
    arriva(corrotta);
    EXPECT_EQ(risposte, linea.alCorrotto);
    EXPECT_EQ(righeLog(), QStringList{linea.log});
    EXPECT_EQ(trasporto.risposta().Stato, "ACK");
    EXPECT_EQ(trasporto.risposta().CodiceErrore, "");
    risposte.clear();
    arriva(IncorniciaComando("09/00/00"));
    EXPECT_EQ(trasporto.risposta().CodiceErrore, "9");
    EXPECT_EQ(risposte, linea.alBuono);
  }
  trasporto.cmdInitCom("1");
  EXPECT_EQ(trasporto.risposta(), RispostaMisuratore{});
}

// A register switched off: the system reports its port unreachable to the connected channel,
// which must still carry the exchange once the register is back.
TEST(TrasportoSuUdp, ChannelOutlivesARegisterThatWasSwitchedOff) {
  CartellaDiProva cartella;
  testing::FakeClock orologio;
  LogDriver log(cartella.root(), orologio);
  SerialeFinta seriale;
  platform::QtUdpEndpoint udp;
  QUdpSocket registratore, libera;
  ASSERT_TRUE(registratore.bind(QHostAddress::LocalHost, 0));
  ASSERT_TRUE(libera.bind(QHostAddress::LocalHost, 0));
  const PorteUdp porte{registratore.localPort(), libera.localPort()};
  registratore.close();
  libera.close();
  TrasportoRegistratore trasporto(seriale, udp, log, {}, porte);
  const auto ack = [&] { return trasporto.risposta().Stato == "ACK"; };

  trasporto.iniziaLavoro();
  for (int i = 0; i < 3; ++i) {
    trasporto.cmdInitCom("127.0.0.1");
    EXPECT_FALSE(trasporto.attendi(ack, 100));
  }
  ASSERT_TRUE(registratore.bind(QHostAddress::LocalHost, porte.remota));
  trasporto.cmdInitCom("127.0.0.1");
  if (!registratore.hasPendingDatagrams()) registratore.waitForReadyRead(2000);
  const QNetworkDatagram enq = registratore.receiveDatagram();
  EXPECT_EQ(enq.data(), byte(Controllo::ENQ));
  registratore.writeDatagram(enq.makeReply(byte(Controllo::ACK)));
  EXPECT_TRUE(trasporto.attendi(ack, 3000));
}

// Each entry is a date line and the text. A log of exactly the limit is kept; a longer one is
// moved into Err before the entry, a second move in the same minute keeping the first.
TEST_F(Trasporto, DriverLogEntriesAndTheMoveOfALogTooLong) {
  orologio.current = QDateTime(QDate(2026, 12, 4), QTime(15, 30, 7));
  log.ScriviLogDriver(QString::fromUtf8("  prima è"));
  orologio.current = orologio.current.addDays(1);
  log.ScriviLogDriver("seconda");
  EXPECT_EQ(testing::readAll(log.percorsoLog()),
            QByteArray("-04/12/2026-15:30:07\r\n  prima \xc3\xa8\r\n"
                       "-05/12/2026-15:30:07\r\nseconda\r\n"));

  testing::writeAll(log.percorsoLog(), QByteArray(LogDriver::kDimensioneMassima, 'x'));
  log.ScriviLogDriver("ancora");
  EXPECT_EQ(QFileInfo(log.percorsoLog()).size(), LogDriver::kDimensioneMassima + 30);
  for (int volta = 0; volta < 3; ++volta) {
    testing::writeAll(log.percorsoLog(), QByteArray(LogDriver::kDimensioneMassima + 1, 'x'));
    log.ScriviLogDriver("nuovo");
  }
  EXPECT_EQ(QDir(cartella.file("Err")).entryList(QDir::Files, QDir::Name),
            QStringList({"LOG51220261530.bak", "LOG51220261530_2.bak", "LOG51220261530_3.bak"}));
  EXPECT_EQ(QFileInfo(cartella.file("Err/LOG51220261530.bak")).size(),
            LogDriver::kDimensioneMassima + 1);
  EXPECT_EQ(testing::readAll(log.percorsoLog()), "-05/12/2026-15:30:07\r\nnuovo\r\n");
}

// The answers already on their way are let in; one missing after that never comes.
class AttesaIstantanea : public AttesaRisposta {
 public:
  bool attendi(const std::function<bool()>& pronta, int millisecondi) override {
    QCoreApplication::processEvents();
    if (pronta()) return true;
    scadute.push_back(millisecondi);
    return false;
  }

  std::vector<int> scadute;
};

class Driver : public Trasporto {
 protected:
  void SetUp() override {
    Trasporto::SetUp();
    seriale.risponde = true;
    QDir().mkpath(cartella.file("out"));
    ScriviINI(cartella.setup(), "Cartelle", "OUT", cartella.file("out"));
  }
  bool invia(const QStringList& righe) {
    const QString file = cartella.file("FilePLU1.txt");
    EXPECT_TRUE(testing::writeAll(file, righe.join("\r\n").toUtf8() + "\r\n"));
    return driver.EsameComandi(file, "1");
  }

  AttesaIstantanea attesa;
  testing::FakePrompts prompts;
  testing::FakeTextViewer visualizzatore;
  QStringList stati;
  std::function<void(const QString&)> stato = [this](const QString& testo) { stati << testo; };
  LimitiDriver limiti{.senzaOperatoreMs = 10};
  DriverComandi driver{StrumentiDriver{trasporto, attesa, log, prompts, orologio, visualizzatore,
                                       cartella.root(), cartella.setup(), nullptr, nullptr, stato,
                                       limiti}};
};

// With nobody at the counter the paper message cannot be answered: after the bound the send
// has failed (each message is one wait of the fake clock here). A refused line is listed in the
// output folder, the program folder when none is set ("C:").
TEST_F(Driver, PaperNobodyChangesFailsTheJobAndARefusedLineIsListed) {
  seriale.esiti.assign(5, "2C");
  EXPECT_FALSE(invia(QStringList{"P/1", "P/2"}));
  EXPECT_EQ(seriale.comandi, QStringList(5, "P/1/"));
  EXPECT_EQ(prompts.asked.size(), 5u);
  EXPECT_EQ(righeLog().last(), QString::fromUtf8("          *** Carta finita: nessuno è "
                                                 "intervenuto in 0 secondi, esco "
                                                 "definitivamente. FINE."));

  ScriviINI(cartella.setup(), "Cartelle", "OUT", "");
  seriale.esiti = {"07"};
  visualizzatore.shown.clear();
  EXPECT_TRUE(invia(QStringList{"P/1"}));
  EXPECT_EQ(LeggiINI(cartella.setup(), "Cartelle", "OUT", "?"), "C:");
  EXPECT_EQ(visualizzatore.shown, QStringList({cartella.file("NonTRASMESSI1.txt")}));
  ScriviINI(cartella.setup(), "Cartelle", "OUT", "C:\\Uscita\\Casse");
  EXPECT_EQ(driver.cartellaUscita(), cartella.file("Uscita/Casse"));
}

// Enquiry and command timeouts count together; five are retried, the sixth in a row abandons
// the job, an answered enquiry starts the count afresh. A NAK is no better than silence.
TEST_F(Driver, TimeoutsAreCountedTogetherAndTheSixthInARowEndsTheJob) {
  const QString enq = "          *** uscito per timeout comunicazione, RIMANDO ENQ";
  const QString comando = "          *** uscito per timeout comunicazione, RIMANDO COMANDO";
  const QString troppi = "          *** Troppi timeout, esco definitivamente. FINE.";
  QStringList tentativi;
  for (int n = 2; n <= 6; ++n)
    tentativi << QStringLiteral("Cassa 1 non risponde: tentativo %1 di 6").arg(n);
  const struct {
    const char* nome;
    std::set<int> enquiryIgnorate;
    bool nak, muto, riesce;
    QStringList comandi, log, stati;
  } casi[] = {
      {"five, an ACK, five again",
       {1, 2, 3, 4, 5, 7, 8, 9, 10, 11},
       false,
       false,
       true,
       {"P/1/", "P/2/"},
       QStringList(10, enq),
       tentativi + tentativi},
      {"six NAKs", {}, true, false, false, {}, QStringList(5, enq) << troppi, tentativi},
      {"enquiries, an ACK, the command, enquiries",
       {1, 2, 3, 5, 6, 7, 8, 9},
       false,
       true,
       false,
       {"P/1/"},
       QStringList(3, enq) << comando << QStringList(4, enq) << troppi,
       tentativi.mid(0, 3) + tentativi},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    QFile::remove(log.percorsoLog());
    seriale.comandi.clear();
    seriale.enquiry = 0;
    seriale.enquiryIgnorate = caso.enquiryIgnorate;
    seriale.rispostaEnquiry = byte(caso.nak ? Controllo::NAK : Controllo::ACK);
    seriale.rispondeAiComandi = !caso.muto;
    stati.clear();

    EXPECT_EQ(invia(QStringList{"P/1", "P/2"}), caso.riesce);
    EXPECT_EQ(seriale.comandi, caso.comandi);
    EXPECT_EQ(righeLog(), caso.log);
    EXPECT_EQ(stati.filter("non risponde"), caso.stati);
  }
  EXPECT_EQ(attesa.scadute.size(), 10u + 6 + 9);
}

// A serial port the user may not open is named with what to do about it: through the prompts
// (the window or the terminal) and in the error log, once per job.
TEST(PortaNonApribile, PermissionDeniedIsSaidOnceWithWhatToDo) {
  if (::geteuid() == 0) {
    // The superuser opens any device: the test runs again as an unprivileged user.
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty())
      GTEST_SKIP() << "come root i permessi dei dispositivi non valgono e manca setpriv";
    QProcess figlio;
    figlio.setProcessChannelMode(QProcess::MergedChannels);
    figlio.start(setpriv,
                 {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                  QCoreApplication::applicationFilePath(), "--gtest_filter=PortaNonApribile.*"});
    ASSERT_TRUE(figlio.waitForFinished(60000));
    const QString uscita = QString::fromUtf8(figlio.readAll());
    EXPECT_EQ(figlio.exitCode(), 0) << uscita.toStdString();
    EXPECT_TRUE(uscita.contains("[  PASSED  ] 1 test")) << uscita.toStdString();
    return;
  }
  testing::PseudoTerminal terminale;
  ASSERT_TRUE(terminale.isOpen());
  const QString negata = terminale.slavePath();
  ASSERT_EQ(::chmod(QFile::encodeName(negata).constData(), 0), 0);
  testing::NegozioDiProva negozio;
  testing::FakeClock clock;
  ErrorLog log(negozio.cartella.root(), clock);
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeTextViewer visualizzatore;
  auto& db = *negozio.db;
  const CartellaDiProva& cartella = negozio.cartella;
  CollegamentoCasse casse(
      {db, prompts, notice, clock, visualizzatore, cartella.root(), cartella.setup(), {}, {}});

  installaErrorLog(&log);
  casse.trasporto().iniziaLavoro();
  for (int enquiry = 0; enquiry < 3; ++enquiry) casse.trasporto().cmdInitCom(negata);
  installaErrorLog(nullptr);
  const QString messaggio = "Permesso negato sulla porta " + negata +
                            ": aggiungere l'utente al gruppo dialout e rientrare nella sessione";
  EXPECT_EQ(casse.trasporto().risposta().Stato, "ERR");
  EXPECT_EQ(testing::askedTexts(prompts), QStringList{messaggio});
  EXPECT_TRUE(QString::fromUtf8(testing::readAll(log.percorsoLog())).contains(messaggio));
}

}  // namespace
}  // namespace listinova
