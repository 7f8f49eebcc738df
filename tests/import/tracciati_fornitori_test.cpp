#include "import/tracciati_fornitori.h"

#include <gtest/gtest.h>

#include "cartelle_di_prova.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

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
