// The product editor driven as the operator types; the save itself is checked on SchedaProdotto.
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

#include "platform/serial_port.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

class PortaFinta : public platform::SerialPort {
 public:
  bool open(const QString& port, const QString& settings, platform::FlowControl) override {
    porta = port + " " + settings;
    return aperta = riesce;
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

  bool riesce = true, aperta = false;
  QString porta;
  QByteArray ricevuti;
};

class AggiungiMaterialeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali().TitoloFinestre = "Magazzino prodotti";
    negozio.reparto(1, "Bar", 22).reparto(2, "Frigo", 10);
  }
  void TearDown() override { finestra.reset(); }

  AggiungiMateriale& apri(platform::SerialPort* scanner = nullptr) {
    finestra = std::make_unique<AggiungiMateriale>(*negozio.db, prompts, notice, scanner);
    finestra->show();
    return *finestra;
  }
  void prodotto(const QString& codice, const QString& barCode) {
    negozio.prodotto({.cod = codice,
                      .descrizione = "CAFFE ARABICA",
                      .barCode = barCode,
                      .genere = "Bar",
                      .quantita = 10,
                      .costo = "1,5",
                      .costo2 = "0,9",
                      .fornitore = "ROSSI",
                      .unitaMisura = "Kg"});
    negozio.sqlite("UPDATE Magazzino SET CodPV='22', TipoMateriale='250'");
  }
  template <typename T = QLineEdit>
  T* w(const char* nome) {
    auto* campo = finestra->findChild<T*>(nome);
    EXPECT_NE(campo, nullptr) << nome;
    return campo;
  }
  QString t(const char* nome) { return w(nome)->text(); }
  void scrivi(const char* nome, const QString& testo, bool sostituisci = false) {
    if (sostituisci) w(nome)->selectAll();
    QTest::keyClicks(w(nome), testo);
  }
  void clic(const char* nome) { QTest::mouseClick(w<QPushButton>(nome), Qt::LeftButton); }
  bool pannelloNascosto() { return w<QGroupBox>("frBarCodeAlternativi")->isHidden(); }
  void compila() {
    scrivi("LbLBarCode", "8009876543210");
    scrivi("TxtDesc", "Latte intero");
    w<QComboBox>("CboGenere")->setCurrentIndex(0);
    QTest::keyClicks(w<QComboBox>("CboFornitore")->lineEdit(), "bianchi");
    scrivi("TxtQTA", "12");
    scrivi("txtRicarico", "50");
    scrivi("txtAcquisto", "10");
  }
  QStringList chiesti() const { return askedTexts(prompts); }

  NegozioDiProva negozio;
  FakePrompts prompts;
  FakeNotice notice;
  std::unique_ptr<AggiungiMateriale> finestra;
};

// The rules themselves are checked on SchedaProdotto; here the typing that drives them.
TEST_F(AggiungiMaterialeTest, TypingDrivesThePricesAndTheFieldsTakeOnlyNumbers) {
  apri();
  EXPECT_EQ(w<QComboBox>("CboGenere")->currentIndex(), -1);
  w<QComboBox>("CboGenere")->setCurrentIndex(1);  // with no VAT yet, the department's comes in
  EXPECT_EQ(t("txtIVA"), "10");
  for (const char* nome : {"TxtCosto", "TxtQTA", "TxtMin", "txtRicarico"}) {
    scrivi(nome, "a1,2,b3.4");
    EXPECT_EQ(t(nome), "1,234") << nome;
  }
  scrivi("txtAcquisto", "10.5x,0");
  EXPECT_EQ(t("txtAcquisto"), "10,50");
  EXPECT_EQ(t("txtAcquistoConIVA"), "11,55");
  scrivi("txtAcquisto", "10", true);
  scrivi("txtIVA", "22", true);
  scrivi("txtPrezzoPubblico", "15,25");
  EXPECT_EQ(t("txtRicaricoCalcolato"), "25");
  scrivi("txtRicaricoCalcolato", "50", true);
  EXPECT_EQ(t("txtPrezzoPubblico"), "18,30");

  // Enter cleans the description, and moves from the purchase cost to the VAT.
  scrivi("TxtDesc", "CAFFE' 100%, A/B");
  QTest::keyClick(w("TxtDesc"), Qt::Key_Return);
  EXPECT_EQ(t("TxtDesc"), "CAFFE  100. A B");
  finestra->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(finestra.get()));
  w("txtAcquisto")->setFocus();
  QTest::keyClick(w("txtAcquisto"), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), w("txtIVA"));

  // Additional barcodes wait for a saved product.
  scrivi("LbLBarCode", "8001");
  clic("cmdBCAlternativi");
  EXPECT_EQ(chiesti(), QStringList({"Confermare prima i dati inseriti"}));
  EXPECT_TRUE(pannelloNascosto());
}

// Aggiungi saves and empties the fields for the next product; Conferma saves and closes;
// Annulla and a confirm with empty fields save nothing.
TEST_F(AggiungiMaterialeTest, NewProductsAreSavedByAggiungiThenByConferma) {
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  clic("cmdConferma");
  EXPECT_EQ(chiesti(), QStringList({"Prego verificare tutti i dati e riprovare"}));
  EXPECT_EQ(salvato.count(), 0);
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  prompts.asked.clear();

  compila();
  clic("cmdAggiungi");
  ASSERT_EQ(salvato.count(), 1);
  EXPECT_EQ(salvato[0][0].toString(), "1");
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_EQ(t("TxtDesc"), "");
  EXPECT_EQ(t("LbLBarCode"), "");
  EXPECT_EQ(w<QComboBox>("CboGenere")->currentIndex(), -1);
  EXPECT_EQ(w<QComboBox>("CboFornitore")->findText("BIANCHI"), 0);

  compila();
  scrivi("LbLBarCode", "8009876543227", true);
  scrivi("txtPesoConf", "1.5,");
  clic("cmdConferma");
  EXPECT_TRUE(prompts.asked.empty()) << chiesti().join('|').toStdString();
  ASSERT_EQ(salvato.count(), 2);
  EXPECT_EQ(finestra->result(), QDialog::Accepted);
  EXPECT_FALSE(finestra->isVisible());
  EXPECT_EQ(negozio.righe("Select BarCode, Fornitore, TipoMateriale, Costo, Quantità from "
                          "Magazzino where CodMateriale='2'"),
            QStringList{"8009876543227|BIANCHI|15,|18.3|12"});

  apri();
  compila();
  clic("cmdAnnulla");
  EXPECT_EQ(finestra->result(), QDialog::Rejected);
  EXPECT_EQ(negozio.conta("select * from Magazzino"), 2);
}

TEST_F(AggiungiMaterialeTest, EditShowsTheProductAndSavesItInPlace) {
  prodotto("5", "8001");
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  EXPECT_FALSE(finestra->PreparaPerModifica("999"));
  ASSERT_TRUE(finestra->PreparaPerModifica("5"));
  EXPECT_EQ(w<QGroupBox>("frDati")->title(), "Modifica");
  EXPECT_FALSE(w<QPushButton>("cmdAggiungi")->isEnabled());
  EXPECT_EQ(t("TxtDesc"), "CAFFE ARABICA");
  EXPECT_EQ(t("txtAcquistoConIVA"), "1,10");
  EXPECT_EQ(w<QComboBox>("CboGenere")->currentText(), "1#Bar");
  EXPECT_EQ(w<QComboBox>("txtUm")->currentText(), "Kg");

  scrivi("TxtQTA", "7", true);
  // A new selling price: the public price and the markup shown follow it once saved.
  scrivi("TxtCosto", "2,20", true);
  EXPECT_EQ(t("txtPrezzoPubblico"), "1,50");
  clic("cmdConferma");
  ASSERT_EQ(salvato.count(), 1);
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_EQ(notice.messages, QStringList{"Dati salvati"});
  EXPECT_EQ(t("txtPrezzoPubblico"), "2,20");
  EXPECT_EQ(t("txtRicaricoCalcolato"), "100");
  EXPECT_EQ(negozio.quantita("5"), 7);
  EXPECT_EQ(negozio.conta("select * from Magazzino"), 1);

  finestra->NuovoProdotto();
  EXPECT_EQ(w<QGroupBox>("frDati")->title(), "Nuovo prodotto");
  EXPECT_EQ(t("AppCodeModifica"), "");
}

// Codes typed in the panel are registered by the main Conferma, also after the panel's
// Chiudi, and dropped by Annulla.
TEST_F(AggiungiMaterialeTest, AdditionalBarcodesWaitForTheMainConfirmation) {
  for (const char* chiusura : {"cmdConferma", "cmdAnnulla"}) {
    SCOPED_TRACE(chiusura);
    negozio.sqlite("DELETE FROM BarCodeUlteriori");
    negozio.sqlite("DELETE FROM Magazzino");
    prodotto("5", "8001");
    negozio.barCodeUlteriore("5", "111");
    prompts.asked.clear();
    apri();
    ASSERT_TRUE(finestra->PreparaPerModifica("5"));
    auto* elenco = w<QListWidget>("lstElencoBarCode");
    EXPECT_EQ(elenco->count(), 1);

    clic("cmdBCAlternativi");
    EXPECT_FALSE(pannelloNascosto());
    const QList<QLineEdit*> caselle = finestra->findChildren<QLineEdit*>("Casella");
    ASSERT_EQ(caselle.size(), 10);
    EXPECT_EQ(caselle[0]->text(), "111");
    QTest::keyClicks(caselle[1], "222");
    QTest::keyClicks(w("lblCercaBarCode"), "22");  // the search marks the box it finds
    EXPECT_NE(caselle[1]->palette().color(QPalette::Base),
              caselle[0]->palette().color(QPalette::Base));
    clic("cmdChiudiBarCode");
    EXPECT_EQ(chiesti(), QStringList({"Premere il Conferma principale per registrare i codici a "
                                      "barre, Annulla per scartarli"}));
    EXPECT_EQ(elenco->count(), 2) << "the pending code is shown";
    EXPECT_EQ(negozio.conta("select * from BarCodeUlteriori"), 1);

    clic(chiusura);
    EXPECT_EQ(
        negozio.righe("select BarCode from BarCodeUlteriori order by BarCode"),
        QByteArray(chiusura) == "cmdConferma" ? QStringList({"111", "222"}) : QStringList({"111"}));
    EXPECT_TRUE(pannelloNascosto());
  }
}

TEST_F(AggiungiMaterialeTest, ScannedCodeGoesIntoTheBarcodeField) {
  Globali().BarCode.porta = "1";
  PortaFinta porta;
  apri(&porta);
  EXPECT_EQ(porta.porta, "1 9600,n,8,1");
  porta.arriva("8001234\r\n");
  EXPECT_EQ(t("LbLBarCode"), "8001234");
  porta.arriva("99\r");
  EXPECT_EQ(t("LbLBarCode"), "99");
  finestra.reset();
  EXPECT_FALSE(porta.aperta);

  // No port configured opens nothing; one that will not open is said once and the editor works.
  Globali().BarCode.porta = "";
  porta.porta.clear();
  apri(&porta);
  EXPECT_EQ(porta.porta, "");
  Globali().BarCode.porta = "7";
  porta.riesce = false;
  apri(&porta);
  EXPECT_EQ(chiesti(), QStringList({"Porta inesistente"}));
  scrivi("txtIVA", "22");
  scrivi("txtAcquisto", "10");
  EXPECT_EQ(t("txtAcquistoConIVA"), "12,20");
}

TEST_F(AggiungiMaterialeTest, LoadedProductWithAdditionalCodesPaintsTheBarcodeFieldRed) {
  prodotto("5", "8001234567890");
  negozio.barCodeUlteriore("5", "111222333");
  apri();
  ASSERT_TRUE(finestra->PreparaPerModifica("5"));
  finestra->resize(finestra->minimumSize());
  QApplication::processEvents();
  const QImage immagine = finestra->grab().toImage();
  QLineEdit* barCode = w("LbLBarCode");
  const QPoint fondo =
      barCode->mapTo(finestra.get(), QPoint(barCode->width() - 6, barCode->height() / 2));
  const QColor colore = immagine.pixelColor(fondo * immagine.devicePixelRatio());
  EXPECT_GT(colore.red(), 150);
  EXPECT_LT(colore.green(), 80);
}

}  // namespace
}  // namespace listinova::testing
