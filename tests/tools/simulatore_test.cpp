// The simulated register itself, where the end-to-end runs cannot see it: it must refuse what a
// real register refuses (else a fault of the program's frames would go unseen), and never leave
// this machine.
#include <gtest/gtest.h>

#include <QUdpSocket>

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

// The simulator's options as a maintainer types them; every mistake is named, never ignored.
TEST(OpzioniDelSimulatore, TheFaultsAreSetAndMistakesNamed) {
  QString errore;
  const auto buone =
      LeggiOpzioniSimulatore({"s", "--udp", "127.0.0.3:9200", "--eco", "--doppio", "--ripete",
                              "--venduti", "v.txt", "--ritardo", "1000", "--codice", "2=07"},
                             errore);
  ASSERT_TRUE(buone) << errore.toStdString();
  const Comportamento& c = buone->comportamento;
  EXPECT_TRUE(c.eco && c.doppio && c.ripete);
  EXPECT_EQ(c.ritardoMs, 1000);
  EXPECT_EQ(c.codici.size(), 1u);
  EXPECT_EQ(buone->venduti, "v.txt");
  EXPECT_EQ(buone->porta, 9200);
  for (const QStringList& sbagliate : QList<QStringList>{{},
                                                         {"--pty", "--udp"},
                                                         {"--pty", "--codice", "3=2G"},
                                                         {"--pty", "--ritardo", "presto"},
                                                         {"--pty", "--registro"},
                                                         {"--pty", "--corrotto-prima", "ZZ"},
                                                         {"--udp", "127.0.0.1:99999"},
                                                         {"--pty", "--velocissimo"}}) {
    SCOPED_TRACE(sbagliate.join(' ').toStdString());
    errore.clear();
    EXPECT_FALSE(LeggiOpzioniSimulatore(QStringList{"s"} + sbagliate, errore));
    EXPECT_FALSE(errore.isEmpty());
  }
}

}  // namespace
}  // namespace listinova::simulatore
