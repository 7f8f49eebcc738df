#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "startup/filtro_tasti.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

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
      {FiltroTasti::kDecimale, "abc-4 x+%", "4"},
      {3, "1,2.3a", "1,23"},
      {1, "12ab3", "123"},
      {2, "Pane 2 kg!", "Pane 2 kg"},
      {4, "mario.rossi@negozio, 3", "mario.rossi@negozio3"},
  };
  for (const auto& [modo, digitato, atteso] : casi)
    EXPECT_EQ(digita(modo, digitato), atteso) << modo << " " << digitato;
  EXPECT_FALSE(TastoAmmesso(QChar(u'è'), 2));  // no accented letters
  EXPECT_FALSE(TastoAmmesso(QChar(u'7'), 9));  // no unknown modes
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
}

}  // namespace
}  // namespace listinova
