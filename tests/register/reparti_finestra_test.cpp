// The departments window as the operator uses it: what it lists, what a confirmed form
// writes, what it refuses, and the reset.
#include "register/reparti_finestra.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "support/widgets.h"

namespace listinova::testing {
namespace {

using platform::Answer;

class RepartiFinestraTest : public ::testing::Test {
 protected:
  RepartiFinestraTest() {
    negozio.reparto(3, "Frutta e verdura", 10)
        .reparto(12, "Pane e dolci", 4)
        .sqlite("UPDATE Reparti SET Sconto=5 WHERE Cod=3")
        .sqlite("UPDATE Reparti SET PrezzoPrefissato=1.5 WHERE Cod=12")
        .prodotto({.cod = "1", .descrizione = "MELE GOLDEN", .genere = "3"})
        .prodotto({.cod = "2", .descrizione = "PERE", .genere = "Frutta e verdura"})
        .prodotto({.cod = "3", .descrizione = "BANANE VECCHIE", .genere = "3", .eliminato = true})
        .prodotto({.cod = "4", .descrizione = "FILONE", .genere = "12"});
  }

  template <typename T = QLineEdit>
  T* w(const char* nome) {
    if (!finestra) finestra = std::make_unique<Reparti>(*negozio.db, prompts, notice, nullptr);
    return testing::figlio<T>(*finestra, QString::fromLatin1(nome));
  }
  QTreeWidgetItem* riga(int cod) {
    return w<QTreeWidget>("ListReparti")
        ->findItems(QString::number(cod), Qt::MatchExactly, 0)
        .value(0);
  }
  QStringList prodottiMostrati(int cod) {
    w<QTreeWidget>("ListReparti")->setCurrentItem(riga(cod));
    QStringList righe;
    QTreeWidget* lista = w<QTreeWidget>("ListProdRep");
    for (int i = 0; i < lista->topLevelItemCount(); ++i) righe << lista->topLevelItem(i)->text(0);
    return righe;
  }
  void apri(int cod) {
    w<QTreeWidget>("ListReparti")->setCurrentItem(riga(cod));
    w<QPushButton>("Command1_0")->click();
  }
  // Types the three boxes of the open department and confirms.
  void conferma(const QString& nome, const QString& iva, const QString& valore) {
    for (const auto& [casella, testo] :
         {std::pair{"NomeReparto", nome}, {"Iva", iva}, {"txtValoreReparto", valore}}) {
      w(casella)->clear();
      QTest::keyClicks(w(casella), testo);
    }
    w<QPushButton>("cmdConferma")->click();
  }
  // Name, VAT, discount, preset price and the non-fiscal flag as stored.
  QString salvato(int cod) {
    return negozio.valore(
        "select Descrizione || '|' || Iva || '|' || Sconto || '|' || PrezzoPrefissato || '|' || "
        "NoFiscale from Reparti where Cod=" +
        QString::number(cod));
  }
  int conta(const QString& genere) {
    return negozio.conta("select * from Magazzino where Genere=" + platform::db::sqlText(genere));
  }

  NegozioDiProva negozio;
  FakePrompts prompts;
  FakeNotice notice;
  std::unique_ptr<Reparti> finestra;
};

// The selected department fills the form and lists its live products, by code and by name
// alike; a confirmed form is written and listed, a discount taking the preset price's place.
TEST_F(RepartiFinestraTest, ListFormAndConfirmedDepartment) {
  EXPECT_EQ(prodottiMostrati(3), (QStringList{"MELE GOLDEN", "PERE"}));
  EXPECT_EQ(w("txtValoreReparto")->text(), "5");
  EXPECT_EQ(prodottiMostrati(12), QStringList{"FILONE"});

  apri(12);
  w<QRadioButton>("OpzNonFiscale")->click();
  conferma("Panetteria", "22", "1.234,50");
  EXPECT_EQ(askedTexts(prompts), QStringList{});
  EXPECT_EQ(salvato(12), "Panetteria|22.0|0.0|1234.5|-1");
  EXPECT_EQ(riga(12)->text(2), "1.234,50");
  apri(12);
  w<QRadioButton>("OpzSconto")->click();
  w("txtValoreReparto")->setText("7,5");
  w<QPushButton>("cmdConferma")->click();
  EXPECT_EQ(salvato(12), "Panetteria|22.0|7.5|0|-1");
}

// Products that name their department follow its new name, reset included ("RepartoN" still
// gives the register its number); those holding its number, or a name another department
// still bears, keep it. The reset is asked first and takes every personalisation away.
TEST_F(RepartiFinestraTest, RenamedDepartmentKeepsItsProductsAndTheResetIsAsked) {
  negozio.reparto(20, "Frutta e verdura", 4)
      .sqlite(
          "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 199) "
          "INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Genere, Costo) "
          "SELECT i, 'PANINO ' || i, '9' || i, 'Pane e dolci', 1 FROM n");
  apri(3);
  conferma("Ortofrutta", "10", "5");
  apri(12);
  w<QRadioButton>("OpzNonFiscale")->click();
  conferma("Panetteria", "4", "1,50");
  EXPECT_EQ(askedTexts(prompts), QStringList{});
  EXPECT_EQ(conta("Frutta e verdura"), 1);
  EXPECT_EQ(conta("Panetteria"), 100);
  EXPECT_EQ(conta("12"), 1);
  EXPECT_EQ(prodottiMostrati(12).size(), 101);

  prompts.answers = {Answer::No, Answer::Yes};
  w<QPushButton>("Command1_1")->click();
  EXPECT_EQ(salvato(12), "Panetteria|4.0|0.0|1.5|-1");
  w<QPushButton>("Command1_1")->click();
  EXPECT_EQ(askedTexts(prompts),
            QStringList(2, "Tutte le personalizzazioni del reparto verranno rimosse!Continuare?"));
  EXPECT_EQ(salvato(12), "Reparto12|0.0|0.0|0|0");
  EXPECT_EQ(conta("Reparto12"), 100);
}

// Each field is checked in order, the form stays open for the correction and nothing is
// saved; VAT 0 only when the operator agrees.
TEST_F(RepartiFinestraTest, InvalidFieldsAreRefusedInOrderAndVatZeroIsAsked) {
  const struct {
    int cod;
    QString nome, iva, valore, messaggio;
  } casi[] = {
      {12, "", "10%", "abc", QString::fromUtf8("Il 'Nome reparto' non può essere nullo!")},
      {12, "Pane", "10%", "abc", "Formato 'Iva' non valido"},
      {12, "Pane", "10", "abc", "Formato 'Prezzo Prefissato' non valido"},
      {3, "Frutta e verdura", "10", "5%", "Formato 'Sconto Automatico' non valido"},
      {12, "Pane", "0", "1,50", "Impostare l'Iva del reparto a 0?"},
  };
  prompts.answers = {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Ok, Answer::No};
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.messaggio.toStdString());
    prompts.asked.clear();
    apri(caso.cod);
    conferma(caso.nome, caso.iva, caso.valore);
    EXPECT_EQ(askedTexts(prompts), QStringList{caso.messaggio});
    EXPECT_TRUE(w("NomeReparto")->isEnabled());
    w<QPushButton>("cmdAnnulla")->click();
  }
  EXPECT_EQ(salvato(12), "Pane e dolci|4.0|0.0|1.5|0");
  EXPECT_EQ(salvato(3), "Frutta e verdura|10.0|5.0|0|0");

  prompts.answers = {Answer::Yes};
  apri(12);
  conferma("Pane", "0", "1,50");
  EXPECT_EQ(salvato(12), "Pane|0.0|0.0|1.5|0");
}

}  // namespace
}  // namespace listinova::testing
