#include "import/importa_foglio.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/workbook_reader.h"
#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::WorkbookCell;
using platform::WorkbookRow;

// Sheets held in memory.
class CartellaFinta : public platform::WorkbookReader {
 public:
  QStringList sheets() const override { return ordine; }
  std::vector<WorkbookRow> rows(const QString& sheet) override { return fogli.at(sheet); }
  void aggiungi(const QString& nome, std::vector<WorkbookRow> righe) {
    ordine << nome;
    fogli[nome] = std::move(righe);
  }
  QStringList ordine;
  std::map<QString, std::vector<WorkbookRow>> fogli;
};

WorkbookCell t(const char* testo) { return {QString::fromUtf8(testo), false}; }
WorkbookCell n(const char* testo) { return {QString::fromUtf8(testo), true}; }

// A row in the "Predef. XLS" columns: description 4, department 6, price 7, VAT 8, barcode 9,
// purchase 14, supplier code 15, supplier 17; quantity in 3 when given.
WorkbookRow riga(WorkbookCell descrizione, WorkbookCell prezzo, WorkbookCell iva,
                 WorkbookCell barcode, WorkbookCell acquisto = n("0"), WorkbookCell quantita = {},
                 const char* fornitore = "Molino") {
  WorkbookRow r(17);
  r[2] = quantita;
  r[3] = descrizione;
  r[5] = n("1");
  r[6] = prezzo;
  r[7] = iva;
  r[8] = barcode;
  r[13] = acquisto;
  r[14] = t("F1");
  r[16] = t(fornitore);
  return r;
}

const WorkbookRow kTitoli{t("titoli"), t("delle"), t("colonne")};

class ImportaFoglioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.sqlite("UPDATE Reparti SET Iva=10 WHERE Cod=12");
    negozio.prodotto({.cod = "5",
                      .descrizione = "Vecchia",
                      .barCode = "8001234567897",
                      .genere = "Reparto3",
                      .quantita = 7,
                      .costo = "9"});
  }
  QStringList prodotti() {
    return negozio.righe(
        "SELECT CodMateriale,BarCode,Descrizione,Quantità,Costo,Costo2,CodPV,Genere,Fornitore,"
        "TipoVariazione,Modificato FROM Magazzino ORDER BY CLng(CodMateriale)");
  }
  QString valore(const QString& sql) { return negozio.valore(sql); }
  testing::NegozioDiProva negozio;
  platform::db::Database& db = *negozio.db;
};

// Bar codes with a wrong check digit are kept as the file has them (the import loses nothing)
// and listed with the right code; so are rows whose VAT no department has.
TEST_F(ImportaFoglioTest, WithoutSupplierTheProdottiSheetReplacesFieldsByBarcode) {
  CartellaFinta cartella;
  cartella.aggiungi("Altro", {kTitoli, riga(t("Ignorata"), n("1"), n("22"), n("1"))});
  cartella.aggiungi("'Prodotti'",
                    {kTitoli,
                     riga(t("Pasta"), n("1.5"), n("10"), n("8001234567897"), n("0.82")),
                     riga(t("Sale"), t("0,45"), {}, t(" 8012345678901 "), {}),
                     riga(t("Notazione"), n("1"), {}, t("8,00123E+12")),
                     riga(t("Senza codice"), n("1"), {}, {}),
                     {},
                     riga(t("Prezzo rotto"), t("uno"), {}, n("77")),
                     riga(t("Olio"), n("2"), n("4"), t("96385075"))});
  const RiepilogoImport r = ImportaFoglio(db, cartella, PredefinitePerFoglio(), QString());
  EXPECT_EQ(prodotti(), QStringList({"5|8001234567897|Pasta|0|1.5|0.82|10|12|Molino|F|true",
                                     "6|8012345678901|Sale|0|0.45|0|22|40|Molino|F|true",
                                     "7|96385075|Olio|0|2|0|4|40|Molino|F|true"}));
  EXPECT_EQ(r.righeLette, 6);
  EXPECT_EQ(std::tie(r.aggiunti, r.aggiornati), std::make_tuple(2, 1));
  for (const char* atteso :
       {"Codici con la cifra di controllo errata: 2\n  riga 3: Cifra di controllo errata: il "
        "codice corretto è 8012345678907 (importato 8012345678901)\n  riga 8: Cifra di controllo "
        "errata: il codice corretto è 96385074 (importato 96385075)",
        "riga 8: IVA 4 di nessun reparto: messo nel reparto 40"})
    EXPECT_TRUE(r.testo().contains(QString::fromUtf8(atteso))) << r.testo().toStdString();
  ASSERT_EQ(r.scartate.size(), 3u);
  EXPECT_EQ(r.scartate[0].riga, 4);
  EXPECT_TRUE(r.scartate[0].motivo.contains("notazione scientifica"));
  EXPECT_EQ(r.scartate[1].motivo, "codice a barre mancante");
  EXPECT_EQ(r.scartate[2].riga, 7);
  EXPECT_EQ(r.scartate[2].motivo, "prezzo di vendita \"uno\" non valido");
}

TEST_F(ImportaFoglioTest, LongTextsAreCutAndAWorkbookWithoutProdottiChangesNothing) {
  CartellaFinta cartella;
  const QByteArray lunga(120, 'x');
  cartella.aggiungi("PRODOTTI", {kTitoli, riga(t(lunga.constData()), n("1"), n("22"), n("42"),
                                               n("0"), {}, lunga.constData())});
  ImportaFoglio(db, cartella, PredefinitePerFoglio(), QString());
  EXPECT_EQ(valore("SELECT Len(Descrizione) FROM Magazzino WHERE BarCode='42'"), "50");
  EXPECT_EQ(valore("SELECT Len(Fornitore) FROM Magazzino WHERE BarCode='42'"), "100");

  const QStringList prima = prodotti();
  CartellaFinta senza;
  senza.aggiungi("Listino", {kTitoli, riga(t("Pasta"), n("9"), n("10"), n("8001234567897"))});
  const RiepilogoImport r = ImportaFoglio(db, senza, PredefinitePerFoglio(), QString());
  EXPECT_EQ(r.righeLette, 0);
  EXPECT_EQ(prodotti(), prima);

  CartellaFinta vuota;
  vuota.aggiungi("PRODOTTI", {kTitoli});
  try {
    ImportaFoglio(db, vuota, PredefinitePerFoglio(), QString());
    ADD_FAILURE() << "an empty sheet was accepted";
  } catch (const ErroreImport& e) {
    EXPECT_EQ(e.messaggio(), "Impossibile eseguire l'importazione");
  }
}

TEST_F(ImportaFoglioTest, WithSupplierQuantitiesAddUpAndNewProductsAreMarked) {
  testing::FakeClock clock;
  ErrorLog log(negozio.cartella.root(), clock);
  installaErrorLog(&log);
  PosizioniImport p = PredefinitePerFoglio();
  p.quantita = 3;
  CartellaFinta cartella;
  cartella.aggiungi(
      "Foglio1", {kTitoli, riga(t("Pasta nuova"), n("0.9"), n("4"), n("8001234567897"), {}, n("5")),
                  riga(t("Farina"), n("0.6"), {}, n("8000000000017"), {}, {}),
                  riga(t("Zucchero"), {}, {}, n("8000000000024"), {}, n("12"))});
  ImportaFoglio(db, cartella, p, "MOLINO ROSSI");
  ImportaFoglio(db, cartella, p, "MOLINO ROSSI");
  installaErrorLog(nullptr);
  EXPECT_EQ(prodotti(),
            QStringList({"5|8001234567897|Pasta nuova|17|9|0.9|4|Reparto3|MOLINO ROSSI|NULL|true",
                         "6|8000000000017|Farina|1|0|0.6|NULL|***NEW***|MOLINO ROSSI|NULL|true",
                         "7|8000000000024|Zucchero|24|0|0|NULL|***NEW***|MOLINO ROSSI|NULL|true"}));
  EXPECT_EQ(QString::fromUtf8(testing::readAll(log.percorsoLog())).count("EseguiImportXLS"), 2);
}

}  // namespace
}  // namespace listinova
