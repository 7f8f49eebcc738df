#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <memory>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/qt_clock.h"
#include "platform/text_viewer.h"
#include "register/collegamento_casse.h"
#include "register/protocollo_ostrel.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"
#include "tools/simulatore/simulatore_pty.h"
#include "tools/simulatore/simulatore_registratore.h"
#include "tools/simulatore/simulatore_udp.h"

namespace listinova {
namespace {

using platform::db::Recordset;
using simulatore::SimulatorePty;
using simulatore::SimulatoreRegistratore;
using simulatore::SimulatoreUdp;

class VisualizzatoreFinto : public platform::TextViewer {
 public:
  void showAndWait(const QString& filePath) override { mostrati << filePath; }
  QStringList mostrati;
};

// STX, the record in the register's single-byte code, its checksum, ETX.
QByteArray frame(const QString& record) {
  const QByteArray corpo = record.toLatin1();
  return Controllo::STX + corpo + CalcolaChecksum(corpo) + Controllo::ETX;
}

// The frames among everything a register received, in order.
QList<QByteArray> frameRicevuti(const QByteArray& ricevuti) {
  QList<QByteArray> trovati;
  for (qsizetype inizio = ricevuti.indexOf(Controllo::STX); inizio >= 0;
       inizio = ricevuti.indexOf(Controllo::STX, inizio + 1)) {
    const qsizetype fine = ricevuti.indexOf(Controllo::ETX, inizio);
    if (fine < 0) break;
    trovati << ricevuti.mid(inizio, fine - inizio + 1);
  }
  return trovati;
}

QList<QByteArray> frameDi(const QStringList& record) {
  QList<QByteArray> frame;
  for (const QString& r : record) frame << listinova::frame(r);
  return frame;
}

class InvioRepartiE2eTest : public ::testing::Test {
 protected:
  InvioRepartiE2eTest() {
    VarGlobali& g = Globali();
    g.CartellaProgramma = cartella_.root();
    g.PercorsoSetup = cartella_.setup();
    for (const auto& [aliquota, codice] :
         {std::pair{"4", "1"}, {"10", "2"}, {"21", "3"}, {"0", "4"}})
      ScriviINI(cartella_.setup(), "IVA KELTRANO", aliquota, codice);

    db_->execute("Delete * from Reparti");
    Recordset rs = db_->openRecordset("select * from Reparti");
    const auto reparto = [&rs](int cod, const QString& nome, int iva, const QString& prezzo,
                               double sconto) {
      rs.addNew();
      rs.setValue("Cod", cod);
      rs.setText("Descrizione", nome);
      rs.setValue("Iva", iva);
      rs.setValue("PrezzoPrefissato", prezzo);
      rs.setValue("Sconto", sconto);
      rs.update();
    };
    reparto(1, "Pane", 4, "1,20", 0);
    reparto(2, "Frutta: 100% bio", 10, "0", 5);
    reparto(3, "Caffè e tè", 21, "1234,5", 0);
    reparto(4, "Specialità", 4, "0", 12);
    for (int cod = 5; cod <= 12; ++cod)
      reparto(cod, QStringLiteral("Reparto%1").arg(cod), 0, "0", 0);
  }
  ~InvioRepartiE2eTest() override { Globali() = VarGlobali{}; }

  // Register 1 reached over the network on `portaRemota`.
  CollegamentoCasse& collegamento(quint16 portaRemota = 9101) {
    if (!collegamento_)
      collegamento_ = std::make_unique<CollegamentoCasse>(CollegamentoCasse::Ambiente{
          *db_, prompts_, notice_, clock_, visualizzatore_, cartella_.root(), cartella_.setup(),
          [] {}, PorteUdp{portaRemota, 0}});
    return *collegamento_;
  }

  static QStringList recordFile() {
    QStringList attesi{"D/1/PANE/1/1.20/500.00/1011000/1/0.00/",
                       "D/2/FRUTTA 100 BIO/2/0.00/500.00/1011000/2/0.00/",
                       "D/3/CAFFE E TE/3/1.234.50/500.00/1011000/3/0.00/",
                       QStringLiteral("D/4/SPECIALITÀ/1/0.00/500.00/1011000/4/0.00/")};
    for (int cod = 5; cod <= 12; ++cod)
      attesi << QStringLiteral("D/%1/REPARTO%1/4/0.00/500.00/1011000/%2/0.00/")
                    .arg(cod)
                    .arg(cod <= 10 ? cod : cod - 10);
    return attesi;
  }

  static QStringList recordSeriali() {
    QStringList attesi{"D/1/PANE/1/1.20/500.00/1011000/1/0.00/",
                       "D/2/FRUTTA 100 BIO/2/0.00/500.00/1011500/2/0.00/",
                       "D/3/CAFFE E TE/3/1.234.50/500.00/1011000/3/0.00/",
                       QStringLiteral("D/4/SPECIALITÀ/1/0.00/500.00/10111200/4/0.00/")};
    for (int cod = 5; cod <= 12; ++cod)
      attesi << QStringLiteral("D/%1/REPARTO%1/4/0.00/500.00/1011000/%1/0.00/").arg(cod);
    return attesi;
  }

  // Every record on the serial line: CAN ENQ, our ACK to the register's, the frame, ACK ACK
  // to its result; then the closing ACK and ENQ, and the ACK to the last answer.
  static QByteArray lineaSeriale() {
    QByteArray attesi;
    for (const QString& r : recordSeriali()) attesi += "\x18\x05\x06" + frame(r) + "\x06\x06";
    return attesi + "\x06\x05\x06";
  }

  QStringList testiChiesti() const {
    QStringList testi;
    for (const platform::Question& q : prompts_.asked) testi << q.text;
    return testi;
  }

  CartellaDiProva cartella_;
  std::unique_ptr<platform::db::Database> db_ = ApriDatabase(cartella_.file("Dati/DbNegozio.mdb"));
  testing::FakePrompts prompts_;
  testing::FakeNotice notice_;
  platform::QtClock clock_;
  VisualizzatoreFinto visualizzatore_;
  std::unique_ptr<CollegamentoCasse> collegamento_;
};

TEST_F(InvioRepartiE2eTest, NetworkRegisterGetsTheCommandFileLineByLine) {
  SimulatoreRegistratore registratore;
  SimulatoreUdp udp(registratore);
  ASSERT_TRUE(udp.apri(QHostAddress::LocalHost, 0)) << udp.errore().toStdString();
  Globali().IndirizzoRete = "127.0.0.1";

  std::vector<bool> avviso;
  const EsitoReparti esito =
      collegamento(udp.porta()).InviaReparti(false, [&](bool v) { avviso.push_back(v); });

  EXPECT_TRUE(esito.avviato);
  EXPECT_FALSE(esito.interrotto);
  EXPECT_EQ(esito.casseServite, 1);
  QFile file(cartella_.file("FileREP127001.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()), recordFile().join("\r\n") + "\r\n");
  EXPECT_EQ(registratore.comandi(), recordFile());
  EXPECT_EQ(frameRicevuti(registratore.ricevuti()), frameDi(recordFile()));
  EXPECT_EQ(registratore.tabellaReparti().size(), 12);
  EXPECT_EQ(registratore.tabellaReparti().value("2").value(1), "FRUTTA 100 BIO");
  EXPECT_EQ(testiChiesti(), QStringList{"Invio Terminato "});
  ASSERT_FALSE(avviso.empty());
  EXPECT_TRUE(avviso.front());
  EXPECT_FALSE(avviso.back());
  EXPECT_TRUE(visualizzatore_.mostrati.isEmpty());
}

TEST_F(InvioRepartiE2eTest, SerialRegisterGetsEveryRecordDirectly) {
  SimulatoreRegistratore registratore;
  SimulatorePty pty(registratore);
  ASSERT_TRUE(pty.apri()) << pty.errore().toStdString();
  Globali().RegCassa.porta = pty.percorso();

  const EsitoReparti esito = collegamento().InviaReparti(false);

  EXPECT_EQ(esito.casseServite, 1);
  EXPECT_EQ(registratore.comandi(), recordSeriali());
  EXPECT_EQ(registratore.ricevuti(), lineaSeriale());
  EXPECT_EQ(registratore.tabellaReparti().value("4").value(5), "10111200");
  EXPECT_EQ(testiChiesti(), QStringList{"Invio Terminato "});
  // No command file for a serial register.
  EXPECT_TRUE(QDir(cartella_.root()).entryList({"FileREP*"}).isEmpty());
}

TEST_F(InvioRepartiE2eTest, PortThatCannotOpenIsReportedAndTheOthersAreServed) {
  SimulatoreRegistratore rete;
  SimulatoreUdp udp(rete);
  ASSERT_TRUE(udp.apri(QHostAddress::LocalHost, 0)) << udp.errore().toStdString();
  SimulatoreRegistratore seriale;
  SimulatorePty pty(seriale);
  ASSERT_TRUE(pty.apri()) << pty.errore().toStdString();
  const QString assente = cartella_.file("nessuna-porta");
  Globali().IndirizzoRete = "127.0.0.1";
  Globali().PortaCOM1 = assente;
  Globali().PortaCOM2 = pty.percorso();

  const EsitoReparti esito = collegamento(udp.porta()).InviaReparti(false);

  EXPECT_EQ(notice_.messages, QStringList{"Porta Seriale COM " + assente +
                                          " non disponibile - Operazione non effettuata"});
  EXPECT_EQ(esito.casseServite, 2);
  EXPECT_EQ(rete.comandi(), recordFile());
  EXPECT_EQ(seriale.comandi(), recordSeriali());
  EXPECT_EQ(seriale.ricevuti(), lineaSeriale());
  EXPECT_EQ(testiChiesti(), QStringList{"Invio Terminato "});
}

TEST_F(InvioRepartiE2eTest, BusyAnswerMakesTheSameRecordGoAgainAfterANewEnquiry) {
  simulatore::Comportamento occupato;
  occupato.codici = {simulatore::RegolaCodice::occupato("D/3/", 2)};
  SimulatoreRegistratore registratore(occupato);
  SimulatorePty pty(registratore);
  ASSERT_TRUE(pty.apri()) << pty.errore().toStdString();
  Globali().RegCassa.porta = pty.percorso();

  const EsitoReparti esito = collegamento().InviaReparti(false);

  EXPECT_EQ(esito.casseServite, 1);
  QStringList attesi = recordSeriali();
  attesi.insert(2, attesi[2]);
  attesi.insert(2, attesi[2]);
  EXPECT_EQ(registratore.comandi(), attesi);
  EXPECT_EQ(registratore.tabellaReparti().size(), 12);
  EXPECT_EQ(registratore.ricevuti().count("\x18\x05"), 14);
}

TEST_F(InvioRepartiE2eTest, SilentSerialRegisterIsReportedAndTheNextOneServed) {
  simulatore::Comportamento muto;
  muto.silenzioso = true;
  SimulatoreRegistratore silenzioso(muto);
  SimulatorePty primo(silenzioso);
  ASSERT_TRUE(primo.apri()) << primo.errore().toStdString();
  SimulatoreRegistratore registratore;
  SimulatorePty secondo(registratore);
  ASSERT_TRUE(secondo.apri()) << secondo.errore().toStdString();
  Globali().RegCassa.porta = primo.percorso();
  Globali().PortaCOM1 = secondo.percorso();

  const EsitoReparti esito = collegamento().InviaReparti(false);

  EXPECT_EQ(esito.casseServite, 1);
  EXPECT_TRUE(silenzioso.comandi().isEmpty());
  EXPECT_EQ(silenzioso.ricevuti().count("\x18\x05"), InvioReparti::kTentativi);
  EXPECT_EQ(registratore.comandi(), recordSeriali());
  EXPECT_EQ(testiChiesti(),
            QStringList({"INVIO CASSA 1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - "
                         "VERIFICARE: CAVO/PortaCOM/CASSA",
                         "Invio Terminato "}));
}

TEST_F(InvioRepartiE2eTest, MissingVatCodeInterruptsBeforeAnythingIsSent) {
  SimulatoreRegistratore registratore;
  SimulatorePty pty(registratore);
  ASSERT_TRUE(pty.apri()) << pty.errore().toStdString();
  Globali().RegCassa.porta = pty.percorso();
  db_->execute("UPDATE Reparti SET Iva = 22 WHERE Cod = 7");

  const EsitoReparti esito = collegamento().InviaReparti(false);

  EXPECT_TRUE(esito.interrotto);
  EXPECT_EQ(esito.casseServite, 0);
  EXPECT_TRUE(registratore.comandi().isEmpty());
  const QStringList testi = testiChiesti();
  ASSERT_EQ(testi.size(), 2);
  EXPECT_TRUE(testi[0].startsWith("Creare in Setup.ini, chiave [IVA KELTRANO]"));
  EXPECT_EQ(testi[1], "PROCEDURA INTERROTTA!!! - PROBLEMI DI ACCESSO TABELLA DEI REPARTI ");
}

TEST_F(InvioRepartiE2eTest, WithoutAnyRegisterOneTheSendSaysSo) {
  const EsitoReparti esito = collegamento().InviaReparti(false);
  EXPECT_EQ(esito.casseServite, 0);
  ASSERT_EQ(prompts_.asked.size(), 2u);
  EXPECT_EQ(prompts_.asked[0].text,
            "INVIO CASSA 1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: "
            "CAVO/INDIRIZZO IP/CASSA/RETE");
  EXPECT_EQ(prompts_.asked[0].icon, platform::Icon::Critical);
  EXPECT_EQ(prompts_.asked[1].text, "Invio Terminato ");
}

}  // namespace
}  // namespace listinova
