// Price lists: in workbooks the "PRODOTTI" sheet replaces fields by barcode and a supplier's
// sheet adds to the stock; fixed-column files go by their supplier's layout.
#include "import/importa_foglio.h"

#include <gtest/gtest.h>

#include "cartelle_di_prova.h"
#include "import/tracciati_fornitori.h"
#include "platform/workbook_reader.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::CellaDiProva;
using testing::FoglioDiProva;

CellaDiProva t(const char* testo) { return {QString::fromUtf8(testo), false}; }
CellaDiProva n(const char* testo) { return {QString::fromUtf8(testo), true}; }

// A row in the "Predef. XLS" columns: description 4, department 6, price 7, VAT 8, barcode 9,
// purchase 14, supplier code 15, supplier 17; quantity in 3 when given.
std::vector<CellaDiProva> riga(CellaDiProva descrizione, CellaDiProva prezzo, CellaDiProva iva,
                               CellaDiProva barcode, CellaDiProva acquisto = n("0"),
                               CellaDiProva quantita = {}, const char* fornitore = "Molino") {
  return {{}, {}, quantita, descrizione, {},       n("1"),  prezzo, iva,         barcode,
          {}, {}, {},       {},          acquisto, t("F1"), {},     t(fornitore)};
}

const std::vector<CellaDiProva> kTitoli{t("titoli"), t("delle"), t("colonne")};

class ImportaFoglioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.sqlite("UPDATE Reparti SET Iva=10 WHERE Cod=12")
        .prodotto({.cod = "5",
                   .descrizione = "Vecchia",
                   .barCode = "8001234567897",
                   .genere = "Reparto3",
                   .quantita = 7,
                   .costo = "9"});
  }
  RiepilogoImport importa(const std::vector<std::pair<QString, FoglioDiProva>>& fogli,
                          const PosizioniImport& p = PredefinitePerFoglio(),
                          const QString& fornitore = {}) {
    const QString percorso = negozio.file("listino.xlsx");
    EXPECT_TRUE(testing::ScriviXlsx(percorso, fogli));
    return ImportaFoglio(*negozio.db, *platform::openWorkbook(percorso), p, fornitore);
  }
  QStringList prodotti() {
    return negozio.righe(
        "SELECT CodMateriale,BarCode,Descrizione,Quantità,Costo,Costo2,CodPV,Genere,Fornitore,"
        "TipoVariazione,Modificato FROM Magazzino ORDER BY CLng(CodMateriale)");
  }
  testing::NegozioDiProva negozio;
};

// Bar codes with a wrong check digit are kept as the file has them (the import loses nothing)
// and listed with the right code; so are rows whose VAT no department has. Long texts are cut
// to their columns.
TEST_F(ImportaFoglioTest, WithoutSupplierTheProdottiSheetReplacesFieldsByBarcode) {
  const QByteArray lunga(120, 'x');
  const RiepilogoImport r =
      importa({{"Altro", {kTitoli, riga(t("Ignorata"), n("1"), n("22"), n("1"))}},
               {"'Prodotti'",
                {kTitoli,
                 riga(t("Pasta"), n("1.5"), n("10"), n("8001234567897"), n("0.82")),
                 riga(t("Sale"), t("0,45"), {}, t(" 8012345678901 "), {}),
                 riga(t("Notazione"), n("1"), {}, t("8,00123E+12")),
                 riga(t("Senza codice"), n("1"), {}, {}),
                 {},
                 riga(t("Prezzo rotto"), t("uno"), {}, n("77")),
                 riga(t("Olio"), n("2"), n("4"), t("96385075")),
                 riga(t(lunga), n("1"), n("22"), n("42"), n("0"), {}, lunga)}}});
  EXPECT_EQ(prodotti(), QStringList({"5|8001234567897|Pasta|0|1.5|0.82|10|12|Molino|F|true",
                                     "6|8012345678901|Sale|0|0.45|0|22|40|Molino|F|true",
                                     "7|96385075|Olio|0|2|0|4|40|Molino|F|true",
                                     "8|42|" + QString(50, 'x') + "|0|1|0|22|40|" +
                                         QString(100, 'x') + "|F|true"}));
  EXPECT_EQ(std::tie(r.righeLette, r.aggiunti, r.aggiornati), std::make_tuple(7, 3, 1));
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

  // A workbook without the sheet changes nothing; an empty sheet is refused.
  const QStringList prima = prodotti();
  EXPECT_EQ(importa({{"Listino", {kTitoli, riga(t("Pasta"), n("9"), n("10"), n("8001234567897"))}}})
                .righeLette,
            0);
  EXPECT_EQ(prodotti(), prima);
  try {
    importa({{"PRODOTTI", {kTitoli}}});
    ADD_FAILURE() << "an empty sheet was accepted";
  } catch (const ErroreImport& e) {
    EXPECT_EQ(e.messaggio(), "Impossibile eseguire l'importazione");
  }
}

TEST_F(ImportaFoglioTest, WithSupplierQuantitiesAddUpAndNewProductsAreMarked) {
  PosizioniImport p = PredefinitePerFoglio();
  p.quantita = 3;
  const std::vector<std::pair<QString, FoglioDiProva>> cartella{
      {"Foglio1",
       {kTitoli, riga(t("Pasta nuova"), n("0.9"), n("4"), n("8001234567897"), {}, n("5")),
        riga(t("Farina"), n("0.6"), {}, n("8000000000017"), {}, {}),
        riga(t("Zucchero"), {}, {}, n("8000000000024"), {}, n("12"))}}};
  importa(cartella, p, "MOLINO ROSSI");
  importa(cartella, p, "MOLINO ROSSI");
  EXPECT_EQ(prodotti(),
            QStringList({"5|8001234567897|Pasta nuova|17|9|0.9|4|Reparto3|MOLINO ROSSI|NULL|true",
                         "6|8000000000017|Farina|1|0|0.6|NULL|***NEW***|MOLINO ROSSI|NULL|true",
                         "7|8000000000024|Zucchero|24|0|0|NULL|***NEW***|MOLINO ROSSI|NULL|true"}));
}

QByteArray qrz(const char* tipo, const char* codice, const char* quantita, const char* interi,
               const char* decimali, const char* descrizione, const char* iva,
               const char* barcode) {
  return testing::RigaFissa({{1, tipo},
                             {11, codice},
                             {16, quantita},
                             {21, interi},
                             {29, decimali},
                             {34, descrizione},
                             {76, iva},
                             {82, barcode}});
}

QByteArray feldro(const char* codice, const char* barcode, const char* descrizione,
                  const char* quantita, const char* prezzo, const char* iva) {
  return testing::RigaFissa({{1, "TESTATA"},
                             {21, codice},
                             {42, barcode},
                             {63, descrizione},
                             {100, quantita},
                             {114, prezzo},
                             {184, iva}});
}

class TracciatiFornitori : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.sqlite(
        "INSERT INTO Magazzino (CodMateriale, BarCode, CodProdottoFornitore, "
        "Descrizione, Quantità, Costo, Genere) VALUES "
        "('1', '8001234567897', 'A0001', 'Vecchia pasta', 10, 3.5, 'Reparto5'), "
        "('2', '', 'B0002', 'Vecchio olio', 1, 8, 'Reparto5')");
  }
  QStringList prodotti() {
    return negozio.righe(
        "SELECT CodMateriale,BarCode,CodProdottoFornitore,Descrizione,Quantità,Costo,Costo2,"
        "CodPV,Genere,Fornitore,UnitaMisura,Modificato FROM Magazzino ORDER BY "
        "CLng(CodMateriale)");
  }
  testing::NegozioDiProva negozio;
  platform::db::Database& db = *negozio.db;
};

TEST_F(TracciatiFornitori, QrzServiceReadsOnlyRRecordsAndAddsQuantitiesEachTime) {
  const QString percorso = negozio.file(
      "qrz.txt",
      "H TESTATA DEL FILE\r\n" +
          qrz("R", "A0001", "00005", "00000012", "50000", "Pasta di Gragnano", "000022",
              "8001234567897") +
          qrz("r", "B0002", "00002", "00000004", "99000", "Olio", "000010", "") +
          qrz("R", "C0003", "00003", "00000001", "00000", "Sale nuovo", "000004", "8012345678901") +
          qrz("R", "D0004", "00x03", "00000001", "00000", "Rotto", "", "1"));
  RiepilogoImport r = EseguiImport(db, percorso, " qrz service ");
  EXPECT_EQ(std::tie(r.righeLette, r.aggiunti, r.aggiornati), std::make_tuple(4, 1, 2));
  ASSERT_EQ(r.scartate.size(), 1u);
  EXPECT_EQ(r.scartate[0].motivo, "quantità \"00x03\" non numerica");
  r = EseguiImport(db, percorso, "QRZ SERVICE");
  EXPECT_EQ(std::tie(r.aggiunti, r.aggiornati), std::make_tuple(0, 3));
  EXPECT_EQ(
      prodotti(),
      QStringList({"1|8001234567897|A0001|Pasta di Gragnano|20|3.5|12.5|22|Reparto5|"
                   "QRZ SERVICE|Pz|true",
                   "2||B0002|Olio|5|8|4.99|10|Reparto5|QRZ SERVICE|Pz|true",
                   "3|8012345678901|C0003|Sale nuovo|6|0|1|4|***NEW***|QRZ SERVICE|Pz|true"}));
}

TEST_F(TracciatiFornitori, FeldroPricesAreThousandthsAndTheSupplierCodeFindsTheProduct) {
  // A supplier without a layout changes nothing.
  const QStringList prima = prodotti();
  try {
    EseguiImport(db, negozio.file("altro.txt", qrz("R", "A0001", "5", "1", "0", "X", "", "1")),
                 "MOLINO ROSSI");
    ADD_FAILURE() << "imported without a layout";
  } catch (const ErroreImport& e) {
    EXPECT_EQ(e.messaggio(), QString::fromUtf8(kTracciatoAssente));
  }
  EXPECT_EQ(prodotti(), prima);

  const QString percorso = negozio.file(
      "feldro.txt", feldro("B0002", "8009999999999", "Olio extravergine", "3", "1250", "22") +
                        feldro("Z9", "8000000000017", "Aceto", "2", "990", "") +
                        QByteArray("riga corta\r\n"));
  const RiepilogoImport r = EseguiImport(db, percorso, "Feldro");
  EXPECT_EQ(
      prodotti(),
      QStringList({"1|8001234567897|A0001|Vecchia pasta|10|3.5|0|NULL|Reparto5|NULL|NULL|false",
                   "2|8009999999999|B0002|Olio extravergine|4|8|1.25|22|Reparto5|Feldro|Pz|true",
                   "3|8000000000017|Z9|Aceto|2|0|0.99|NULL|***NEW***|Feldro|Pz|true"}));
  ASSERT_EQ(r.scartate.size(), 1u);
  EXPECT_EQ(r.scartate[0].riga, 3);
}

}  // namespace
}  // namespace listinova
