// The marks of the product list and the deleting commands, with their questions.
#include "catalogue/marche_prodotti.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;

TEST(MarcaEtichettaSuccessiva, ShelfLabelToggleTable) {
  const struct {
    const char* attuale;
    bool perFrontalini;
    const char* attesa;
  } casi[] = {
      {"", true, "F"},  {"N", true, "F"},  {"F", true, "N"},  {"X", true, "X"},
      {"", false, "N"}, {"F", false, "N"}, {"X", false, "N"}, {"N", false, "N"},
  };
  for (const auto& c : casi)
    EXPECT_EQ(MarcaEtichettaSuccessiva(c.attuale, c.perFrontalini), c.attesa)
        << c.attuale << " " << c.perFrontalini;
}

class MarcheProdottiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.prodotto({.cod = "5", .descrizione = "Latte intero"})
        .prodotto({.cod = "6", .descrizione = "Pane", .modificato = true})
        .prodotto({.cod = "7", .descrizione = "Grissini", .modificato = true});
  }
  QString marca(const QString& codice) {
    return negozio.valore("Select TipoVariazione from Magazzino where CodMateriale='" + codice +
                          "'");
  }

  NegozioDiProva negozio;
  FakePrompts prompts;
  FakeClock clock;
  MarcheProdotti marche{*negozio.db, prompts, clock};
};

// What each command asks, with which default, and that only Yes does the job.
TEST_F(MarcheProdottiTest, EachCommandAsksFirstAndActsOnlyOnYes) {
  const struct {
    const char* nome;
    std::function<bool()> comando;
    QString domanda;
    std::optional<Answer> predefinita;
    QString verifica;  // rows changed by the job
    int prima, dopo;
  } casi[] = {
      {"clear modified", [&] { return marche.togliModificati(); },
       "TOGLIERE IL FLAG DI MODIFICATO A TUTTI I RECORD INTERESSATI?", Answer::No,
       "Select * from Magazzino where Modificato=True", 2, 0},
      {"mark all modified", [&] { return marche.segnaTuttiModificati(); },
       "Segnare come modificati TUTTI i prodotti dell'archivio?", Answer::No,
       "Select * from Magazzino where Modificato=True", 0, 3},
      {"delete", [&] { return marche.eliminaProdotto("5", "Latte intero"); },
       "Sicuro di eliminare: Latte intero ?", std::nullopt,
       "Select * from Magazzino where CodMateriale='5'", 1, 0},
      {"shelf labels", [&] { return marche.chiediTogliFrontalini(); },
       "Togliere il Flag di Frontalino da stampare a TUTTI i prodotti ? ", Answer::No,
       "Select * from Magazzino", 2, 2},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    prompts.asked.clear();
    prompts.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(c.comando());
    EXPECT_EQ(negozio.conta(c.verifica), c.prima);
    EXPECT_TRUE(c.comando());
    EXPECT_EQ(negozio.conta(c.verifica), c.dopo);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, c.domanda);
    EXPECT_EQ(prompts.asked[0].defaultAnswer, c.predefinita);
  }
}

TEST_F(MarcheProdottiTest, MarksAndDeletionsTouchOnlyTheirProduct) {
  EXPECT_NO_THROW(marche.cambiaMarcaEtichetta("999", true));
  EXPECT_EQ(marca("7"), "NULL");

  // Codes that are not numbers stay quoted.
  negozio.prodotto({.cod = "Descrizione", .descrizione = "x"});
  marche.cambiaMarcaEtichetta("Descrizione", true);
  EXPECT_EQ(marca("Descrizione"), "F");
  EXPECT_EQ(marca("5"), "NULL");
  marche.cancellaPLU("Descrizione");
  EXPECT_EQ(negozio.conta("Select * from Magazzino"), 3);
}

}  // namespace
}  // namespace listinova::testing
