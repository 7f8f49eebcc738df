#include "register/frm_pswd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::FakePrompts;

// Types into the password window that is open at that moment, then presses one of its buttons.
void rispondi(const QStringList& tentativi, const char* pulsante) {
  QTimer::singleShot(0, [tentativi, pulsante] {
    auto* finestra = qobject_cast<FrmPswd*>(QApplication::activeModalWidget());
    ASSERT_NE(finestra, nullptr);
    auto* campo = finestra->findChild<QLineEdit*>("txtPassword");
    for (const QString& t : tentativi) {
      QTest::keyClicks(campo, t);
      QTest::mouseClick(finestra->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
      EXPECT_TRUE(campo->text().isEmpty() || finestra->isHidden());
    }
    if (!finestra->isHidden())
      QTest::mouseClick(finestra->findChild<QPushButton*>(pulsante), Qt::LeftButton);
  });
}

TEST(FrmPswd, OnlyTheAccessCodeForReadingIsAccepted) {
  const struct {
    QStringList tentativi;
    QString scopo;
    bool accettata;
    int errori;
  } casi[] = {
      {{"korvade", "KORVAD", "KORVADE"}, "TCN", true, 2},  // wrong ones are asked again
      {{"KORVADE"}, "XYZ", false, 1},
      {{}, "TCN", false, 0},  // the operator cancels
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.tentativi.join(',').toStdString() + " " + c.scopo.toStdString());
    FakePrompts prompts;
    rispondi(c.tentativi, "cmdAnnulla");
    EXPECT_EQ(ChiediPassword(prompts, nullptr, c.scopo), c.accettata);
    EXPECT_EQ(PasswordAccettata(), c.accettata ? 1 : 0);
    EXPECT_EQ(testing::askedTexts(prompts), QStringList(c.errori, "PASSWORD ERRATA RIPROVARE"));
  }
}

}  // namespace
}  // namespace listinova
