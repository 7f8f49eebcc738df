#include "import/frm_importa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "import/archivio_import.h"
#include "startup/var_globali.h"
#include "support/fakes.h"

namespace listinova {
namespace {

using testing::ArchivioImport;

class FrmImportaTest : public ArchivioImport {
 protected:
  void SetUp() override {
    ArchivioImport::SetUp();
    db->execute(
        "INSERT INTO Magazzino (CodMateriale, BarCode, Descrizione, Fornitore) VALUES "
        "('1', '111', 'Vecchio', 'ZETA'), ('2', '222', 'Altro', NULL), "
        "('3', '333', 'Terzo', 'ALFA')");
    finestra = std::make_unique<FrmImporta>(
        AmbienteImporta{*db,
                        prompts,
                        clock,
                        [this](const QString& titolo, const QString& filtro) {
                          dialoghi << titolo + " | " + filtro;
                          return scelto;
                        },
                        dir.filePath("Dati"),
                        {}});
    finestra->show();
  }
  template <class T>
  T* figlio(const char* nome) {
    return finestra->findChild<T*>(nome);
  }
  void procedi() { figlio<QPushButton>("cmdProcedi")->click(); }
  QStringList domande() { return testing::askedTexts(prompts); }

  testing::FakePrompts prompts;
  testing::FakeClock clock;
  QStringList dialoghi;
  QString scelto;
  std::unique_ptr<FrmImporta> finestra;
};

TEST_F(FrmImportaTest, OpensWithSemicolonSuppliersAndTheNinePositionLists) {
  EXPECT_EQ(finestra->windowTitle(), "Importazione dati - Aggiornamento");
  EXPECT_TRUE(figlio<QRadioButton>("optSeparatore1")->isChecked());
  QComboBox* fornitori = figlio<QComboBox>("cbFornitore");
  ASSERT_EQ(fornitori->count(), 3);
  EXPECT_EQ(fornitori->itemText(0), "");
  EXPECT_EQ(fornitori->itemText(1), "ALFA");
  EXPECT_EQ(fornitori->itemText(2), "ZETA");
  EXPECT_EQ(clock.waits, std::vector<int>{650});
  for (const char* nome :
       {"cbPDes", "cbPQta", "cbPBC", "cbPRep", "cbPPV", "cbPACQ", "cbIVA", "cbCFOR", "cbFOR"}) {
    QComboBox* combo = figlio<QComboBox>(nome);
    ASSERT_TRUE(combo) << nome;
    EXPECT_EQ(combo->count(), 101);
    EXPECT_EQ(combo->itemText(100), "100");
  }
  figlio<QPushButton>("Command1")->click();
  figlio<QPushButton>("cmdValPredef")->click();
  const PosizioniImport p = finestra->posizioni();
  EXPECT_EQ(std::tie(p.descrizione, p.quantita, p.barcode, p.reparto, p.prezzoVendita,
                     p.prezzoAcquisto, p.iva, p.codiceFornitore, p.fornitore),
            std::make_tuple(5, 12, 4, 6, 10, 14, 8, 15, 17));
}

TEST_F(FrmImportaTest, ChecksStopTheImportAndCancellingSaysSo) {
  procedi();
  EXPECT_EQ(domande(), QStringList{"Operazione annullata dall'Utente"});
  ASSERT_EQ(dialoghi.size(), 1);
  EXPECT_EQ(dialoghi[0],
            "Apri file con i PLU da caricare | File di testo (*.txt);;File di Excel (*.xls "
            "*.xlsx *.ods);;File di testo (*.old)");

  scelto = file("listino.txt", "x;x;x;1;Pasta;1;x;x;x;1\n");
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
  EXPECT_EQ(prodotti("BarCode"), QStringList({"111", "222", "333"}));
  EXPECT_TRUE(finestra->isVisible());
}

TEST_F(FrmImportaTest, ADelimitedImportEndsWithItsSummaryAndCloses) {
  scelto = file("listino.txt",
                "x;x;x;8001234567897;Pasta 500g;3;x;x;x;1.5;x;7\nx;x;x;9;Rotta;zz;x;x;x;1\n");
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
  EXPECT_TRUE(riepilogo.contains(dir.filePath("Dati/Importazione-2024-03-15.txt")));
  EXPECT_TRUE(QFile::exists(dir.filePath("Dati/Importazione-2024-03-15.txt")));
  EXPECT_EQ(figlio<QLabel>("lblTab")->text(), "Importazione Dati PLU - Terminata");
  EXPECT_EQ(prodotti(), QStringList{"1|8001234567897|Pasta 500g|2000|1.5"});
  EXPECT_FALSE(finestra->isVisible());
}

TEST_F(FrmImportaTest, PreviewSplitsTheFirstRowsAndImportsNothing) {
  QByteArray righe;
  for (int i = 1; i <= 30; ++i) righe += "a:b:" + QByteArray::number(i) + "\n";
  scelto = file("listino.txt", righe);
  finestra->scegliSeparatore(3);
  figlio<QPushButton>("cmdAnteprima")->click();
  QTableWidget* tabella = figlio<QTableWidget>("anteprima");
  ASSERT_EQ(tabella->rowCount(), 20);
  ASSERT_EQ(tabella->columnCount(), 3);
  EXPECT_EQ(tabella->horizontalHeaderItem(2)->text(), "3");
  EXPECT_EQ(tabella->item(19, 2)->text(), "20");
  EXPECT_EQ(prodotti("BarCode"), QStringList({"111", "222", "333"}));
  EXPECT_TRUE(prompts.asked.empty());
}

}  // namespace
}  // namespace listinova
