#include "register/record_reparti.h"

#include <gtest/gtest.h>

#include <QFile>
#include <memory>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/money.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;

struct Reparto {
  int cod;
  QString descrizione;
  QVariant iva = 10;
  QVariant prezzo = 0;
  QVariant sconto = 0;
};

const QString kMessaggioIva = QStringLiteral(
    "Creare in Setup.ini, chiave [IVA KELTRANO], la relazione tra il valore dell'iva ed il "
    "codice keltrano\nIn questo modo (segnarsi i valori su di un foglio):\n4=1\n10=2\n21=3\n0=4");

class RecordRepartiTest : public ::testing::Test {
 protected:
  RecordRepartiTest() {
    for (const auto& [aliquota, codice] :
         {std::pair{"4", "1"}, {"10", "2"}, {"21", "3"}, {"0", "4"}})
      ScriviINI(cartella_.setup(), "IVA KELTRANO", aliquota, codice);
  }

  RecordReparti record(bool torvane = false) {
    return RecordReparti(*db_, prompts_, cartella_.root(), cartella_.setup(), torvane);
  }

  void reparti(const std::vector<Reparto>& elenco) {
    db_->execute("Delete * from Reparti");
    Recordset rs = db_->openRecordset("select * from Reparti");
    for (const Reparto& r : elenco) {
      rs.addNew();
      rs.setValue("Cod", r.cod);
      rs.setText("Descrizione", r.descrizione);
      rs.setValue("Iva", r.iva);
      rs.setValue("PrezzoPrefissato", r.prezzo);
      rs.setValue("Sconto", r.sconto);
      rs.update();
    }
  }

  QString filePerRete() {
    RecordReparti r = record();
    EXPECT_TRUE(r.CreaFileInvioREPARTI("19216812"));
    return contenuto(r.PercorsoFileREP("19216812"));
  }

  static QString contenuto(const QString& percorso) {
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                          : QStringLiteral("<nessun file>");
  }

  CartellaDiProva cartella_;
  std::unique_ptr<Database> db_ = ApriDatabase(cartella_.file("Dati/DbNegozio.mdb"));
  testing::FakePrompts prompts_;
};

TEST(NomeRepartoPerCassa, DropsPunctuationAccentsAndLeadingZeros) {
  EXPECT_EQ(NomeRepartoPerCassa("Frutta: 100% bio"), "FRUTTA 100 BIO");
  EXPECT_EQ(NomeRepartoPerCassa("01 Pane"), "1 PANE");
  EXPECT_EQ(NomeRepartoPerCassa("0 IVA 10"), "IVA 1");
  EXPECT_EQ(NomeRepartoPerCassa("Caffè/Tè 'd'orzo', né"), "CAFFETE DORZO NE");
  // Zeros stay when the name does not begin with one.
  EXPECT_EQ(NomeRepartoPerCassa("Reparto 10"), "REPARTO 10");
  EXPECT_EQ(NomeRepartoPerCassa("  Detersivi e prodotti per la casa  "), "DETERSIVI E PRODOTTI");
  EXPECT_EQ(NomeRepartoPerCassa(QString()), "");
  EXPECT_EQ(NomeRepartoPerCassa("Pane\nfresco\x03\tbio\x02"), "PANE FRESCO  BIO");
}

TEST(PrezzoRepartoPerCassa, TwoDecimalsWithItalianGroupingAllAsPoints) {
  EXPECT_EQ(PrezzoRepartoPerCassa(*Money::parse("1234,5")), "1.234.50");
  EXPECT_EQ(PrezzoRepartoPerCassa(*Money::parse("999,99")), "999.99");
  EXPECT_EQ(PrezzoRepartoPerCassa(*Money::parse("2,5")), "2.50");
  EXPECT_EQ(PrezzoRepartoPerCassa(Money()), "0.00");
}

TEST_F(RecordRepartiTest, FileHoldsOneRecordPerDepartmentInCodeOrder) {
  reparti({{3, "Frutta e verdura", 10, 0, 5}, {1, "Pane", 4, "1234,5"}, {2, "Varie", 21, "2,5"}});
  // The discount is for the serial form only.
  EXPECT_EQ(filePerRete(),
            "D/1/PANE/1/1.234.50/500.00/1011000/1/0.00/\r\n"
            "D/2/VARIE/3/2.50/500.00/1011000/2/0.00/\r\n"
            "D/3/FRUTTA E VERDURA/2/0.00/500.00/1011000/3/0.00/\r\n");
  EXPECT_TRUE(prompts_.asked.empty());
}

TEST_F(RecordRepartiTest, SequenceWrapsAfterTenOrAfterTwentyForTorvane) {
  std::vector<Reparto> elenco;
  for (int cod = 1; cod <= 25; ++cod) elenco.push_back({cod, QStringLiteral("R%1").arg(cod)});
  reparti(std::vector<Reparto>(elenco.begin(), elenco.begin() + 11));
  const QStringList righe = filePerRete().split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(righe.size(), 11);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(righe[i].section('/', 7, 7), QString::number(i + 1));
  EXPECT_EQ(righe[10], "D/11/R11/2/0.00/500.00/1011000/1/0.00/");

  reparti(elenco);
  RecordReparti torvane = record(true);
  ASSERT_TRUE(torvane.CreaFileInvioREPARTI("1"));
  const QStringList lunghe = contenuto(torvane.PercorsoFileREP("1")).split("\r\n");
  EXPECT_EQ(lunghe[19].section('/', 7, 7), "20");
  EXPECT_EQ(lunghe[20].section('/', 7, 7), "1");
  EXPECT_EQ(lunghe[24].section('/', 7, 7), "5");
}

TEST_F(RecordRepartiTest, MissingVatEntryStopsTheFileWithTheMessage) {
  reparti({{1, "Pane", 4}, {2, "Bibite", 22}, {3, "Latte", 4}});
  RecordReparti r = record();
  QFile vecchio(r.PercorsoFileREP("1"));
  ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
  vecchio.write("D/9/VECCHIO/1/0.00/500.00/1011000/1/0.00/\r\n");
  vecchio.close();

  EXPECT_FALSE(r.CreaFileInvioREPARTI("1"));
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].text, kMessaggioIva);
  EXPECT_EQ(prompts_.asked[0].title, "Listinova");
  EXPECT_EQ(prompts_.asked[0].icon, platform::Icon::Information);
  EXPECT_EQ(LeggiINI(cartella_.setup(), "IVA KELTRANO", "22", "<assente>"), "?");
  // Neither the old file nor the departments before the missing one are left to send.
  EXPECT_FALSE(QFile::exists(r.PercorsoFileREP("1")));
}

TEST_F(RecordRepartiTest, VatCodeComesFromTheMapOrIsMissing) {
  RecordReparti r = record();
  EXPECT_EQ(r.CodiceIvaKeltrano(21), 3);
  EXPECT_EQ(r.CodiceIvaKeltrano(0), 4);
  ScriviINI(cartella_.setup(), "IVA KELTRANO", "5", "");
  EXPECT_EQ(r.CodiceIvaKeltrano(5), RecordReparti::kCodiceIvaMancante);
  EXPECT_EQ(LeggiINI(cartella_.setup(), "IVA KELTRANO", "5", "<assente>"), "?");
  // The "?" written the first time is still no code.
  EXPECT_EQ(r.CodiceIvaKeltrano(5), RecordReparti::kCodiceIvaMancante);
  EXPECT_EQ(prompts_.asked.size(), 2u);
}

TEST_F(RecordRepartiTest, NoDepartmentsMeansNoFileAndNoSerialRecords) {
  reparti({});
  RecordReparti r = record();
  EXPECT_FALSE(r.CreaFileInvioREPARTI("1"));
  EXPECT_FALSE(QFile::exists(r.PercorsoFileREP("1")));
  const std::optional<QStringList> seriali = r.RecordSeriali();
  ASSERT_TRUE(seriali.has_value());
  EXPECT_TRUE(seriali->isEmpty());
}

TEST_F(RecordRepartiTest, SerialRecordsAreNotMadeWithAVatCodeMissing) {
  reparti({{1, "Pane", 4}, {2, "Bibite", 22}});
  EXPECT_FALSE(record().RecordSeriali().has_value());
  EXPECT_EQ(prompts_.asked.size(), 1u);
}

}  // namespace
}  // namespace listinova
