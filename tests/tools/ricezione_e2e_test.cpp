// Reading the registers as the operator runs it: the program's own code from the wire to the
// store, over a pseudo-terminal and UDP on loopback, against the simulated register.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <map>

#include "banco_casse.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "register/ricezione_plu.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using simulatore::Comportamento;
using simulatore::RegolaCodice;
using simulatore::SimulatoreRegistratore;

const QString kAnnullare = "Vuoi interrompere la ricezione dei dati?";
const QString kTerminata = "IMPORTAZIONE TERMINATA";
QString nonPronta(int n) {
  return QStringLiteral("Stampante -- CASSA %1 -- non pronta! - Riprovare?").arg(n);
}
QString interrotta(int n, int righe) {
  return QStringLiteral("LETTURA CASSA %1 INTERROTTA: LA CASSA NON RISPONDE - RIGHE LETTE: %2")
      .arg(n)
      .arg(righe);
}

// Water, an in-store coffee with a second barcode, bread that sold nothing.
void negozio(BancoCasse& banco) {
  banco.aggiungi({.codice = "1", .barCode = "8001234567890", .quantita = 10, .costo = "0,35"});
  banco.aggiungi({.codice = "2", .barCode = "2012345000017", .quantita = 12, .costo = "4,50"});
  banco.aggiungiBarCode("2", "8000000000099");
  banco.aggiungi({.codice = "3", .barCode = "8009876543210", .quantita = 3, .costo = "1,20"});
}

// The whole archive goes to the register first, as the shop does, so its table is the
// program's own.
void inviaTutto(BancoCasse& banco) {
  banco.prompts.answers = {Answer::Yes};
  ASSERT_TRUE(banco.invia(false).tutteRiuscite());
  banco.cronologia.clear();
}

class Lettura {
 public:
  explicit Lettura(BancoCasse& banco)
      : ricezione_({*banco.db,
                    banco.collegamento().trasporto(),
                    banco.collegamento().driver(),
                    banco.prompts,
                    banco.clock,
                    [] { return true; },
                    {{},
                     [this](int v, int) {
                       if (dopoAvanzamento) dopoAvanzamento(v);
                     },
                     {}}}) {}

  EsitoLettura leggi(MetodoLettura metodo, bool torvane = false) {
    return ricezione_.cmdRiceviPLU_Click(metodo, torvane);
  }
  RicezionePlu& ricezione() { return ricezione_; }

  std::function<void(int)> dopoAvanzamento;

 private:
  RicezionePlu ricezione_;
};

struct Caso {
  const char* nome;
  bool rete;
  MetodoLettura metodo;
};

class LetturaE2eTest : public ::testing::TestWithParam<Caso> {};

// The register sold 2,5 waters, one coffee by its in-store code and, for the lists, two more
// by its second barcode; a product known by barcode alone sold 0,001. Two readings book their
// own lines only.
TEST_P(LetturaE2eTest, SoldQuantitiesReachStockAndHistory) {
  const Caso caso = GetParam();
  BancoCasse banco;
  negozio(banco);
  SimulatoreRegistratore& cassa = caso.rete ? banco.cassaInRete() : banco.cassaSeriale(1);
  inviaTutto(banco);
  cassa.tabelle().applica("A/8005000000001/SOLO CODICE/1/0/1.00/150.00/0.000/00010000/");
  cassa.letture().impostaVenduto("8001234567890", 2500);
  cassa.letture().impostaVenduto("12345", 1000);
  cassa.letture().impostaVenduto("8000000000099", 2000);
  cassa.letture().impostaVenduto("8005000000001", 1);

  const bool lista = caso.metodo == MetodoLettura::Lista;
  for (int lettura = 1; lettura <= 2; ++lettura) {
    SCOPED_TRACE(lettura);
    // The second reading of the day is asked for, and the operator says Yes.
    if (lettura == 2) banco.prompts.answers.push_back(platform::Answer::Yes);
    Lettura l(banco);
    const EsitoLettura esito = l.leggi(caso.metodo);
    EXPECT_TRUE(esito.tutteComplete());
    ASSERT_EQ(esito.lette.size(), 1u);
    // per product: the three products of the archive; lists: the four PLUs that sold
    EXPECT_EQ(esito.lette[0].righe, lista ? 4 : 3);
    EXPECT_EQ(banco.cronologia.last(), kTerminata);
  }
  if (!lista) {
    EXPECT_TRUE(cassa.comandi().contains("h/12345/"));
  }
  EXPECT_EQ(
      banco.cronologia.filter("Le vendite della cassa 1 sono già state lette oggi alle ").size(),
      1);
  EXPECT_EQ(banco.righe("PLUOstrel1.txt").size(), lista ? 8 : 6);
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("1"), 5.0);
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("2"), lista ? 6.0 : 10.0);
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("3"), 3.0);
  const auto righe = banco.negozio.storico();
  EXPECT_EQ(righe.at("8001234567890"), (std::vector<double>{2.5, 2.5}));
  EXPECT_EQ(righe.at("2012345000017"), (std::vector<double>{1.0, 1.0}));
  if (lista) {
    EXPECT_EQ(righe.at("8000000000099"), (std::vector<double>{2.0, 2.0}));
    EXPECT_EQ(righe.at("8005000000001"), (std::vector<double>{0.001, 0.001}));
    EXPECT_FALSE(righe.contains("8009876543210"));
  } else {
    EXPECT_EQ(righe.at("8009876543210"), (std::vector<double>{0.0, 0.0}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    MetodiELinee, LetturaE2eTest,
    ::testing::Values(Caso{"SerialePerProdotto", false, MetodoLettura::PerProdotto},
                      Caso{"SerialeLista", false, MetodoLettura::Lista},
                      Caso{"RetePerProdotto", true, MetodoLettura::PerProdotto},
                      Caso{"ReteLista", true, MetodoLettura::Lista}),
    [](const ::testing::TestParamInfo<Caso>& info) { return std::string(info.param.nome); });

TEST(LetturaE2e, TorvaneListsEverythingWithItsOwnFields) {
  BancoCasse banco;
  negozio(banco);
  SimulatoreRegistratore& cassa = banco.cassaSeriale(1);
  inviaTutto(banco);
  cassa.letture().impostaTorvane(true);
  cassa.letture().impostaVenduto("8001234567890", 1500);
  Lettura l(banco);
  EXPECT_TRUE(l.leggi(MetodoLettura::Lista, true).tutteComplete());
  EXPECT_FALSE(cassa.comandi().contains("K//"));
  EXPECT_EQ(cassa.comandi().count("n//"), 2);
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("1"), 8.5);
}

// Cancelled after the second product: what was read stays booked, register 2 is not asked.
TEST(LetturaE2e, CancelKeepsWhatWasReadAndSkipsLaterRegisters) {
  BancoCasse banco;
  negozio(banco);
  SimulatoreRegistratore& prima = banco.cassaSeriale(1);
  SimulatoreRegistratore& seconda = banco.cassaSeriale(2);
  for (SimulatoreRegistratore* c : {&prima, &seconda}) {
    c->tabelle().applica("P/51/8001234567890/ACQUA/3/0/0.35/150.00/0.000/00010000/");
    c->tabelle().applica("P/52/12345/CAFFE/2/0/4.50/150.00/0.000/00010000/");
    c->tabelle().applica("P/53/8009876543210/PANE/1/0/1.20/150.00/0.000/00010000/");
    c->letture().impostaVenduto("8001234567890", 1000);
    c->letture().impostaVenduto("8009876543210", 1000);
  }
  Lettura l(banco);
  banco.prompts.answers = {Answer::Yes};
  l.dopoAvanzamento = [&](int letti) {
    if (letti == 2) {
      EXPECT_FALSE(l.ricezione().cmdRiceviPLU_Click(MetodoLettura::PerProdotto, false).avviata);
    }
  };
  const EsitoLettura esito = l.leggi(MetodoLettura::PerProdotto);
  EXPECT_TRUE(esito.annullata);
  EXPECT_FALSE(esito.tutteComplete());
  ASSERT_EQ(esito.lette.size(), 1u);
  EXPECT_EQ(esito.lette[0].righe, 2);
  EXPECT_TRUE(seconda.comandi().isEmpty());
  EXPECT_THAT(banco.cronologia, ::testing::ElementsAre(kAnnullare, kTerminata));
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("1"), 9.0);
  EXPECT_DOUBLE_EQ(banco.negozio.quantita("3"), 3.0);
  EXPECT_FALSE(RicezionePlu::inCorso());
}

// Never an endless wait: a register that does not take the enquiry, one that stops answering
// in the middle of its list, one that answers its list with an error.
TEST(LetturaE2e, SilentOrFailingRegistersEndWithAMessage) {
  BancoCasse banco;
  negozio(banco);
  SimulatoreRegistratore& muta = banco.cassaSeriale(1, Comportamento{.silenzioso = true});
  SimulatoreRegistratore& smette = banco.cassaSeriale(2);
  SimulatoreRegistratore& errore = banco.cassaSeriale(
      3, Comportamento{.codici = {RegolaCodice::perPrefisso("J//", "06", RegolaCodice::Sempre)}});
  for (SimulatoreRegistratore* c : {&muta, &smette, &errore}) {
    for (int i = 0; i < 6; ++i)
      c->tabelle().applica(
          QStringLiteral("P/%1/800000000000%2/X/1/0/1.00/150.00/0.000/0/").arg(51 + i).arg(i));
    for (int i = 0; i < 6; ++i)
      c->letture().impostaVenduto(QStringLiteral("800000000000%1").arg(i), 1000);
  }
  Lettura l(banco);
  QObject::connect(&smette, &SimulatoreRegistratore::comandoRicevuto, &smette, [&](const QString&) {
    if (smette.comandi().size() == 4) smette.impostaComportamento({.silenziosoAiComandi = true});
  });
  banco.prompts.answers = {Answer::No};  // not ready: give register 1 up
  const EsitoLettura esito = l.leggi(MetodoLettura::Lista);
  EXPECT_FALSE(esito.tutteComplete());
  ASSERT_EQ(esito.lette.size(), 3u);
  EXPECT_EQ(esito.lette[1].righe, 3);
  EXPECT_EQ(esito.lette[2].righe, 0);
  // the register's error is named, and the list is not asked again
  EXPECT_THAT(banco.cronologia,
              ::testing::ElementsAre(
                  nonPronta(1), interrotta(2, 3),
                  "LETTURA CASSA 3 INTERROTTA: ERRORE 6 DELLA CASSA: Comando non supportato - "
                  "RIGHE LETTE: 0",
                  kTerminata));
  EXPECT_TRUE(muta.comandi().isEmpty());
  EXPECT_EQ(errore.comandi(), QStringList{"J//"});
  EXPECT_EQ(banco.negozio.storico().size(), 3u);
}

}  // namespace
}  // namespace listinova::testing
