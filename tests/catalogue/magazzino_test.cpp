// The product list window on the offscreen platform, driven by clicks and typing.
#include "catalogue/magazzino.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "startup/error_log.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "support/widgets.h"

namespace listinova {
namespace {

using platform::Answer;

class MagazzinoTest : public ::testing::Test {
 protected:
  MagazzinoTest() {
    const auto p = [&](const char* cod, const char* descrizione, const char* genere,
                       const char* costo, double quantita, bool eliminato, int ean) {
      negozio.prodotto({.cod = cod,
                        .descrizione = descrizione,
                        .barCode = QString("80012340000") + cod + QString::number(ean),
                        .genere = genere,
                        .quantita = quantita,
                        .costo = costo,
                        .unitaMisura = "Pz",
                        .eliminato = eliminato});
    };
    negozio.reparto(2, "Latticini");
    p("1", "Latte intero 1 l", "2", "1,50", 12, false, 1);
    p("2", "Latte scremato 1 l", "Latticini", "1,40", 0, false, 8);
    p("3", "Latte di capra", "2", "2,90", 3, true, 5);
    p("4", "Pane casereccio", "", "3,20", 8, false, 2);
  }
  ~MagazzinoTest() override { finestra.reset(); }

  // Shows the window and waits for its first load.
  void apri() {
    finestra =
        std::make_unique<Magazzino>(*negozio.db, prompts, notice, clock, [] { return nullptr; });
    finestra->show();
    finestra->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(finestra.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !codiciElencati().isEmpty(); }));
  }

  template <typename T>
  T* figlio(const char* nome) {
    return testing::figlio<T>(*finestra, nome);
  }
  QTreeView* griglia() { return figlio<QTreeView>("ListMagazzino"); }
  QModelIndex indice(int riga) { return griglia()->model()->index(riga, 0); }
  QLineEdit* barCode() { return figlio<QLineEdit>("txtRicBarCode"); }
  QString testo(const char* etichetta) { return figlio<QLabel>(etichetta)->text(); }
  void clic(const char* nome) { QTest::mouseClick(figlio<QAbstractButton>(nome), Qt::LeftButton); }
  void leggi(const QString& codice, Qt::Key fine = Qt::Key_Return) {
    QTest::keyClicks(barCode(), codice);
    QTest::keyClick(barCode(), fine);
  }
  QStringList codiciElencati() {
    QStringList codici;
    for (int i = 0; i < griglia()->model()->rowCount(); ++i) codici << indice(i).data().toString();
    return codici;
  }
  // The window's focus child: after a modal window the focus lands there on reactivation.
  bool fuocoSulBarCode() { return finestra->focusWidget() == barCode(); }

  // The next modal window that opens is described and then closed.
  struct FinestraModale {
    QString nome;
    QString descrizione;
    bool aggiungiAbilitato = false;
  };
  void chiudiLaProssimaModale(FinestraModale& vista, int tentativi = 100) {
    QTimer::singleShot(tentativi == 100 ? 0 : 20, [&vista, this, tentativi] {
      QWidget* modale = QApplication::activeModalWidget();
      if (!modale) {
        if (tentativi > 0) chiudiLaProssimaModale(vista, tentativi - 1);
        return;
      }
      vista.nome = modale->objectName();
      if (auto* d = modale->findChild<QLineEdit*>("TxtDesc")) vista.descrizione = d->text();
      if (auto* a = modale->findChild<QPushButton*>("cmdAggiungi"))
        vista.aggiungiAbilitato = a->isEnabled();
      if (auto* dialogo = qobject_cast<QDialog*>(modale)) dialogo->reject();
    });
  }

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::unique_ptr<Magazzino> finestra;
};

// The first load, then the description and department searches and "Tutti".
TEST_F(MagazzinoTest, ListsTotalsAndSearches) {
  apri();
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2", "4"}));
  EXPECT_EQ(testo("lblTotVociMaga"), "4");
  EXPECT_EQ(testo("lblTotArt"), "3");
  EXPECT_EQ(testo("totValore"), "43,60");  // 1,50 x 12 + 1,40 x 0 + 3,20 x 8

  QTest::keyClicks(figlio<QLineEdit>("Descrizione"), "latte s");
  clic("CmdCerca");
  EXPECT_EQ(codiciElencati(), QStringList({"2"}));
  EXPECT_EQ(testo("lblTotVociMaga"), "1");
  figlio<QLineEdit>("Descrizione")->clear();

  figlio<QComboBox>("Genere")->setCurrentText("Latticini");
  clic("CmdCerca");
  EXPECT_EQ(codiciElencati(), QStringList({"2"}));  // Genere holds the name
  negozio.setup("Config", "SalvaRepartoComeCODICE", "VERO");
  clic("CmdCerca");
  EXPECT_EQ(codiciElencati(), QStringList({"1"}));  // Genere holds the code

  clic("cmdTutti");
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2", "4"}));
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(fuocoSulBarCode());

  // A store that fails is logged, the busy pointer reset and the last good list kept.
  ErrorLog log(negozio.cartella.root(), clock);
  installaErrorLog(&log);
  negozio.sqlite("DROP VIEW prodotti").sqlite("DROP TABLE Magazzino");
  clic("CmdCerca");
  leggi("8001234000011");
  installaErrorLog(nullptr);
  const QString righe = QString::fromUtf8(testing::readAll(log.percorsoLog()));
  EXPECT_TRUE(righe.contains("*-Magazzino-CaricaMagazzino-]")) << righe.toStdString();
  EXPECT_TRUE(righe.contains("*-Magazzino-IntercettaBarCode-]")) << righe.toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2", "4"}));
}

// The editor opens from a scanned code, from Modifica (after "Eliminare il PLU?" answered No)
// and from Aggiungi, empty and with adding allowed only then; an unknown or deleted code only
// shows the notice.
TEST_F(MagazzinoTest, EditorOpensFromScanEditAndAdd) {
  struct Caso {
    const char* nome;
    std::function<void()> azione;
    QString descrizione;
    bool aggiungi;
    size_t domande;
  };
  const Caso casi[] = {
      {"scan", [&] { leggi("8001234000028"); }, "Latte scremato 1 l", false, 0},
      {"scan without leading zeros", [&] { leggi("49428595750", Qt::Key_Enter); }, "ORZO", false,
       0},
      {"edit", [&] { clic("Modifica"); }, "Latte intero 1 l", false, 1},
      {"add", [&] { clic("Aggiungi"); }, "", true, 0},
  };
  negozio.prodotto({.cod = "9", .descrizione = "ORZO", .barCode = "0049428595750"});
  apri();
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    prompts.asked.clear();
    prompts.answers = {Answer::No};
    FinestraModale vista;
    chiudiLaProssimaModale(vista);
    caso.azione();
    EXPECT_EQ(vista.nome, "AggiungiMateriale");
    EXPECT_EQ(vista.descrizione, caso.descrizione);
    EXPECT_EQ(vista.aggiungiAbilitato, caso.aggiungi);
    EXPECT_EQ(testing::askedTexts(prompts), QStringList(int(caso.domande), "Eliminare il PLU?"));
    EXPECT_TRUE(notice.messages.isEmpty());
    EXPECT_EQ(barCode()->text(), "");
    EXPECT_TRUE(fuocoSulBarCode());
  }
  leggi("999", Qt::Key_Enter);
  leggi("8001234000035", Qt::Key_Escape);  // the deleted product's code, ended by Escape
  EXPECT_EQ(notice.messages,
            QStringList(2, "ATTENZIONE! Prodotto Non Registrato o Lettura Imperfetta!"));
  EXPECT_EQ(barCode()->text(), "");
}

TEST_F(MagazzinoTest, DeletingByDoubleClickTakesThePluAndItsData) {
  negozio.barCodeUlteriore("2", "777");
  negozio.sqlite("INSERT INTO Offerte (Articolo, PrzScnt) VALUES ('2', 1), ('1', 1)");
  apri();
  const QPoint punto = griglia()->visualRect(indice(1)).center();
  prompts.answers = {Answer::Yes, Answer::Yes};
  QTest::mouseClick(griglia()->viewport(), Qt::LeftButton, {}, punto);
  QTest::mouseDClick(griglia()->viewport(), Qt::LeftButton, {}, punto);
  ASSERT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(negozio.righe("Select CodMateriale from Magazzino order by 1"),
            QStringList({"1", "3", "4"}));
  EXPECT_EQ(negozio.conta("Select * from BarCodeUlteriori"), 0);
  EXPECT_EQ(negozio.righe("Select Articolo from Offerte"), QStringList{"1"});
  EXPECT_EQ(codiciElencati(), QStringList({"1", "4"}));
}

// A pass longer than the timer's interval never starts a second one inside it; an import
// reloads the list.
TEST_F(MagazzinoTest, TheExchangeTimerNeverOverlapsItsPassesAndReloadsAfterAnImport) {
  apri();
  int passaggi = 0;
  bool dentro = false, sovrapposti = false;
  finestra->setImportaInterscambio(
      [&] {
        sovrapposti = sovrapposti || dentro;
        dentro = true;
        QTest::qWait(30);
        dentro = false;
        if (++passaggi == 2) negozio.prodotto("5", "Importato", "1,00");
        return passaggi == 2;
      },
      5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return passaggi >= 3; }));
  EXPECT_FALSE(sovrapposti);
  EXPECT_TRUE(codiciElencati().contains("5"));
}

}  // namespace
}  // namespace listinova
