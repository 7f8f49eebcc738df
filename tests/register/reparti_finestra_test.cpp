#include "register/reparti_finestra.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "register/lavoro_in_corso.h"
#include "register/record_plu.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::db::Database;
using platform::db::Recordset;

class RepartiFinestraTest : public ::testing::Test {
 protected:
  RepartiFinestraTest() {
    Globali().CartellaProgramma = cartella_.root();
    Globali().PercorsoSetup = cartella_.setup();
    modifica(3, "Frutta e verdura", 10, "0", 5);
    modifica(12, "Pane e dolci", 4, "1,5", 0);
    prodotto("1", "MELE GOLDEN", "3", "2,20", "2,00", false);
    prodotto("2", "PERE", "Frutta e verdura", "2,80", "2,50", false);
    prodotto("3", "BANANE VECCHIE", "3", "1,00", "0", true);
    prodotto("4", "FILONE", "12", "1,80", "1,60", false);
  }
  ~RepartiFinestraTest() override { Globali() = VarGlobali{}; }

  void modifica(int cod, const QString& nome, double iva, const QString& prezzo, double sconto) {
    Recordset rs = db_->openRecordset("select * from Reparti where Cod=" + QString::number(cod));
    rs.edit();
    rs.setText("Descrizione", nome);
    rs.setValue("Iva", iva);
    rs.setValue("PrezzoPrefissato", prezzo);
    rs.setValue("Sconto", sconto);
    rs.update();
  }

  void prodotto(const QString& cod, const QString& descrizione, const QString& genere,
                const QString& costo, const QString& costo2, bool eliminato) {
    Recordset rs = db_->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", cod);
    rs.setText("Descrizione", descrizione);
    rs.setText("Genere", genere);
    rs.setValue("Costo", costo);
    rs.setValue("Costo2", costo2);
    rs.setFlag("Eliminato", eliminato);
    rs.update();
  }

  Recordset reparto(int cod) {
    return db_->openRecordset("select * from Reparti where Cod=" + QString::number(cod));
  }

  Reparti& finestra() {
    if (!finestra_)
      finestra_ = std::make_unique<Reparti>(*db_, prompts_, notice_,
                                            [this](const std::function<void(bool)>& avviso) {
                                              ++invii_;
                                              avviso(true);
                                              avvisoVisibile_ = frAvviso()->isVisible();
                                            });
    return *finestra_;
  }

  template <typename T>
  T* controllo(const char* nome) {
    T* trovato = finestra().findChild<T*>(QString::fromLatin1(nome));
    EXPECT_NE(trovato, nullptr) << nome;
    return trovato;
  }
  QTreeWidget* listReparti() { return controllo<QTreeWidget>("ListReparti"); }
  QTreeWidget* listProdRep() { return controllo<QTreeWidget>("ListProdRep"); }
  QLineEdit* casella(const char* nome) { return controllo<QLineEdit>(nome); }
  QPushButton* pulsante(const char* nome) { return controllo<QPushButton>(nome); }
  QGroupBox* frAvviso() { return controllo<QGroupBox>("frAvviso"); }

  QTreeWidgetItem* riga(int cod) {
    for (int i = 0; i < listReparti()->topLevelItemCount(); ++i)
      if (listReparti()->topLevelItem(i)->text(0) == QString::number(cod))
        return listReparti()->topLevelItem(i);
    return nullptr;
  }

  void seleziona(int cod) {
    QTreeWidgetItem* trovata = riga(cod);
    ASSERT_NE(trovata, nullptr);
    listReparti()->setCurrentItem(trovata);
  }

  void scrivi(const char* nome, const QString& testo) {
    QLineEdit* campo = casella(nome);
    campo->clear();
    QTest::keyClicks(campo, testo);
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
    for (const platform::Question& q : prompts_.asked) testi << q.text;
    return testi;
  }

  CartellaDiProva cartella_;
  std::unique_ptr<Database> db_ = ApriDatabase(cartella_.file("Dati/DbNegozio.mdb"));
  testing::FakePrompts prompts_;
  testing::FakeNotice notice_;
  testing::FakeClock clock_;
  std::unique_ptr<Reparti> finestra_;
  int invii_ = 0;
  bool avvisoVisibile_ = false;
};

TEST_F(RepartiFinestraTest, ListAndSelectedDepartmentShowItsValuesAndLiveProducts) {
  EXPECT_EQ(listReparti()->topLevelItemCount(), 40);
  ASSERT_NE(riga(12), nullptr);
  EXPECT_EQ(riga(12)->text(1), "Pane e dolci");
  EXPECT_EQ(riga(12)->text(2), "1,50");
  EXPECT_EQ(riga(3)->text(3), "5");
  EXPECT_EQ(riga(3)->text(4), "No");  // no picture
  finestra();
  seleziona(3);
  EXPECT_EQ(casella("NomeReparto")->text(), "Frutta e verdura");
  EXPECT_EQ(casella("Iva")->text(), "10");
  EXPECT_EQ(casella("txtValoreReparto")->text(), "5");
  EXPECT_TRUE(controllo<QRadioButton>("OpzSconto")->isChecked());
  // By code and by name alike; the deleted one is left out.
  ASSERT_EQ(listProdRep()->topLevelItemCount(), 2);
  EXPECT_EQ(listProdRep()->topLevelItem(0)->text(0), "MELE GOLDEN");
  EXPECT_EQ(listProdRep()->topLevelItem(0)->text(1), "2,20");
  EXPECT_EQ(listProdRep()->topLevelItem(0)->text(2), "2,20");
  EXPECT_EQ(listProdRep()->topLevelItem(0)->text(3), "2,00");
  EXPECT_EQ(listProdRep()->topLevelItem(1)->text(0), "PERE");

  seleziona(12);
  EXPECT_EQ(casella("txtValoreReparto")->text(), "1,50");
  EXPECT_TRUE(controllo<QRadioButton>("OpzPrezzo")->isChecked());
  ASSERT_EQ(listProdRep()->topLevelItemCount(), 1);
  EXPECT_EQ(listProdRep()->topLevelItem(0)->text(0), "FILONE");
}

TEST_F(RepartiFinestraTest, EditingIsOnlyPossibleAfterModificaAndChiudiCloses) {
  finestra().show();
  seleziona(12);
  EXPECT_FALSE(casella("NomeReparto")->isEnabled());
  pulsante("Command1_0")->click();
  EXPECT_TRUE(casella("NomeReparto")->isEnabled());
  scrivi("NomeReparto", "Non salvato");
  pulsante("cmdAnnulla")->click();
  EXPECT_FALSE(casella("NomeReparto")->isEnabled());
  EXPECT_EQ(casella("NomeReparto")->text(), "Pane e dolci");
  EXPECT_EQ(reparto(12).text("Descrizione"), "Pane e dolci");
  pulsante("cmdChiudi")->click();
  EXPECT_FALSE(finestra().isVisible());
}

TEST_F(RepartiFinestraTest, ConfirmedDepartmentIsWrittenAndListed) {
  finestra();
  apri(12);
  controllo<QRadioButton>("OpzNonFiscale")->click();
  conferma("Panetteria", "22", "1.234,50");
  EXPECT_TRUE(prompts_.asked.empty()) << messaggi().join(" | ").toStdString();
  Recordset rs = reparto(12);
  EXPECT_EQ(rs.text("Descrizione"), "Panetteria");
  EXPECT_EQ(rs.number("Iva"), 22);
  EXPECT_EQ(rs.money("PrezzoPrefissato").toPlain(2), "1234.50");
  EXPECT_EQ(rs.number("Sconto"), 0);
  EXPECT_TRUE(rs.flag("NoFiscale"));
  EXPECT_EQ(riga(12)->text(1), "Panetteria");
  EXPECT_EQ(riga(12)->text(2), "1.234,50");

  // A discount takes the place of the preset price.
  apri(12);
  controllo<QRadioButton>("OpzSconto")->click();
  scrivi("txtValoreReparto", "7,5");
  pulsante("cmdConferma")->click();
  EXPECT_EQ(reparto(12).number("Sconto"), 7.5);
  EXPECT_EQ(reparto(12).money("PrezzoPrefissato").toPlain(2), "0.00");
}

TEST_F(RepartiFinestraTest, RenamedDepartmentKeepsItsProductsAndTheirCodeOnTheRegister) {
  constexpr int kProdotti = 1000;
  db_->execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n "
                              "WHERE i < %1) INSERT INTO Magazzino (CodMateriale, Descrizione, "
                              "BarCode, Genere, Costo) SELECT i, 'PANINO ' || i, '9' || i, "
                              "'Pane e dolci', 1 FROM n")
                   .arg(100 + kProdotti - 1));
  // A product of another department is left alone.
  prodotto("5", "MELA", "Frutta e verdura", "1,00", "0,50", false);
  const auto conta = [&](const QString& genere) {
    return db_
        ->openRecordset("select * from Magazzino where Genere=" + platform::db::sqlText(genere))
        .recordCount();
  };

  finestra();
  apri(12);
  conferma("Panetteria", "4", "1,50");
  EXPECT_TRUE(prompts_.asked.empty()) << messaggi().join(" | ").toStdString();
  EXPECT_EQ(reparto(12).text("Descrizione"), "Panetteria");
  EXPECT_EQ(conta("Panetteria"), kProdotti);
  EXPECT_EQ(conta("Pane e dolci"), 0);
  EXPECT_EQ(conta("12"), 1) << "a product holding the code keeps it";
  EXPECT_EQ(conta("Frutta e verdura"), 2);
  seleziona(3);
  seleziona(12);
  EXPECT_EQ(listProdRep()->topLevelItemCount(), kProdotti + 1);

  // Reset is a rename too.
  prompts_.answers = {Answer::Yes};
  pulsante("Command1_1")->click();
  EXPECT_EQ(conta("Reparto12"), kProdotti);

  // The records sent to the registers carry the department's number.
  QTemporaryDir uscita;
  RecordPlu plu(*db_, uscita.path(), notice_, prompts_, clock_, false);
  ASSERT_TRUE(plu.PreparaTabxInvio(false));
  plu.ScriviFilePLU("1");
  QFile file(plu.PercorsoFilePLU("1"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  int delReparto12 = 0;
  for (const QByteArray& riga : file.readAll().split('\n')) {
    const QList<QByteArray> campi = riga.split('/');
    if (campi.size() > 4 && campi[3].startsWith("PANINO")) {
      EXPECT_EQ(campi[4], "12") << riga.toStdString();
      ++delReparto12;
    }
  }
  EXPECT_EQ(delReparto12, kProdotti);
}

TEST_F(RepartiFinestraTest, RenameLeavesTheProductsOfANameAnotherDepartmentStillBears) {
  modifica(20, "Pane e dolci", 4, "0", 0);
  prodotto("5", "ROSETTA", "Pane e dolci", "0,50", "0,20", false);
  finestra();
  apri(12);
  conferma("Panetteria", "4", "1,50");
  EXPECT_EQ(db_->openRecordset("select * from Magazzino where Genere='Pane e dolci'").recordCount(),
            1);
}

TEST_F(RepartiFinestraTest, InvalidFieldsAreRefusedInOrderAndNothingIsSaved) {
  struct Caso {
    int cod;
    QString nome, iva, valore, messaggio;
  };
  const std::vector<Caso> casi = {
      {12, "", "10%", "abc", QString::fromUtf8("Il 'Nome reparto' non può essere nullo!")},
      {12, "Pane", "10%", "abc", "Formato 'Iva' non valido"},
      {12, "Pane", "10", "abc", "Formato 'Prezzo Prefissato' non valido"},
      {3, "Frutta e verdura", "10", "5%", "Formato 'Sconto Automatico' non valido"},
  };
  finestra();
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.messaggio.toStdString());
    prompts_.asked.clear();
    apri(caso.cod);
    conferma(caso.nome, caso.iva, caso.valore);
    EXPECT_EQ(messaggi(), QStringList{caso.messaggio});
    ASSERT_EQ(prompts_.asked.size(), 1u);
    EXPECT_EQ(prompts_.asked[0].title, "Listinova");
    // The form stays open for the correction.
    EXPECT_TRUE(casella("NomeReparto")->isEnabled());
    pulsante("cmdAnnulla")->click();
  }

  EXPECT_EQ(reparto(12).text("Descrizione"), "Pane e dolci");
  EXPECT_EQ(reparto(12).number("Iva"), 4);
  EXPECT_EQ(reparto(3).number("Sconto"), 5);
}

TEST_F(RepartiFinestraTest, VatZeroIsSavedOnlyWhenTheOperatorAgrees) {
  finestra();
  prompts_.answers = {Answer::No};
  apri(12);
  conferma("Pane", "0", "1,50");
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].text, "Impostare l'Iva del reparto a 0?");
  EXPECT_EQ(prompts_.asked[0].buttons, platform::Buttons::YesNo);
  EXPECT_EQ(reparto(12).number("Iva"), 4);
  pulsante("cmdAnnulla")->click();

  prompts_.answers = {Answer::Yes};
  apri(12);
  conferma("Pane", "0", "1,50");
  EXPECT_EQ(reparto(12).number("Iva"), 0);
  EXPECT_EQ(reparto(12).text("Descrizione"), "Pane");
}

TEST_F(RepartiFinestraTest, ResetOfDepartmentTwelveRestoresItsDefaults) {
  Recordset rs = reparto(12);
  rs.edit();
  rs.setFlag("NoFiscale", true);
  rs.setText("PercorsoIcon", cartella_.file("Icone"));
  rs.setText("Icon", "pane.png");
  rs.update();
  finestra();
  seleziona(12);
  EXPECT_EQ(riga(12)->text(4), "Si");

  prompts_.answers = {Answer::No};
  pulsante("Command1_1")->click();
  EXPECT_EQ(reparto(12).text("Descrizione"), "Pane e dolci");

  prompts_.answers = {Answer::Yes};
  pulsante("Command1_1")->click();
  ASSERT_EQ(prompts_.asked.size(), 2u);
  EXPECT_EQ(prompts_.asked[1].text,
            "Tutte le personalizzazioni del reparto verranno rimosse!Continuare?");
  EXPECT_EQ(prompts_.asked[1].title, "Listinova");
  Recordset azzerato = reparto(12);
  EXPECT_EQ(azzerato.text("Descrizione"), "Reparto12");
  EXPECT_EQ(azzerato.number("Iva"), 0);
  EXPECT_EQ(azzerato.money("PrezzoPrefissato").toPlain(2), "0.00");
  EXPECT_EQ(azzerato.number("Sconto"), 0);
  EXPECT_FALSE(azzerato.flag("NoFiscale"));
  EXPECT_EQ(azzerato.text("Icon"), "");
  EXPECT_EQ(riga(12)->text(1), "Reparto12");
  EXPECT_EQ(riga(12)->text(4), "No");
  EXPECT_EQ(casella("NomeReparto")->text(), "Reparto12");
}

TEST_F(RepartiFinestraTest, PictureIsChosenFromTheIconsFolder) {
  ASSERT_TRUE(QDir(cartella_.root()).mkpath("Icone/Frutta"));
  QImage immagine(32, 32, QImage::Format_RGB32);
  immagine.fill(Qt::red);
  ASSERT_TRUE(immagine.save(cartella_.file("Icone/Frutta/mela.png")));
  ASSERT_TRUE(immagine.save(cartella_.file("Icone/pane.png")));

  finestra().show();
  QListWidget* cartelle = controllo<QListWidget>("Dir1");
  ASSERT_EQ(cartelle->count(), 2);
  EXPECT_EQ(cartelle->item(0)->text(), "Icone");
  EXPECT_EQ(cartelle->item(1)->text(), "Icone/Frutta");

  apri(3);
  cartelle->setCurrentRow(1);
  QListWidget* file = controllo<QListWidget>("File1");
  ASSERT_EQ(file->count(), 1);
  QTest::mouseClick(file->viewport(), Qt::LeftButton, {},
                    file->visualItemRect(file->item(0)).center());
  EXPECT_FALSE(controllo<QLabel>("Image1")->pixmap().isNull());
  pulsante("cmdConferma")->click();

  Recordset rs = reparto(3);
  EXPECT_EQ(rs.text("Icon"), "mela.png");
  EXPECT_EQ(QDir::cleanPath(rs.text("PercorsoIcon")),
            QDir::cleanPath(cartella_.file("Icone/Frutta")));
  EXPECT_EQ(riga(3)->text(4), "Si");
  // Coming back to the department shows its picture again.
  seleziona(12);
  EXPECT_TRUE(controllo<QLabel>("Image1")->pixmap().isNull());
  seleziona(3);
  EXPECT_FALSE(controllo<QLabel>("Image1")->pixmap().isNull());
  EXPECT_TRUE(file->item(0)->isSelected());
}

TEST_F(RepartiFinestraTest, TransferRunsTheSendWithTheNoticeFrame) {
  finestra().show();
  EXPECT_FALSE(frAvviso()->isVisible());
  pulsante("Command1_2")->click();
  EXPECT_EQ(invii_, 1);
  EXPECT_TRUE(avvisoVisibile_);
  pulsante("cmdChiudiAvviso")->click();
  EXPECT_FALSE(frAvviso()->isVisible());
  EXPECT_TRUE(pulsante("Command1_2")->isEnabled());

  {
    LavoroInCorso altro;
    pulsante("Command1_2")->click();
  }
  EXPECT_EQ(invii_, 1);
  EXPECT_EQ(notice_.messages, QStringList{LavoroInCorso::kMessaggio});
}

TEST(RepartiFinestraSenzaInvio, TransferButtonIsDisabled) {
  CartellaDiProva cartella;
  std::unique_ptr<Database> db = ApriDatabase(cartella.file("Dati/DbNegozio.mdb"));
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  Reparti finestra(*db, prompts, notice, {});
  EXPECT_FALSE(finestra.findChild<QPushButton*>("Command1_2")->isEnabled());
  EXPECT_TRUE(finestra.findChild<QPushButton*>("Command1_0")->isEnabled());
}

}  // namespace
}  // namespace listinova
