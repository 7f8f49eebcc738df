#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "startup/frm_info.h"

namespace listinova {
namespace {

// Far beyond the 2.5 s the window stays up; only there so a broken build cannot hang.
constexpr int kLimiteMs = 15000;

TEST(FrmInfoTest, NoticeWaitsForTheWindowToCloseItself) {
  QString mostrato;
  bool forzata = false;
  QTimer sorveglia;
  sorveglia.setInterval(10);
  QObject::connect(&sorveglia, &QTimer::timeout, [&] {
    if (auto* finestra = qobject_cast<FrmInfo*>(QApplication::activeModalWidget()))
      mostrato = finestra->messaggio();
  });
  sorveglia.start();
  QTimer::singleShot(kLimiteMs, [&] {
    if (QWidget* finestra = QApplication::activeModalWidget()) {
      forzata = true;
      finestra->close();
    }
  });

  // The notice returns only once the window has closed itself, with the message shown.
  QtNotice avviso;
  avviso.show("Stampa completata");
  EXPECT_FALSE(forzata);
  EXPECT_EQ(mostrato, "Stampa completata");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace listinova
