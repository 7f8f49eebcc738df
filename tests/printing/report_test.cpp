// The three reports from a known archive, the print commands around them and the paging.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include "platform/workbook_writer.h"
#include "printing/report_anteprima.h"
#include "printing/report_archivio.h"
#include "printing/report_comandi.h"
#include "printing/report_motore.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tests/printing/fogli_scritti.h"

namespace listinova {
namespace {

using platform::Answer;

const QDate kOggi(2024, 3, 15);  // the fake clock's day

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    a.reparto(7, "Panetteria")
        .prodotto({"1", "PANE", "2000000000015", "7", 12, "1,20", "0,60", "FORNO", "P1"})
        .prodotto({"2", "LATTE", "8001234567890", "Latticini", 2.5, "1.234,50", "900", "RUSSO"})
        // deleted
        .prodotto({"3", "VECCHIO", "8000000000017", "", 4, "1", "1", "", "", "", false, true})
        .prodotto({"4", "GRISSINI", "80000019", "", -1, "2", "1"});
  }

  testing::NegozioDiProva a;
};

// The stock report of a search, with its totals, and the sales report of a period.
TEST_F(Report, StockAndSalesReportsHoldTheirRowsAndTotals) {
  const Money valore = RiempiRptMagazzino(*a.db, "Select * from Magazzino order by descrizione");
  // The deleted product is left out; the value is price times stock of the rows listed.
  EXPECT_EQ(valore, *Money::parse("3098,65"));
  const ModelloReport m = ReportMagazzino(*a.db, kOggi, valore);
  EXPECT_EQ(m.didascalia + " " + m.valoreDidascalia, "Situazione alla data: 15/03/2024");
  const std::vector<QStringList> attese = {
      // no supplier typed: stars
      {"", "80000019", "GRISSINI", "", "-1", "€ 2,00", "€ 1,00", "***"},
      {"", "8001234567890", "LATTE", "Latticini", "2,5", "€ 1.234,50", "€ 900,00", "RUSSO"},
      {"P1", "2000000000015", "PANE", "Panetteria", "12", "€ 1,20", "€ 0,60", "FORNO"},
  };
  EXPECT_EQ(m.righe, attese);
  const decltype(m.totali) totali = {{"Totale Articoli:", "3"}, {"Valore Giacenze:", "€ 3.098,65"}};
  EXPECT_EQ(m.totali, totali);

  // A search fills the table with its products only, and a second print starts afresh.
  RiempiRptMagazzino(*a.db, QStringLiteral("Select * From Magazzino where Quantità<=0"));
  EXPECT_EQ(ReportMagazzino(*a.db, kOggi, {}).righe.size(), 1u);

  const QDate giorno(2026, 5, 4);
  a.vendita("8001234567890", 3, giorno);
  a.vendita("2000000000015", 1.5, giorno.addDays(1));
  a.vendita("9999999999999", 7, giorno);  // not in the archive: the join leaves it out
  a.vendita("2000000000015", 2, giorno.addDays(9));
  const struct {
    QDate dal, al;
    std::vector<QStringList> righe;
  } casi[] = {
      // clang-format off
      {giorno, giorno.addDays(1), {{"3", "LATTE", "8001234567890"}, {"1,5", "PANE", "2000000000015"}}},
      {giorno.addDays(1), giorno.addDays(9), {{"1,5", "PANE", "2000000000015"}, {"2", "PANE", "2000000000015"}}},
      {giorno.addDays(9), giorno, {}},
      // clang-format on
  };
  for (const auto& caso : casi) {
    const ModelloReport m = ReportVendite(*a.db, caso.dal, caso.al);
    EXPECT_EQ(m.valoreDidascalia,
              caso.dal.toString("dd/MM/yyyy") + " - " + caso.al.toString("dd/MM/yyyy"));
    EXPECT_EQ(m.righe, caso.righe);
    EXPECT_TRUE(m.totali.empty());
  }
}

// The commands of the product list and of the promotions list around the reports: each
// report reaches the preview, a yes exports instead, an empty promotions list is refused.
TEST_F(Report, CommandsPreviewOrExport) {
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::vector<ModelloReport> mostrati;
  platform::XlsxWorkbookWriter scrittore;
  platform::AttachWorkbookWriter(*a.db, scrittore);
  const auto nome = [this](const QString&) { return a.file("export"); };
  StampeReport s(
      AmbienteEsportazione{*a.db, prompts, notice, scrittore, a.cartella.setup(), nome, {}}, clock,
      [&](const ModelloReport& m) { mostrati.push_back(m); });
  prompts.answers = {Answer::No, Answer::No};
  s.StampaMagazzino("Select * From Magazzino where  Genere='7' order by descrizione", false);
  s.StampaVendite(kOggi, kOggi);
  const std::vector<RigaElencoOfferte> righe = {
      {"1", "1", "PANE", "01/03/2024", "31/03/2024", "0,20", "0", "1,00", "0,95"},
      {"2", "2", "LATTE D'ALTA", "10/03/2024", "20/03/2024", "0,00", "10", "1.111,05", ""},
  };
  ASSERT_TRUE(s.StampaElencoOfferte(righe));
  ASSERT_EQ(mostrati.size(), 3u);
  EXPECT_EQ(testing::askedTexts(prompts), (QStringList{"Si preferisce esportare in file Excel?",
                                                       "Si preferisce esportare in file Excel?"}));
  EXPECT_EQ(mostrati[0].righe.size(), 1u);
  EXPECT_EQ(mostrati[0].totali.at(1).second, "€ 14,40");
  const ModelloReport& m = mostrati[2];
  EXPECT_EQ(m.didascalia + " " + m.valoreDidascalia, "Data di Stampa 15/03/2024");
  const std::vector<QStringList> attese = {
      {"PANE", "0,20", "0", "01/03/2024", "31/03/2024", "1,00", "0,95"},
      {"LATTE D'ALTA", "0,00", "10", "10/03/2024", "20/03/2024", "1.111,05", ""},
  };
  EXPECT_EQ(m.righe, attese);

  // An empty list: the message, and the table of the last print stays as it was.
  prompts.asked.clear();
  EXPECT_FALSE(s.StampaElencoOfferte({}));
  EXPECT_EQ(testing::askedTexts(prompts), QStringList{"Nessun prodotto da stampare!!!"});
  EXPECT_EQ(a.conta("Select * from rptProdotti"), 2);

  // Yes to the question exports what the search found.
  prompts.answers = {Answer::Yes};
  s.StampaMagazzino("Select * from Magazzino", true);
  EXPECT_EQ(mostrati.size(), 3u);
  EXPECT_EQ(notice.messages, QStringList{"Operazione Effettuata"});
  const auto fogli = testing::FogliScritti(a.file("export.xlsx"));
  ASSERT_EQ(fogli.size(), 2u);
  EXPECT_EQ(fogli[0].second.size(), 2u);  // the header and GRISSINI, the one Qta <= 0
}

// A report of many pages, as poppler reads its PDF.
TEST(DisegnaReport, LongReportRepeatsHeadersAndNumbersPages) {
  ModelloReport m;
  m.orizzontale = true;
  m.colonne = {{"BarCode", 1}, {"Descrizione", 3}, {"Giacenze", 1, Qt::AlignRight}};
  for (int i = 1; i <= 300; ++i)
    m.righe.push_back({QString("8%1").arg(i, 12, 10, QChar('0')), QString("PRODOTTO N. %1").arg(i),
                       QString::number(i)});
  m.totali = {{"Totale Articoli:", "300"}, {"Valore Giacenze:", "€ 1,00"}};
  QTemporaryDir dir;
  const QString file = dir.filePath("lungo.pdf");
  ASSERT_TRUE(SalvaReportPdf(m, file));
  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-layout", file, "-"});
  ASSERT_TRUE(pdftotext.waitForFinished(60000));
  QStringList pagine = QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f');
  pagine.removeAll("");  // after the last page break
  ASSERT_GT(pagine.size(), 2);
  int ultimaRiga = 0;
  for (int p = 0; p < pagine.size(); ++p) {
    SCOPED_TRACE(p + 1);
    EXPECT_TRUE(pagine[p].contains("Descrizione")) << "column captions on every page";
    EXPECT_TRUE(pagine[p].contains(QString("Pag. %1 di %2").arg(p + 1).arg(pagine.size())));
    // Rows follow each other across pages: none lost, none repeated, none cut.
    static const QRegularExpression riga(R"(PRODOTTO N\. (\d+))");
    for (auto it = riga.globalMatch(pagine[p]); it.hasNext();) {
      const int n = it.next().captured(1).toInt();
      EXPECT_EQ(n, ultimaRiga + 1);
      ultimaRiga = n;
    }
  }
  EXPECT_EQ(ultimaRiga, 300);
  EXPECT_TRUE(pagine.last().contains("Totale Articoli:"));
  EXPECT_FALSE(pagine.first().contains("Totale Articoli:"));
}

}  // namespace
}  // namespace listinova
