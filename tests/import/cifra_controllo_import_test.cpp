// An imported bar code whose last digit is wrong is kept as the file has it (the import loses
// nothing) and the closing summary names its row and the right code.
#include <map>

#include "import/archivio_import.h"
#include "import/importa_foglio.h"
#include "import/posizioni_import.h"
#include "platform/workbook_reader.h"

namespace listinova {
namespace {

using platform::WorkbookCell;
using platform::WorkbookRow;

class UnFoglio : public platform::WorkbookReader {
 public:
  explicit UnFoglio(std::vector<WorkbookRow> righe) : righe_(std::move(righe)) {}
  QStringList sheets() const override { return {"Prodotti"}; }
  std::vector<WorkbookRow> rows(const QString&) override { return righe_; }

 private:
  std::vector<WorkbookRow> righe_;
};

// Description, price and bar code in the columns of the "Predef. XLS" positions.
WorkbookRow Riga(const char* descrizione, const char* barCode) {
  WorkbookRow r(17);
  r[3] = {descrizione, false};
  r[5] = {"1", true};
  r[6] = {"1.5", true};
  r[8] = {barCode, false};
  r[13] = {"0.8", true};
  return r;
}

class CifraControlloImport : public testing::ArchivioImport {};

TEST_F(CifraControlloImport, WrongCheckDigitsAreImportedAsTheyAreAndListed) {
  UnFoglio foglio({{{"titoli", false}},
                   Riga("Pasta", "8001234567897"),
                   Riga("Sale", "8001234567890"),
                   Riga("Olio", "96385075"),
                   Riga("Riso", "12345")});
  const RiepilogoImport r = ImportaFoglio(*db, foglio, PredefinitePerFoglio(), QString());
  EXPECT_EQ(r.aggiunti, 4);
  EXPECT_EQ(prodotti("BarCode"),
            QStringList({"8001234567897", "8001234567890", "96385075", "12345"}));
  ASSERT_EQ(r.cifreErrate.size(), 2u);
  EXPECT_EQ(r.cifreErrate[0].riga, 3);
  EXPECT_EQ(r.cifreErrate[1].riga, 4);
  EXPECT_TRUE(r.testo().contains(
      "Codici con la cifra di controllo errata: 2\n  riga 3: Cifra di controllo errata: il "
      "codice corretto è 8001234567897 (importato 8001234567890)\n  riga 4: Cifra di controllo "
      "errata: il codice corretto è 96385074 (importato 96385075)"))
      << r.testo().toStdString();
}

}  // namespace
}  // namespace listinova
