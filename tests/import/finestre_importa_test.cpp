// The import window: its checks, then a run to the end.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include "import/frm_importa.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

// A cancelled dialog or a failed check stops the import; a good file asks before the archive
// shrinks, ends with its summary and closes the window.
TEST(FrmImporta, ChecksStopTheImportAndAGoodFileEndsWithItsSummary) {
  testing::NegozioDiProva negozio;
  negozio.prodotti(3);
  testing::FakePrompts prompts;
  testing::FakeClock clock;
  QString scelto;
  FrmImporta finestra(AmbienteImporta{
      *negozio.db, prompts, clock, [&](auto&&...) { return scelto; }, negozio.file("Dati"), {}});
  finestra.show();
  const auto procedi = [&] { finestra.findChild<QPushButton*>("cmdProcedi")->click(); };
  QCheckBox* excel = finestra.findChild<QCheckBox*>("ckFileExcel");
  procedi();
  scelto = negozio.file("listino.txt", "x;x;x;1;Pasta;1;x;x;x;1\n");
  procedi();
  finestra.impostaPosizioni(PredefinitePerTesto({}));
  finestra.scegliSeparatore(4);  // "Pelidor 35" still wants the five positions distinct
  PosizioniImport doppie = PredefinitePerTesto({});
  doppie.prezzoVendita = 4;
  finestra.impostaPosizioni(doppie);
  procedi();
  excel->setChecked(true);
  procedi();
  EXPECT_EQ(testing::askedTexts(prompts),
            QStringList({"Operazione annullata dall'Utente", "Posizione del barcode non impostata",
                         "Valori di colonna replicati - Controllare",
                         "Posizione del Prezzo di Acquisto non impostata"}));
  EXPECT_TRUE(finestra.isVisible());
  EXPECT_EQ(negozio.conta("SELECT * FROM Magazzino"), 3);

  excel->setChecked(false);
  finestra.scegliSeparatore(1);
  scelto = negozio.file(
      "listino.txt", "x;x;x;8001234567897;Pasta 500g;3;x;x;x;1.5;x;7\nx;x;x;9;Rotta;zz;x;x;x;1\n");
  finestra.findChild<QPushButton*>("cmdValPredef")->click();
  prompts.asked.clear();
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
  EXPECT_EQ(
      negozio.righe("SELECT CodMateriale, BarCode, Descrizione, Quantità, Costo FROM Magazzino"),
      QStringList{"1|8001234567897|Pasta 500g|2000|1.5"});
  EXPECT_FALSE(finestra.isVisible());
}

}  // namespace
}  // namespace listinova
