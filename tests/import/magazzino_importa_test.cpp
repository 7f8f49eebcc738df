// The product list's side of the import: its button and the exchange-folder timer.
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "catalogue/magazzino.h"
#include "import/archivio_import.h"
#include "startup/var_globali.h"
#include "support/fakes.h"

namespace listinova {
namespace {

class MagazzinoImportaTest : public testing::ArchivioImport {
 protected:
  void SetUp() override {
    ArchivioImport::SetUp();
    Globali() = VarGlobali{};
    Globali().PercorsoSetup = dir.filePath("Setup.ini");
    Globali().CartellaProgramma = dir.path();
    db->execute("INSERT INTO Magazzino (CodMateriale, Descrizione) VALUES ('1', 'Vecchio')");
    lista = std::make_unique<Magazzino>(*db, prompts, notice, clock, [] { return nullptr; });
    lista->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return righe() == 1; }));
  }
  void TearDown() override {
    lista.reset();
    Globali() = VarGlobali{};
  }
  int righe() { return lista->findChild<QTreeView*>("ListMagazzino")->model()->rowCount(); }
  void aggiungiProdotto() {
    db->execute("INSERT INTO Magazzino (CodMateriale, Descrizione) VALUES ('2', 'Importato')");
  }

  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::unique_ptr<Magazzino> lista;
};

TEST_F(MagazzinoImportaTest, TheImportButtonReloadsTheListOnlyWhenTheWindowOpened) {
  QPushButton* importa = lista->findChild<QPushButton*>("cmdImporta");
  ASSERT_TRUE(importa);
  EXPECT_EQ(importa->text(), "&Importa da FileDati");
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
  db->execute("DELETE FROM Magazzino WHERE CodMateriale='2'");
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
