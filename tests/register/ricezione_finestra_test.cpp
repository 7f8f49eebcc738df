// The reading's windows: the access code asked first, and the product list's sales view wired
// as the program wires them.
#include "register/ricezione_finestra.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "catalogue/magazzino.h"
#include "register/collegamento_casse.h"
#include "register/frm_pswd.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

TEST(RicezioneFinestra, SalesViewShowsThePeriodsTotalsAndRefusesABackwardPeriod) {
  // One line per known barcode, summed over the days of the period (both ends in), none for a
  // sale of nothing or of a product the shop no longer has.
  testing::NegozioDiProva negozio;
  negozio.prodotto({.cod = "1", .descrizione = "ACQUA", .barCode = "8001"})
      .prodotto({.cod = "2", .descrizione = QString::fromUtf8("CAFFÈ"), .barCode = "8002"})
      .prodotto({.cod = "3", .descrizione = "ZUCCHERO", .barCode = "8003"})
      .vendita("8002", 0.1, QDate(2026, 12, 1))
      .vendita("8002", 0.2, QDate(2026, 12, 7))
      .vendita("8001", 1234.5, QDate(2026, 12, 3))
      .vendita("8001", 0.001, QDate(2026, 12, 3))
      .vendita("8001", 1, QDate(2026, 11, 30))
      .vendita("8003", 4, QDate(2026, 12, 8))
      .vendita("8003", 0, QDate(2026, 12, 5))
      .vendita("9999", 7, QDate(2026, 12, 2));
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  testing::FakeTextViewer viewer;
  auto& db = *negozio.db;
  const CartellaDiProva& cartella = negozio.cartella;
  CollegamentoCasse casse(
      {db, prompts, notice, clock, viewer, cartella.root(), cartella.setup(), {}, {}});
  Magazzino lista(db, prompts, notice, clock, {});
  CollegaRicezione(lista, casse, db, prompts, clock);

  auto* dal = lista.findChild<QDateEdit*>("dtGiornoRif");
  auto* elenco = lista.findChild<QTreeWidget*>("lstPLU");
  auto* trova = lista.findChild<QPushButton*>("cmdTrova");
  EXPECT_EQ(dal->date(), clock.current.date());
  dal->setDate(QDate(2026, 12, 1));
  lista.findChild<QDateEdit*>("dtDataAl")->setDate(QDate(2026, 12, 7));
  QTest::mouseClick(trova, Qt::LeftButton);
  QStringList righe;
  for (int i = 0; i < elenco->topLevelItemCount(); ++i)
    for (int colonna : {0, 1, 2}) righe << elenco->topLevelItem(i)->text(colonna);
  righe << lista.findChild<QLabel*>("lblTotMovimentati")->text()
        << lista.findChild<QLabel*>("lblTotQuantita")->text();
  EXPECT_EQ(righe.join('|'), QString::fromUtf8("8001|ACQUA|1.234,501|8002|CAFFÈ|0,3|2|1.234,801"));
  EXPECT_TRUE(prompts.asked.empty());

  dal->setDate(QDate(2026, 12, 8));
  QTest::mouseClick(trova, Qt::LeftButton);
  EXPECT_EQ(testing::askedTexts(prompts),
            QStringList(
                QString::fromUtf8("ATTENZIONE!!! - Controllare il periodo selezionato (la Data Al "
                                  "non può essere precedente alla Data Dal) e riprovare")));
  EXPECT_EQ(elenco->topLevelItemCount(), 2);  // the last list stays
}

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
    testing::FakePrompts prompts;
    rispondi(c.tentativi, "cmdAnnulla");
    EXPECT_EQ(ChiediPassword(prompts, nullptr, c.scopo), c.accettata);
    EXPECT_EQ(PasswordAccettata(), c.accettata ? 1 : 0);
    EXPECT_EQ(testing::askedTexts(prompts), QStringList(c.errori, "PASSWORD ERRATA RIPROVARE"));
  }
}

}  // namespace
}  // namespace listinova
