#include "platform/workbook_reader.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cartelle_di_prova.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::WorkbookRow;
using testing::CellaDiProva;
using testing::FoglioDiProva;

QStringList testi(const WorkbookRow& riga) {
  QStringList celle;
  for (const auto& c : riga) celle << (c.numeric ? "#" + c.text : c.text);
  return celle;
}

TEST(WorkbookReader, NumbersKeepTheirExactDigits) {
  const std::pair<double, const char*> casi[] = {
      {8001234567897.0, "8001234567897"},
      {1.5, "1.5"},
      {0.1 + 0.2, "0.3"},
      {-12.0, "-12"},
      {19.99, "19.99"},
      {1e-7, "0.0000001"},
  };
  for (const auto& [numero, atteso] : casi) EXPECT_EQ(platform::numberText(numero), atteso);
}

TEST(WorkbookReader, XlsxAndOdsGiveSheetsInOrderAndCellsByColumn) {
  QTemporaryDir dir;
  const FoglioDiProva prodotti = {
      {{"Codice"}, {"Prezzo"}, {}, {"Nota"}},
      {{"8001234567897", true}, {"1.5", true}, {}, {QString::fromUtf8("caffè & tè <1>")}},
      {},
      {{}, {"8.001234567897E+12", true}, {"8,00123E+12"}},
  };
  const std::vector<std::pair<QString, FoglioDiProva>> fogli = {{"Copertina", {{{"x"}}}},
                                                                {"PRODOTTI", prodotti}};
  // The extension is not what decides: an .xlsx saved as .xls still reads.
  const QString xlsx = dir.filePath("listino.xls");
  const QString ods = dir.filePath("listino.ods");
  ASSERT_TRUE(testing::ScriviXlsx(xlsx, fogli));
  ASSERT_TRUE(testing::ScriviOds(ods, fogli));
  for (const QString& percorso : {xlsx, ods}) {
    SCOPED_TRACE(percorso.toStdString());
    auto cartella = platform::openWorkbook(percorso);
    EXPECT_EQ(cartella->sheets(), QStringList({"Copertina", "PRODOTTI"}));
    const auto righe = cartella->rows("PRODOTTI");
    ASSERT_EQ(righe.size(), 4u);
    EXPECT_EQ(testi(righe[0]), QStringList({"Codice", "Prezzo", "", "Nota"}));
    EXPECT_EQ(testi(righe[1]),
              QStringList({"#8001234567897", "#1.5", "", QString::fromUtf8("caffè & tè <1>")}));
    EXPECT_TRUE(righe[2].empty());
    EXPECT_EQ(testi(righe[3]), QStringList({"", "#8001234567897", "8,00123E+12"}));
    EXPECT_THROW(cartella->rows("Manca"), platform::WorkbookError);
  }
}

TEST(WorkbookReader, FilesThatAreNoWorkbookAreRefusedWithAReason) {
  QTemporaryDir dir;
  const std::pair<const char*, QByteArray> casi[] = {
      {"testo.xls", "Codice;Prezzo\n"},
      {"zip.xlsx", QByteArray("PK\x03\x04rotto", 9)},
      {"ole.xls", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rotto", 13)},
  };
  for (const auto& [nome, contenuto] : casi) {
    const QString percorso = dir.filePath(nome);
    ASSERT_TRUE(testing::writeAll(percorso, contenuto));
    try {
      platform::openWorkbook(percorso);
      ADD_FAILURE() << nome << " was read as a workbook";
    } catch (const platform::WorkbookError& errore) {
      EXPECT_TRUE(errore.message().contains(percorso)) << errore.message().toStdString();
    }
  }
  EXPECT_THROW(platform::openWorkbook(dir.filePath("manca.xlsx")), platform::WorkbookError);
}

}  // namespace
}  // namespace listinova
