#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "startup/filtro_tasti.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

constexpr int kBackspace = 8;
constexpr int kInvio = 13;

QString ammessi(int modo) {
  QString presi;
  for (int codice = 32; codice < 127; ++codice)
    if (TastoAmmesso(codice, modo)) presi.append(QChar(codice));
  return presi;
}

const QString kCifre = QStringLiteral("0123456789");
const QString kLettere = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

// Backspace in every mode, Enter only in the first; no accented letters; no unknown modes.
TEST(TastoAmmesso, TheTableOfTheFourModes) {
  EXPECT_EQ(ammessi(1), kCifre);
  EXPECT_EQ(ammessi(2), " " + kCifre + kLettere);
  EXPECT_EQ(ammessi(3), "," + kCifre);
  EXPECT_EQ(ammessi(4), "." + kCifre + "@" + kLettere);
  for (int modo = 1; modo <= 4; ++modo) {
    EXPECT_TRUE(TastoAmmesso(kBackspace, modo)) << modo;
    EXPECT_EQ(TastoAmmesso(kInvio, modo), modo == 1) << modo;
  }
  EXPECT_FALSE(TastoAmmesso(QChar(u'è'), 2));
  EXPECT_FALSE(TastoAmmesso(QChar(u'à'), 4));
  EXPECT_FALSE(TastoAmmesso(QChar(u'7'), 9));
}

class FiltroSuCasella : public ::testing::Test {
 protected:
  QString digita(int modo, const QString& testo) {
    QLineEdit casella;
    FiltroTasti::applica(&casella, modo);
    QTest::keyClicks(&casella, testo);
    return casella.text();
  }
};

// The decimal field turns the dot into a comma, takes one comma after a digit, refuses the rest.
TEST_F(FiltroSuCasella, EachFieldKeepsOnlyWhatItsModeAllows) {
  const std::tuple<int, const char*, const char*> casi[] = {
      {FiltroTasti::kDecimale, "12.5", "12,5"},
      {FiltroTasti::kDecimale, "1,2,3", "1,23"},
      {FiltroTasti::kDecimale, ",5", "5"},
      {FiltroTasti::kDecimale, "abc-4 x+%", "4"},
      {FiltroTasti::kDecimale, "1,5.", "1,5"},
      {3, "1,2.3a", "1,23"},
      {1, "12ab3", "123"},
      {2, "Pane 2 kg!", "Pane 2 kg"},
      {4, "mario.rossi@negozio", "mario.rossi@negozio"},
  };
  for (const auto& [modo, digitato, atteso] : casi)
    EXPECT_EQ(digita(modo, digitato), atteso) << modo << " " << digitato;
}

TEST_F(FiltroSuCasella, EditingAndNavigationKeysStillWork) {
  QLineEdit casella;
  FiltroTasti::applica(&casella, FiltroTasti::kDecimale);
  QTest::keyClicks(&casella, "12345");
  QTest::keyClick(&casella, Qt::Key_Backspace);
  EXPECT_EQ(casella.text(), "1234");
  QTest::keyClick(&casella, Qt::Key_Home);
  QTest::keyClick(&casella, Qt::Key_Delete);
  EXPECT_EQ(casella.text(), "234");
  QTest::keyClick(&casella, Qt::Key_Right);
  QTest::keyClick(&casella, Qt::Key_Period);
  EXPECT_EQ(casella.text(), "2,34");
  QTest::keyClick(&casella, Qt::Key_End);
  QTest::keyClick(&casella, Qt::Key_Left);
  QTest::keyClick(&casella, Qt::Key_9);
  EXPECT_EQ(casella.text(), "2,394");
}

}  // namespace
}  // namespace listinova
