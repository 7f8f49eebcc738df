// The central catalogue's A (article) and B (barcode) files, read by hand or from the exchange
// folder.
#include <gtest/gtest.h>

#include <QDir>

#include "cartelle_di_prova.h"
#include "catalogue/apri_database.h"
#include "import/catalogo_cedi.h"
#include "import/interscambio.h"
#include "import/passa_interscambio.h"
#include "support/fakes.h"
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
    negozio.reparto(3, "Drogheria")
        .sqlite(
            "INSERT INTO Magazzino (CodMateriale, BarCode, CodArtCEDI, Descrizione, Quantità) "
            "VALUES ('1', '111', '000000100', 'Vecchio', 50), ('2', '222', NULL, 'Fuori "
            "catalogo', 1)");
  }
  QStringList prodotti(const QString& colonne) {
    return negozio.righe("SELECT " + colonne + " FROM Magazzino ORDER BY CLng(CodMateriale)");
  }
  QStringList inCartella(const QString& cartella) {
    return QDir(cartella).entryList(QDir::Files, QDir::Name);
  }
  testing::NegozioDiProva negozio;
  platform::db::Database& db = *negozio.db;
  testing::FakeClock clock;
  const QString in = negozio.file("IN");
};

// Article records update or add and unknown types are skipped; then every further barcode of a
// held article becomes a product row of its own.
TEST_F(CatalogoCediTest, ArticlesAndTheirBarcodesBecomeProducts) {
  CatalogoCedi catalogo(db);
  RiepilogoImport r = catalogo.DatiPLUSigma(negozio.file(
      "A1.txt", articolo("M", "000000100", "Pasta aggiornata") +
                    articolo("M", "000000200", "Nuova da M", "", "0000000000000", "N") +
                    articolo("N", "000000300", "Nuova da N") +
                    articolo("X", "000000100", "Non deve scrivere") + "N corta\r\n"));
  EXPECT_EQ(prodotti("CodMateriale,BarCode,CodArtCEDI,Descrizione,Quantità,Costo,PrezzoPromo,"
                     "DataInizioPromo,DataFinePromo,Genere,Fornitore,UnitaMisura,TipoVariazione,"
                     "Modificato"),
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

  r = catalogo.DatiPLUVar(negozio.file(
      "B7.txt", barcode("000000100", "8001234567897") + barcode("000000100", "8001234567880") +
                    barcode("000000999", "8000000000017") + barcode("", "8000000000024")));
  EXPECT_EQ(negozio.righe("SELECT CodMateriale, BarCode, Descrizione, Genere FROM Magazzino WHERE "
                          "CodArtCEDI = '000000100' ORDER BY CLng(CodMateriale)"),
            QStringList({"1|8001234567880|Pasta aggiornata|Drogheria",
                         "6|8001234567897|Pasta aggiornata|Drogheria"}));
  EXPECT_EQ(std::tie(r.righeLette, r.aggiunti), std::make_tuple(4, 1));
  EXPECT_EQ(negozio.valore("SELECT RepartoCassa || '/' || Filler5 || '/' || CodArtCEDI FROM B_CEDI "
                           "WHERE CodEan='8000000000017'"),
            "003/FILLER/000000999");
  // The same file again updates the rows it wrote and adds nothing.
  for (int volta = 0; volta < 2; ++volta) {
    EXPECT_EQ(negozio.conta("SELECT * FROM B_CEDI"), 4);
    EXPECT_EQ(negozio.conta("SELECT * FROM Magazzino"), 6);
    catalogo.DatiPLUVar(negozio.file("B7.txt"));
  }
}

// A store failure halfway keeps the file for another try; so does a process killed halfway,
// which leaves nothing half written.
TEST_F(CatalogoCediTest, AnExchangeImportThatCannotFinishLeavesItsFileToBeTriedAgain) {
  QByteArray righe;
  for (int i = 1; i <= 1000; ++i)
    righe += articolo("N", QByteArray::number(i).rightJustified(9, '0').constData(), "Articolo");
  negozio.file("IN/A1.txt", righe);
  negozio.sqlite(
      "CREATE TRIGGER guasto BEFORE INSERT ON Magazzino WHEN NEW.CodArtCEDI = '000000700' "
      "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  const EsitoInterscambio esito =
      Interscambio(db, negozio.cartella.root(), clock).ImportaInterscambio(in);
  EXPECT_TRUE(esito.importati.isEmpty());
  EXPECT_EQ(esito.fermatoSu, "A1.txt");
  EXPECT_TRUE(esito.errore.contains("l'archivio è rimasto com'era")) << esito.errore.toStdString();
  EXPECT_EQ(negozio.conta("SELECT * FROM Magazzino"), 2);
  EXPECT_EQ(inCartella(in), QStringList{"A1.txt"});
  negozio.sqlite("DROP TRIGGER guasto").chiudi();

  ASSERT_TRUE(testing::MortoAMeta(
      negozio.percorsoArchivio(), 500, [&](platform::db::Database& mio, const SchermoImport& s) {
        Interscambio(mio, negozio.cartella.root(), clock).ImportaInterscambio(in, s);
      }));
  negozio.db = ApriDatabase(negozio.percorsoArchivio());
  EXPECT_EQ(negozio.conta("SELECT * FROM Magazzino"), 2);
  EXPECT_EQ(inCartella(in), QStringList{"A1.txt"});
  // The product list's pass takes it once the folder is set, and then finds nothing more.
  Interscambio interscambio(*negozio.db, negozio.cartella.root(), clock);
  for (const bool atteso : {false, true, false}) {
    EXPECT_EQ(PassaInterscambio(interscambio, negozio.cartella.setup(), negozio.cartella.root()),
              atteso);
    negozio.setup("Cartelle", "IN", in);
  }
  EXPECT_EQ(negozio.conta("SELECT * FROM Magazzino"), 1002);
  EXPECT_EQ(inCartella(interscambio.cartellaStorico()), QStringList{"A1.txt"});
}

}  // namespace
}  // namespace listinova
