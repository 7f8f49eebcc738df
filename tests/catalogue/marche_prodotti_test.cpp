// The marks of the product list and the deleting commands, with their questions.
#include "catalogue/marche_prodotti.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::db::Database;

TEST(MarcaEtichettaSuccessiva, ShelfLabelToggleTable) {
  struct Caso {
    const char* attuale;
    bool perFrontalini;
    const char* attesa;
  };
  const Caso casi[] = {
      {"", true, "F"},  {"N", true, "F"},  {"F", true, "N"},  {"X", true, "X"},
      {"", false, "N"}, {"F", false, "N"}, {"X", false, "N"}, {"N", false, "N"},
  };
  for (const Caso& caso : casi)
    EXPECT_EQ(MarcaEtichettaSuccessiva(caso.attuale, caso.perFrontalini), caso.attesa)
        << caso.attuale << " " << caso.perFrontalini;
}

class MarcheProdottiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db->execute(
        "INSERT INTO Magazzino (CodMateriale, Descrizione, Modificato) VALUES "
        "('5', 'Latte intero', 0), ('6', 'Pane', -1), ('7', 'Grissini', 0)");
    db->execute(
        "INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES ('5', '111'), ('5', '112'), "
        "('6', '221')");
    db->execute("INSERT INTO Offerte (Articolo, PrzScnt) VALUES ('5', 1), ('7', 2)");
  }

  int conta(const QString& sql) { return db->openRecordset(sql).recordCount(); }
  QString marca(const QString& codice) {
    auto rs = db->openRecordset("Select TipoVariazione from Magazzino where CodMateriale='" +
                                codice + "'");
    return rs.isNull("TipoVariazione") ? "<null>" : rs.text("TipoVariazione");
  }

  QTemporaryDir dir;
  std::unique_ptr<Database> db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
  testing::FakePrompts prompts;
  testing::FakeClock clock;
  MarcheProdotti marche{*db, prompts, clock};
};

// What each command asks, with which buttons and default, and that only Yes does the job.
// The product list window drives the same commands by clicks (see MagazzinoTest).
TEST_F(MarcheProdottiTest, EachCommandAsksFirstAndActsOnlyOnYes) {
  struct Caso {
    const char* nome;
    std::function<bool()> comando;
    QString domanda;
    std::optional<Answer> predefinita;
    QString verifica;  // rows changed by the job
    int prima, dopo;
  };
  db->execute("UPDATE Magazzino SET Modificato=-1 WHERE CodMateriale='7'");
  const Caso casi[] = {
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
       "Togliere il Flag di Frontalino da stampare a TUTTI i prodotti ? ", Answer::No, "", 0, 0},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    prompts.asked.clear();
    prompts.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(caso.comando());
    if (!caso.verifica.isEmpty()) {
      EXPECT_EQ(conta(caso.verifica), caso.prima);
    }
    EXPECT_TRUE(caso.comando());
    if (!caso.verifica.isEmpty()) {
      EXPECT_EQ(conta(caso.verifica), caso.dopo);
    }
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, caso.domanda);
    EXPECT_EQ(prompts.asked[0].buttons, Buttons::YesNo);
    EXPECT_EQ(prompts.asked[0].icon, Icon::Question);
    EXPECT_EQ(prompts.asked[0].defaultAnswer, caso.predefinita);
  }
  EXPECT_EQ(clock.waits, std::vector<int>({250}));  // after marking all
}

TEST_F(MarcheProdottiTest, EditOrDeleteQuestions) {
  prompts.answers = {Answer::No};
  EXPECT_EQ(marche.chiediModificaOCancella(), SceltaModifica::Modifica);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Eliminare il PLU?");
  EXPECT_EQ(prompts.asked[0].defaultAnswer, Answer::No);

  prompts.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(marche.chiediModificaOCancella(), SceltaModifica::Nessuna);
  ASSERT_EQ(prompts.asked.size(), 3u);
  EXPECT_EQ(prompts.asked[2].text,
            "Sicuro di procedere alla cancellazione del PLU e di tutti i dati ad esso associati?");
  EXPECT_EQ(prompts.asked[2].buttons, Buttons::YesNo);

  prompts.answers = {Answer::Yes, Answer::Yes};
  EXPECT_EQ(marche.chiediModificaOCancella(), SceltaModifica::Cancella);
}

TEST_F(MarcheProdottiTest, LabelMarkOfAProductThatIsNotThereChangesNothing) {
  db->execute("UPDATE Magazzino SET TipoVariazione='V' WHERE CodMateriale='6'");
  marche.cambiaMarcaEtichetta("6", true);
  EXPECT_EQ(marca("6"), "V");
  EXPECT_NO_THROW(marche.cambiaMarcaEtichetta("999", true));
  EXPECT_EQ(marca("7"), "<null>");
  EXPECT_EQ(conta("Select * from Magazzino"), 3);
}

TEST_F(MarcheProdottiTest, CodesThatAreNotNumbersStayQuoted) {
  db->execute(
      "INSERT INTO Magazzino (CodMateriale, Descrizione) VALUES ('Descrizione', 'x'), ('9', '9')");
  marche.cambiaMarcaEtichetta("Descrizione", true);
  EXPECT_EQ(marca("Descrizione"), "F");
  EXPECT_EQ(marca("9"), "<null>");
  marche.cancellaPLU("Descrizione");
  EXPECT_EQ(conta("Select * from Magazzino where CodMateriale='Descrizione'"), 0);
  EXPECT_EQ(conta("Select * from Magazzino"), 4);
}

}  // namespace
}  // namespace listinova
