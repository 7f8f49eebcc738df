#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include "platform/qt_udp_endpoint.h"
#include "register/protocollo_ostrel.h"
#include "support/qt_print.h"
#include "tools/simulatore/opzioni_simulatore.h"
#include "tools/simulatore/simulatore_pty.h"
#include "tools/simulatore/simulatore_registratore.h"
#include "tools/simulatore/simulatore_udp.h"

namespace listinova::simulatore {
namespace {

const QByteArray kEnqSeriale("\x18\x18\x18\x05");
const QByteArray kAck(1, Controllo::ACK);
const QByteArray kNak(1, Controllo::NAK);
const QString kPlu51 = "P/51/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/";
const QString kPlu52 = "P/52/8009876543210/PANE/1/0/1.20/150.00/0.000/00010000/";
const QString kModificato = "A/8001234567890/ACQUA NAT. 1.5L/3/0/0.40/150.00/900.000/00010000/";

QByteArray frame(const QString& comando) {
  return IncorniciaComando(CodificaPerRegistratore(comando));
}

QByteArray risultato(const QByteArray& codice) { return IncorniciaComando(codice + "/00/00"); }

// The simulator with every write it makes kept apart.
struct Banco {
  explicit Banco(Comportamento comportamento = {}) : simulatore(std::move(comportamento)) {
    QObject::connect(&simulatore, &SimulatoreRegistratore::inviaByte,
                     [this](const QByteArray& byte) { scritture << byte; });
  }
  QByteArray risposte() const { return scritture.join(); }
  // One command as the program sends it over the serial line, its ACK ACK included.
  QByteArray invia(const QString& comando) {
    scritture.clear();
    simulatore.riceviByte(kEnqSeriale);
    simulatore.riceviByte(frame(comando));
    const QByteArray risposta = risposte();
    simulatore.riceviByte(QByteArray(2, Controllo::ACK));
    return risposta;
  }
  QByteArray codiceDi(const QString& comando) { return invia(comando).mid(2, 2); }

  SimulatoreRegistratore simulatore;
  QList<QByteArray> scritture;
};

TEST(SimulatoreFrame, CommandIsAnsweredWithACorrectResultFrame) {
  Banco banco;
  const QByteArray risposta = banco.invia(kPlu51);
  EXPECT_EQ(risposta, kAck + QByteArray("\x02"
                                        "00/00/0026\x03"));
  EXPECT_EQ(banco.simulatore.comandi(), QStringList{kPlu51});
  EXPECT_EQ(banco.simulatore.ricevuti(), kEnqSeriale + frame(kPlu51) + "\x06\x06");
  // The program's ACK ACK after the answer is not a new exchange.
  EXPECT_EQ(banco.risposte(), risposta);
}

TEST(SimulatoreFrame, FrameSplitByteByByteIsAnsweredOnceComplete) {
  Banco banco;
  const QByteArray byte = frame(kPlu51);
  for (qsizetype i = 0; i < byte.size(); ++i) {
    EXPECT_TRUE(banco.scritture.isEmpty()) << "answered before byte " << i;
    banco.simulatore.riceviByte(byte.mid(i, 1));
  }
  EXPECT_EQ(banco.risposte(), risultato("00"));
  EXPECT_EQ(banco.simulatore.comandi(), QStringList{kPlu51});
}

TEST(SimulatoreFrame, NoiseBeforeStxAndAbandonedFramesAreSkipped) {
  Banco banco;
  banco.simulatore.riceviByte(QByteArray("xy\xff\x00\x15\x06", 6) + frame(kPlu51));
  EXPECT_EQ(banco.risposte(), risultato("00"));

  // The program starts over halfway through a frame.
  banco.scritture.clear();
  banco.simulatore.riceviByte(frame(kPlu52).left(10) + kEnqSeriale + frame(kPlu52));
  EXPECT_EQ(banco.risposte(), kAck + risultato("00"));
  EXPECT_EQ(banco.simulatore.comandi(), (QStringList{kPlu51, kPlu52}));
  EXPECT_EQ(banco.simulatore.checksumErrati(), 0);
}

TEST(SimulatoreFrame, BadChecksumGetsNakAndIsNotACommand) {
  Banco banco;
  QByteArray guasto = frame(kPlu51);
  guasto[guasto.size() - 2] = guasto[guasto.size() - 2] == '0' ? '1' : '0';
  banco.simulatore.riceviByte(guasto);
  banco.simulatore.riceviByte("\x02\x03");
  banco.simulatore.riceviByte(
      "\x02"
      "7\x03");
  EXPECT_EQ(banco.risposte(), kNak + kNak + kNak);
  EXPECT_EQ(banco.simulatore.checksumErrati(), 3);
  EXPECT_TRUE(banco.simulatore.comandi().isEmpty());
  EXPECT_TRUE(banco.simulatore.tabellaPlu().isEmpty());
}

TEST(SimulatoreCodici, CodesByLineOrCommandAndHowOftenTheyRepeat) {
  struct Caso {
    const char* nome;
    std::vector<RegolaCodice> regole;
    std::vector<std::pair<QString, QByteArray>> invii;  // command, expected code
    QStringList pluAttesi;
  };
  const std::vector<Caso> casi = {
      // The same line, resent after paper was put in, goes through.
      {"once",
       {RegolaCodice::perRiga(2, "2c")},
       {{kPlu51, "00"}, {kPlu52, "2C"}, {kPlu52, "00"}, {kModificato, "00"}},
       {"51", "52", "8001234567890"}},
      {"always",
       {RegolaCodice::perRiga(1, "33", RegolaCodice::Sempre)},
       {{kPlu51, "33"}, {kPlu51, "33"}, {kPlu51, "33"}, {kPlu52, "00"}},
       {"52"}},
      // Retries keep the program's line numbers; a line sent again after it went through is new.
      {"retries",
       {RegolaCodice::perRiga(1, "1A", 2), RegolaCodice::perRiga(2, "29")},
       {{kPlu51, "1A"},
        {kPlu51, "1A"},
        {kPlu51, "00"},
        {kPlu52, "29"},
        {kModificato, "00"},
        {kModificato, "00"}},
       {"51", "8001234567890"}},
      {"busy",
       {RegolaCodice::occupato("P/51/", 3)},
       {{kPlu52, "00"}, {kPlu51, "1A"}, {kPlu51, "1A"}, {kPlu51, "1A"}, {kPlu51, "00"}},
       {"51", "52"}},
      {"pattern and unknown code",
       {{.schema = QRegularExpression("^A/\\d+/"), .codice = "5A"}},
       {{kPlu51, "00"}, {kModificato, "5A"}},
       {"51"}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    Banco banco({.codici = caso.regole});
    for (const auto& [comando, codice] : caso.invii) EXPECT_EQ(banco.codiceDi(comando), codice);
    EXPECT_EQ(banco.simulatore.comandi().size(), qsizetype(caso.invii.size()));
    EXPECT_EQ(banco.simulatore.tabellaPlu().keys(), caso.pluAttesi);
  }
}

TEST(SimulatoreSilenzio, SilentAnswersNothingOrOnlyEnquiriesButStillRecords) {
  Banco banco({.silenzioso = true});
  banco.simulatore.riceviByte(kEnqSeriale + frame(kPlu51) +
                              "\x02"
                              "99\x03");
  EXPECT_TRUE(banco.scritture.isEmpty());
  EXPECT_EQ(banco.simulatore.comandi(), QStringList{kPlu51});
  EXPECT_TRUE(banco.simulatore.tabellaPlu().isEmpty());

  Banco aiComandi({.silenziosoAiComandi = true});
  EXPECT_EQ(aiComandi.invia(kPlu51), kAck);
  aiComandi.simulatore.riceviByte(
      "\x02"
      "99\x03");
  EXPECT_EQ(aiComandi.risposte(), kAck);
  EXPECT_TRUE(aiComandi.simulatore.tabellaPlu().isEmpty());
}

TEST(SimulatoreSilenzio, BehaviourChangesWhileRunning) {
  Banco banco;
  banco.simulatore.impostaComportamento({.silenzioso = true});
  EXPECT_TRUE(banco.invia(kPlu51).isEmpty());
  banco.simulatore.impostaComportamento({});
  // The unanswered line is resent and now goes through.
  EXPECT_EQ(banco.invia(kPlu51), kAck + risultato("00"));
  EXPECT_EQ(banco.simulatore.comandi(), (QStringList{kPlu51, kPlu51}));
}

TEST(SimulatoreRisposte, NoiseComesBeforeTheFrame) {
  Banco banco({.rumore = true});
  banco.simulatore.riceviByte(frame(kPlu51));
  ASSERT_EQ(banco.scritture.size(), 2);
  EXPECT_FALSE(banco.scritture[0].isEmpty());
  EXPECT_FALSE(banco.scritture[0].contains(Controllo::STX));
  EXPECT_EQ(banco.scritture[1], risultato("00"));
}

TEST(SimulatoreRisposte, CorruptedChecksumDoesNotMatchTheBody) {
  Banco banco({.checksumErrato = true});
  banco.simulatore.riceviByte(frame(kPlu51));
  const QByteArray risposta = banco.risposte();
  ASSERT_EQ(risposta.size(), risultato("00").size());
  EXPECT_EQ(risposta.left(9), QByteArray("\x02"
                                         "00/00/00"));
  EXPECT_NE(risposta.mid(9, 2), CalcolaChecksum("00/00/00"));
  EXPECT_TRUE(risposta.endsWith(Controllo::ETX));
}

// The faults a register shows on a bad line: a spoilt copy first and the true answer at the
// NAK, its own command sent back, result codes that are not two hex digits.
TEST(SimulatoreRisposte, SpoiltCopyThenTheTrueAnswerAtTheNak) {
  Banco banco({.corrottoPrima = "00", .codici = {RegolaCodice::perRiga(1, "09")}});
  banco.simulatore.riceviByte(frame(kPlu51));
  const QByteArray prima = banco.risposte();
  EXPECT_EQ(prima.left(9), QByteArray("\x02"
                                      "00/00/00"));
  EXPECT_NE(prima.mid(9, 2), CalcolaChecksum("00/00/00"));
  banco.scritture.clear();
  banco.simulatore.riceviByte(kNak + kAck);
  EXPECT_EQ(banco.risposte(), risultato("09"));
  EXPECT_TRUE(banco.simulatore.tabellaPlu().isEmpty());
}

TEST(SimulatoreRisposte, EchoAndCodesThatAreNoHexDigits) {
  Banco eco({.eco = true});
  eco.simulatore.riceviByte(frame(kPlu51));
  EXPECT_EQ(eco.risposte(), frame(kPlu51) + risultato("00"));

  for (const QByteArray& codice : {QByteArray("ZZ"), QByteArray(2, '\0')}) {
    Banco banco({.codici = {RegolaCodice::perRiga(1, codice)}});
    EXPECT_EQ(banco.invia(kPlu51), kAck + risultato(codice));
  }
  Banco vuota({.codici = {RegolaCodice::perRiga(1, "")}});
  EXPECT_EQ(vuota.invia(kPlu51), kAck + IncorniciaComando(""));
}

TEST(SimulatoreCodici, BusyForAGivenTimeThenTaken) {
  Banco banco({.codici = {RegolaCodice::occupatoPer(1, 100)}});
  EXPECT_EQ(banco.codiceDi(kPlu51), "1A");
  EXPECT_EQ(banco.codiceDi(kPlu51), "1A");
  QTest::qWait(120);
  EXPECT_EQ(banco.codiceDi(kPlu51), "00");
  EXPECT_EQ(banco.simulatore.tabellaPlu().size(), 1);
}

TEST(SimulatoreRisposte, SplitAnswerComesInSeveralWritesInOrder) {
  Banco banco({.spezza = true});
  banco.simulatore.riceviByte(kEnqSeriale + frame(kPlu51));
  ASSERT_TRUE(QTest::qWaitFor([&] { return banco.risposte() == kAck + risultato("00"); }, 5000))
      << banco.risposte().toHex().constData();
  EXPECT_GT(banco.scritture.size(), 2);
}

TEST(SimulatoreRisposte, DelayedAnswerComesFromTheEventLoopInOrder) {
  Banco banco({.ritardoMs = 30});
  banco.simulatore.riceviByte(frame(kPlu51));
  banco.simulatore.riceviByte(QByteArray(1, Controllo::ENQ));
  EXPECT_TRUE(banco.scritture.isEmpty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return banco.scritture.size() == 2; }, 5000));
  EXPECT_EQ(banco.risposte(), risultato("00") + kAck);
}

TEST(SimulatoreTabelle, PluByNumberModifiedByBarcodeDepartmentsByCode) {
  Banco banco;
  banco.invia(kPlu51);
  banco.invia(kPlu52);
  banco.invia(kModificato);
  banco.invia("A/8005555555555/LATTE/2/0/1.10/150.00/0.000/00010000/0.00/0////");
  banco.invia("D/3/BEVANDE/10/");
  banco.invia("D/3/BIBITE/10/");
  banco.invia("P/52/8009876543210/PANE INTEGRALE/1/0/1.50/150.00/0.000/00010000/0.00/0/");

  const auto& plu = banco.simulatore.tabellaPlu();
  ASSERT_EQ(plu.keys(), (QStringList{"51", "52", "8001234567890", "8005555555555"}));
  const PluRicevuto& acqua = plu["51"];
  EXPECT_EQ(acqua.barcode, "8001234567890");
  EXPECT_EQ(acqua.prezzo, "0.35");
  EXPECT_EQ(acqua.quantita, "900.000");
  EXPECT_EQ(plu["52"].descrizione, "PANE INTEGRALE");
  EXPECT_EQ(plu["52"].campi.size(), 11);

  const PluRicevuto& modificato = plu["8001234567890"];
  EXPECT_TRUE(modificato.numero.isEmpty());
  EXPECT_EQ(modificato.prezzo, "0.40");
  EXPECT_EQ(modificato.flag, "00010000");
  EXPECT_EQ(plu["8005555555555"].campi,
            (QStringList{"8005555555555", "LATTE", "2", "0", "1.10", "150.00", "0.000", "00010000",
                         "0.00", "0", "", "", ""}));

  EXPECT_EQ(banco.simulatore.tabellaReparti().keys(), QStringList{"3"});
  EXPECT_EQ(banco.simulatore.tabellaReparti()["3"], (QStringList{"3", "BIBITE", "10"}));
}

// The program's end of a pseudo-terminal: the slave device opened like a serial port.
class PortaDelProgramma {
 public:
  explicit PortaDelProgramma(const QString& percorso)
      : fd_(::open(QFile::encodeName(percorso).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
  ~PortaDelProgramma() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool aperta() const { return fd_ >= 0; }
  bool scrivi(const QByteArray& byte) {
    return ::write(fd_, byte.constData(), byte.size()) == byte.size();
  }
  QByteArray leggiFinoA(char ultimo) {
    QByteArray letti;
    static_cast<void>(QTest::qWaitFor(
        [&] {
          char blocco[256];
          ssize_t n;
          while ((n = ::read(fd_, blocco, sizeof blocco)) > 0) letti.append(blocco, n);
          return letti.endsWith(ultimo);
        },
        5000));
    return letti;
  }

 private:
  int fd_;
};

TEST(SimulatoreUdpLinea, RefusesAddressesBeyondThisMachine) {
  SimulatoreRegistratore simulatore;
  for (const QHostAddress& indirizzo :
       {QHostAddress("192.168.1.10"), QHostAddress(QHostAddress::AnyIPv4)}) {
    SimulatoreUdp udp(simulatore);
    EXPECT_FALSE(udp.apri(indirizzo, 0)) << indirizzo.toString().toStdString();
    EXPECT_EQ(udp.porta(), 0);
    EXPECT_FALSE(udp.errore().isEmpty());
  }
}

TEST(SimulatoreUdpLinea, PortInUseIsReported) {
  QUdpSocket occupante;
  ASSERT_TRUE(occupante.bind(QHostAddress::LocalHost, 0));
  SimulatoreRegistratore simulatore;
  SimulatoreUdp udp(simulatore);
  EXPECT_FALSE(udp.apri(QHostAddress::LocalHost, occupante.localPort()));
  EXPECT_TRUE(udp.errore().contains(QString::fromUtf8("già in uso"))) << udp.errore().toStdString();
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
  EXPECT_EQ(leggi({"--udp", "127.0.0.2:9300"})->indirizzo, QHostAddress("127.0.0.2"));
  EXPECT_EQ(leggi({"--udp", "[::1]:9300"})->indirizzo, QHostAddress("::1"));
  EXPECT_EQ(leggi({"--udp", "localhost:9300"})->indirizzo, QHostAddress(QHostAddress::LocalHost));
  EXPECT_TRUE(leggi({"--help"})->aiuto);

  const auto guasti =
      leggi({"--udp", "--eco", "--corrotto-prima", "00", "--occupato-per", "3=500"});
  ASSERT_TRUE(guasti);
  EXPECT_TRUE(guasti->comportamento.eco);
  EXPECT_EQ(guasti->comportamento.corrottoPrima, "00");
  ASSERT_EQ(guasti->comportamento.codici.size(), 1u);
  EXPECT_EQ(guasti->comportamento.codici[0].riga, 3);
  EXPECT_EQ(guasti->comportamento.codici[0].perMs, 500);

  const auto conCodici =
      leggi({"--pty", "--codice", "3=2c", "--codice", "4=1A:2", "--codice", "P/51/=33:sempre"});
  ASSERT_TRUE(conCodici);
  const auto& codici = conCodici->comportamento.codici;
  ASSERT_EQ(codici.size(), 3u);
  EXPECT_EQ(codici[0].riga, 3);
  EXPECT_EQ(codici[0].codice, "2C");
  EXPECT_EQ(codici[0].volte, 1);
  EXPECT_EQ(codici[1].volte, 2);
  EXPECT_EQ(codici[2].riga, 0);
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

// The simulator program, stopped the way a user stops it.
class ProgrammaSimulatore {
 public:
  explicit ProgrammaSimulatore(const QStringList& argomenti) {
    processo_.start(LISTINOVA_SIMULATORE, argomenti);
  }
  ~ProgrammaSimulatore() {
    if (processo_.state() != QProcess::NotRunning) {
      processo_.kill();
      processo_.waitForFinished(5000);
    }
  }
  QString primaRiga() {
    static_cast<void>(QTest::qWaitFor(
        [&] {
          uscita_ += processo_.readAllStandardOutput();
          return uscita_.contains('\n') || processo_.state() == QProcess::NotRunning;
        },
        10000));
    return QString::fromUtf8(uscita_.left(uscita_.indexOf('\n')));
  }
  bool ferma() {
    processo_.terminate();
    return processo_.waitForFinished(10000);
  }
  QProcess& processo() { return processo_; }

 private:
  QProcess processo_;
  QByteArray uscita_;
};

TEST(ProgrammaDelSimulatore, PrintsItsPtyAndStopsCleanlyOnSigterm) {
  QTemporaryDir cartella;
  ASSERT_TRUE(cartella.isValid());
  const QString registro = cartella.filePath("registro.txt");
  ProgrammaSimulatore programma({"--pty", "--registro", registro});
  const QString riga = programma.primaRiga();
  ASSERT_TRUE(riga.startsWith("Porta seriale del simulatore: /dev/pts/")) << riga.toStdString();
  const QString percorso = riga.section(": ", 1);
  EXPECT_TRUE(QFileInfo::exists(percorso));
  {
    PortaDelProgramma porta(percorso);
    ASSERT_TRUE(porta.aperta());
    ASSERT_TRUE(porta.scrivi(kEnqSeriale + frame(kPlu51)));
    EXPECT_EQ(porta.leggiFinoA(Controllo::ETX), kAck + risultato("00"));
  }

  ASSERT_TRUE(programma.ferma());
  EXPECT_EQ(programma.processo().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(programma.processo().exitCode(), 0);
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
  EXPECT_EQ(risposta, QByteArray(1, Controllo::ACK));
}

}  // namespace
}  // namespace listinova::simulatore
