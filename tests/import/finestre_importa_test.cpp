// The import window and its checks, and the product list's exchange-folder timer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
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

// The checks of the import window, text and sheet, complain in the operator's order.
TEST(PosizioniImport, ChecksComplainInTheOperatorsOrder) {
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
      {"niente impostato", Testo, {}, "Posizione del barcode non impostata"},
      {"manca la quantità", Testo, con(testo, &PosizioniImport::quantita, 0),
       "Posizione della quantità non impostata"},
      {"manca il reparto", Testo, con(testo, &PosizioniImport::reparto, 0),
       "Posizione del reparto non impostata"},
      {"manca il prezzo", Testo, con(testo, &PosizioniImport::prezzoVendita, 0),
       "Posizione del prezzo di vendita non impostata"},
      {"manca la descrizione", Testo, con(testo, &PosizioniImport::descrizione, 0),
       "Posizione della descrizione non impostata"},
      {"testo, due colonne uguali", Testo, con(testo, &PosizioniImport::reparto, 4),
       "Valori di colonna replicati - Controllare"},
      {"le colonne del foglio non contano nel testo", Testo,
       con(con(testo, &PosizioniImport::iva, 4), &PosizioniImport::fornitore, 4), ""},
      {"testo predefinito", Testo, testo, ""},
      {"foglio predefinito", Foglio, xls, ""},
      {"foglio con quantità", Foglio, con(xls, &PosizioniImport::quantita, 3), ""},
      {"foglio senza barcode", Foglio, con(xls, &PosizioniImport::barcode, 0),
       "Posizione del barcode non impostata"},
      {"foglio senza acquisto", Foglio, con(xls, &PosizioniImport::prezzoAcquisto, 0),
       "Posizione del Prezzo di Acquisto non impostata"},
      {"foglio senza IVA", Foglio, con(xls, &PosizioniImport::iva, 0),
       "Posizione del valore IVA non impostata"},
      {"foglio senza codice fornitore", Foglio, con(xls, &PosizioniImport::codiceFornitore, 0),
       "Posizione del codice Prodotto per il Fornitore non impostata"},
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
                        [this](const QString&, const QString&) { return scelto; },
                        negozio.file("Dati"),
                        {}});
    finestra->show();
  }
  template <class T>
  T* figlio(const char* nome) {
    return finestra->findChild<T*>(nome);
  }
  void procedi() { figlio<QPushButton>("cmdProcedi")->click(); }
  QStringList prodotti(const QString& colonne = "BarCode") {
    return negozio.righe("SELECT " + colonne + " FROM Magazzino ORDER BY CLng(CodMateriale)");
  }

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::FakeClock clock;
  QString scelto;
  std::unique_ptr<FrmImporta> finestra;
};

// A cancelled dialog or a failed check stops the import; a preview only shows the file.
TEST_F(FrmImportaTest, ChecksStopTheImportAndThePreviewImportsNothing) {
  procedi();
  scelto = negozio.file("listino.txt", "x;x;x;1;Pasta;1;x;x;x;1\n");
  procedi();
  finestra->impostaPosizioni(PredefinitePerTesto({}));
  finestra->scegliSeparatore(4);  // "Pelidor 35" still wants the five positions distinct
  finestra->impostaPosizioni(con(PredefinitePerTesto({}), &PosizioniImport::prezzoVendita, 4));
  procedi();
  figlio<QCheckBox>("ckFileExcel")->setChecked(true);
  procedi();
  EXPECT_EQ(testing::askedTexts(prompts),
            QStringList({"Operazione annullata dall'Utente", "Posizione del barcode non impostata",
                         "Valori di colonna replicati - Controllare",
                         "Posizione del Prezzo di Acquisto non impostata"}));
  EXPECT_TRUE(finestra->isVisible());

  QByteArray righe;
  for (int i = 1; i <= 30; ++i) righe += "a:b:" + QByteArray::number(i) + "\n";
  scelto = negozio.file("listino.txt", righe);
  figlio<QCheckBox>("ckFileExcel")->setChecked(false);
  finestra->scegliSeparatore(3);
  figlio<QPushButton>("cmdAnteprima")->click();
  QTableWidget* tabella = figlio<QTableWidget>("anteprima");
  ASSERT_EQ(tabella->rowCount(), 20);
  ASSERT_EQ(tabella->columnCount(), 3);
  EXPECT_EQ(tabella->item(19, 2)->text(), "20");
  EXPECT_EQ(prodotti(), QStringList({"111", "222", "333"}));
  EXPECT_EQ(prompts.asked.size(), 4u);
}

TEST_F(FrmImportaTest, ADelimitedImportEndsWithItsSummaryAndCloses) {
  QComboBox* fornitori = figlio<QComboBox>("cbFornitore");
  EXPECT_EQ(QStringList({fornitori->itemText(1), fornitori->itemText(2)}),
            QStringList({"ALFA", "ZETA"}));
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
  EXPECT_EQ(prodotti("CodMateriale,BarCode,Descrizione,Quantità,Costo"),
            QStringList{"1|8001234567897|Pasta 500g|2000|1.5"});
  EXPECT_FALSE(finestra->isVisible());
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
