// The product list window on the offscreen platform, driven by clicks and typing.
#include "catalogue/magazzino.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::db::Database;

class MagazzinoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali() = VarGlobali{};
    Globali().PercorsoSetup = cartella.setup();
    Globali().CartellaProgramma = cartella.root();
    Globali().TitoloFinestre = "Listinova - Magazzino";
    db->execute("UPDATE Reparti SET Descrizione='Latticini' WHERE Cod=2");
    prodotto("1", "Latte intero 1 l", "8001234000011", "2", "1,50", "1,00", 12, false);
    prodotto("2", "Latte scremato 1 l", "8001234000028", "Latticini", "1,40", "0,80", 0, false);
    prodotto("3", "Latte di capra", "8001234000035", "2", "2,90", "1,50", 3, true);
    prodotto("4", "Pane casereccio", "8001234000042", "", "3,20", "1,20", 8, false);
    db->execute(
        "UPDATE Magazzino SET Fornitore='Caseificio Rossi', CodPV='22' WHERE "
        "CodMateriale IN ('1','2','3')");
  }
  void TearDown() override {
    finestra.reset();
    Globali() = VarGlobali{};
  }

  void prodotto(const char* cod, const char* descrizione, const char* barCode, const char* genere,
                const char* costo, const char* costo2, double quantita, bool eliminato) {
    auto rs = db->openRecordset("Select * from Magazzino where 0");
    rs.addNew();
    rs.setText("CodMateriale", cod);
    rs.setText("Descrizione", descrizione);
    rs.setText("BarCode", barCode);
    rs.setText("Genere", genere);
    rs.setMoney("Costo", *Money::parse(costo));
    rs.setMoney("Costo2", *Money::parse(costo2));
    rs.setValue(QStringLiteral("Quantità"), quantita);
    rs.setFlag("Eliminato", eliminato);
    rs.setText("UnitaMisura", "Pz");
    rs.update();
  }

  // Shows the window and waits for its first load.
  void apri() {
    finestra = std::make_unique<Magazzino>(*db, prompts, notice, clock, [] { return nullptr; });
    finestra->show();
    finestra->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(finestra.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return righe() > 0; }));
  }

  template <typename T>
  T* figlio(const char* nome) {
    T* trovato = finestra->findChild<T*>(nome);
    EXPECT_NE(trovato, nullptr) << nome;
    return trovato;
  }
  QTreeView* griglia() { return figlio<QTreeView>("ListMagazzino"); }
  int righe() { return griglia()->model()->rowCount(); }
  QModelIndex indice(int riga, int colonna = 0) { return griglia()->model()->index(riga, colonna); }
  QString cella(int riga, int colonna) { return indice(riga, colonna).data().toString(); }
  QBrush colore(int riga, int colonna) {
    return indice(riga, colonna).data(Qt::ForegroundRole).value<QBrush>();
  }
  QPoint centroRiga(int riga) { return griglia()->visualRect(indice(riga)).center(); }
  QLineEdit* barCode() { return figlio<QLineEdit>("txtRicBarCode"); }
  QString testo(const char* etichetta) { return figlio<QLabel>(etichetta)->text(); }
  void clic(const char* nome) { QTest::mouseClick(figlio<QAbstractButton>(nome), Qt::LeftButton); }
  QStringList codiciElencati() {
    QStringList codici;
    for (int i = 0; i < righe(); ++i) codici << cella(i, 0);
    return codici;
  }
  // The window's focus child: after a modal window the focus lands there on reactivation.
  bool fuocoSulBarCode() { return finestra->focusWidget() == barCode(); }
  int conta(const QString& sql) { return db->openRecordset(sql).recordCount(); }

  // The next modal window that opens is described and then closed.
  struct FinestraModale {
    QString nome;
    QString descrizione;
    bool aggiungiAbilitato = false;
    QString unita;
  };
  void chiudiLaProssimaModale(FinestraModale& vista) {
    QTimer::singleShot(0, [&vista, this] { cercaModale(vista, 100); });
  }
  void cercaModale(FinestraModale& vista, int tentativi) {
    QWidget* modale = QApplication::activeModalWidget();
    if (!modale) {
      if (tentativi > 0)
        QTimer::singleShot(20, [&vista, this, tentativi] { cercaModale(vista, tentativi - 1); });
      return;
    }
    vista.nome = modale->objectName();
    if (auto* d = modale->findChild<QLineEdit*>("TxtDesc")) vista.descrizione = d->text();
    if (auto* a = modale->findChild<QPushButton*>("cmdAggiungi"))
      vista.aggiungiAbilitato = a->isEnabled();
    if (auto* u = modale->findChild<QComboBox*>("txtUm")) vista.unita = u->currentText();
    if (auto* dialogo = qobject_cast<QDialog*>(modale)) dialogo->reject();
  }

  CartellaDiProva cartella;
  std::unique_ptr<Database> db = ApriDatabase(cartella.file("Dati/DbNegozio.mdb"));
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::unique_ptr<Magazzino> finestra;
};

TEST_F(MagazzinoTest, FirstShowLoadsTheListAndReadsTheSettings) {
  apri();
  EXPECT_EQ(finestra->windowTitle(), "Listinova - Magazzino");
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2", "4"}));
  EXPECT_EQ(testo("lblTotVociMaga"), "4");
  EXPECT_EQ(testo("lblTotArt"), "3");
  EXPECT_EQ(testo("TotRicorrenze"), "3");
  // 1,50 x 12 + 1,40 x 0 + 3,20 x 8
  EXPECT_EQ(testo("totValore"), "43,600000");
  EXPECT_EQ(griglia()->currentIndex().row(), 0);
  EXPECT_TRUE(figlio<QPushButton>("Elimina")->isEnabled());
  EXPECT_TRUE(figlio<QPushButton>("Modifica")->isEnabled());
  EXPECT_EQ(figlio<QButtonGroup>("optCerca")->checkedId(), 0);
  EXPECT_EQ(figlio<QDateEdit>("dal")->date(), clock.now().date());
  EXPECT_EQ(figlio<QDateEdit>("al")->text(), clock.now().date().toString("dd/MM/yyyy"));
  EXPECT_TRUE(fuocoSulBarCode());

  EXPECT_FALSE(finestra->torvane());
  EXPECT_EQ(LeggiINI(cartella.setup(), "RegCassa", "Torvane", "?"), "Falso");
  EXPECT_EQ(LeggiINI(cartella.setup(), "Config", "SalvaRepartoComeCODICE", "?"), "Falso");
}

TEST_F(MagazzinoTest, TorvaneIsReadOnActivation) {
  ScriviINI(cartella.setup(), "RegCassa", "Torvane", "VERO");
  apri();
  EXPECT_TRUE(finestra->torvane());
  EXPECT_EQ(LeggiINI(cartella.setup(), "RegCassa", "Torvane", "?"), "VERO");
}

TEST_F(MagazzinoTest, GridShowsDepartmentNamesMoneyAndColours) {
  apri();
  // The cells themselves are checked on LeggiElencoMagazzino; here what the model shows.
  EXPECT_EQ(cella(0, 2), "Latticini");
  EXPECT_EQ(cella(0, 17), "22,95");
  EXPECT_EQ(colore(0, 1).color(), QColor(0, 0, 255));
  EXPECT_EQ(indice(0, 17).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
            Qt::AlignRight);
  EXPECT_EQ(cella(2, 2), "");
  EXPECT_EQ(cella(2, 7), "***");
  EXPECT_EQ(colore(2, 0).style(), Qt::NoBrush);  // 166% markup, in stock
  EXPECT_EQ(griglia()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Qtà"));
}

TEST_F(MagazzinoTest, TypedDescriptionIsSearched) {
  apri();
  QTest::keyClicks(figlio<QLineEdit>("Descrizione"), "latte s");
  clic("CmdCerca");
  EXPECT_EQ(codiciElencati(), QStringList({"2"}));
  EXPECT_EQ(testo("lblTotVociMaga"), "1");
  EXPECT_TRUE(fuocoSulBarCode());

  QTest::keyClicks(figlio<QLineEdit>("Descrizione"), "x");
  QTest::keyClick(figlio<QLineEdit>("Descrizione"), Qt::Key_Return);
  EXPECT_TRUE(codiciElencati().isEmpty());
  EXPECT_EQ(testo("lblTotVociMaga"), "0");
  EXPECT_FALSE(figlio<QPushButton>("Elimina")->isEnabled());
  EXPECT_FALSE(figlio<QPushButton>("Modifica")->isEnabled());
  EXPECT_TRUE(finestra->isVisible());
}

TEST_F(MagazzinoTest, DepartmentAndSupplierFilters) {
  apri();
  figlio<QComboBox>("Genere")->setCurrentText("Latticini");
  clic("CmdCerca");
  EXPECT_EQ(codiciElencati(), QStringList({"2"}));  // Genere holds the name

  ScriviINI(cartella.setup(), "Config", "SalvaRepartoComeCODICE", "VERO");
  clic("CmdCerca");
  EXPECT_EQ(codiciElencati(), QStringList({"1"}));  // Genere holds the code

  figlio<QComboBox>("Genere")->setCurrentIndex(0);
  ASSERT_EQ(figlio<QComboBox>("Fornitore")->findText("Caseificio Rossi"), 1);
  figlio<QComboBox>("Fornitore")->setCurrentIndex(1);
  clic("CmdCerca");
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2"}));

  clic("cmdTutti");
  EXPECT_EQ(figlio<QComboBox>("Fornitore")->currentIndex(), 0);
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2", "4"}));
  EXPECT_TRUE(prompts.asked.empty());
}

// The editor opens from a scanned code, from Modifica (after "Eliminare il PLU?" answered No)
// and from Aggiungi, empty and with adding allowed only then.
TEST_F(MagazzinoTest, EditorOpensFromScanEditAndAdd) {
  struct Caso {
    const char* nome;
    std::function<void()> azione;
    QString descrizione;
    bool aggiungi;
    int domande;
  };
  const Caso casi[] = {
      {"scan",
       [&] {
         QTest::keyClicks(barCode(), "8001234000028");
         QTest::keyClick(barCode(), Qt::Key_Return);
       },
       "Latte scremato 1 l", false, 0},
      {"edit", [&] { clic("Modifica"); }, "Latte intero 1 l", false, 1},
      {"add", [&] { clic("Aggiungi"); }, "", true, 0},
  };
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
    if (caso.aggiungi) {
      EXPECT_EQ(vista.unita, "Pz");
    }
    ASSERT_EQ(prompts.asked.size(), size_t(caso.domande));
    if (caso.domande) {
      EXPECT_EQ(prompts.asked[0].text, "Eliminare il PLU?");
    }
    EXPECT_TRUE(notice.messages.isEmpty());
    EXPECT_EQ(barCode()->text(), "");
    EXPECT_TRUE(fuocoSulBarCode());
  }
}

TEST_F(MagazzinoTest, UnknownOrDeletedBarCodeShowsTheNotice) {
  apri();
  QTest::keyClicks(barCode(), "999");
  QTest::keyClick(barCode(), Qt::Key_Enter);
  // the deleted product's code, ended by Escape
  QTest::keyClicks(barCode(), "8001234000035");
  QTest::keyClick(barCode(), Qt::Key_Escape);
  EXPECT_EQ(notice.messages,
            QStringList(2, "ATTENZIONE! Prodotto Non Registrato o Lettura Imperfetta!"));
  EXPECT_EQ(barCode()->text(), "");
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_TRUE(fuocoSulBarCode());
}

TEST_F(MagazzinoTest, DoubleClickDeletesThePluWithItsData) {
  db->execute("INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES ('2', '777')");
  db->execute("INSERT INTO Offerte (Articolo, PrzScnt) VALUES ('2', 1), ('1', 1)");
  apri();
  const QPoint punto = centroRiga(1);
  prompts.answers = {Answer::Yes, Answer::Yes};
  QTest::mouseClick(griglia()->viewport(), Qt::LeftButton, {}, punto);
  QTest::mouseDClick(griglia()->viewport(), Qt::LeftButton, {}, punto);
  ASSERT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(conta("Select * from Magazzino where CodMateriale='2'"), 0);
  EXPECT_EQ(conta("Select * from BarCodeUlteriori"), 0);
  EXPECT_EQ(conta("Select * from Offerte"), 1);
  EXPECT_EQ(clock.waits, std::vector<int>({250, 250, 250}));
  EXPECT_EQ(codiciElencati(), QStringList({"1", "4"}));
  EXPECT_TRUE(fuocoSulBarCode());
}

TEST_F(MagazzinoTest, DeleteRemovesTheSelectedProductAndListsAll) {
  apri();
  griglia()->setCurrentIndex(indice(2));
  prompts.answers = {Answer::No};
  clic("Elimina");
  EXPECT_EQ(prompts.asked.back().text, "Sicuro di eliminare: Pane casereccio ?");
  EXPECT_EQ(conta("Select * from Magazzino"), 4);

  prompts.answers = {Answer::Yes};
  clic("Elimina");
  EXPECT_EQ(conta("Select * from Magazzino where CodMateriale='4'"), 0);
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2"}));
  EXPECT_EQ(testo("lblTotVociMaga"), "3");
  EXPECT_TRUE(fuocoSulBarCode());
}

// The marks' questions themselves are checked on MarcheProdotti; here the window's wiring.
TEST_F(MagazzinoTest, ModifiedMarksQuestionAndMarkingAll) {
  apri();
  prompts.answers = {Answer::Yes};
  clic("cmdSegnaModificati");
  EXPECT_EQ(conta("Select * from Magazzino where Modificato=True"), 4);
  EXPECT_EQ(clock.waits, std::vector<int>({250}));
  EXPECT_EQ(colore(2, 0).color(), QColor(0, 160, 0));

  auto* ck = figlio<QCheckBox>("ckModificati");
  prompts.asked.clear();
  clic("ckModificati");  // ticking asks nothing
  EXPECT_TRUE(ck->isChecked());
  EXPECT_TRUE(prompts.asked.empty());

  prompts.answers = {Answer::No};
  clic("ckModificati");
  EXPECT_TRUE(ck->isChecked());
  EXPECT_EQ(conta("Select * from Magazzino where Modificato=True"), 4);
  EXPECT_EQ(prompts.asked.size(), 1u);

  prompts.answers = {Answer::Yes};
  clic("ckModificati");
  EXPECT_FALSE(ck->isChecked());
  EXPECT_EQ(conta("Select * from Magazzino where Modificato=True"), 0);
  EXPECT_TRUE(fuocoSulBarCode());
}

TEST_F(MagazzinoTest, ClickingAProductTogglesItsLabelMark) {
  apri();
  const auto marca = [&] {
    return db->openRecordset("Select TipoVariazione from Magazzino where CodMateriale='4'")
        .text("TipoVariazione");
  };
  const QPoint punto = centroRiga(2);
  clic("ckPerFrontalini");
  QTest::mouseClick(griglia()->viewport(), Qt::LeftButton, {}, punto);
  EXPECT_EQ(marca(), "F");
  QTest::mouseClick(griglia()->viewport(), Qt::LeftButton, {}, punto);
  EXPECT_EQ(marca(), "N");
  QTest::mouseClick(griglia()->viewport(), Qt::LeftButton, {}, punto);
  EXPECT_EQ(marca(), "F");
  EXPECT_TRUE(fuocoSulBarCode());

  prompts.answers = {Answer::Yes};
  QTest::keyClicks(figlio<QLineEdit>("Descrizione"), "pane");
  clic("cmdTutti");
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].defaultAnswer, Answer::No);
  EXPECT_EQ(marca(), "N");
  EXPECT_EQ(figlio<QLineEdit>("Descrizione")->text(), "");
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2", "4"}));
}

TEST_F(MagazzinoTest, AdaptingBarCodesReloadsTheList) {
  prodotto("5", "Zucchero 1 kg", "1234", "", "1,00", "0,50", 10, false);
  apri();
  prompts.answers = {Answer::Yes};
  clic("cmdAdeguaCodici");
  EXPECT_EQ(conta("Select * from Magazzino where BarCode='12340'"), 1);
  EXPECT_EQ(codiciElencati().size(), 3 + 10);
  EXPECT_TRUE(fuocoSulBarCode());
}

TEST_F(MagazzinoTest, StoreFailuresAreLoggedAndTheBusyPointerReset) {
  apri();
  ErrorLog log(cartella.root(), clock);
  installaErrorLog(&log);
  db->execute("DROP TABLE Magazzino");
  clic("CmdCerca");
  QTest::keyClicks(barCode(), "8001234000011");
  QTest::keyClick(barCode(), Qt::Key_Return);
  installaErrorLog(nullptr);
  const QString righe = QString::fromUtf8(testing::readAll(log.percorsoLog()));
  EXPECT_TRUE(righe.contains("*-Magazzino-CaricaMagazzino-]")) << righe.toStdString();
  EXPECT_TRUE(righe.contains("*-Magazzino-IntercettaBarCode-]")) << righe.toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(codiciElencati(), QStringList({"1", "2", "4"}));  // the last good list stays
  EXPECT_TRUE(fuocoSulBarCode());
}

TEST_F(MagazzinoTest, NoTwoCommandsShareAnAccessKey) {
  apri();
  QHash<QChar, QString> chiavi;
  for (const QAbstractButton* comando : finestra->findChildren<QAbstractButton*>()) {
    const QString testo = comando->text();
    const qsizetype e = testo.indexOf(u'&');
    if (e < 0 || e + 1 >= testo.size()) continue;
    const QChar chiave = testo[e + 1].toLower();
    EXPECT_FALSE(chiavi.contains(chiave))
        << testo.toStdString() << " / " << chiavi.value(chiave).toStdString();
    chiavi.insert(chiave, testo);
  }
  EXPECT_EQ(chiavi.value(u'e'), "&Elimina");
  // Every letter of "Esci" leads another command: it closes with Esc, as every dialog does.
  EXPECT_EQ(finestra->findChild<QAbstractButton*>("CmdUscita")->text(), "Esci");
}

TEST_F(MagazzinoTest, LaterFeaturesAreDisabledAndExitCloses) {
  apri();
  for (const char* nome : {"cmdInviaPLU", "cmdLeggiPLU", "cmdPromozioni", "cmdSalva", "cmdCambiaDb",
                           "cmdAggiornaQta", "cmdImporta", "cmdStampa", "Generi"})
    EXPECT_FALSE(figlio<QPushButton>(nome)->isEnabled()) << nome;
  EXPECT_EQ(finestra->findChild<QPushButton*>("cmdEtichette"), nullptr);
  clic("CmdUscita");
  EXPECT_FALSE(finestra->isVisible());
}

}  // namespace
}  // namespace listinova
