// The import window and its checks, and the product list's exchange-folder timer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "catalogue/magazzino.h"
#include "import/frm_importa.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

PosizioniImport con(PosizioniImport p, int PosizioniImport::*campo, int valore) {
  p.*campo = valore;
  return p;
}

// The checks of the import window that its own test does not meet.
TEST(PosizioniImport, TextAndSheetChecks) {
  const PosizioniImport testo = PredefinitePerTesto({});
  const PosizioniImport xls = PredefinitePerFoglio();
  enum Tipo { Testo, SenzaSeparatore, Foglio };
  const struct {
    const char* nome;
    Tipo tipo;
    PosizioniImport posizioni;
    const char* atteso;  // "" when the import may go on
  } casi[] = {
      {"testo senza separatore", SenzaSeparatore, {}, "Separatore NON selezionato"},
      {"le colonne del foglio non contano nel testo", Testo,
       con(con(testo, &PosizioniImport::iva, 4), &PosizioniImport::fornitore, 4), ""},
      {"foglio con quantità", Foglio, con(xls, &PosizioniImport::quantita, 3), ""},
      {"foglio senza fornitore", Foglio, con(xls, &PosizioniImport::fornitore, 0),
       "Posizione del Fornitore non impostata"},
      {"foglio, quantità sul fornitore", Foglio, con(xls, &PosizioniImport::quantita, 17),
       "Valori di colonna replicati - Controllare"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto esito = c.tipo == Foglio ? ControllaPosizioniFoglio(c.posizioni)
                                        : ControllaPosizioniTesto(c.tipo == Testo, c.posizioni);
    EXPECT_EQ(esito.value_or(""), QString::fromUtf8(c.atteso));
  }
}

// A cancelled dialog or a failed check stops the import; a good file asks before the archive
// shrinks, ends with its summary and closes the window.
TEST(FrmImporta, ChecksStopTheImportAndAGoodFileEndsWithItsSummary) {
  testing::NegozioDiProva negozio;
  negozio.prodotti(3);
  testing::FakePrompts prompts;
  testing::FakeClock clock;
  QString scelto;
  FrmImporta finestra(AmbienteImporta{*negozio.db,
                                      prompts,
                                      clock,
                                      [&](const QString&, const QString&) { return scelto; },
                                      negozio.file("Dati"),
                                      {}});
  finestra.show();
  const auto procedi = [&] { finestra.findChild<QPushButton*>("cmdProcedi")->click(); };
  QCheckBox* excel = finestra.findChild<QCheckBox*>("ckFileExcel");
  procedi();
  scelto = negozio.file("listino.txt", "x;x;x;1;Pasta;1;x;x;x;1\n");
  procedi();
  finestra.impostaPosizioni(PredefinitePerTesto({}));
  finestra.scegliSeparatore(4);  // "Pelidor 35" still wants the five positions distinct
  finestra.impostaPosizioni(con(PredefinitePerTesto({}), &PosizioniImport::prezzoVendita, 4));
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

// The exchange-folder timer is off while a pass runs; the list reloads after a pass imported.
TEST(MagazzinoImporta, TheExchangeTimerNeverRunsTwoPassesAtOnce) {
  testing::NegozioDiProva negozio;
  negozio.prodotto("1", "Vecchio", "1,00");
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  Magazzino lista(*negozio.db, prompts, notice, clock, [] { return nullptr; });
  lista.show();
  const auto righe = [&] {
    return lista.findChild<QTreeView*>("ListMagazzino")->model()->rowCount();
  };
  ASSERT_TRUE(QTest::qWaitFor([&] { return righe() == 1; }));
  int passaggi = 0;
  bool dentro = false, rientrato = false;
  lista.setImportaInterscambio(
      [&] {
        rientrato = rientrato || dentro;
        dentro = true;
        QTest::qWait(30);  // a pass that takes longer than the timer's interval
        dentro = false;
        if (++passaggi == 2) negozio.prodotto("2", "Importato", "1,00");
        return passaggi == 2;
      },
      5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return passaggi >= 3; }));
  EXPECT_EQ(righe(), 2);
  EXPECT_FALSE(rientrato);
}

}  // namespace
}  // namespace listinova
