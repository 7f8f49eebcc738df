#include "register/esame_comandi.h"

#include <gtest/gtest.h>

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

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali() = VarGlobali{};
    QDir().mkpath(cartella.file("out"));
    ScriviINI(cartella.setup(), "Cartelle", "OUT", cartella.file("out"));
  }
  void TearDown() override { Globali() = VarGlobali{}; }

  bool invia(const QStringList& righe) {
    QFile file(cartella.file("FilePLU1.txt"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(righe.join("\r\n").toUtf8() + "\r\n");
    file.close();
    return driver.EsameComandi(file.fileName(), "1");
  }
  // The message lines of the driver log, without their date lines.
  QStringList righeLog() const {
    QFile file(log.percorsoLog());
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList righe = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
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
  QStringList stati;
  DriverComandi driver{{trasporto,
                        attesa,
                        log,
                        prompts,
                        orologio,
                        visualizzatore,
                        cartella.root(),
                        cartella.setup(),
                        {},
                        {},
                        [this](const QString& testo) { stati << testo; },
                        LimitiDriver{.senzaOperatoreMs = 10}}};
};

TEST_F(Driver, OutputFolderMissingBecomesTheProgramFolder) {
  ScriviINI(cartella.setup(), "Cartelle", "OUT", "");
  registratore.esiti = {"07"};

  EXPECT_TRUE(invia(QStringList{"P/1"}));

  EXPECT_EQ(LeggiINI(cartella.setup(), "Cartelle", "OUT", "?"), "C:");
  EXPECT_EQ(visualizzatore.mostrati, QStringList({cartella.file("NonTRASMESSI1.txt")}));
  ScriviINI(cartella.setup(), "Cartelle", "OUT", "C:\\Uscita\\Casse");
  EXPECT_EQ(driver.cartellaUscita(), cartella.file("Uscita/Casse"));
}

// With nobody at the counter (the bound set) the paper message cannot be answered: after the
// bound the register's send has failed. Each message is one wait of the fake clock here.
TEST_F(Driver, PaperNobodyChangesFailsTheJobAfterTheBound) {
  registratore.esiti.assign(100, "2C");

  EXPECT_FALSE(invia(QStringList{"P/1", "P/2"}));

  EXPECT_EQ(registratore.comandi, QStringList(5, "P/1/"));
  EXPECT_EQ(prompts.asked.size(), 5u);
  const QString fine = QString::fromUtf8(
      "*** Carta finita: nessuno è intervenuto in 0 secondi, esco "
      "definitivamente. FINE.");
  EXPECT_EQ(righeLog().last(), "          " + fine);
}

// Enquiry and command timeouts count together; five are retried, the sixth in a row abandons
// the job, an answered enquiry starts the count afresh. A NAK is no better than silence.
TEST_F(Driver, TimeoutsAreCountedTogetherAndTheSixthInARowEndsTheJob) {
  const QStringList tentativi = {
      "Cassa 1 non risponde: tentativo 2 di 6", "Cassa 1 non risponde: tentativo 3 di 6",
      "Cassa 1 non risponde: tentativo 4 di 6", "Cassa 1 non risponde: tentativo 5 di 6",
      "Cassa 1 non risponde: tentativo 6 di 6"};
  const struct {
    const char* nome;
    std::set<int> enquiryIgnorate;
    bool nak, muto;
    bool riesce;
    QStringList comandi, log, stati;
  } casi[] = {
      {"five, an ACK, five again",
       {1, 2, 3, 4, 5, 7, 8, 9, 10, 11},
       false,
       false,
       true,
       {"P/1/", "P/2/"},
       QStringList(10, kRimandoEnq),
       tentativi + tentativi},
      {"six NAKs",
       {},
       true,
       false,
       false,
       {},
       QStringList(5, kRimandoEnq) << kTroppiTimeout,
       tentativi},
      {"commands never answered",
       {},
       false,
       true,
       false,
       QStringList(6, "P/1/"),
       QStringList(5, kRimandoComando) << kTroppiTimeout,
       tentativi},
      {"enquiries, an ACK, the command, enquiries",
       {1, 2, 3, 5, 6, 7, 8, 9},
       false,
       true,
       false,
       {"P/1/"},
       QStringList(3, kRimandoEnq)
           << kRimandoComando << QStringList(4, kRimandoEnq) << kTroppiTimeout,
       tentativi.mid(0, 3) + tentativi},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    QFile::remove(log.percorsoLog());
    registratore.comandi.clear();
    registratore.enquiry = 0;
    registratore.enquiryIgnorate = caso.enquiryIgnorate;
    registratore.rispostaEnquiry = QByteArray(1, caso.nak ? Controllo::NAK : Controllo::ACK);
    registratore.rispondeAiComandi = !caso.muto;
    stati.clear();

    EXPECT_EQ(invia(QStringList{"P/1", "P/2"}), caso.riesce);

    EXPECT_EQ(registratore.comandi, caso.comandi);
    EXPECT_EQ(righeLog(), caso.log);
    EXPECT_EQ(stati.filter("non risponde"), caso.stati);
    // only a command that went out six times unanswered is listed
    EXPECT_EQ(QFile::exists(nonTrasmessi()), caso.comandi.size() == 6);
    QFile::remove(nonTrasmessi());
  }
  EXPECT_EQ(attesa.scadute.size(), 10u + 6 + 6 + 9);
}

}  // namespace
}  // namespace listinova
