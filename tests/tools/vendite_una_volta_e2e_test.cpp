// Every sale the register reports is booked once, or the operator is told which lines were not
// and why: registers that echo, double, delay or repeat their answers, quantities no register
// field holds, a disk that fills up, over a pseudo-terminal and UDP on loopback.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <map>

#include "banco_casse.h"
#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "register/ricezione_plu.h"
#include "support/disco_montato.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using simulatore::Comportamento;
using simulatore::RegolaCodice;
using simulatore::SimulatoreRegistratore;

const QString kTerminata = "IMPORTAZIONE TERMINATA";
const QString kAcqua = "8001234567890";
const QString kPane = "8009876543210";

// Water, an in-store coffee, bread; the register holds them as numbered PLUs.
void negozio(BancoCasse& banco, SimulatoreRegistratore& cassa) {
  banco.aggiungi({.codice = "1", .barCode = kAcqua, .quantita = 10});
  banco.aggiungi({.codice = "2", .barCode = "2012345000017", .quantita = 12});
  banco.aggiungi({.codice = "3", .barCode = kPane, .quantita = 3});
  cassa.tabelle().applica("P/51/8001234567890/ACQUA/3/0/0.35/150.00/0.000/00010000/");
  cassa.tabelle().applica("P/52/12345/CAFFE/2/0/4.50/150.00/0.000/00010000/");
  cassa.tabelle().applica("P/53/8009876543210/PANE/1/0/1.20/150.00/0.000/00010000/");
}

EsitoLettura leggi(BancoCasse& banco, MetodoLettura metodo) {
  RicezionePlu ricezione({*banco.db,
                          banco.collegamento().trasporto(),
                          banco.collegamento().driver(),
                          banco.prompts,
                          banco.clock,
                          [] { return true; },
                          {}});
  return ricezione.cmdRiceviPLU_Click(metodo, false);
}

struct Guasto {
  const char* nome;
  Comportamento modo;
  enum Linee { kSeriale, kRete, kEntrambe } linee;
  MetodoLettura metodo;
  // What the register sold: water, coffee (by its in-store code) as the field says it.
  QString acqua = "2500";
  QString caffe = "1000";
  // Expected: read to the end, stock of water and coffee, rows booked, lines not booked and
  // the reason the reading stopped.
  bool completa = true;
  double giacenzaAcqua = 7.5;
  double giacenzaCaffe = 11;
  int nonRegistrate = 0;
  QString interrotta = {};
};

constexpr auto kLista = MetodoLettura::Lista;
constexpr auto kProdotto = MetodoLettura::PerProdotto;
constexpr auto kSeriale = Guasto::kSeriale;
constexpr auto kRete = Guasto::kRete;
constexpr auto kEntrambe = Guasto::kEntrambe;

const QString kRipete = "LA CASSA RIPETE UNA RISPOSTA GIA' RICEVUTA, L'ELENCO NON AVANZA";

// Each row is one reading of a fresh shop; a sale is in the archive once, or in the list of
// lines not booked, or the reading says why it stopped.
TEST(VenditeUnaVoltaE2e, EveryFaultBooksEachSaleOnceOrSaysWhy) {
  const Guasto guasti[] = {
      {.nome = "eco, elenco", .modo = {.eco = true}, .linee = kEntrambe, .metodo = kLista},
      {.nome = "eco, per prodotto", .modo = {.eco = true}, .linee = kSeriale, .metodo = kProdotto},
      {.nome = "doppie, elenco", .modo = {.doppio = true}, .linee = kEntrambe, .metodo = kLista},
      {.nome = "doppie, per prodotto",
       .modo = {.doppio = true},
       .linee = kRete,
       .metodo = kProdotto},
      {.nome = "lenta, elenco", .modo = {.ritardoMs = 1000}, .linee = kEntrambe, .metodo = kLista},
      {.nome = "oltre l'attesa, elenco",
       .modo = {.ritardoMs = 3500},
       .linee = kEntrambe,
       .metodo = kLista,
       .completa = false,
       .giacenzaAcqua = 10,
       .giacenzaCaffe = 12,
       .interrotta = "LA CASSA NON RISPONDE - RIGHE LETTE: 0"},
      {.nome = "ripete sempre, elenco",
       .modo = {.ripete = true},
       .linee = kEntrambe,
       .metodo = kLista,
       .completa = false,
       .giacenzaCaffe = 12,
       .interrotta = kRipete + " - RIGHE LETTE: 1"},
      {.nome = "quantità impossibili, elenco",
       .linee = kSeriale,
       .metodo = kLista,
       .acqua = "9223372036854775807",
       .caffe = "1e9",
       .giacenzaAcqua = 10,
       .giacenzaCaffe = 12,
       .nonRegistrate = 2},
      {.nome = "quantità impossibili, per prodotto",
       .linee = kRete,
       .metodo = kProdotto,
       .acqua = "12345678901234567890",
       .caffe = "-",
       .giacenzaAcqua = 10,
       .giacenzaCaffe = 12,
       .nonRegistrate = 2},
      {.nome = "carta finita durante l'elenco",
       .modo = {.codici = {RegolaCodice::perPrefisso("J//", "2C", RegolaCodice::Sempre)}},
       .linee = kSeriale,
       .metodo = kLista,
       .completa = false,
       .giacenzaAcqua = 10,
       .giacenzaCaffe = 12,
       .interrotta = "ERRORE 44 DELLA CASSA: Carta finita - RIGHE LETTE: 0"},
  };
  for (const Guasto& g : guasti)
    for (const bool rete : {false, true}) {
      if (g.linee != kEntrambe && (g.linee == kRete) != rete) continue;
      SCOPED_TRACE(std::string(g.nome) + (rete ? ", rete" : ", seriale"));
      BancoCasse banco;
      SimulatoreRegistratore& cassa =
          rete ? banco.cassaInRete(g.modo) : banco.cassaSeriale(1, g.modo);
      negozio(banco, cassa);
      cassa.letture().impostaVendutoTesto(kAcqua, g.acqua);
      cassa.letture().impostaVendutoTesto("12345", g.caffe);
      cassa.letture().impostaVenduto(kPane, 1000);  // read after the others, when they are

      const EsitoLettura esito = leggi(banco, g.metodo);

      ASSERT_EQ(esito.lette.size(), 1u);
      const LetturaCassa& l = esito.lette[0];
      EXPECT_EQ(esito.tutteComplete(), g.completa);
      EXPECT_EQ(banco.negozio.quantita("1"), g.giacenzaAcqua);
      EXPECT_EQ(banco.negozio.quantita("2"), g.giacenzaCaffe);
      EXPECT_EQ(banco.negozio.quantita("3"), g.completa ? 2 : 3);
      // one row per line booked: never two for one sale
      for (const auto& [ean, righe] : banco.negozio.storico())
        EXPECT_EQ(righe.size(), 1u) << ean.toStdString();
      EXPECT_EQ(l.prenotazione.prenotate + l.nonRegistrate(), l.righe);
      EXPECT_EQ(banco.righe("PLUOstrel1.txt").size(), l.righe);
      EXPECT_EQ(l.nonRegistrate(), g.nonRegistrate);
      EXPECT_EQ(esito.nonRegistrate(), g.nonRegistrate);
      const QStringList elenco = banco.righe("RigheNonRegistrate1.txt");
      EXPECT_EQ(elenco.size(), g.nonRegistrate);
      for (const QString& riga : elenco)
        EXPECT_TRUE(riga.contains("\tquantità \"")) << riga.toStdString();
      QStringList attese;
      if (!g.interrotta.isEmpty()) attese << "LETTURA CASSA 1 INTERROTTA: " + g.interrotta;
      if (g.nonRegistrate > 0)
        attese << QStringLiteral(
                      "CASSA 1: %1 RIGHE LETTE NON REGISTRATE IN ARCHIVIO, sono elencate in %2")
                      .arg(g.nonRegistrate)
                      .arg(banco.percorso("RigheNonRegistrate1.txt"));
      attese << kTerminata;
      EXPECT_EQ(banco.cronologia, attese);
    }
}

// The send over a line that echoes or doubles: every record goes once, none listed as refused.
TEST(VenditeUnaVoltaE2e, EchoedOrDoubledAnswersNeverRefuseARecord) {
  for (const bool rete : {false, true}) {
    for (const Comportamento& modo : {Comportamento{.eco = true}, Comportamento{.doppio = true}}) {
      SCOPED_TRACE(std::string(rete ? "rete" : "seriale") + (modo.eco ? ", eco" : ", doppie"));
      BancoCasse banco;
      SimulatoreRegistratore& cassa = rete ? banco.cassaInRete(modo) : banco.cassaSeriale(1, modo);
      negozio(banco, cassa);
      banco.prompts.answers = {Answer::Yes, Answer::No};
      const EsitoInvio esito = banco.invia(false);
      EXPECT_EQ(esito.statoUscita(), 0);
      EXPECT_EQ(cassa.comandi().filter("P/").size(), 3);
      EXPECT_TRUE(banco.visualizzatore.visti.empty());
    }
  }
}

// Two products that carry one barcode are one PLU on the register: asked once, booked once.
TEST(VenditeUnaVoltaE2e, ABarcodeTwoProductsShareIsAskedAndBookedOnce) {
  BancoCasse banco;
  SimulatoreRegistratore& cassa = banco.cassaInRete();
  negozio(banco, cassa);
  banco.aggiungi({.codice = "4", .barCode = kAcqua, .quantita = 10});
  cassa.letture().impostaVenduto(kAcqua, 2500);
  EXPECT_TRUE(leggi(banco, kProdotto).tutteComplete());
  EXPECT_EQ(cassa.comandi().count("h/8001234567890/"), 1);
  EXPECT_EQ(banco.negozio.storico().at(kAcqua), std::vector<double>{2.5});
  EXPECT_EQ(banco.negozio.quantita("1") + banco.negozio.quantita("4"), 17.5);
}

// The register's table dumped into the receive file is no sale: the reading after it books its
// own lines only.
TEST(VenditeUnaVoltaE2e, TableDumpIsNeverBookedAsSales) {
  BancoCasse banco;
  SimulatoreRegistratore& cassa = banco.cassaSeriale(1);
  negozio(banco, cassa);
  cassa.letture().impostaVenduto(kAcqua, 2500);
  banco.prompts.inputs = {QStringLiteral("3")};
  RicezionePlu dump({*banco.db,
                     banco.collegamento().trasporto(),
                     banco.collegamento().driver(),
                     banco.prompts,
                     banco.clock,
                     [] { return true; },
                     {}});
  ASSERT_TRUE(dump.cmdGeneraFile_Click().tutteComplete());
  EXPECT_EQ(banco.righe("PLUOstrel1.txt").size(), 3);

  EXPECT_TRUE(leggi(banco, kLista).tutteComplete());
  EXPECT_EQ(banco.righe("PLUOstrel1.txt").size(), 4);
  EXPECT_EQ(banco.negozio.storico(), (std::map<QString, std::vector<double>>{{kAcqua, {2.5}}}));
  EXPECT_EQ(banco.negozio.quantita("1"), 7.5);
}

// A small file system that fills up under the receive file. The reading that meets the full
// disk says so, books nothing it did not write and leaves the file as it was; once there is
// room the next reading books every sale once, and the lines an older version had booked stay
// unbooked.
TEST(VenditeUnaVoltaE2e, FullDiskFailsTheReadingAndTheNextOneBooksOnce) {
  QTemporaryDir punto;
  DiscoMontato disco(punto.path(), 8);
  if (!disco.montato()) {
    GTEST_SKIP() << "no small file system can be mounted here";
  }
  const QByteArray percorso = QFile::encodeName(punto.path());

  BancoCasse banco;
  SimulatoreRegistratore& cassa = banco.cassaSeriale(1);
  negozio(banco, cassa);
  cassa.letture().impostaVenduto(kAcqua, 2500);
  cassa.letture().impostaVenduto(kPane, 1000);
  QFile ini(banco.cartella.setup());
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[Cartelle]\r\nOUT=" + percorso + "\r\n");
  ini.close();
  // An older version's lines fill the file's first page to the last byte; another file the rest.
  const QString ricezione = punto.filePath("PLUOstrel1.txt");
  const QByteArray vecchia = "00/00/00/8001234567890/ACQUA/3/0.35/51/9000/0/0/0/0/0/0\r\n";
  QByteArray vecchie = vecchia.repeated(4095 / vecchia.size());
  vecchie += QByteArray(4095 - vecchie.size(), ' ') + "\n";
  for (const auto& [nome, testo] :
       {std::pair{ricezione, vecchie},
        std::pair{punto.filePath("altro.bin"), QByteArray(4096, 'x')}}) {
    QFile f(nome);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(testo), testo.size());
  }

  const EsitoLettura piena = leggi(banco, kProdotto);
  EXPECT_FALSE(piena.tutteComplete());
  ASSERT_EQ(piena.lette.size(), 1u);
  EXPECT_EQ(piena.lette[0].righe, 0);
  ASSERT_EQ(banco.cronologia.size(), 2);
  EXPECT_TRUE(banco.cronologia[0].startsWith(
      QString::fromUtf8("LETTURA CASSA 1 INTERROTTA: Spazio su disco esaurito in \"%1\": \"%2\" "
                        "non è stato scritto.")
          .arg(punto.path(), ricezione)))
      << banco.cronologia[0].toStdString();
  EXPECT_EQ(banco.cronologia[1], kTerminata);
  QFile file(ricezione);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), vecchie);
  file.close();
  EXPECT_TRUE(banco.negozio.storico().empty());
  EXPECT_EQ(banco.negozio.quantita("1"), 10);

  ASSERT_TRUE(QFile::remove(punto.filePath("altro.bin")));
  banco.cronologia.clear();
  EXPECT_TRUE(leggi(banco, kProdotto).tutteComplete());
  EXPECT_EQ(banco.negozio.quantita("1"), 7.5);
  EXPECT_EQ(banco.negozio.quantita("3"), 2);
  EXPECT_EQ(banco.negozio.storico().size(), 3u);  // the coffee sold nothing: a row of 0
  EXPECT_EQ(banco.cronologia, QStringList{kTerminata});
}

// "listinova leggi" and the simulator as processes of their own. A reading killed (kill -9)
// after appending a sale and before booking it leaves the sale pending; the next reading books
// it, once, before its own lines, and exits 2 for a quantity it could not book.
class LeggiComeProcesso : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath(negozio + "/Dati");
    auto db = ApriDatabase(negozio + "/Dati/DbNegozio.mdb");
    auto rs = db->openRecordset("select * from Magazzino");
    for (const auto& [codice, barCode] : {std::pair{"1", kAcqua}, std::pair{"2", kPane}}) {
      rs.addNew();
      rs.setText("CodMateriale", codice);
      rs.setText("BarCode", barCode);
      rs.setValue("Quantità", 10);
      rs.update();
    }
    scrivi(dir.filePath("tabella.txt"),
           "P/51/8001234567890/ACQUA/1/0/0.35/150.00/0.000/0/\r\n"
           "P/52/8009876543210/PANE/1/0/1.20/150.00/0.000/0/\r\n");
  }
  void TearDown() override { fermaSimulatore(); }

  static void scrivi(const QString& percorso, const QByteArray& testo) {
    QFile file(percorso);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testo);
  }
  // A fresh register that sold `venduti`, answering each question after `ritardo` ms.
  void avviaSimulatore(const QByteArray& venduti, const QString& ritardo) {
    fermaSimulatore();
    scrivi(dir.filePath("venduti.txt"), venduti);
    simulatore.start(LISTINOVA_SIMULATORE,
                     {"--pty", "--tabella", dir.filePath("tabella.txt"), "--venduti",
                      dir.filePath("venduti.txt"), "--ritardo", ritardo});
    ASSERT_TRUE(simulatore.waitForReadyRead(10000));
    const QString porta =
        QString::fromUtf8(simulatore.readLine()).trimmed().section(QStringLiteral(": "), 1);
    ASSERT_TRUE(porta.startsWith("/dev/")) << porta.toStdString();
    scrivi(negozio + "/Setup.ini",
           "[RegCassa]\r\nPortaCOM=" + porta.toUtf8() + "\r\n[Acquisizione]\r\nMetodo=2\r\n");
  }
  void fermaSimulatore() {
    if (simulatore.state() == QProcess::NotRunning) return;
    simulatore.terminate();
    simulatore.waitForFinished(5000);
  }
  void avviaLettura(QProcess& lavoro,
                    const QStringList& argomenti = {"leggi", "--codice", "KORVADE"}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LISTINOVA_CARTELLA", negozio);
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.remove("DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    lavoro.setProcessEnvironment(env);
    lavoro.start(LISTINOVA_BINARY, argomenti);
  }
  std::map<QString, std::vector<double>> storico() {
    std::map<QString, std::vector<double>> righe;
    auto db = ApriDatabase(negozio + "/Dati/DbNegozio.mdb");
    for (auto rs = db->openRecordset("Select * from StoricoPLU"); !rs.eof(); rs.moveNext())
      righe[rs.text("EAN")].push_back(rs.number("Qta"));
    return righe;
  }
  double giacenza(const QString& codice) {
    auto db = ApriDatabase(negozio + "/Dati/DbNegozio.mdb");
    return db->openRecordset("Select Quantità from Magazzino where CodMateriale='" + codice + "'")
        .number("Quantità");
  }

  QTemporaryDir dir;
  QString negozio = dir.filePath("negozio");
  QString ricezione = negozio + "/PLUOstrel1.txt";
  QProcess simulatore;
};

// Unattended: only with the code, once a day unless asked again.
TEST_F(LeggiComeProcesso, ReadsWithTheCodeOnceADayUnlessAskedAgain) {
  avviaSimulatore("8001234567890=2500\n", "0");
  const struct {
    QStringList argomenti;
    int uscita;
    const char* messaggio;  // in what the job prints
    double giacenza;
  } casi[] = {
      {{"leggi"}, 2, "--codice", 10},
      {{"leggi", "--codice", "korvade"}, 1, "PASSWORD ERRATA", 10},
      {{"leggi", "--codice", "KORVADE"}, 0, "Cassa 1: letta fino in fondo", 7.5},
      {{"leggi", "--codice", "KORVADE"}, 1, "sono già state lette oggi alle", 7.5},
      {{"leggi", "--codice", "KORVADE", "--ancora"}, 0, "Continuare? Sì", 5},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.argomenti.join(' ').toStdString());
    QProcess lavoro;
    avviaLettura(lavoro, c.argomenti);
    ASSERT_TRUE(lavoro.waitForFinished(30000));
    const QString testo = QString::fromUtf8(lavoro.readAllStandardOutput()) +
                          QString::fromUtf8(lavoro.readAllStandardError());
    EXPECT_EQ(lavoro.exitCode(), c.uscita) << testo.toStdString();
    EXPECT_TRUE(testo.contains(QString::fromUtf8(c.messaggio))) << testo.toStdString();
    EXPECT_EQ(giacenza("1"), c.giacenza);
    EXPECT_EQ(QFile::exists(ricezione), c.giacenza < 10);
  }
}

TEST_F(LeggiComeProcesso, KilledReadingIsBookedOnceByTheNextAndExitSaysWhatWasNotBooked) {
  avviaSimulatore("8001234567890=2500\n", "300");
  QProcess uccisa;
  avviaLettura(uccisa);
  ASSERT_TRUE(uccisa.waitForStarted(10000));
  QElapsedTimer tempo;
  tempo.start();
  while (QFileInfo(ricezione).size() == 0 && tempo.elapsed() < 20000) QThread::msleep(5);
  ASSERT_GT(QFileInfo(ricezione).size(), 0);
  uccisa.kill();
  ASSERT_TRUE(uccisa.waitForFinished(5000));
  EXPECT_EQ(uccisa.exitStatus(), QProcess::CrashExit);
  EXPECT_TRUE(storico().empty());
  EXPECT_EQ(giacenza("1"), 10);

  avviaSimulatore("8001234567890=2500\n8009876543210=1e9\n", "0");
  QProcess seguente;
  avviaLettura(seguente);
  ASSERT_TRUE(seguente.waitForFinished(30000));
  const QString testo = QString::fromUtf8(seguente.readAllStandardOutput()) +
                        QString::fromUtf8(seguente.readAllStandardError());
  EXPECT_EQ(seguente.exitCode(), 2) << testo.toStdString();
  EXPECT_TRUE(
      testo.contains("Cassa 1: letta fino in fondo, righe lette 2, vendite rimaste da una "
                     "lettura interrotta registrate ora 1, vendite registrate 2, righe "
                     "NON registrate 1 (elencate in " +
                     negozio + "/RigheNonRegistrate1.txt)"))
      << testo.toStdString();
  EXPECT_TRUE(testo.contains("CASSA 1: 1 RIGHE LETTE NON REGISTRATE IN ARCHIVIO"))
      << testo.toStdString();
  // the killed reading's water and this reading's; the bread's "1e9" is listed, not booked
  EXPECT_EQ(storico(), (std::map<QString, std::vector<double>>{{kAcqua, {2.5, 2.5}}}));
  EXPECT_EQ(giacenza("1"), 5);
  EXPECT_EQ(giacenza("2"), 10);
  QFile elenco(negozio + "/RigheNonRegistrate1.txt");
  ASSERT_TRUE(elenco.open(QIODevice::ReadOnly));
  EXPECT_TRUE(elenco.readAll().endsWith("/1e9/0/0/0\tquantità \"1e9\" non numerica\r\n"));
}

}  // namespace
}  // namespace listinova::testing
