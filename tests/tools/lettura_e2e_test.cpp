// Reading the registers as the operator runs it, from the wire to the store, over a
// pseudo-terminal and UDP on loopback: every sale the register reports is booked once, or the
// operator is told which lines were not and why, whatever the register or the disk does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "banco_casse.h"
#include "support/disco_montato.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using simulatore::Comportamento;
using simulatore::RegolaCodice;
using simulatore::SimulatoreRegistratore;
using Storico = std::map<QString, std::vector<double>>;

const QString kTerminata = "IMPORTAZIONE TERMINATA";
const QString kAcqua = "8001234567890";
const QString kPane = "8009876543210";
constexpr auto kLista = MetodoLettura::Lista;
constexpr auto kProdotto = MetodoLettura::PerProdotto;

// Water, an in-store coffee with a second barcode, bread; the registers hold them as PLUs.
void negozio(BancoCasse& banco, std::initializer_list<SimulatoreRegistratore*> casse) {
  banco.negozio.prodotto({"1", "ACQUA", kAcqua, "3", 10})
      .prodotto({"2", "CAFFE", "2012345000017", "2", 12})
      .barCodeUlteriore("2", "8000000000099")
      .prodotto({"3", "PANE", kPane, "1", 3});
  for (SimulatoreRegistratore* cassa : casse)
    for (const char* plu : {"P/51/8001234567890/ACQUA/3/0/0.35/150.00/0.000/00010000/",
                            "P/52/12345/CAFFE/2/0/4.50/150.00/0.000/00010000/",
                            "P/53/8009876543210/PANE/1/0/1.20/150.00/0.000/00010000/",
                            "P/54/8000000000099/CAFFE/2/0/4.50/150.00/0.000/00010000/"})
      cassa->tabelle().applica(plu);
}

// The register sold 2,5 waters, one coffee by its in-store code and, for the lists, two more
// by its second barcode; a product known by barcode alone sold 0,001. Two readings book their
// own lines only.
TEST(LetturaE2e, SoldQuantitiesReachStockAndHistory) {
  for (const bool rete : {false, true})
    for (const MetodoLettura metodo : {kProdotto, kLista}) {
      const bool lista = metodo == kLista;
      SCOPED_TRACE(std::string(rete ? "rete" : "seriale") + (lista ? ", lista" : ", prodotto"));
      BancoCasse banco;
      SimulatoreRegistratore& cassa = rete ? banco.cassaInRete() : banco.cassaSeriale(1);
      negozio(banco, {&cassa});
      cassa.tabelle().applica("A/8005000000001/SOLO CODICE/1/0/1.00/150.00/0.000/00010000/");
      cassa.letture().impostaVenduto(kAcqua, 2500);
      cassa.letture().impostaVenduto("12345", 1000);
      cassa.letture().impostaVenduto("8000000000099", 2000);
      cassa.letture().impostaVenduto("8005000000001", 1);
      // The second reading of the day is asked for, and the operator says Yes.
      banco.prompts.defaultAnswer = Answer::Yes;
      for (int lettura = 1; lettura <= 2; ++lettura) {
        const EsitoLettura esito = banco.leggi(metodo);
        EXPECT_TRUE(esito.tutteComplete());
        ASSERT_EQ(esito.lette.size(), 1u);
        // per product: the three products of the archive; lists: the four PLUs that sold
        EXPECT_EQ(esito.lette[0].righe, lista ? 4 : 3);
      }
      EXPECT_EQ(banco.cronologia.filter("cassa 1 sono già state lette oggi alle ").size(), 1);
      EXPECT_EQ(banco.cronologia.count(kTerminata), 2);
      EXPECT_EQ(banco.righe("PLUOstrel1.txt").size(), lista ? 8 : 6);
      EXPECT_EQ(cassa.comandi().contains("h/12345/"), !lista);
      EXPECT_DOUBLE_EQ(banco.negozio.quantita("1"), 5.0);
      EXPECT_DOUBLE_EQ(banco.negozio.quantita("2"), lista ? 6.0 : 10.0);
      EXPECT_DOUBLE_EQ(banco.negozio.quantita("3"), 3.0);
      Storico attese{{kAcqua, {2.5, 2.5}}, {"2012345000017", {1.0, 1.0}}};
      if (lista) {
        attese.insert({{"8000000000099", {2.0, 2.0}}, {"8005000000001", {0.001, 0.001}}});
      } else {
        attese.insert({kPane, {0.0, 0.0}});
      }
      EXPECT_EQ(banco.negozio.storico(), attese);
    }
}

struct Guasto {
  const char* nome;
  Comportamento modo;
  enum Linee { kSeriale, kRete, kEntrambe } linee;
  MetodoLettura metodo;
  // What the register sold: water, coffee (by its in-store code) as the field says it.
  QString acqua = "2500";
  QString caffe = "1000";
  // Expected: read to the end, stock of water and coffee, lines not booked and the reason the
  // reading stopped.
  bool completa = true;
  double giacenzaAcqua = 7.5;
  double giacenzaCaffe = 11;
  int nonRegistrate = 0;
  QString interrotta = {};
};

// Each row is one reading of a fresh shop; a sale is in the archive once, or in the list of
// lines not booked, or the reading says why it stopped.
TEST(LetturaE2e, EveryFaultBooksEachSaleOnceOrSaysWhy) {
  using enum Guasto::Linee;
  const auto carta = RegolaCodice::perPrefisso("J//", "2C", RegolaCodice::Sempre);
  const Guasto guasti[] = {
      {"eco, elenco", {.eco = true}, kEntrambe, kLista},
      {"eco, per prodotto", {.eco = true}, kSeriale, kProdotto},
      {"doppie, elenco", {.doppio = true}, kEntrambe, kLista},
      {"doppie, per prodotto", {.doppio = true}, kRete, kProdotto},
      {"lenta, elenco", {.ritardoMs = 1000}, kEntrambe, kLista},
      {"oltre l'attesa, elenco",
       {.ritardoMs = 3500},
       kEntrambe,
       kLista,
       "2500",
       "1000",
       false,
       10,
       12,
       0,
       "LA CASSA NON RISPONDE - RIGHE LETTE: 0"},
      {"ripete sempre, elenco",
       {.ripete = true},
       kEntrambe,
       kLista,
       "2500",
       "1000",
       false,
       7.5,
       12,
       0,
       "LA CASSA RIPETE UNA RISPOSTA GIA' RICEVUTA, L'ELENCO NON AVANZA - RIGHE LETTE: 1"},
      {"quantità impossibili, elenco",
       {},
       kSeriale,
       kLista,
       "9223372036854775807",
       "1e9",
       true,
       10,
       12,
       2},
      {"quantità impossibili, per prodotto",
       {},
       kRete,
       kProdotto,
       "12345678901234567890",
       "-",
       true,
       10,
       12,
       2},
      {"carta finita durante l'elenco",
       {.codici = {carta}},
       kSeriale,
       kLista,
       "2500",
       "1000",
       false,
       10,
       12,
       0,
       "ERRORE 44 DELLA CASSA: Carta finita - RIGHE LETTE: 0"},
  };
  for (const Guasto& g : guasti)
    for (const bool rete : {false, true}) {
      if (g.linee != kEntrambe && (g.linee == kRete) != rete) continue;
      SCOPED_TRACE(std::string(g.nome) + (rete ? ", rete" : ", seriale"));
      BancoCasse banco;
      SimulatoreRegistratore& cassa =
          rete ? banco.cassaInRete(g.modo) : banco.cassaSeriale(1, g.modo);
      negozio(banco, {&cassa});
      cassa.letture().impostaVendutoTesto(kAcqua, g.acqua);
      cassa.letture().impostaVendutoTesto("12345", g.caffe);
      cassa.letture().impostaVenduto(kPane, 1000);  // read after the others, when they are

      const EsitoLettura esito = banco.leggi(g.metodo);

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
      EXPECT_EQ(banco.cronologia, attese << kTerminata);
    }
}

// The other family's register is asked its lists in its own way.
TEST(LetturaE2e, TorvaneListsEverythingWithItsOwnFields) {
  BancoCasse banco;
  SimulatoreRegistratore& cassa = banco.cassaSeriale(1);
  negozio(banco, {&cassa});
  cassa.letture().impostaTorvane(true);
  cassa.letture().impostaVenduto(kAcqua, 1500);
  EXPECT_TRUE(banco.leggi(kLista, true).tutteComplete());
  EXPECT_FALSE(cassa.comandi().contains("K//"));
  EXPECT_EQ(cassa.comandi().count("n//"), 2);
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("1"), 8.5);
}

// Two products that carry one barcode are one PLU on the register: asked once, booked once.
TEST(LetturaE2e, ABarcodeTwoProductsShareIsAskedAndBookedOnce) {
  BancoCasse banco;
  SimulatoreRegistratore& cassa = banco.cassaInRete();
  negozio(banco, {&cassa});
  banco.negozio.prodotto({"4", "ACQUA", kAcqua, "3", 10});
  cassa.letture().impostaVenduto(kAcqua, 2500);
  EXPECT_TRUE(banco.leggi(kProdotto).tutteComplete());
  EXPECT_EQ(cassa.comandi().count("h/8001234567890/"), 1);
  EXPECT_EQ(banco.negozio.storico().at(kAcqua), std::vector<double>{2.5});
  EXPECT_EQ(banco.negozio.quantita("1") + banco.negozio.quantita("4"), 17.5);
}

// The register's table dumped into the receive file is no sale: the reading after it books its
// own lines only.
TEST(LetturaE2e, TableDumpIsNeverBookedAsSales) {
  BancoCasse banco;
  SimulatoreRegistratore& cassa = banco.cassaSeriale(1);
  negozio(banco, {&cassa});
  cassa.letture().impostaVenduto(kAcqua, 2500);
  banco.prompts.inputs = {QStringLiteral("4")};
  ASSERT_TRUE(banco.ricezione().cmdGeneraFile_Click().tutteComplete());
  EXPECT_EQ(banco.righe("PLUOstrel1.txt").size(), 4);

  EXPECT_TRUE(banco.leggi(kLista).tutteComplete());
  EXPECT_EQ(banco.righe("PLUOstrel1.txt").size(), 5);
  EXPECT_EQ(banco.negozio.storico(), (Storico{{kAcqua, {2.5}}}));
  EXPECT_EQ(banco.negozio.quantita("1"), 7.5);
}

// Cancelled after the second product: what was read stays booked, register 2 is not asked.
TEST(LetturaE2e, CancelKeepsWhatWasReadAndSkipsLaterRegisters) {
  BancoCasse banco;
  SimulatoreRegistratore& prima = banco.cassaSeriale(1);
  SimulatoreRegistratore& seconda = banco.cassaSeriale(2);
  negozio(banco, {&prima, &seconda});
  for (SimulatoreRegistratore* c : {&prima, &seconda}) {
    c->letture().impostaVenduto(kAcqua, 1000);
    c->letture().impostaVenduto(kPane, 1000);
  }
  banco.prompts.answers = {Answer::Yes};
  // A second press after the second product asks to cancel, and starts nothing.
  const auto premi = [&](int letti) { EXPECT_TRUE(letti != 2 || !banco.leggi(kProdotto).avviata); };
  const EsitoLettura esito = banco.ricezione(premi).cmdRiceviPLU_Click(kProdotto, false);
  EXPECT_TRUE(esito.annullata);
  EXPECT_FALSE(esito.tutteComplete());
  ASSERT_EQ(esito.lette.size(), 1u);
  EXPECT_EQ(esito.lette[0].righe, 2);
  EXPECT_TRUE(seconda.comandi().isEmpty());
  EXPECT_THAT(banco.cronologia,
              ::testing::ElementsAre("Vuoi interrompere la ricezione dei dati?", kTerminata));
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("1"), 9.0);
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("3"), 3.0);
  EXPECT_FALSE(RicezionePlu::inCorso());
}

// Never an endless wait: a register that does not take the enquiry, one that stops answering
// in the middle of its list, one that answers its list with an error.
TEST(LetturaE2e, SilentOrFailingRegistersEndWithAMessage) {
  BancoCasse banco;
  SimulatoreRegistratore& muta = banco.cassaSeriale(1, Comportamento{.silenzioso = true});
  SimulatoreRegistratore& smette = banco.cassaSeriale(2);
  SimulatoreRegistratore& errore = banco.cassaSeriale(
      3, Comportamento{.codici = {RegolaCodice::perPrefisso("J//", "06", RegolaCodice::Sempre)}});
  negozio(banco, {&muta, &smette, &errore});
  for (SimulatoreRegistratore* c : {&muta, &smette, &errore})
    for (const QString& ean : {kAcqua, QString("12345"), kPane, QString("8000000000099")})
      c->letture().impostaVenduto(ean, 1000);
  QObject::connect(&smette, &SimulatoreRegistratore::comandoRicevuto, &smette, [&](const QString&) {
    if (smette.comandi().size() == 4) smette.impostaComportamento({.silenziosoAiComandi = true});
  });
  banco.prompts.answers = {Answer::No};  // not ready: give register 1 up
  const EsitoLettura esito = banco.leggi(kLista);
  EXPECT_FALSE(esito.tutteComplete());
  ASSERT_EQ(esito.lette.size(), 3u);
  EXPECT_EQ(esito.lette[1].righe, 3);
  EXPECT_EQ(esito.lette[2].righe, 0);
  // the register's error is named, and the list is not asked again
  EXPECT_THAT(banco.cronologia,
              ::testing::ElementsAre(
                  "Stampante -- CASSA 1 -- non pronta! - Riprovare?",
                  "LETTURA CASSA 2 INTERROTTA: LA CASSA NON RISPONDE - RIGHE LETTE: 3",
                  "LETTURA CASSA 3 INTERROTTA: ERRORE 6 DELLA CASSA: Comando non supportato - "
                  "RIGHE LETTE: 0",
                  kTerminata));
  EXPECT_TRUE(muta.comandi().isEmpty());
  EXPECT_EQ(errore.comandi(), QStringList{"J//"});
  EXPECT_EQ(banco.negozio.storico().size(), 3u);
}

// A small file system that fills up under the receive file. The reading that meets the full
// disk says so, books nothing it did not write and leaves the file as it was; once there is
// room the next reading books every sale once, and the lines an older version had booked stay
// unbooked.
TEST(LetturaE2e, FullDiskFailsTheReadingAndTheNextOneBooksOnce) {
  QTemporaryDir punto;
  DiscoMontato disco(punto.path(), 8);
  if (!disco.montato()) GTEST_SKIP() << "no small file system can be mounted here";
  BancoCasse banco;
  SimulatoreRegistratore& cassa = banco.cassaSeriale(1);
  negozio(banco, {&cassa});
  cassa.letture().impostaVenduto(kAcqua, 2500);
  cassa.letture().impostaVenduto(kPane, 1000);
  banco.negozio.setup("Cartelle", "OUT", punto.path());
  // An older version's lines fill the file's first page to the last byte; another file the rest.
  const QString ricezione = punto.filePath("PLUOstrel1.txt");
  const QByteArray vecchia = "00/00/00/8001234567890/ACQUA/3/0.35/51/9000/0/0/0/0/0/0\r\n";
  QByteArray vecchie = vecchia.repeated(4095 / vecchia.size());
  vecchie += QByteArray(4095 - vecchie.size(), ' ') + "\n";
  ASSERT_TRUE(writeAll(ricezione, vecchie));
  ASSERT_TRUE(writeAll(punto.filePath("altro.bin"), QByteArray(4096, 'x')));

  const EsitoLettura piena = banco.leggi(kProdotto);
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
  EXPECT_EQ(readAll(ricezione), vecchie);
  EXPECT_TRUE(banco.negozio.storico().empty());
  EXPECT_EQ(banco.negozio.quantita("1"), 10);

  ASSERT_TRUE(QFile::remove(punto.filePath("altro.bin")));
  EXPECT_TRUE(banco.leggi(kProdotto).tutteComplete());
  EXPECT_EQ(banco.negozio.quantita("1"), 7.5);
  EXPECT_EQ(banco.negozio.quantita("3"), 2);
  EXPECT_EQ(banco.negozio.storico().size(), 3u);  // the coffee sold nothing: a row of 0
  EXPECT_EQ(banco.cronologia.mid(2), QStringList{kTerminata});
}

}  // namespace
}  // namespace listinova::testing
