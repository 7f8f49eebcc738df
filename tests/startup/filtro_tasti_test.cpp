#include "startup/filtro_tasti.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QLineEdit>
#include <QTest>

#include "support/qt_print.h"

namespace listinova {
namespace {

// The decimal field turns the dot into a comma, takes one comma after a digit, refuses the rest;
// editing keys still work ("|" is Backspace, "~" Delete, "<" the left arrow).
TEST(FiltroTasti, EachFieldKeepsOnlyWhatItsModeAllows) {
  const std::tuple<int, const char*, const char*> casi[] = {
      {FiltroTasti::kDecimale, "12.5", "12,5"},
      {FiltroTasti::kDecimale, "1,2,3", "1,23"},
      {FiltroTasti::kDecimale, "abc-4 x+%", "4"},
      {FiltroTasti::kDecimale, "12345|<<<~.", "1,34"},
      {3, "1,2.3a", "1,23"},
      {1, "12ab3", "123"},
      {2, "Pane 2 kg!", "Pane 2 kg"},
      {4, "mario.rossi@negozio, 3", "mario.rossi@negozio3"},
  };
  const QHash<char, Qt::Key> speciali{
      {'|', Qt::Key_Backspace}, {'~', Qt::Key_Delete}, {'<', Qt::Key_Left}};
  for (const auto& [modo, digitato, atteso] : casi) {
    QLineEdit casella;
    FiltroTasti::applica(&casella, modo);
    for (const char c : QByteArray(digitato))
      speciali.contains(c) ? QTest::keyClick(&casella, speciali[c]) : QTest::keyClick(&casella, c);
    EXPECT_EQ(casella.text(), atteso) << modo << " " << digitato;
  }
  EXPECT_FALSE(TastoAmmesso(QChar(u'è'), 2));  // no accented letters
  EXPECT_FALSE(TastoAmmesso(QChar(u'7'), 9));  // no unknown modes
}

}  // namespace
}  // namespace listinova
