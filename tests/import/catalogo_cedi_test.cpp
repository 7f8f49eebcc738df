#include "import/catalogo_cedi.h"

#include <gtest/gtest.h>

#include "cartelle_di_prova.h"
#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::RigaFissa;

QByteArray articolo(const char* tipo, const char* codice, const char* descrizione,
                    const char* reparto = "3", const char* costo = "0000000001990",
                    const char* marchio = "S") {
  return RigaFissa({{1, tipo},
                    {2, "20261201"},
                    {26, descrizione},
                    {96, "07"},
                    {103, codice},
                    {127, marchio},
                    {135, "0000000000100"},
                    {161, "KG"},
                    {167, "0012"},
                    {219, costo},
                    {245, "0000000000990"},
                    {274, "20261201"},
                    {282, "31/12/26"},
                    {303, reparto},
                    {339, "FINE RECORD"}});
}

QByteArray barcode(const char* art, const char* ean) {
  return RigaFissa(
      {{1, "A"}, {2, "20261201"}, {26, ean}, {53, art}, {62, art}, {73, "003"}, {110, "FILLER"}});
}

class CatalogoCediTest : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio.reparto(3, "Drogheria");
    negozio.sqlite(
        "INSERT INTO Magazzino (CodMateriale, BarCode, CodArtCEDI, Descrizione, "
        "Quantità) VALUES ('1', '111', '000000100', 'Vecchio', 50), "
        "('2', '222', NULL, 'Fuori catalogo', 1)");
  }
  QStringList prodotti(const QString& colonne) {
    return negozio.righe("SELECT " + colonne + " FROM Magazzino ORDER BY CLng(CodMateriale)");
  }
  testing::NegozioDiProva negozio;
  platform::db::Database& db = *negozio.db;
  QString colonne =
      "CodMateriale,BarCode,CodArtCEDI,Descrizione,Quantità,Costo,PrezzoPromo,"
      "DataInizioPromo,DataFinePromo,Genere,Fornitore,UnitaMisura,TipoVariazione,"
      "Modificato";
};

TEST_F(CatalogoCediTest, ArticleRecordsUpdateOrAddAndUnknownTypesAreSkipped) {
  testing::FakeClock clock;
  ErrorLog log(negozio.cartella.root(), clock);
  installaErrorLog(&log);
  CatalogoCedi catalogo(db);
  const RiepilogoImport r = catalogo.DatiPLUSigma(negozio.file(
      "A1.txt", articolo("M", "000000100", "Pasta aggiornata") +
                    articolo("M", "000000200", "Nuova da M", "", "0000000000000", "N") +
                    articolo("N", "000000300", "Nuova da N") +
                    articolo("X", "000000100", "Non deve scrivere") + "N corta\r\n"));
  installaErrorLog(nullptr);
  EXPECT_EQ(prodotti(colonne),
            QStringList({"1|111|000000100|Pasta aggiornata|12|1.99|990|2026-12-01T00:00:00.000|"
                         "2026-12-31T00:00:00.000|Drogheria|SIGMA|KG|M|true",
                         "2|222|NULL|Fuori catalogo|1|0|NULL|NULL|NULL|NULL|NULL|NULL|NULL|false",
                         "3|NULL|000000200|Nuova da M|12|0|990|2026-12-01T00:00:00.000|"
                         "2026-12-31T00:00:00.000|1|***|KG|M|true",
                         "4|NULL|000000300|Nuova da N|12|1.99|990|2026-12-01T00:00:00.000|"
                         "2026-12-31T00:00:00.000|Drogheria|SIGMA|KG|N|true",
                         "5|NULL|||0|0|0|1899-12-30T00:00:00.000|1899-12-30T00:00:00.000|1|"
                         "***||N|true"}));
  EXPECT_EQ(std::tie(r.righeLette, r.aggiunti, r.aggiornati), std::make_tuple(5, 3, 1));
  ASSERT_EQ(r.scartate.size(), 1u);
  EXPECT_EQ(r.scartate[0].riga, 4);
  EXPECT_TRUE(QString::fromUtf8(testing::readAll(log.percorsoLog())).contains("DatiPLUSigma"));
}

TEST_F(CatalogoCediTest, EveryBarcodeOfAnArticleBecomesAProductRow) {
  // Without an article file held, extra barcodes only fill the table.
  CatalogoCedi(db).DatiPLUVar(negozio.file("B1.txt", barcode("000000100", "8001234567880")));
  EXPECT_EQ(negozio.valore("SELECT Count(*) FROM Magazzino"), "2");
  db.execute("DELETE FROM B_CEDI");
  CatalogoCedi catalogo(db);
  catalogo.DatiPLUSigma(negozio.file("A1.txt", articolo("M", "000000100", "Pasta")));
  const RiepilogoImport r = catalogo.DatiPLUVar(negozio.file(
      "B7.txt", barcode("000000100", "8001234567897") + barcode("000000100", "8001234567880") +
                    barcode("000000999", "8000000000017") + barcode("", "8000000000024")));
  EXPECT_EQ(
      prodotti("CodMateriale,BarCode,CodArtCEDI,Descrizione,Genere"),
      QStringList({"1|8001234567880|000000100|Pasta|Drogheria", "2|222|NULL|Fuori catalogo|NULL",
                   "3|8001234567897|000000100|Pasta|Drogheria"}));
  EXPECT_EQ(std::tie(r.righeLette, r.aggiunti), std::make_tuple(4, 1));
  EXPECT_EQ(negozio.valore("SELECT Count(*) FROM B_CEDI"), "4");
  EXPECT_EQ(negozio.valore("SELECT RepartoCassa || '/' || Filler5 || '/' || CodArtCEDI FROM B_CEDI "
                           "WHERE CodEan='8000000000017'"),
            "003/FILLER/000000999");

  // The same file again updates the rows it wrote and adds nothing.
  catalogo.DatiPLUVar(negozio.file("B7.txt"));
  EXPECT_EQ(negozio.valore("SELECT Count(*) FROM B_CEDI"), "4");
  EXPECT_EQ(negozio.valore("SELECT Count(*) FROM Magazzino"), "3");
}

}  // namespace
}  // namespace listinova
