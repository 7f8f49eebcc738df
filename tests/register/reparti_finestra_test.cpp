// The departments window as the operator uses it: what it lists, what a confirmed form
// writes, what it refuses, the reset and the picture.
#include "register/reparti_finestra.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "platform/money.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using platform::db::Recordset;

class RepartiFinestraTest : public ::testing::Test {
 protected:
  RepartiFinestraTest() {
    reparto(3, "Frutta e verdura", 10, "0", 5);
    reparto(12, "Pane e dolci", 4, "1,5", 0);
    negozio
        .prodotto({.cod = "1",
                   .descrizione = "MELE GOLDEN",
                   .genere = "3",
                   .costo = "2,20",
                   .costo2 = "2,00"})
        .prodotto({.cod = "2", .descrizione = "PERE", .genere = "Frutta e verdura"})
        .prodotto({.cod = "3", .descrizione = "BANANE VECCHIE", .genere = "3", .eliminato = true})
        .prodotto({.cod = "4", .descrizione = "FILONE", .genere = "12"});
  }

  void reparto(int cod, const QString& nome, double iva, const char* prezzo, double sconto) {
    negozio.reparto(cod, nome, iva);
    Recordset rs =
        negozio.db->openRecordset("select * from Reparti where Cod=" + QString::number(cod));
    rs.edit();
    rs.setMoney("PrezzoPrefissato", *Money::parse(prezzo));
    rs.setValue("Sconto", sconto);
    rs.update();
  }
  Recordset salvato(int cod) {
    return negozio.db->openRecordset("select * from Reparti where Cod=" + QString::number(cod));
  }

  Reparti& finestra() {
    if (!finestra_) finestra_ = std::make_unique<Reparti>(*negozio.db, prompts, notice, nullptr);
    return *finestra_;
  }
  template <typename T>
  T* controllo(const char* nome) {
    T* trovato = finestra().findChild<T*>(QString::fromLatin1(nome));
    EXPECT_NE(trovato, nullptr) << nome;
    return trovato;
  }
  QLineEdit* casella(const char* nome) { return controllo<QLineEdit>(nome); }
  QPushButton* pulsante(const char* nome) { return controllo<QPushButton>(nome); }
  QTreeWidgetItem* riga(int cod) {
    const auto trovate =
        controllo<QTreeWidget>("ListReparti")->findItems(QString::number(cod), Qt::MatchExactly, 0);
    return trovate.isEmpty() ? nullptr : trovate.first();
  }
  void seleziona(int cod) {
    ASSERT_NE(riga(cod), nullptr);
    controllo<QTreeWidget>("ListReparti")->setCurrentItem(riga(cod));
  }
  QStringList prodottiMostrati() {
    QStringList righe;
    QTreeWidget* lista = controllo<QTreeWidget>("ListProdRep");
    for (int i = 0; i < lista->topLevelItemCount(); ++i) righe << lista->topLevelItem(i)->text(0);
    return righe;
  }
  void scrivi(const char* nome, const QString& testo) {
    casella(nome)->clear();
    QTest::keyClicks(casella(nome), testo);
  }
  void apri(int cod) {
    seleziona(cod);
    pulsante("Command1_0")->click();
  }
  // Types the three boxes of the open department and confirms.
  void conferma(const QString& nome, const QString& iva, const QString& valore) {
    scrivi("NomeReparto", nome);
    scrivi("Iva", iva);
    scrivi("txtValoreReparto", valore);
    pulsante("cmdConferma")->click();
  }
  QStringList messaggi() const {
    QStringList testi;
    for (const platform::Question& q : prompts.asked) testi << q.text;
    return testi;
  }
  int conta(const QString& genere) {
    return negozio.conta("select * from Magazzino where Genere=" + platform::db::sqlText(genere));
  }

  NegozioDiProva negozio;
  FakePrompts prompts;
  FakeNotice notice;
  std::unique_ptr<Reparti> finestra_;
};

// The selected department fills the form and lists its live products, by code and by name
// alike; a confirmed form is written and listed, a discount taking the preset price's place.
TEST_F(RepartiFinestraTest, ListFormAndConfirmedDepartment) {
  finestra().show();
  EXPECT_EQ(controllo<QTreeWidget>("ListReparti")->topLevelItemCount(), 40);
  seleziona(3);
  EXPECT_EQ(casella("txtValoreReparto")->text(), "5");
  EXPECT_EQ(prodottiMostrati(), (QStringList{"MELE GOLDEN", "PERE"}));
  seleziona(12);
  EXPECT_EQ(prodottiMostrati(), QStringList{"FILONE"});

  apri(12);
  controllo<QRadioButton>("OpzNonFiscale")->click();
  conferma("Panetteria", "22", "1.234,50");
  EXPECT_TRUE(prompts.asked.empty()) << messaggi().join(" | ").toStdString();
  EXPECT_EQ(negozio.righe("select Descrizione, Iva, Sconto from Reparti where Cod=12"),
            QStringList{"Panetteria|22|0"});
  EXPECT_TRUE(salvato(12).flag("NoFiscale"));
  EXPECT_EQ(salvato(12).money("PrezzoPrefissato").toPlain(2), "1234.50");
  EXPECT_EQ(riga(12)->text(2), "1.234,50");
  apri(12);
  controllo<QRadioButton>("OpzSconto")->click();
  scrivi("txtValoreReparto", "7,5");
  pulsante("cmdConferma")->click();
  EXPECT_EQ(salvato(12).number("Sconto"), 7.5);
  EXPECT_EQ(salvato(12).money("PrezzoPrefissato").toPlain(2), "0.00");
}

// Products that name their department follow its new name, reset included ("RepartoN" still
// gives the register its number); those holding its number, or a name another department
// still bears, keep it.
TEST_F(RepartiFinestraTest, RenamedDepartmentKeepsItsProductsAndTheirCodeOnTheRegister) {
  negozio.sqlite(
      "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 199) "
      "INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Genere, Costo) "
      "SELECT i, 'PANINO ' || i, '9' || i, 'Pane e dolci', 1 FROM n");
  // a name another department still bears keeps its products
  reparto(20, "Frutta e verdura", 4, "0", 0);
  finestra();
  apri(3);
  conferma("Ortofrutta", "10", "5");
  EXPECT_EQ(conta("Frutta e verdura"), 1);
  apri(12);
  conferma("Panetteria", "4", "1,50");
  EXPECT_TRUE(prompts.asked.empty()) << messaggi().join(" | ").toStdString();
  EXPECT_EQ(conta("Panetteria"), 100);
  EXPECT_EQ(conta("12"), 1);
  EXPECT_EQ(conta("Frutta e verdura"), 1);
  seleziona(3);
  seleziona(12);
  EXPECT_EQ(prodottiMostrati().size(), 101);

  prompts.answers = {Answer::Yes};
  pulsante("Command1_1")->click();
  EXPECT_EQ(conta("Reparto12"), 100);
}

// Each field is checked in order, the form stays open for the correction and nothing is
// saved; VAT 0 only when the operator agrees.
TEST_F(RepartiFinestraTest, InvalidFieldsAreRefusedInOrderAndVatZeroIsAsked) {
  struct Caso {
    int cod;
    QString nome, iva, valore, messaggio;
  };
  const Caso casi[] = {
      {12, "", "10%", "abc", QString::fromUtf8("Il 'Nome reparto' non può essere nullo!")},
      {12, "Pane", "10%", "abc", "Formato 'Iva' non valido"},
      {12, "Pane", "10", "abc", "Formato 'Prezzo Prefissato' non valido"},
      {3, "Frutta e verdura", "10", "5%", "Formato 'Sconto Automatico' non valido"},
      {12, "Pane", "0", "1,50", "Impostare l'Iva del reparto a 0?"},
  };
  finestra();
  prompts.answers = {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Ok, Answer::No};
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.messaggio.toStdString());
    prompts.asked.clear();
    apri(caso.cod);
    conferma(caso.nome, caso.iva, caso.valore);
    EXPECT_EQ(messaggi(), QStringList{caso.messaggio});
    EXPECT_TRUE(casella("NomeReparto")->isEnabled());
    pulsante("cmdAnnulla")->click();
  }
  EXPECT_EQ(negozio.righe("select Descrizione, Iva from Reparti where Cod=12"),
            QStringList{"Pane e dolci|4"});
  EXPECT_EQ(salvato(3).number("Sconto"), 5);

  prompts.answers = {Answer::Yes};
  apri(12);
  conferma("Pane", "0", "1,50");
  EXPECT_EQ(negozio.righe("select Descrizione, Iva from Reparti where Cod=12"),
            QStringList{"Pane|0"});
}

// A picture is chosen from the icons folder and shown again when its department is; the reset
// (asked first) takes every personalisation away.
TEST_F(RepartiFinestraTest, PictureIsChosenFromTheIconsFolderAndResetRemovesIt) {
  ASSERT_TRUE(QDir(negozio.cartella.root()).mkpath("Icone/Frutta"));
  QImage immagine(32, 32, QImage::Format_RGB32);
  immagine.fill(Qt::red);
  ASSERT_TRUE(immagine.save(negozio.file("Icone/Frutta/mela.png")));
  ASSERT_TRUE(immagine.save(negozio.file("Icone/pane.png")));

  finestra().show();
  QListWidget* cartelle = controllo<QListWidget>("Dir1");
  ASSERT_EQ(cartelle->count(), 2);
  apri(3);
  cartelle->setCurrentRow(1);
  QListWidget* file = controllo<QListWidget>("File1");
  ASSERT_EQ(file->count(), 1);
  QTest::mouseClick(file->viewport(), Qt::LeftButton, {},
                    file->visualItemRect(file->item(0)).center());
  pulsante("cmdConferma")->click();
  EXPECT_EQ(salvato(3).text("Icon"), "mela.png");
  EXPECT_EQ(QDir::cleanPath(salvato(3).text("PercorsoIcon")),
            QDir::cleanPath(negozio.file("Icone/Frutta")));
  seleziona(12);
  seleziona(3);
  EXPECT_FALSE(controllo<QLabel>("Image1")->pixmap().isNull());

  negozio.sqlite("UPDATE Reparti SET NoFiscale=-1 WHERE Cod=3");
  prompts.answers = {Answer::No, Answer::Yes};
  pulsante("Command1_1")->click();
  EXPECT_EQ(salvato(3).text("Descrizione"), "Frutta e verdura");
  pulsante("Command1_1")->click();
  EXPECT_EQ(prompts.asked.back().text,
            "Tutte le personalizzazioni del reparto verranno rimosse!Continuare?");
  Recordset azzerato = salvato(3);
  EXPECT_EQ(azzerato.text("Descrizione"), "Reparto3");
  EXPECT_EQ(azzerato.number("Iva") + azzerato.number("Sconto"), 0);
  EXPECT_FALSE(azzerato.flag("NoFiscale"));
  EXPECT_EQ(azzerato.text("Icon"), "");
}

}  // namespace
}  // namespace listinova::testing
