// The department records where the end-to-end sends do not reach: every form of a name and a
// price, the Torvane sequence, a VAT rate without its register code.
#include "register/record_reparti.h"

#include <gtest/gtest.h>

#include <QFile>

#include "platform/money.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

TEST(RecordReparti, NamesAndPricesAsTheRegisterTakesThem) {
  const std::pair<QString, QString> nomi[] = {
      {"01 Pane", "1 PANE"},
      {"0 IVA 10", "IVA 1"},
      {QString::fromUtf8("Caffè/Tè 'd'orzo', né"), "CAFFETE DORZO NE"},
      {"Reparto 10", "REPARTO 10"},  // zeros stay when the name does not begin with one
      {"  Detersivi e prodotti per la casa  ", "DETERSIVI E PRODOTTI"},
      {QString(), ""},
      {"Pane\nfresco\x03\tbio\x02", "PANE FRESCO  BIO"},
  };
  for (const auto& [nome, atteso] : nomi) EXPECT_EQ(NomeRepartoPerCassa(nome), atteso);
  const std::pair<const char*, const char*> prezzi[] = {{"999,99", "999.99"}, {"2,5", "2.50"}};
  for (const auto& [prezzo, atteso] : prezzi)
    EXPECT_EQ(PrezzoRepartoPerCassa(*Money::parse(prezzo)), atteso);
}

class RecordRepartiTest : public ::testing::Test {
 protected:
  RecordRepartiTest() {
    for (const auto& [aliquota, codice] :
         {std::pair{"4", "1"}, {"10", "2"}, {"21", "3"}, {"0", "4"}})
      negozio.setup("IVA KELTRANO", aliquota, codice);
    negozio.db->execute("Delete * from Reparti");
  }
  RecordReparti record(bool torvane = false) {
    return RecordReparti(*negozio.db, prompts, negozio.cartella.root(), negozio.cartella.setup(),
                         torvane);
  }

  NegozioDiProva negozio;
  FakePrompts prompts;
};

TEST_F(RecordRepartiTest, TorvaneSequenceWrapsAfterTwenty) {
  for (int cod = 1; cod <= 25; ++cod) negozio.reparto(cod, QStringLiteral("R%1").arg(cod), 10);
  RecordReparti torvane = record(true);
  ASSERT_TRUE(torvane.CreaFileInvioREPARTI("1"));
  QStringList sequenza;
  for (const QByteArray& riga : readAll(torvane.PercorsoFileREP("1")).split('\n'))
    sequenza << riga.split('/').value(7);
  EXPECT_EQ(sequenza.mid(18, 7), (QStringList{"19", "20", "1", "2", "3", "4", "5"}));
}

// No departments, or one whose VAT rate has no register code: no file, not even an older one,
// is left to send. The operator is told which entries to write and the missing one is marked
// "?" (still no code the next time).
TEST_F(RecordRepartiTest, NoDepartmentsOrAMissingVatEntryLeaveNoFile) {
  RecordReparti r = record();
  const QByteArray vecchio = "D/9/VECCHIO/1/0.00/500.00/1011000/1/0.00/\r\n";
  ASSERT_TRUE(writeAll(r.PercorsoFileREP("1"), vecchio));
  EXPECT_FALSE(r.CreaFileInvioREPARTI("1"));
  EXPECT_FALSE(QFile::exists(r.PercorsoFileREP("1")));
  EXPECT_EQ(r.RecordSeriali(), std::optional<QStringList>(QStringList{}));

  negozio.reparto(1, "Pane", 4).reparto(2, "Bibite", 22).reparto(3, "Latte", 4);
  ASSERT_TRUE(writeAll(r.PercorsoFileREP("1"), vecchio));
  EXPECT_FALSE(r.CreaFileInvioREPARTI("1"));
  EXPECT_FALSE(QFile::exists(r.PercorsoFileREP("1")));
  EXPECT_EQ(askedTexts(prompts),
            QStringList{"Creare in Setup.ini, chiave [IVA KELTRANO], la relazione tra il valore "
                        "dell'iva ed il codice keltrano\nIn questo modo (segnarsi i valori su di "
                        "un foglio):\n4=1\n10=2\n21=3\n0=4"});
  EXPECT_EQ(LeggiINI(negozio.cartella.setup(), "IVA KELTRANO", "22", "<assente>"), "?");
  EXPECT_EQ(r.CodiceIvaKeltrano(22), RecordReparti::kCodiceIvaMancante);
  EXPECT_EQ(r.CodiceIvaKeltrano(21), 3);
}

}  // namespace
}  // namespace listinova::testing
