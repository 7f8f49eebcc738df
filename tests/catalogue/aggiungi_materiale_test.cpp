#include "catalogue/aggiungi_materiale.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <utility>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/serial_port.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;

class PortaFinta : public platform::SerialPort {
 public:
  bool open(const QString& port, const QString& settings, platform::FlowControl) override {
    porta = port;
    impostazioni = settings;
    aperta = riesce;
    return riesce;
  }
  void close() override { aperta = false; }
  bool isOpen() const override { return aperta; }
  qint64 write(const QByteArray& bytes) override { return bytes.size(); }
  QByteArray readAll() override { return std::exchange(ricevuti, {}); }
  QString errorText() const override { return QStringLiteral("Porta inesistente"); }
  void arriva(const QByteArray& bytes) {
    ricevuti += bytes;
    emit bytesArrived();
  }

  bool riesce = true;
  bool aperta = false;
  QString porta;
  QString impostazioni;
  QByteArray ricevuti;
};

class AggiungiMaterialeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali().PercorsoSetup = cartella.setup();
    Globali().TitoloFinestre = "Magazzino prodotti";
    db = ApriDatabase(cartella.file("Dati/DbNegozio.mdb"));
    db->execute("UPDATE Reparti SET Descrizione='Bar', Iva=22 WHERE Cod=1");
    db->execute("UPDATE Reparti SET Descrizione='Frigo', Iva=10 WHERE Cod=2");
  }
  void TearDown() override {
    finestra.reset();
    Globali() = VarGlobali{};
  }

  AggiungiMateriale& apri(platform::SerialPort* scanner = nullptr) {
    finestra = std::make_unique<AggiungiMateriale>(*db, prompts, notice, scanner);
    finestra->show();
    return *finestra;
  }
  void prodotto(const QString& codice, const QString& barCode) {
    db->execute(QString("INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Genere, "
                        "Quantità, Costo, Costo2, CodPV, UnitaMisura, Fornitore, TipoMateriale) "
                        "VALUES ('%1', 'CAFFE ARABICA', '%2', 'Bar', 10, 1.5, 0.9, '22', 'Kg', "
                        "'ROSSI', '250')")
                    .arg(codice, barCode));
  }

  QLineEdit* testo(const char* nome) {
    auto* campo = finestra->findChild<QLineEdit*>(nome);
    EXPECT_NE(campo, nullptr) << nome;
    return campo;
  }
  QComboBox* scelta(const char* nome) {
    auto* campo = finestra->findChild<QComboBox*>(nome);
    EXPECT_NE(campo, nullptr) << nome;
    return campo;
  }
  QPushButton* pulsante(const char* nome) {
    auto* campo = finestra->findChild<QPushButton*>(nome);
    EXPECT_NE(campo, nullptr) << nome;
    return campo;
  }
  void scrivi(const char* nome, const QString& testoDigitato) {
    QTest::keyClicks(testo(nome), testoDigitato);
  }
  void clic(const char* nome) { QTest::mouseClick(pulsante(nome), Qt::LeftButton); }
  void compila() {
    scrivi("LbLBarCode", "8009876543217");
    scrivi("TxtDesc", "Latte intero");
    scelta("CboGenere")->setCurrentIndex(0);
    QTest::keyClicks(scelta("CboFornitore")->lineEdit(), "bianchi");
    scrivi("TxtQTA", "12");
    scrivi("txtRicarico", "50");
    scrivi("txtAcquisto", "10");
  }
  QStringList testiChiesti() const { return testing::askedTexts(prompts); }
  Recordset riga(const QString& codice) {
    return db->openRecordset("select * from Magazzino where CodMateriale='" + codice + "'");
  }

  CartellaDiProva cartella;
  std::unique_ptr<Database> db;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  std::unique_ptr<AggiungiMateriale> finestra;
};

TEST_F(AggiungiMaterialeTest, OpensReadyForANewProduct) {
  Globali().ColoreInterfaccia = 0x0099CCFF;  // red in the low byte
  const QStringList proprie = {"Pz", "Conf", "Kg", "Hg", "Lt", "Ml", "Mt"};
  for (int i = 0; i < proprie.size(); ++i)
    ScriviINI(cartella.setup(), "UnitaMisura", QString("Unita%1").arg(i + 1), proprie[i]);
  apri();
  EXPECT_EQ(finestra->palette().color(QPalette::Window), QColor(0xFF, 0xCC, 0x99));
  EXPECT_TRUE(finestra->autoFillBackground());
  // The unit box offers an empty entry, then the settings' units.
  QComboBox* unita = scelta("txtUm");
  ASSERT_EQ(unita->count(), 8);
  EXPECT_EQ(unita->itemText(0), "");
  for (int i = 0; i < proprie.size(); ++i) EXPECT_EQ(unita->itemText(i + 1), proprie[i]);
  EXPECT_EQ(finestra->windowTitle(), "Magazzino prodotti");
  EXPECT_EQ(finestra->findChild<QGroupBox*>("frDati")->title(), "Nuovo prodotto");
  EXPECT_TRUE(pulsante("cmdAggiungi")->isEnabled());
  EXPECT_EQ(testo("AppCodeModifica")->text(), "");
  EXPECT_EQ(testo("TxtDesc")->text(), "");
  EXPECT_EQ(scelta("txtUm")->currentText(), "Pz");
  EXPECT_EQ(scelta("CboGenere")->count(), 40);
  EXPECT_EQ(scelta("CboGenere")->currentIndex(), -1);
  EXPECT_EQ(scelta("CboGenere")->itemText(1), "2#Frigo");
  EXPECT_TRUE(finestra->findChild<QGroupBox*>("frBarCodeAlternativi")->isHidden());
  EXPECT_TRUE(testo("txtAcquistoConIVA")->isReadOnly());
  EXPECT_TRUE(pulsante("cmdTastiera")->isEnabled());
  scelta("CboGenere")->setCurrentIndex(1);  // with no VAT yet, the department's comes in
  EXPECT_EQ(testo("txtIVA")->text(), "10");

  // Additional barcodes wait for a saved product.
  scrivi("LbLBarCode", "8001");
  clic("cmdBCAlternativi");
  EXPECT_EQ(testiChiesti(), QStringList({"Confermare prima i dati inseriti"}));
  EXPECT_TRUE(finestra->findChild<QGroupBox*>("frBarCodeAlternativi")->isHidden());
}

TEST_F(AggiungiMaterialeTest, PublicPriceAndMarkupFollowEachOther) {
  apri();
  scrivi("txtIVA", "22");
  scrivi("txtAcquisto", "10");
  scrivi("txtPrezzoPubblico", "15,25");
  EXPECT_EQ(testo("txtRicaricoCalcolato")->text(), "25");
  QLineEdit* ricarico = testo("txtRicaricoCalcolato");
  ricarico->selectAll();
  QTest::keyClicks(ricarico, "50");
  EXPECT_EQ(ricarico->text(), "50");
  EXPECT_EQ(testo("txtPrezzoPubblico")->text(), "18,30");
}

TEST_F(AggiungiMaterialeTest, ConfirmWithEmptyFieldsAsksToCheckAndAnnullaSavesNothing) {
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  clic("cmdConferma");
  EXPECT_EQ(testiChiesti(), QStringList({"Prego verificare tutti i dati e riprovare"}));
  EXPECT_EQ(prompts.asked[0].icon, platform::Icon::Information);
  EXPECT_EQ(salvato.count(), 0);
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_EQ(db->openRecordset("select * from Magazzino").recordCount(), 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  compila();
  clic("cmdAnnulla");
  EXPECT_EQ(finestra->result(), QDialog::Rejected);
  EXPECT_FALSE(finestra->isVisible());
  EXPECT_EQ(db->openRecordset("select * from Magazzino").recordCount(), 0);
}

// Aggiungi saves and empties the fields for the next product; Conferma saves and closes.
TEST_F(AggiungiMaterialeTest, NewProductsAreSavedByAggiungiThenByConferma) {
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  compila();
  clic("cmdAggiungi");
  ASSERT_EQ(salvato.count(), 1);
  EXPECT_EQ(salvato[0][0].toString(), "1");
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_FALSE(riga("1").eof());
  EXPECT_EQ(testo("TxtDesc")->text(), "");
  EXPECT_EQ(testo("LbLBarCode")->text(), "");
  EXPECT_EQ(testo("TxtCosto")->text(), "");
  EXPECT_EQ(scelta("CboGenere")->currentIndex(), -1);
  EXPECT_EQ(scelta("txtUm")->currentText(), "Pz");
  EXPECT_EQ(scelta("CboFornitore")->currentText(), "");
  EXPECT_EQ(scelta("CboFornitore")->findText("BIANCHI"), 0);

  compila();
  testo("LbLBarCode")->clear();
  scrivi("LbLBarCode", "8009876543224");
  scrivi("txtPesoConf", "1.5,");
  clic("cmdConferma");
  EXPECT_TRUE(prompts.asked.empty()) << testiChiesti().join('|').toStdString();
  ASSERT_EQ(salvato.count(), 2);
  EXPECT_EQ(salvato[1][0].toString(), "2");
  EXPECT_EQ(finestra->result(), QDialog::Accepted);
  EXPECT_FALSE(finestra->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Column by column the save is checked on SchedaProdotto; here what the typing fed it.
  Recordset rs = riga("2");
  ASSERT_FALSE(rs.eof());
  EXPECT_EQ(rs.text("BarCode"), "8009876543224");
  EXPECT_EQ(rs.text("Fornitore"), "BIANCHI");
  EXPECT_EQ(rs.text("TipoMateriale"), "15,");
  EXPECT_EQ(rs.money("Costo"), *Money::parse("18,30"));
  EXPECT_DOUBLE_EQ(rs.number("Quantità"), 12);
}

TEST_F(AggiungiMaterialeTest, EditShowsTheProductAndSavesItInPlace) {
  prodotto("5", "8001");
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  EXPECT_FALSE(finestra->PreparaPerModifica("999"));
  ASSERT_TRUE(finestra->PreparaPerModifica("5"));
  EXPECT_EQ(finestra->findChild<QGroupBox*>("frDati")->title(), "Modifica");
  EXPECT_FALSE(pulsante("cmdAggiungi")->isEnabled());
  EXPECT_EQ(testo("AppCodeModifica")->text(), "5");
  EXPECT_EQ(testo("TxtDesc")->text(), "CAFFE ARABICA");
  EXPECT_EQ(testo("txtAcquistoConIVA")->text(), "1,10");
  EXPECT_EQ(scelta("CboGenere")->currentText(), "1#Bar");
  EXPECT_EQ(scelta("CboFornitore")->currentText(), "ROSSI");
  EXPECT_EQ(scelta("txtUm")->currentText(), "Kg");

  QLineEdit* quantita = testo("TxtQTA");
  quantita->selectAll();
  QTest::keyClicks(quantita, "7");
  // A new selling price: the public price and the markup shown follow it once saved.
  QLineEdit* vendita = testo("TxtCosto");
  vendita->selectAll();
  QTest::keyClicks(vendita, "2,20");
  EXPECT_EQ(testo("txtPrezzoPubblico")->text(), "1,50");
  clic("cmdConferma");
  ASSERT_EQ(salvato.count(), 1);
  EXPECT_EQ(salvato[0][0].toString(), "5");
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_DOUBLE_EQ(riga("5").number("Quantità"), 7);
  EXPECT_EQ(notice.messages, QStringList{"Dati salvati"});
  EXPECT_EQ(testo("txtPrezzoPubblico")->text(), "2,20");
  EXPECT_EQ(testo("txtRicaricoCalcolato")->text(), "100");
  EXPECT_EQ(testo("TxtQTA")->text(), "7");
  EXPECT_TRUE(prompts.asked.empty()) << testiChiesti().join(" | ").toStdString();
  EXPECT_EQ(db->openRecordset("select * from Magazzino").recordCount(), 1);

  finestra->setAggiungiAbilitato(true);
  EXPECT_TRUE(pulsante("cmdAggiungi")->isEnabled());
  finestra->NuovoProdotto();
  EXPECT_EQ(finestra->findChild<QGroupBox*>("frDati")->title(), "Nuovo prodotto");
  EXPECT_EQ(testo("AppCodeModifica")->text(), "");
}

TEST_F(AggiungiMaterialeTest, EnterCleansTheDescriptionAndMovesFromThePurchaseCostToTheVat) {
  apri();
  scrivi("TxtDesc", "CAFFE' 100%, A/B");
  QTest::keyClick(testo("TxtDesc"), Qt::Key_Return);
  EXPECT_EQ(testo("TxtDesc")->text(), "CAFFE  100. A B");
  finestra->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(finestra.get()));
  testo("txtAcquisto")->setFocus();
  QTest::keyClick(testo("txtAcquisto"), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), testo("txtIVA"));
  EXPECT_TRUE(finestra->isVisible());
}

TEST_F(AggiungiMaterialeTest, LettersAndSecondCommaAreRefusedInNumericFields) {
  apri();
  for (const char* nome : {"TxtCosto", "TxtQTA", "TxtMin", "txtIVA", "txtRicarico"}) {
    scrivi(nome, "a1,2,b3.4");
    EXPECT_EQ(testo(nome)->text(), "1,234") << nome;
  }
  // The purchase cost is shown with two decimals, and with the VAT the purchase with VAT.
  testo("txtIVA")->clear();
  scrivi("txtIVA", "22");
  scrivi("txtAcquisto", "10.5x,0");
  EXPECT_EQ(testo("txtAcquisto")->text(), "10,50");
  EXPECT_EQ(testo("txtAcquistoConIVA")->text(), "12,81");
}

TEST_F(AggiungiMaterialeTest, AdditionalBarcodesPanelRegistersOnTheMainConfirmation) {
  prodotto("5", "8001");
  db->execute("INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES ('5', '111')");
  apri();
  ASSERT_TRUE(finestra->PreparaPerModifica("5"));
  auto* elenco = finestra->findChild<QListWidget*>("lstElencoBarCode");
  ASSERT_EQ(elenco->count(), 1);
  EXPECT_EQ(elenco->item(0)->text(), "111");

  clic("cmdBCAlternativi");
  EXPECT_FALSE(finestra->findChild<QGroupBox*>("frBarCodeAlternativi")->isHidden());
  const QList<QLineEdit*> caselle = finestra->findChildren<QLineEdit*>("Casella");
  ASSERT_EQ(caselle.size(), 10);
  EXPECT_EQ(caselle[0]->text(), "111");
  QTest::keyClicks(caselle[1], "222");
  QTest::keyClicks(testo("lblCercaBarCode"), "22");
  EXPECT_NE(caselle[1]->palette().color(QPalette::Base),
            caselle[0]->palette().color(QPalette::Base));
  EXPECT_TRUE(elenco->isHidden());

  clic("cmdConferma");
  QStringList registrati;
  for (Recordset rs = db->openRecordset("select * from BarCodeUlteriori where CodProd='5'");
       !rs.eof(); rs.moveNext())
    registrati.append(rs.text("BarCode"));
  EXPECT_EQ(registrati, QStringList({"111", "222"}));
  EXPECT_EQ(elenco->count(), 2);
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_EQ(notice.messages, QStringList{"Dati salvati"});
  EXPECT_TRUE(finestra->findChild<QGroupBox*>("frBarCodeAlternativi")->isHidden());
  EXPECT_FALSE(elenco->isHidden());
  EXPECT_FALSE(pulsante("cmdBCAlternativi")->isHidden());
}

TEST_F(AggiungiMaterialeTest, CodesTypedInTheClosedPanelWaitForConfermaOrAnnulla) {
  const auto registrati = [&] {
    QStringList codici;
    for (Recordset rs = db->openRecordset("select * from BarCodeUlteriori order by BarCode");
         !rs.eof(); rs.moveNext())
      codici.append(rs.text("BarCode"));
    return codici;
  };
  struct Caso {
    const char* chiusura;  // the main button pressed after the panel's "Chiudi"
    QStringList attesi;
  };
  const Caso casi[] = {{"cmdConferma", {"333"}}, {"cmdAnnulla", {}}};
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.chiusura);
    db->execute("DELETE FROM BarCodeUlteriori");
    db->execute("DELETE FROM Magazzino");
    prodotto("5", "8001");
    prompts.asked.clear();
    apri();
    ASSERT_TRUE(finestra->PreparaPerModifica("5"));
    clic("cmdBCAlternativi");
    QTest::keyClicks(finestra->findChildren<QLineEdit*>("Casella").at(0), "333");
    clic("cmdChiudiBarCode");
    EXPECT_EQ(testiChiesti(), QStringList({"Premere il Conferma principale per registrare i "
                                           "codici a barre, Annulla per scartarli"}));
    auto* elenco = finestra->findChild<QListWidget*>("lstElencoBarCode");
    ASSERT_EQ(elenco->count(), 1) << "the pending code is still shown";
    EXPECT_EQ(elenco->item(0)->text(), "333");
    EXPECT_EQ(registrati(), QStringList());

    // Reopened, the panel still holds it.
    clic("cmdBCAlternativi");
    EXPECT_EQ(finestra->findChildren<QLineEdit*>("Casella").at(0)->text(), "333");
    clic("cmdChiudiBarCode");

    clic(caso.chiusura);
    EXPECT_EQ(registrati(), caso.attesi);
  }
}

TEST_F(AggiungiMaterialeTest, ScannedCodeGoesIntoTheBarcodeField) {
  Globali().BarCode.porta = "1";
  PortaFinta porta;
  apri(&porta);
  EXPECT_TRUE(porta.aperta);
  EXPECT_EQ(porta.porta, "1");
  EXPECT_EQ(porta.impostazioni, "9600,n,8,1");
  porta.arriva("8001234\r\n");
  EXPECT_EQ(testo("LbLBarCode")->text(), "8001234");
  porta.arriva("99\r");
  EXPECT_EQ(testo("LbLBarCode")->text(), "99");
  finestra.reset();
  EXPECT_FALSE(porta.aperta);

  // No port configured opens nothing; one that will not open leaves the editor usable.
  Globali().BarCode.porta = "";
  porta.porta.clear();
  apri(&porta);
  EXPECT_EQ(porta.porta, "");
  Globali().BarCode.porta = "7";
  porta.riesce = false;
  apri(&porta);
  EXPECT_FALSE(porta.aperta);
  EXPECT_EQ(testiChiesti(), QStringList({"Porta inesistente"}));  // said once, then usable
  scrivi("txtIVA", "22");
  scrivi("txtAcquisto", "10");
  EXPECT_EQ(testo("txtAcquistoConIVA")->text(), "12,20");
}

TEST_F(AggiungiMaterialeTest, LoadedProductPaintsTheBarcodeFieldRed) {
  prodotto("5", "8001234567897");
  db->execute("INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES ('5', '111222333')");
  apri();
  ASSERT_TRUE(finestra->PreparaPerModifica("5"));
  finestra->resize(finestra->minimumSize());
  QApplication::processEvents();
  const QImage immagine = finestra->grab().toImage();
  ASSERT_FALSE(immagine.isNull());
  QLineEdit* barCode = testo("LbLBarCode");
  const QPoint fondo =
      barCode->mapTo(finestra.get(), QPoint(barCode->width() - 6, barCode->height() / 2));
  const QColor colore = immagine.pixelColor(fondo * immagine.devicePixelRatio());
  EXPECT_GT(colore.red(), 150);
  EXPECT_LT(colore.green(), 80);
}

}  // namespace
}  // namespace listinova
