// The simulated register itself, where the end-to-end runs cannot see it: it must refuse what a
// real register refuses (else a fault of the program's frames would go unseen), offer the modes
// a user asks for on its command line, and never leave this machine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include "platform/qt_udp_endpoint.h"
#include "register/protocollo_ostrel.h"
#include "support/qt_print.h"
#include "tools/simulatore/opzioni_simulatore.h"
#include "tools/simulatore/simulatore_registratore.h"
#include "tools/simulatore/simulatore_udp.h"

namespace listinova::simulatore {
namespace {

const QByteArray kEnqSeriale("\x18\x18\x18\x05");
const QByteArray kAck(1, Controllo::ACK);
const QByteArray kNak(1, Controllo::NAK);
const QString kPlu51 = "P/51/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/";
const QString kPlu52 = "P/52/8009876543210/PANE/1/0/1.20/150.00/0.000/00010000/";

QByteArray frame(const QString& comando) {
  return IncorniciaComando(CodificaPerRegistratore(comando));
}

QByteArray risultato(const QByteArray& codice) { return IncorniciaComando(codice + "/00/00"); }

// What the simulator writes back to `byte`, with the behaviour `modo`.
struct Scambio {
  explicit Scambio(Comportamento modo = {}) : simulatore(std::move(modo)) {
    QObject::connect(&simulatore, &SimulatoreRegistratore::inviaByte,
                     [this](const QByteArray& byte) { risposte += byte; });
  }
  QByteArray manda(const QByteArray& byte) {
    risposte.clear();
    simulatore.riceviByte(byte);
    return risposte;
  }

  SimulatoreRegistratore simulatore;
  QByteArray risposte;
};

// A frame is a command only whole, after any noise, with its checksum right: a spoilt one is
// answered NAK and never reaches the tables.
TEST(SimulatoreFrame, OnlyAWholeFrameWithItsChecksumIsACommand) {
  QByteArray guasto = frame(kPlu51);
  guasto[guasto.size() - 2] = guasto[guasto.size() - 2] == '0' ? '1' : '0';
  Scambio s;
  EXPECT_EQ(s.manda(QByteArray("xy\xff\x00\x15\x06", 6) + kEnqSeriale + frame(kPlu51)),
            kAck + risultato("00"));
  // The program starts over halfway through a frame.
  EXPECT_EQ(s.manda(frame(kPlu52).left(10) + frame(kPlu52)), risultato("00"));
  EXPECT_EQ(s.manda(guasto + "\x02\x03\x02"
                             "7\x03"),
            kNak + kNak + kNak);
  EXPECT_EQ(s.simulatore.comandi(), (QStringList{kPlu51, kPlu52}));
  EXPECT_EQ(s.simulatore.checksumErrati(), 3);
  EXPECT_EQ(s.simulatore.tabellaPlu().keys(), (QStringList{"51", "52"}));

  // The answers of a faulty line: a checksum that does not match its body.
  Scambio errato({.checksumErrato = true});
  const QByteArray risposta = errato.manda(frame(kPlu51));
  EXPECT_EQ(risposta.left(9), QByteArray("\x02"
                                         "00/00/00"));
  EXPECT_NE(risposta.mid(9, 2), CalcolaChecksum("00/00/00"));
}

// No test and no user reaches beyond this machine through the simulator; a port in use says so.
TEST(SimulatoreUdpLinea, OnlyLoopbackAndAFreePort) {
  QUdpSocket occupante;
  ASSERT_TRUE(occupante.bind(QHostAddress::LocalHost, 0));
  SimulatoreRegistratore simulatore;
  for (const QHostAddress& indirizzo :
       {QHostAddress("192.168.1.10"), QHostAddress(QHostAddress::AnyIPv4)}) {
    SimulatoreUdp udp(simulatore);
    EXPECT_FALSE(udp.apri(indirizzo, 0)) << indirizzo.toString().toStdString();
    EXPECT_FALSE(udp.errore().isEmpty());
  }
  SimulatoreUdp occupata(simulatore);
  EXPECT_FALSE(occupata.apri(QHostAddress::LocalHost, occupante.localPort()));
  EXPECT_TRUE(occupata.errore().contains(QString::fromUtf8("già in uso")))
      << occupata.errore().toStdString();
}

std::optional<OpzioniSimulatore> leggi(const QStringList& argomenti, QString* errore = nullptr) {
  QString testo;
  auto opzioni = LeggiOpzioniSimulatore(QStringList{"listinova-simulatore"} + argomenti, testo);
  if (errore) *errore = testo;
  return opzioni;
}

TEST(OpzioniDelSimulatore, LineBehaviourAndCodes) {
  const auto opzioni = leggi({"--pty", "--silenzioso", "--ritardo", "250", "--spezza", "--rumore",
                              "--checksum-errato", "--registro", "/tmp/x.log"});
  ASSERT_TRUE(opzioni);
  EXPECT_EQ(opzioni->linea, OpzioniSimulatore::Linea::Pty);
  const Comportamento& c = opzioni->comportamento;
  EXPECT_TRUE(c.silenzioso && c.spezza && c.rumore && c.checksumErrato);
  EXPECT_FALSE(c.silenziosoAiComandi);
  EXPECT_EQ(c.ritardoMs, 250);
  EXPECT_EQ(opzioni->registro, "/tmp/x.log");

  const auto predefinita = leggi({"--udp"});
  ASSERT_TRUE(predefinita);
  EXPECT_EQ(predefinita->linea, OpzioniSimulatore::Linea::Udp);
  EXPECT_EQ(predefinita->indirizzo, QHostAddress("127.0.0.2"));
  EXPECT_EQ(predefinita->porta, 9101);
  EXPECT_EQ(leggi({"--udp", "9200"})->porta, 9200);
  EXPECT_EQ(leggi({"--udp", "[::1]:9300"})->indirizzo, QHostAddress("::1"));
  EXPECT_EQ(leggi({"--udp", "localhost:9300"})->indirizzo, QHostAddress(QHostAddress::LocalHost));
  EXPECT_TRUE(leggi({"--help"})->aiuto);

  const auto guasti = leggi({"--udp", "--eco", "--corrotto-prima", "00", "--occupato-per", "3=500",
                             "--codice", "4=1A:2", "--codice", "P/51/=33:sempre"});
  ASSERT_TRUE(guasti);
  EXPECT_TRUE(guasti->comportamento.eco);
  EXPECT_EQ(guasti->comportamento.corrottoPrima, "00");
  const auto& codici = guasti->comportamento.codici;
  ASSERT_EQ(codici.size(), 3u);
  EXPECT_EQ(codici[0].riga, 3);
  EXPECT_EQ(codici[0].perMs, 500);
  EXPECT_EQ(codici[1].codice, "1A");
  EXPECT_EQ(codici[1].volte, 2);
  EXPECT_EQ(codici[2].volte, RegolaCodice::Sempre);
  EXPECT_TRUE(codici[2].scegli(9, kPlu51));
  EXPECT_FALSE(codici[2].scegli(9, kPlu52));
}

TEST(OpzioniDelSimulatore, MistakesAreReported) {
  for (const QStringList& sbagliate : QList<QStringList>{{},
                                                         {"--pty", "--udp"},
                                                         {"--pty", "--codice", "3=2G"},
                                                         {"--pty", "--codice", "0=2C"},
                                                         {"--pty", "--codice"},
                                                         {"--pty", "--ritardo", "presto"},
                                                         {"--pty", "--registro"},
                                                         {"--pty", "--corrotto-prima", "ZZ"},
                                                         {"--pty", "--occupato-per", "3"},
                                                         {"--udp", "127.0.0.1:99999"},
                                                         {"--pty", "--velocissimo"}}) {
    QString errore;
    EXPECT_FALSE(leggi(sbagliate, &errore)) << sbagliate.join(' ').toStdString();
    EXPECT_FALSE(errore.isEmpty()) << sbagliate.join(' ').toStdString();
  }
}

// The simulator program as a user runs it: it names its pseudo-terminal, answers there, keeps
// the traffic file and stops cleanly on SIGTERM.
TEST(ProgrammaDelSimulatore, PrintsItsPtyAnswersThereAndStopsCleanlyOnSigterm) {
  QTemporaryDir cartella;
  const QString registro = cartella.filePath("registro.txt");
  QProcess programma;
  programma.start(LISTINOVA_SIMULATORE, {"--pty", "--registro", registro});
  QByteArray uscita;
  static_cast<void>(QTest::qWaitFor(
      [&] {
        uscita += programma.readAllStandardOutput();
        return uscita.contains('\n') || programma.state() == QProcess::NotRunning;
      },
      10000));
  const QString riga = QString::fromUtf8(uscita.left(uscita.indexOf('\n')));
  ASSERT_TRUE(riga.startsWith("Porta seriale del simulatore: /dev/pts/")) << riga.toStdString();
  const int fd =
      ::open(QFile::encodeName(riga.section(": ", 1)).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  const QByteArray domanda = kEnqSeriale + frame(kPlu51);
  ASSERT_EQ(::write(fd, domanda.constData(), domanda.size()), domanda.size());
  QByteArray letti;
  static_cast<void>(QTest::qWaitFor(
      [&] {
        char blocco[256];
        for (ssize_t n; (n = ::read(fd, blocco, sizeof blocco)) > 0;) letti.append(blocco, n);
        return letti.endsWith(Controllo::ETX);
      },
      5000));
  ::close(fd);
  EXPECT_EQ(letti, kAck + risultato("00"));

  programma.terminate();
  ASSERT_TRUE(programma.waitForFinished(10000));
  EXPECT_EQ(programma.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(programma.exitCode(), 0);
  QFile file(registro);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString testo = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(testo.contains("ricevuti: 18 18 18 05")) << testo.toStdString();
  EXPECT_TRUE(testo.contains("comando: " + kPlu51)) << testo.toStdString();
}

// The program binds the register port on every address; the simulator shares it on 127.0.0.2,
// so a user can try the network link on one machine with the real port numbers.
TEST(SimulatoreUdpSullaStessaMacchina, SharesThePortWithTheProgram) {
  QUdpSocket libera;
  ASSERT_TRUE(libera.bind(QHostAddress("127.0.0.2"), 0));
  const quint16 porta = libera.localPort();
  libera.close();

  platform::QtUdpEndpoint programma;
  ASSERT_TRUE(programma.open("127.0.0.2", porta, porta));
  SimulatoreRegistratore registratore;
  SimulatoreUdp udp(registratore);
  ASSERT_TRUE(udp.apri(QHostAddress("127.0.0.2"), porta)) << udp.errore().toStdString();

  QByteArray risposta;
  QObject::connect(&programma, &platform::UdpEndpoint::datagramArrived,
                   [&](const QByteArray& d) { risposta += d; });
  programma.send(QByteArray(1, Controllo::ENQ));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !risposta.isEmpty(); }, 5000));
  EXPECT_EQ(risposta, kAck);
}

}  // namespace
}  // namespace listinova::simulatore
