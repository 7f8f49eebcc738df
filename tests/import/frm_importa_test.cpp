#include "import/frm_importa.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

class FrmImportaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.prodotto({.cod = "1", .descrizione = "Vecchio", .barCode = "111", .fornitore = "ZETA"})
        .prodotto({.cod = "2", .descrizione = "Altro", .barCode = "222"})
        .prodotto({.cod = "3", .descrizione = "Terzo", .barCode = "333", .fornitore = "ALFA"});
    finestra = std::make_unique<FrmImporta>(
        AmbienteImporta{*negozio.db,
                        prompts,
                        clock,
                        [this](const QString& titolo, const QString& filtro) {
                          dialoghi << titolo + " | " + filtro;
                          return scelto;
                        },
                        negozio.file("Dati"),
                        {}});
    finestra->show();
  }
  template <class T>
  T* figlio(const char* nome) {
    return finestra->findChild<T*>(nome);
  }
  void procedi() { figlio<QPushButton>("cmdProcedi")->click(); }
  QStringList domande() { return testing::askedTexts(prompts); }
  QStringList prodotti(const QString& colonne = "BarCode") {
    return negozio.righe("SELECT " + colonne + " FROM Magazzino ORDER BY CLng(CodMateriale)");
  }

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::FakeClock clock;
  QStringList dialoghi;
  QString scelto;
  std::unique_ptr<FrmImporta> finestra;
};

TEST_F(FrmImportaTest, ChecksStopTheImportAndCancellingSaysSo) {
  procedi();
  EXPECT_EQ(domande(), QStringList{"Operazione annullata dall'Utente"});
  EXPECT_EQ(dialoghi.size(), 1);

  scelto = negozio.file("listino.txt", "x;x;x;1;Pasta;1;x;x;x;1\n");
  prompts.asked.clear();
  procedi();
  finestra->impostaPosizioni(PredefinitePerTesto({}));
  finestra->scegliSeparatore(4);  // "Pelidor 35" still wants the five positions distinct
  PosizioniImport doppie = PredefinitePerTesto({});
  doppie.prezzoVendita = 4;
  finestra->impostaPosizioni(doppie);
  procedi();
  figlio<QCheckBox>("ckFileExcel")->setChecked(true);
  procedi();
  EXPECT_EQ(domande(), QStringList({"Posizione del barcode non impostata",
                                    "Valori di colonna replicati - Controllare",
                                    "Posizione del Prezzo di Acquisto non impostata"}));
  EXPECT_EQ(prodotti(), QStringList({"111", "222", "333"}));
  EXPECT_TRUE(finestra->isVisible());
}

TEST_F(FrmImportaTest, ADelimitedImportEndsWithItsSummaryAndCloses) {
  scelto = negozio.file(
      "listino.txt", "x;x;x;8001234567897;Pasta 500g;3;x;x;x;1.5;x;7\nx;x;x;9;Rotta;zz;x;x;x;1\n");
  figlio<QPushButton>("cmdValPredef")->click();
  prompts.answers = {platform::Answer::Yes};  // three products would become one
  procedi();
  ASSERT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(prompts.asked[0].text,
            "L'archivio passerebbe da 3 a 1 prodotti. Sostituirlo comunque?");
  EXPECT_EQ(prompts.asked[0].defaultAnswer, platform::Answer::No);
  const QString riepilogo = prompts.asked[1].text;
  EXPECT_TRUE(riepilogo.startsWith("Operazione terminata\n\nRighe lette: 2\nProdotti aggiunti: 1"))
      << riepilogo.toStdString();
  EXPECT_TRUE(riepilogo.contains("riga 2: reparto \"zz\" non numerico"));
  EXPECT_TRUE(riepilogo.contains(negozio.file("Dati/Importazione-2024-03-15.txt")));
  EXPECT_TRUE(QFile::exists(negozio.file("Dati/Importazione-2024-03-15.txt")));
  EXPECT_EQ(figlio<QLabel>("lblTab")->text(), "Importazione Dati PLU - Terminata");
  EXPECT_EQ(prodotti("CodMateriale,BarCode,Descrizione,Quantità,Costo"),
            QStringList{"1|8001234567897|Pasta 500g|2000|1.5"});
  EXPECT_FALSE(finestra->isVisible());
}

TEST_F(FrmImportaTest, OpensWithTheSuppliersAndItsPreviewImportsNothing) {
  QComboBox* fornitori = figlio<QComboBox>("cbFornitore");
  ASSERT_EQ(fornitori->count(), 3);
  EXPECT_EQ(fornitori->itemText(1), "ALFA");
  EXPECT_EQ(fornitori->itemText(2), "ZETA");
  QByteArray righe;
  for (int i = 1; i <= 30; ++i) righe += "a:b:" + QByteArray::number(i) + "\n";
  scelto = negozio.file("listino.txt", righe);
  finestra->scegliSeparatore(3);
  figlio<QPushButton>("cmdAnteprima")->click();
  QTableWidget* tabella = figlio<QTableWidget>("anteprima");
  ASSERT_EQ(tabella->rowCount(), 20);
  ASSERT_EQ(tabella->columnCount(), 3);
  EXPECT_EQ(tabella->horizontalHeaderItem(2)->text(), "3");
  EXPECT_EQ(tabella->item(19, 2)->text(), "20");
  EXPECT_EQ(prodotti(), QStringList({"111", "222", "333"}));
  EXPECT_TRUE(prompts.asked.empty());
}

}  // namespace
}  // namespace listinova
