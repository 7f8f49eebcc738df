// The product editor window driven by typing and clicks; the rules behind it are checked on
// SchedaProdotto, here what the typing feeds them and what the buttons do with the result.
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
#include <tuple>
#include <utility>

#include "platform/serial_port.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

class PortaFinta : public platform::SerialPort {
 public:
  bool open(const QString& p, const QString& s, platform::FlowControl) override {
    porta = p;
    impostazioni = s;
    return aperta = true;
  }
  void close() override { aperta = false; }
  bool isOpen() const override { return aperta; }
  qint64 write(const QByteArray& bytes) override { return bytes.size(); }
  QByteArray readAll() override { return std::exchange(ricevuti, {}); }
  QString errorText() const override { return {}; }
  void arriva(const QByteArray& bytes) {
    ricevuti += bytes;
    emit bytesArrived();
  }

  bool aperta = false;
  QString porta, impostazioni;
  QByteArray ricevuti;
};

class AggiungiMaterialeTest : public ::testing::Test {
 protected:
  AggiungiMaterialeTest() {
    negozio.reparto(1, "Bar", 22).reparto(2, "Frigo", 10);
    negozio.prodotto({.cod = "5",
                      .descrizione = "CAFFE ARABICA",
                      .barCode = "8001",
                      .genere = "Bar",
                      .quantita = 10,
                      .costo = "1,50",
                      .costo2 = "0,90",
                      .fornitore = "ROSSI",
                      .unitaMisura = "Kg"});
    negozio.sqlite("UPDATE Magazzino SET CodPV='22'");
  }
  ~AggiungiMaterialeTest() override { finestra.reset(); }

  AggiungiMateriale& apri(platform::SerialPort* scanner = nullptr) {
    finestra = std::make_unique<AggiungiMateriale>(*negozio.db, prompts, notice, scanner);
    finestra->show();
    return *finestra;
  }
  template <typename T = QLineEdit>
  T* figlio(const char* nome) {
    auto* campo = finestra->findChild<T*>(nome);
    EXPECT_NE(campo, nullptr) << nome;
    return campo;
  }
  void scrivi(const char* nome, const QString& testo, bool sostituisci = false) {
    if (sostituisci) figlio(nome)->selectAll();
    QTest::keyClicks(figlio(nome), testo);
  }
  void clic(const char* nome) { QTest::mouseClick(figlio<QPushButton>(nome), Qt::LeftButton); }
  void compila(const char* barCode) {
    scrivi("LbLBarCode", barCode);
    scrivi("TxtDesc", "Latte intero");
    figlio<QComboBox>("CboGenere")->setCurrentIndex(0);
    QTest::keyClicks(figlio<QComboBox>("CboFornitore")->lineEdit(), "bianchi");
    scrivi("TxtQTA", "12");
    scrivi("txtRicarico", "50");
    scrivi("txtAcquisto", "10");
  }
  QStringList barCodeUlteriori() {
    return negozio.righe("Select BarCode from BarCodeUlteriori order by BarCode");
  }

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  std::unique_ptr<AggiungiMateriale> finestra;
};

// Aggiungi saves and empties the fields for the next product; Conferma saves and closes;
// Annulla saves nothing.
TEST_F(AggiungiMaterialeTest, NewProductsAreSavedByAggiungiThenByConferma) {
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  // Numeric boxes refuse letters and a second comma.
  for (const char* nome : {"TxtCosto", "TxtQTA", "TxtMin", "txtIVA", "txtRicarico"}) {
    scrivi(nome, "a1,2,b3.4");
    EXPECT_EQ(figlio(nome)->text(), "1,234") << nome;
    figlio(nome)->clear();
  }
  compila("8009876543217");
  clic("cmdAggiungi");
  ASSERT_EQ(salvato.count(), 1);
  EXPECT_EQ(salvato[0][0].toString(), "6");
  EXPECT_TRUE(finestra->isVisible());
  for (const char* nome : {"TxtDesc", "LbLBarCode", "TxtCosto"})
    EXPECT_EQ(figlio(nome)->text(), "") << nome;
  EXPECT_EQ(figlio<QComboBox>("CboGenere")->currentIndex(), -1);
  EXPECT_EQ(figlio<QComboBox>("txtUm")->currentText(), "Pz");

  compila("8009876543224");
  scrivi("txtPesoConf", "1.5,");
  clic("cmdConferma");
  EXPECT_TRUE(prompts.asked.empty()) << testing::askedTexts(prompts).join('|').toStdString();
  ASSERT_EQ(salvato.count(), 2);
  EXPECT_EQ(finestra->result(), QDialog::Accepted);
  EXPECT_FALSE(finestra->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(negozio.righe("Select BarCode, Fornitore, TipoMateriale, Costo, Quantità from "
                          "Magazzino where CodMateriale='7'"),
            QStringList{"8009876543224|BIANCHI|15,|18.3|12"});

  apri();
  compila("8009876543231");
  clic("cmdAnnulla");
  EXPECT_EQ(finestra->result(), QDialog::Rejected);
  EXPECT_EQ(negozio.conta("Select * from Magazzino"), 3);
}

TEST_F(AggiungiMaterialeTest, EditShowsTheProductAndSavesItInPlace) {
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  EXPECT_FALSE(finestra->PreparaPerModifica("999"));
  ASSERT_TRUE(finestra->PreparaPerModifica("5"));
  EXPECT_FALSE(figlio<QPushButton>("cmdAggiungi")->isEnabled());
  EXPECT_EQ(figlio("txtAcquistoConIVA")->text(), "1,10");
  EXPECT_EQ(figlio<QComboBox>("CboGenere")->currentText(), "1#Bar");
  EXPECT_EQ(figlio<QComboBox>("txtUm")->currentText(), "Kg");

  scrivi("TxtQTA", "7", true);
  // A new selling price: the public price and the markup shown follow it once saved.
  scrivi("TxtCosto", "2,20", true);
  EXPECT_EQ(figlio("txtPrezzoPubblico")->text(), "1,50");
  clic("cmdConferma");
  ASSERT_EQ(salvato.count(), 1);
  EXPECT_EQ(salvato[0][0].toString(), "5");
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_EQ(negozio.quantita("5"), 7);
  EXPECT_EQ(notice.messages, QStringList{"Dati salvati"});
  EXPECT_EQ(figlio("txtPrezzoPubblico")->text(), "2,20");
  EXPECT_EQ(figlio("txtRicaricoCalcolato")->text(), "100");
  EXPECT_TRUE(prompts.asked.empty()) << testing::askedTexts(prompts).join(" | ").toStdString();
  EXPECT_EQ(negozio.conta("Select * from Magazzino"), 1);
}

// Codes typed in the panel are registered by the main Conferma, whether the panel is still open
// or was closed (then they wait, shown in the list, and Annulla drops them).
TEST_F(AggiungiMaterialeTest, AdditionalBarcodesWaitForTheMainConfirmation) {
  const QString attesa =
      "Premere il Conferma principale per registrare i codici a barre, Annulla per scartarli";
  struct Caso {
    const char* nome;
    bool chiudiPannello;
    const char* pulsante;
    QStringList attesi;
  };
  const Caso casi[] = {{"aperto_conferma", false, "cmdConferma", {"111", "222"}},
                       {"chiuso_conferma", true, "cmdConferma", {"111", "222"}},
                       {"chiuso_annulla", true, "cmdAnnulla", {"111"}}};
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    negozio.sqlite("DELETE FROM BarCodeUlteriori");
    negozio.barCodeUlteriore("5", "111");
    prompts.asked.clear();
    apri();
    ASSERT_TRUE(finestra->PreparaPerModifica("5"));
    auto* elenco = figlio<QListWidget>("lstElencoBarCode");
    ASSERT_EQ(elenco->count(), 1);
    clic("cmdBCAlternativi");
    EXPECT_FALSE(figlio<QGroupBox>("frBarCodeAlternativi")->isHidden());
    const QList<QLineEdit*> caselle = finestra->findChildren<QLineEdit*>("Casella");
    ASSERT_EQ(caselle.size(), 10);
    EXPECT_EQ(caselle[0]->text(), "111");
    QTest::keyClicks(caselle[1], "222");
    if (caso.chiudiPannello) {
      clic("cmdChiudiBarCode");
      EXPECT_EQ(testing::askedTexts(prompts), QStringList{attesa});
      EXPECT_EQ(elenco->count(), 2) << "the pending code is shown";
      EXPECT_EQ(barCodeUlteriori(), QStringList{"111"});
      clic("cmdBCAlternativi");  // reopened, the panel still holds it
      EXPECT_EQ(finestra->findChildren<QLineEdit*>("Casella").at(1)->text(), "222");
      clic("cmdChiudiBarCode");
    }
    clic(caso.pulsante);
    EXPECT_EQ(barCodeUlteriori(), caso.attesi);
  }
  // A product not saved yet has none.
  apri();
  scrivi("LbLBarCode", "8002");
  prompts.asked.clear();
  clic("cmdBCAlternativi");
  EXPECT_EQ(testing::askedTexts(prompts), QStringList({"Confermare prima i dati inseriti"}));
  EXPECT_TRUE(figlio<QGroupBox>("frBarCodeAlternativi")->isHidden());
}

TEST_F(AggiungiMaterialeTest, ScannedCodeGoesIntoTheBarcodeField) {
  Globali().BarCode.porta = "1";
  PortaFinta porta;
  apri(&porta);
  EXPECT_EQ(porta.porta, "1");
  EXPECT_EQ(porta.impostazioni, "9600,n,8,1");
  porta.arriva("8001234\r\n");
  EXPECT_EQ(figlio("LbLBarCode")->text(), "8001234");
  porta.arriva("99\r");
  EXPECT_EQ(figlio("LbLBarCode")->text(), "99");
  finestra.reset();
  EXPECT_FALSE(porta.aperta);
}

// Each box that stops a save is named and takes the focus, in the order they are checked.
TEST_F(AggiungiMaterialeTest, TheEditorNamesWhatStopsASave) {
  const std::pair<const char*, const char*> casi[] = {
      {"TxtDesc", "Scrivere la descrizione"},
      {"TxtQTA", "Scrivere la quantità"},
      {"txtAcquisto", "Scrivere il costo d'acquisto"},
      {"CboGenere", "Scegliere il reparto"},
      {"CboFornitore", "Scrivere il fornitore"},
      {"TxtCosto", "Scrivere il prezzo di vendita"},
  };
  for (const auto& [vuoto, messaggio] : casi) {
    SCOPED_TRACE(vuoto);
    apri();
    ASSERT_TRUE(QTest::qWaitForWindowActive(finestra.get()));
    const auto metti = [&](const char* nome, const char* testo) {
      if (QString(nome) != vuoto) scrivi(nome, QString::fromUtf8(testo));
    };
    metti("TxtDesc", "PANE");
    metti("TxtQTA", "3");
    metti("txtIVA", "22");
    metti("txtAcquisto", "1");
    if (QString("CboGenere") != vuoto) figlio<QComboBox>("CboGenere")->setCurrentIndex(0);
    if (QString("CboFornitore") != vuoto)
      QTest::keyClicks(figlio<QComboBox>("CboFornitore")->lineEdit(), "ROSSI");
    metti("TxtCosto", "2");
    prompts.asked.clear();
    clic("cmdConferma");
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(prompts.asked.back().text, QString::fromUtf8(messaggio));
    EXPECT_EQ(finestra->focusWidget(), finestra->findChild<QWidget*>(vuoto));
    EXPECT_EQ(negozio.conta("Select * from Magazzino where Descrizione='PANE'"), 0);
  }
}

// A new selling price for a product on offer: the question, No by default; Yes gives every
// current or future offer the price its own discount makes on the new price.
TEST_F(AggiungiMaterialeTest, ANewPriceAsksWhetherTheOfferFollows) {
  testing::FakeClock clock;
  negozio
      .offerta({.articolo = "5",
                .dal = QDate(2024, 3, 10),
                .al = QDate(2024, 3, 20),
                .prezzo = "0,41",
                .scontoPer = 10})
      .offerta({.articolo = "5",
                .dal = QDate(2024, 3, 1),
                .al = QDate(2024, 3, 5),
                .prezzo = "0,40",
                .scontoVal = "0,05"});
  const std::tuple<platform::Answer, const char*, QStringList> casi[] = {
      {platform::Answer::No, "0,60", {"0.4", "0.41"}},
      {platform::Answer::Yes, "0,70", {"0.4", "0.63"}}};  // the ended offer keeps its price
  for (const auto& [risposta, prezzo, prezziOfferte] : casi) {
    apri().setOggi([&] { return clock.now().date(); });
    ASSERT_TRUE(finestra->PreparaPerModifica("5"));
    scrivi("TxtCosto", prezzo, true);
    prompts.asked.clear();
    prompts.answers = {risposta};
    clic("cmdConferma");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text,
              "Il prodotto è in offerta fino al 20/03/2024: aggiornare anche il prezzo "
              "dell'offerta?");
    EXPECT_EQ(prompts.asked[0].defaultAnswer, platform::Answer::No);
    EXPECT_EQ(negozio.righe("Select PrzScnt from Offerte order by DataAL"), prezziOfferte);
  }
}

}  // namespace
}  // namespace listinova
