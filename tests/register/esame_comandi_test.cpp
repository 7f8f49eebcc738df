#include "register/esame_comandi.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <deque>
#include <set>
#include <vector>

#include "platform/serial_port.h"
#include "platform/text_viewer.h"
#include "platform/udp_endpoint.h"
#include "register/log_driver.h"
#include "register/protocollo_ostrel.h"
#include "register/trasporto_registratore.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

const QByteArray kEnq(1, Controllo::ENQ);

// A register on the serial line: takes enquiries and answers commands from a script, each
// answer delivered on the next turn of the event loop as from a real line.
class RegistratoreFinto : public platform::SerialPort {
 public:
  bool open(const QString&, const QString&, platform::FlowControl) override {
    aperta_ = true;
    return true;
  }
  void close() override { aperta_ = false; }
  bool isOpen() const override { return aperta_; }
  qint64 write(const QByteArray& bytes) override {
    if (bytes == kEnq) {
      ++enquiry;
      if (!enquiryIgnorate.count(enquiry)) rispondi(rispostaEnquiry);
    } else if (bytes.startsWith(Controllo::STX) && bytes.endsWith(Controllo::ETX)) {
      const QByteArray comando = bytes.mid(1, bytes.size() - 4);
      comandi << DecodificaDaRegistratore(comando);
      byteComandi.push_back(comando);
      if (rispondeAiComandi) rispondi(IncorniciaComando(prossimoEsito() + "/00/00"));
    }
    return bytes.size();
  }
  QByteArray readAll() override { return std::exchange(inArrivo_, {}); }
  QString errorText() const override { return {}; }

  QByteArray rispostaEnquiry = QByteArray(1, Controllo::ACK);
  std::set<int> enquiryIgnorate;  // counted from 1
  bool rispondeAiComandi = true;
  std::deque<QByteArray> esiti;  // then "00"

  int enquiry = 0;
  QStringList comandi;
  std::vector<QByteArray> byteComandi;

 private:
  QByteArray prossimoEsito() {
    if (esiti.empty()) return "00";
    const QByteArray esito = esiti.front();
    esiti.pop_front();
    return esito;
  }
  void rispondi(const QByteArray& bytes) {
    QMetaObject::invokeMethod(
        this,
        [this, bytes] {
          inArrivo_ += bytes;
          emit bytesArrived();
        },
        Qt::QueuedConnection);
  }

  bool aperta_ = false;
  QByteArray inArrivo_;
};

class UdpAssente : public platform::UdpEndpoint {
 public:
  bool open(const QString&, quint16, quint16) override { return false; }
  void close() override {}
  bool isOpen() const override { return false; }
  qint64 send(const QByteArray&) override { return -1; }
};

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

class VisualizzatoreFinto : public platform::TextViewer {
 public:
  void showAndWait(const QString& filePath) override { mostrati << filePath; }

  QStringList mostrati;
};

const QString kTroppiTimeout =
    QStringLiteral("          *** Troppi timeout, esco definitivamente. FINE.");
const QString kRimandoEnq =
    QStringLiteral("          *** uscito per timeout comunicazione, RIMANDO ENQ");
const QString kRimandoComando =
    QStringLiteral("          *** uscito per timeout comunicazione, RIMANDO COMANDO");
const QString kIgnorato = QStringLiteral(
    "         Azione Intrapresa : Tracciato e Ignorato il comando che ha dato l'errore");

QString letto(const QString& percorso) {
  QFile file(percorso);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali() = VarGlobali{};
    QDir().mkpath(cartella.file("out"));
    ScriviINI(cartella.setup(), "Cartelle", "OUT", cartella.file("out"));
  }
  void TearDown() override { Globali() = VarGlobali{}; }

  bool invia(const QByteArray& contenuto, const QString& indirizzo = "1") {
    QFile file(cartella.file("FilePLU1.txt"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contenuto);
    file.close();
    return driver.EsameComandi(file.fileName(), indirizzo);
  }
  bool invia(const QStringList& righe) { return invia(righe.join("\r\n").toUtf8() + "\r\n"); }

  QStringList righeLog() const {
    const QStringList righe = letto(log.percorsoLog()).split(QStringLiteral("\r\n"));
    QStringList messaggi;
    for (qsizetype i = 1; i < righe.size(); i += 2) messaggi << righe[i];
    return messaggi;
  }
  QString nonTrasmessi() const { return cartella.file("out/NonTRASMESSI1.txt"); }

  CartellaDiProva cartella;
  testing::FakeClock orologio;
  LogDriver log{cartella.root(), orologio};
  RegistratoreFinto registratore;
  UdpAssente udp;
  TrasportoRegistratore trasporto{registratore, udp, log};
  AttesaIstantanea attesa;
  testing::FakePrompts prompts;
  VisualizzatoreFinto visualizzatore;
  QStringList contatore;
  int terminazioni = 0;
  QStringList stati;
  DriverComandi driver{{trasporto, attesa, log, prompts, orologio, visualizzatore, cartella.root(),
                        cartella.setup(), [this](const QString& testo) { contatore << testo; },
                        [this] { ++terminazioni; },
                        [this](const QString& testo) { stati << testo; },
                        LimitiDriver{.occupatoMs = 100, .senzaOperatoreMs = 0}}};
};

TEST_F(Driver, WholeFileGoesThroughLineByLine) {
  QFile vecchio(nonTrasmessi());
  ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
  vecchio.close();

  EXPECT_TRUE(invia(QStringList{"P/1/Pane", "P/2/Latte/", "D/3"}));

  EXPECT_EQ(registratore.comandi, QStringList({"P/1/Pane/", "P/2/Latte/", "D/3/"}));
  EXPECT_EQ(registratore.enquiry, 3);
  EXPECT_EQ(contatore, QStringList({"0", "1", "2", "3"}));
  EXPECT_EQ(orologio.waits, std::vector<int>({1, 1}));  // between lines, not before the first
  EXPECT_FALSE(QFile::exists(nonTrasmessi()));
  EXPECT_TRUE(visualizzatore.mostrati.isEmpty());
  EXPECT_EQ(righeLog(), QStringList());
  EXPECT_TRUE(attesa.scadute.empty());
}

TEST_F(Driver, UnixLinesAndUtf8TextReachTheWireAsWindowsBytes) {
  EXPECT_TRUE(invia(QString::fromUtf8("P/1/Caffè/2,50€\nP/2/Tè").toUtf8()));

  ASSERT_EQ(registratore.byteComandi.size(), 2u);
  EXPECT_EQ(registratore.byteComandi[0], QByteArray("P/1/Caff\xe8/2,50\x80/"));
  EXPECT_EQ(registratore.byteComandi[1], QByteArray("P/2/T\xe8/"));
}

TEST_F(Driver, OutputFolderMissingBecomesTheProgramFolder) {
  ScriviINI(cartella.setup(), "Cartelle", "OUT", "");
  registratore.esiti = {"07"};

  EXPECT_TRUE(invia(QStringList{"P/1"}));

  EXPECT_EQ(LeggiINI(cartella.setup(), "Cartelle", "OUT", "?"), "C:");
  EXPECT_EQ(visualizzatore.mostrati, QStringList({cartella.file("NonTRASMESSI1.txt")}));
  ScriviINI(cartella.setup(), "Cartelle", "OUT", "C:\\Uscita\\Casse");
  EXPECT_EQ(driver.cartellaUscita(), cartella.file("Uscita/Casse"));
}

TEST_F(Driver, RefusedOrUnknownCodeIsListedAndTheJobGoesOn) {
  struct Caso {
    QByteArray esito;
    QStringList log;
    QString elenco;
  };
  const std::vector<Caso> casi = {
      {"07",
       {"         ESITO : 7 - Il PLU non esiste - 2", "LOG - Errore!", kIgnorato},
       "Invio: \r\nP/1\r\nESITO : Errore N.7 - Descr.: Il PLU non esiste\r\n"},
      {"5A",
       {"         ESITO : 90 -  - 0"},
       "Invio: \r\nP/1\r\nESITO : Errore N.90 - Descr.: \r\n"},
      {"ZZ",
       {"         ESITO : ZZ - Codice di risposta non valido - 0"},
       "Invio: \r\nP/1\r\nESITO : Errore N.ZZ - Descr.: Codice di risposta non valido\r\n"},
      {QByteArray(2, '\0'),
       {"         ESITO : ?? - Codice di risposta non valido - 0"},
       "Invio: \r\nP/1\r\nESITO : Errore N.?? - Descr.: Codice di risposta non valido\r\n"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.esito.toHex().constData());
    QFile::remove(log.percorsoLog());
    registratore.comandi.clear();
    orologio.waits.clear();
    visualizzatore.mostrati.clear();
    registratore.esiti = {caso.esito};

    EXPECT_TRUE(invia(QStringList{"P/1", "P/2"}));

    EXPECT_EQ(registratore.comandi, QStringList({"P/1/", "P/2/"}));
    EXPECT_EQ(driver.ComandiRifiutati(), QStringList{"P/1"});
    EXPECT_EQ(righeLog(), caso.log);
    EXPECT_EQ(letto(nonTrasmessi()), caso.elenco);
    EXPECT_EQ(visualizzatore.mostrati, QStringList({nonTrasmessi()}));
    EXPECT_EQ(orologio.waits, std::vector<int>({2, 1}));
  }
}

// Busy for longer than the bound (100 ms here, by the fake clock) is a failed send, not a skip.
TEST_F(Driver, RegisterBusyForTooLongFailsTheJob) {
  registratore.esiti.assign(1000, "1A");
  registratore.esiti.push_front("00");

  EXPECT_FALSE(invia(QStringList{"P/0", "P/1", "P/2"}));

  EXPECT_EQ(registratore.comandi.count("P/2/"), 0);
  // asked again after a pause, not at once
  EXPECT_EQ(registratore.comandi.count("P/1/"), 2);
  EXPECT_EQ(std::count(orologio.waits.begin(), orologio.waits.end(), 300), 2);
  const QString fine = "*** Cassa occupata da 0 secondi, esco definitivamente. FINE.";
  EXPECT_EQ(righeLog().last(), "          " + fine);
  // the busy line once, then the reason
  EXPECT_EQ(letto(nonTrasmessi()).split("\r\n", Qt::SkipEmptyParts),
            QStringList({"Invio: ", "P/1",
                         "ESITO : Errore N.26 - Descr.: Stampante Busy, "
                         "reinviare il comando",
                         fine}));
  EXPECT_TRUE(driver.ComandiRifiutati().isEmpty());
  EXPECT_EQ(visualizzatore.mostrati, QStringList({nonTrasmessi()}));
}

// With nobody at the counter the paper message cannot be answered: after the bound the
// register's send has failed. Each message is one wait of the fake clock here.
TEST_F(Driver, PaperNobodyChangesFailsTheJobAfterTheBound) {
  DriverComandi senzaOperatore({trasporto,
                                attesa,
                                log,
                                prompts,
                                orologio,
                                visualizzatore,
                                cartella.root(),
                                cartella.setup(),
                                {},
                                {},
                                {},
                                LimitiDriver{.senzaOperatoreMs = 10}});
  registratore.esiti.assign(100, "2C");
  QFile file(cartella.file("FilePLU1.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("P/1\r\nP/2\r\n");
  file.close();

  EXPECT_FALSE(senzaOperatore.EsameComandi(file.fileName(), "1"));

  EXPECT_EQ(registratore.comandi, QStringList(5, "P/1/"));
  EXPECT_EQ(prompts.asked.size(), 5u);
  const QString fine = QString::fromUtf8(
      "*** Carta finita: nessuno è intervenuto in 0 secondi, esco "
      "definitivamente. FINE.");
  EXPECT_EQ(righeLog().last(), "          " + fine);
}

TEST_F(Driver, FiveEnquiryTimeoutsAreRetriedAndAnAckStartsTheCountAfresh) {
  registratore.enquiryIgnorate = {1, 2, 3, 4, 5, 7, 8, 9, 10, 11};

  EXPECT_TRUE(invia(QStringList{"P/1", "P/2"}));

  EXPECT_EQ(righeLog(), QStringList(10, kRimandoEnq));
  EXPECT_EQ(attesa.scadute, std::vector<int>(10, 3000));
  EXPECT_EQ(registratore.comandi, QStringList({"P/1/", "P/2/"}));
}

TEST_F(Driver, SixthTimeoutInARowAbandonsTheJob) {
  registratore.rispostaEnquiry = QByteArray(1, Controllo::NAK);  // no better than silence

  EXPECT_FALSE(invia(QStringList{"P/1", "P/2"}));

  EXPECT_EQ(registratore.enquiry, 6);
  EXPECT_TRUE(registratore.comandi.isEmpty());
  EXPECT_EQ(righeLog(), QStringList(5, kRimandoEnq) << kTroppiTimeout);
  EXPECT_EQ(contatore, QStringList({"0", "1"}));
  EXPECT_EQ(stati,
            QStringList(
                {"Cassa 1 non risponde: tentativo 2 di 6", "Cassa 1 non risponde: tentativo 3 di 6",
                 "Cassa 1 non risponde: tentativo 4 di 6", "Cassa 1 non risponde: tentativo 5 di 6",
                 "Cassa 1 non risponde: tentativo 6 di 6"}));
  EXPECT_EQ(trasporto.risposta().Stato, "");
  EXPECT_TRUE(visualizzatore.mostrati.isEmpty());
}

// A register that takes every enquiry and never answers the command (a bad checksum each
// time): the attempts shown count up all the same.
TEST_F(Driver, CommandTimeoutsCountTheAttemptsShown) {
  registratore.rispondeAiComandi = false;

  EXPECT_FALSE(invia(QStringList{"P/1"}));

  EXPECT_EQ(registratore.comandi, QStringList(6, "P/1/"));
  EXPECT_EQ(stati,
            QStringList(
                {"Cassa 1 non risponde: tentativo 2 di 6", "Cassa 1 non risponde: tentativo 3 di 6",
                 "Cassa 1 non risponde: tentativo 4 di 6", "Cassa 1 non risponde: tentativo 5 di 6",
                 "Cassa 1 non risponde: tentativo 6 di 6"}));
}

TEST_F(Driver, EnquiryAndCommandTimeoutsCountTogether) {
  registratore.rispondeAiComandi = false;
  registratore.enquiryIgnorate = {2, 3, 4, 5, 6};

  EXPECT_FALSE(invia(QStringList{"P/1"}));

  EXPECT_EQ(righeLog(), QStringList({kRimandoComando, kRimandoEnq, kRimandoEnq, kRimandoEnq,
                                     kRimandoEnq, kTroppiTimeout}));
  EXPECT_EQ(registratore.comandi.size(), 1);
  EXPECT_FALSE(QFile::exists(nonTrasmessi()));
}

}  // namespace
}  // namespace listinova
