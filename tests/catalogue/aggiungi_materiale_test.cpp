// The product editor window driven by typing and clicks; the rules behind it are checked on
// SchedaProdotto, here what the typing feeds them and what the buttons do with the result.
#include "catalogue/aggiungi_materiale.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <tuple>

#include "platform/qt_serial_port.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/pseudo_terminal.h"
#include "support/qt_print.h"
#include "support/widgets.h"

namespace listinova {
namespace {

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
  }
  ~AggiungiMaterialeTest() override { finestra.reset(); }

  AggiungiMateriale& apri(platform::SerialPort* scanner = nullptr) {
    finestra = std::make_unique<AggiungiMateriale>(*negozio.db, prompts, notice, scanner);
    finestra->show();
    return *finestra;
  }
  template <typename T = QLineEdit>
  T* figlio(const char* nome) {
    return testing::figlio<T>(*finestra, nome);
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

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  std::unique_ptr<AggiungiMateriale> finestra;
};

// Aggiungi saves and empties the fields for the next product; Conferma saves and closes;
// Annulla saves nothing.
TEST_F(AggiungiMaterialeTest, ProductsAreSavedByAggiungiConfermaAndNotByAnnulla) {
  apri();
  QSignalSpy salvato(finestra.get(), &AggiungiMateriale::prodottoSalvato);
  compila("8009876543217");
  clic("cmdAggiungi");
  ASSERT_EQ(salvato.count(), 1);
  EXPECT_EQ(salvato[0][0].toString(), "6");
  EXPECT_TRUE(finestra->isVisible());
  for (const char* nome : {"TxtDesc", "LbLBarCode", "TxtCosto"})
    EXPECT_EQ(figlio(nome)->text(), "") << nome;

  compila("8009876543224");
  scrivi("txtPesoConf", "1.5,");
  clic("cmdConferma");
  EXPECT_TRUE(prompts.asked.empty()) << testing::askedTexts(prompts).join('|').toStdString();
  ASSERT_EQ(salvato.count(), 2);
  EXPECT_EQ(finestra->result(), QDialog::Accepted);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(negozio.righe("Select BarCode, Fornitore, TipoMateriale, Costo, Quantità from "
                          "Magazzino where CodMateriale='7'"),
            QStringList{"8009876543224|BIANCHI|15,|18.3|12"});

  apri();
  compila("8009876543231");
  clic("cmdAnnulla");
  EXPECT_EQ(negozio.conta("Select * from Magazzino"), 3);
}

// Codes typed in the panel and the panel closed wait, shown in the list, for the main Conferma;
// Annulla drops them.
TEST_F(AggiungiMaterialeTest, AdditionalBarcodesWaitForTheMainConfirmation) {
  const std::pair<const char*, QStringList> casi[] = {{"cmdConferma", {"111", "222"}},
                                                      {"cmdAnnulla", {"111"}}};
  for (const auto& [pulsante, attesi] : casi) {
    SCOPED_TRACE(pulsante);
    negozio.sqlite("DELETE FROM BarCodeUlteriori");
    negozio.barCodeUlteriore("5", "111");
    prompts.asked.clear();
    apri();
    ASSERT_TRUE(finestra->PreparaPerModifica("5"));
    clic("cmdBCAlternativi");
    const QList<QLineEdit*> caselle = finestra->findChildren<QLineEdit*>("Casella");
    ASSERT_EQ(caselle.size(), 10);
    EXPECT_EQ(caselle[0]->text(), "111");
    QTest::keyClicks(caselle[1], "222");
    clic("cmdChiudiBarCode");
    EXPECT_EQ(testing::askedTexts(prompts),
              QStringList{"Premere il Conferma principale per registrare i codici a barre, "
                          "Annulla per scartarli"});
    EXPECT_EQ(figlio<QListWidget>("lstElencoBarCode")->count(), 2);
    EXPECT_EQ(negozio.conta("Select * from BarCodeUlteriori"), 1);
    clic(pulsante);
    EXPECT_EQ(negozio.righe("Select BarCode from BarCodeUlteriori order by BarCode"), attesi);
  }
}

TEST_F(AggiungiMaterialeTest, ScannedCodeGoesIntoTheBarcodeField) {
  testing::PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  Globali().BarCode.porta = pty.slavePath();
  platform::QtSerialPort porta;
  apri(&porta);
  ASSERT_TRUE(porta.isOpen());
  const termios linea = pty.lineSettings();
  EXPECT_EQ(cfgetispeed(&linea), B9600);
  for (const char* codice : {"8001234", "99"}) {
    ASSERT_TRUE(pty.write(QByteArray(codice) + "\r\n"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return figlio("LbLBarCode")->text() == codice; }));
  }
  finestra.reset();
  EXPECT_FALSE(porta.isOpen());
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
    figlio<QComboBox>("CboGenere")->setCurrentIndex(0);
    QTest::keyClicks(figlio<QComboBox>("CboFornitore")->lineEdit(), "ROSSI");
    for (const char* nome : {"TxtDesc", "TxtQTA", "txtIVA", "txtAcquisto", "TxtCosto"})
      scrivi(nome, "2");
    if (auto* scelta = finestra->findChild<QComboBox*>(vuoto)) {
      scelta->setCurrentIndex(-1);
      scelta->clearEditText();
    } else {
      figlio(vuoto)->clear();
    }
    prompts.asked.clear();
    clic("cmdConferma");
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(prompts.asked.back().text, QString::fromUtf8(messaggio));
    EXPECT_EQ(finestra->focusWidget(), finestra->findChild<QWidget*>(vuoto));
    EXPECT_EQ(negozio.conta("Select * from Magazzino"), 1);
  }
}

// A new selling price for a product on offer is saved in place, the window staying, after the
// question, No by default; Yes gives every current or future offer the price its own discount
// makes on the new price.
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
    EXPECT_EQ(notice.messages.last(), "Dati salvati");
    EXPECT_TRUE(finestra->isVisible());
    EXPECT_EQ(figlio("txtPrezzoPubblico")->text(), prezzo);  // follows the saved price
    EXPECT_EQ(negozio.conta("Select * from Magazzino"), 1);
  }
}

}  // namespace
}  // namespace listinova
