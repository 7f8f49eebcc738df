// The product list's side of the import: its button and the exchange-folder timer.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "catalogue/magazzino.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"

namespace listinova {
namespace {

class MagazzinoImportaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.prodotto("1", "Vecchio", "1,00");
    lista =
        std::make_unique<Magazzino>(*negozio.db, prompts, notice, clock, [] { return nullptr; });
    lista->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return righe() == 1; }));
  }
  void TearDown() override { lista.reset(); }
  int righe() { return lista->findChild<QTreeView*>("ListMagazzino")->model()->rowCount(); }
  void aggiungiProdotto() { negozio.prodotto("2", "Importato", "1,00"); }

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::unique_ptr<Magazzino> lista;
};

TEST_F(MagazzinoImportaTest, TheImportButtonReloadsTheListOnlyWhenTheWindowOpened) {
  QPushButton* importa = lista->findChild<QPushButton*>("cmdImporta");
  ASSERT_TRUE(importa);
  EXPECT_FALSE(importa->isEnabled());
  bool aperta = false;
  lista->setImporta([&] {
    aggiungiProdotto();
    return aperta;
  });
  ASSERT_TRUE(importa->isEnabled());
  importa->click();
  EXPECT_EQ(righe(), 1) << "a refused password reloaded the list";
  aperta = true;
  negozio.sqlite("DELETE FROM Magazzino WHERE CodMateriale='2'");
  importa->click();
  EXPECT_EQ(righe(), 2);
}

TEST_F(MagazzinoImportaTest, TheExchangeTimerIsOffWhileItRunsAndReloadsAfterAnImport) {
  int passaggi = 0;
  bool dentro = false;
  bool rientrato = false;
  lista->setImportaInterscambio(
      [&] {
        rientrato = rientrato || dentro;
        dentro = true;
        QTest::qWait(30);  // a pass that takes longer than the timer's interval
        dentro = false;
        if (++passaggi == 2) aggiungiProdotto();
        return passaggi == 2;
      },
      5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return passaggi >= 3; }));
  EXPECT_EQ(righe(), 2);
  EXPECT_FALSE(rientrato);
}

}  // namespace
}  // namespace listinova
