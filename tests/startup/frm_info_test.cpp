#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

#include "startup/frm_info.h"

namespace listinova {
namespace {

// Far beyond the 2.5 s the window stays up; only there so a broken build cannot hang.
constexpr int kLimiteMs = 15000;

TEST(FrmInfoTest, ShowsTheMessageThenClosesByItself) {
  FrmInfo finestra;
  finestra.setMessaggio("Archivio aggiornato");
  QSignalSpy chiusa(&finestra, &QDialog::finished);

  finestra.open();
  QApplication::processEvents();
  EXPECT_TRUE(finestra.attivato());
  EXPECT_FALSE(finestra.terminato());
  EXPECT_TRUE(finestra.isVisible());

  const auto* lblMsg = finestra.findChild<QLabel*>("lblMsg");
  ASSERT_NE(lblMsg, nullptr);
  EXPECT_EQ(lblMsg->text(), "Archivio aggiornato");

  ASSERT_TRUE(chiusa.wait(kLimiteMs));
  EXPECT_TRUE(finestra.terminato());
  EXPECT_FALSE(finestra.isVisible());
}

TEST(FrmInfoTest, ClosedEarlyByTheOperatorCountsAsFinished) {
  FrmInfo finestra;
  finestra.open();
  finestra.reject();
  EXPECT_TRUE(finestra.terminato());
  EXPECT_FALSE(finestra.isVisible());
}

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

  QtNotice avviso;
  avviso.show("Stampa completata");
  EXPECT_FALSE(forzata);
  EXPECT_EQ(mostrato, "Stampa completata");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace listinova
