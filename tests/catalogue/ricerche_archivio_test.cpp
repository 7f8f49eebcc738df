#include "catalogue/ricerche_archivio.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "catalogue/formatta_in_euro.h"
#include "platform/db/database.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

class RicercheArchivio : public ::testing::Test {
 protected:
  void SetUp() override { db = ApriDatabase(dir.filePath("DbNegozio.mdb")); }
  QTemporaryDir dir;
  std::unique_ptr<platform::db::Database> db;
};

TEST_F(RicercheArchivio, NewProductCodesCountNumerically) {
  EXPECT_EQ(NuovoCodiceMateriale(*db), "1");
  db->execute("INSERT INTO Magazzino (CodMateriale) VALUES ('9'), ('10')");
  EXPECT_EQ(NuovoCodiceMateriale(*db), "11");
  db->execute("INSERT INTO Magazzino (CodMateriale) VALUES (' 100 ')");
  EXPECT_EQ(NuovoCodiceMateriale(*db), "101");
}

TEST_F(RicercheArchivio, DepartmentLookUps) {
  db->execute("UPDATE Reparti SET Descrizione='Bar d''Angelo', Iva=10 WHERE Cod=7");
  db->execute("UPDATE Reparti SET Iva=22 WHERE Cod=3 OR Cod=5");
  EXPECT_EQ(TrovaCodiceRep(*db, "Bar d'Angelo"), "7");
  EXPECT_EQ(TrovaCodiceRep(*db, "BAR D'ANGELO"), "7");
  EXPECT_EQ(TrovaCodiceRep(*db, "Nessuno"), "1");
  EXPECT_EQ(TrovaNomeRep(*db, "7"), "Bar d'Angelo");
  EXPECT_EQ(TrovaNomeRep(*db, "99"), "99");
  EXPECT_EQ(TrovaCodiceRepXIVA(*db, "22"), 3);
  EXPECT_EQ(TrovaCodiceRepXIVA(*db, "4"), 40);
  // Without a linked external database the look-up logs and gives its default.
  EXPECT_EQ(TrovaDescrizioneRep(*db, "3"), "Reparto41");
}

TEST_F(RicercheArchivio, SupplierCodeOfAProduct) {
  db->execute(
      "INSERT INTO Magazzino (CodMateriale, CodProdottoFornitore) VALUES ('5', 'F-22'), ('6', "
      "NULL)");
  EXPECT_EQ(CodiceFornitoreProdotto(*db, "5"), "F-22");
  EXPECT_EQ(CodiceFornitoreProdotto(*db, "6"), "");
  EXPECT_EQ(CodiceFornitoreProdotto(*db, "7"), "");
}

TEST(FormattaInEuro, ItalianMoneyText) {
  EXPECT_EQ(FormattaInEuro(""), "0,00");
  EXPECT_EQ(FormattaInEuro("1234,5"), "1.234,50");
  EXPECT_EQ(FormattaInEuro("1234.5"), "1.234,50");
  EXPECT_EQ(FormattaInEuro("0,005"), "0,01");
  EXPECT_EQ(FormattaInEuro("-2,345"), "-2,35");
  EXPECT_EQ(FormattaInEuro("abc"), "abc");
}

}  // namespace
}  // namespace listinova
