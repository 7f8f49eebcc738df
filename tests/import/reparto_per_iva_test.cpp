// A spreadsheet row whose VAT no department has: imported, and named in the summary with the
// department it got.
#include <gtest/gtest.h>

#include <map>

#include "import/importa_foglio.h"
#include "platform/workbook_reader.h"
#include "support/negozio_di_prova.h"

namespace listinova {
namespace {

using platform::WorkbookCell;
using platform::WorkbookRow;

class UnFoglio : public platform::WorkbookReader {
 public:
  explicit UnFoglio(std::vector<WorkbookRow> righe) : righe_(std::move(righe)) {}
  QStringList sheets() const override { return {QStringLiteral("PRODOTTI")}; }
  std::vector<WorkbookRow> rows(const QString&) override { return righe_; }

 private:
  std::vector<WorkbookRow> righe_;
};

// The "Predef. XLS" columns: description 4, price 7, VAT 8, barcode 9, purchase 14.
WorkbookRow riga(const char* descrizione, const char* iva, const char* barcode) {
  WorkbookRow r(17);
  r[3] = {descrizione, false};
  r[6] = {QStringLiteral("1"), true};
  r[7] = {iva, true};
  r[8] = {barcode, true};
  r[13] = {QStringLiteral("0"), true};
  return r;
}

TEST(RepartoPerIva, RowsWhoseVatNoDepartmentHasAreListedWithTheirDepartment) {
  testing::NegozioDiProva negozio;
  negozio.reparto(3, "Alimentari", 10);
  UnFoglio foglio({riga("titoli", "", ""), riga("PASTA", "10", "8001234567897"),
                   riga("DETERSIVO", "22", "8001234567880"), riga("LIBRO", "4", "8001234567873"),
                   riga("CANDEGGINA", "22", "8001234567866")});
  const RiepilogoImport r = ImportaFoglio(*negozio.db, foglio, PredefinitePerFoglio(), {});
  EXPECT_EQ(r.aggiunti, 4);
  EXPECT_EQ(negozio.righe("Select Descrizione, Genere from Magazzino order by BarCode desc"),
            (QStringList{"PASTA|3", "DETERSIVO|40", "LIBRO|40", "CANDEGGINA|40"}));
  EXPECT_TRUE(
      r.testo().endsWith("Righe da controllare: 3\n"
                         "  riga 3: IVA 22 di nessun reparto: messo nel reparto 40\n"
                         "  riga 4: IVA 4 di nessun reparto: messo nel reparto 40\n"
                         "  riga 5: IVA 22 di nessun reparto: messo nel reparto 40"))
      << r.testo().toStdString();
}

}  // namespace
}  // namespace listinova
