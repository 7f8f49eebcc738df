// A shop's first day at the product list and in the product editor, offscreen: the notice that
// must stay, the period a print reads, the guarded offer button, a scanned code without its
// leading zeros, and a save that names what stops it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "catalogue/aggiungi_materiale.h"
#include "catalogue/magazzino.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"

namespace listinova {
namespace {

using platform::Answer;
using testing::NegozioDiProva;

constexpr char kBanner[] = "INIZIANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE";

class PrimoGiorno : public ::testing::Test {
 protected:
  PrimoGiorno() {
    negozio.reparto(1, "Bar", 22)
        .prodotto({.cod = "1",
                   .descrizione = "CAFFE",
                   .barCode = "0049428595750",
                   .genere = "Bar",
                   .fornitore = "ROSSI",
                   .unitaMisura = "Pz"})
        .prodotto({.cod = "2", .descrizione = "ZUCCHERO", .barCode = "8001234567890"});
  }

  Magazzino& lista() {
    if (!finestra) {
      finestra =
          std::make_unique<Magazzino>(*negozio.db, prompts, notice, clock, [] { return nullptr; });
      finestra->show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(finestra.get()));
    }
    return *finestra;
  }
  template <typename T>
  T* figlio(const char* nome) {
    T* trovato = lista().findChild<T*>(nome);
    EXPECT_NE(trovato, nullptr) << nome;
    return trovato;
  }
  void clic(const char* nome) { QTest::mouseClick(figlio<QPushButton>(nome), Qt::LeftButton); }
  QLabel* stato() { return figlio<QLabel>("lblTab"); }
  // The description of the next modal window, which is then closed.
  void descriviLaProssimaModale(QString& descrizione) {
    QTimer::singleShot(50, [&descrizione] {
      if (auto* modale = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        if (auto* d = modale->findChild<QLineEdit*>("TxtDesc")) descrizione = d->text();
        modale->reject();
      }
    });
  }

  NegozioDiProva negozio;
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  testing::FakeClock clock;
  std::unique_ptr<Magazzino> finestra;
};

// The banner belongs to the start of the day: the exchange-folder poll and a job write and
// clear their own text over it, and only a send takes it away.
TEST_F(PrimoGiorno, TheOffersNoticeStaysUntilTheOperatorSends) {
  Magazzino& l = lista();
  int giri = 0;
  l.setImportaInterscambio(
      [&] {
        l.mostraStato(QStringLiteral("Controllo cartella di scambio"));
        l.mostraStato(QString());
        ++giri;
        return false;
      },
      5);
  l.mostraAvviso(kBanner, 20);
  ASSERT_TRUE(QTest::qWaitFor([&] { return giri >= 2; }));
  EXPECT_TRUE(stato()->isVisible());
  EXPECT_EQ(stato()->text(), kBanner);
  EXPECT_EQ(stato()->font().pointSize(), 20);

  l.mostraStato(QStringLiteral("LETTURA CASSA 1"));
  EXPECT_EQ(stato()->text(), "LETTURA CASSA 1");
  EXPECT_NE(stato()->font().pointSize(), 20);
  l.mostraStato(QString());
  EXPECT_EQ(stato()->text(), kBanner);

  int invii = 0;
  l.setInviaPLU([&](bool) { ++invii; });
  clic("cmdInviaPLU");
  EXPECT_EQ(invii, 1);
  EXPECT_TRUE(stato()->isHidden());
}

TEST_F(PrimoGiorno, SalesPrintReadsTheSalesTabAndOffersNeedTheProductsTab) {
  Magazzino& l = lista();
  std::vector<std::pair<QDate, QDate>> stampati;
  l.setStampaVendite([&](const QDate& dal, const QDate& al) { stampati.push_back({dal, al}); });
  int promozioni = 0;
  l.setPromozioni([&] { ++promozioni; });

  figlio<QTabWidget>("schede")->setCurrentIndex(1);
  figlio<QDateEdit>("dtGiornoRif")->setDate(QDate(2024, 3, 1));
  figlio<QDateEdit>("dtDataAl")->setDate(QDate(2024, 3, 10));
  clic("cmdStampa");
  clic("cmdPromozioni");
  ASSERT_EQ(stampati.size(), 1u);
  EXPECT_EQ(stampati[0], std::make_pair(QDate(2024, 3, 1), QDate(2024, 3, 10)));
  EXPECT_EQ(promozioni, 0);

  figlio<QTabWidget>("schede")->setCurrentIndex(0);
  clic("cmdPromozioni");
  EXPECT_EQ(promozioni, 1);
}

TEST_F(PrimoGiorno, ABarCodeWithoutItsLeadingZerosIsFoundAndTheGridHasNoBlankColumn) {
  QLineEdit* codice = figlio<QLineEdit>("txtRicBarCode");
  struct Caso {
    const char* letto;
    const char* descrizione;  // empty: not registered
  };
  const Caso casi[] = {{"49428595750", "CAFFE"},
                       {"0049428595750", "CAFFE"},
                       {"8001234567890", "ZUCCHERO"},
                       {"1234567890123", ""}};
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.letto);
    notice.messages.clear();
    QString vista;
    descriviLaProssimaModale(vista);
    QTest::keyClicks(codice, caso.letto);
    QTest::keyClick(codice, Qt::Key_Enter);
    EXPECT_EQ(vista, caso.descrizione);
    EXPECT_EQ(notice.messages.size(), QString(caso.descrizione).isEmpty() ? 1 : 0);
  }
  EXPECT_TRUE(figlio<QTreeView>("ListMagazzino")->isColumnHidden(12));
}

// Each box that stops a save is named and takes the focus, in the order they are checked.
TEST_F(PrimoGiorno, TheEditorNamesWhatStopsASave) {
  struct Caso {
    const char* vuoto;
    const char* messaggio;
  };
  const Caso casi[] = {
      {"TxtDesc", "Scrivere la descrizione"},
      {"TxtQTA", "Scrivere la quantità"},
      {"txtAcquisto", "Scrivere il costo d'acquisto"},
      {"CboGenere", "Scegliere il reparto"},
      {"CboFornitore", "Scrivere il fornitore"},
      {"TxtCosto", "Scrivere il prezzo di vendita"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.vuoto);
    AggiungiMateriale editor(*negozio.db, prompts, notice, nullptr);
    editor.NuovoProdotto();
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    const auto scrivi = [&](const char* nome, const QString& testo) {
      if (QString(nome) == caso.vuoto) return;
      if (auto* casella = editor.findChild<QLineEdit*>(nome)) {
        casella->setText(testo);
        emit casella->textEdited(testo);
      } else if (auto* combo = editor.findChild<QComboBox*>(nome)) {
        combo->setCurrentIndex(combo->findText(testo));
        if (combo->isEditable()) combo->setEditText(testo);
        emit combo->activated(combo->currentIndex());
      }
    };
    scrivi("TxtDesc", "PANE");
    scrivi("TxtQTA", "3");
    scrivi("txtIVA", "22");
    scrivi("txtAcquisto", "1");
    scrivi("CboGenere", "1#Bar");
    scrivi("CboFornitore", "ROSSI");
    scrivi("TxtCosto", "2");
    prompts.asked.clear();
    QTest::mouseClick(editor.findChild<QPushButton*>("cmdConferma"), Qt::LeftButton);
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(prompts.asked.back().text, caso.messaggio);
    EXPECT_EQ(editor.focusWidget(), editor.findChild<QWidget*>(caso.vuoto));
    EXPECT_EQ(negozio.conta("Select * from Magazzino where Descrizione='PANE'"), 0);
  }
}

// A new selling price for a product on offer: the question, No by default; Yes gives every
// current or future offer the price its own discount makes on the new price.
TEST_F(PrimoGiorno, ANewPriceAsksWhetherTheOfferFollows) {
  negozio
      .offerta({.articolo = "1",
                .dal = QDate(2024, 3, 10),
                .al = QDate(2024, 3, 20),
                .prezzo = "0,41",
                .scontoPer = 10})
      .offerta({.articolo = "1",
                .dal = QDate(2024, 3, 1),
                .al = QDate(2024, 3, 5),
                .prezzo = "0,40",
                .scontoVal = "0,05"});
  struct Caso {
    Answer risposta;
    const char* prezzo;
    QStringList prezziOfferte;  // the ended offer, then the current one
  };
  for (const Caso& caso :
       {Caso{Answer::No, "0,60", {"0.4", "0.41"}}, Caso{Answer::Yes, "0,70", {"0.4", "0.63"}}}) {
    AggiungiMateriale editor(*negozio.db, prompts, notice, nullptr);
    editor.setOggi([this] { return clock.now().date(); });
    ASSERT_TRUE(editor.PreparaPerModifica("1"));
    editor.show();
    QLineEdit* prezzo = editor.findChild<QLineEdit*>("TxtCosto");
    prezzo->setText(caso.prezzo);
    emit prezzo->textEdited(caso.prezzo);
    prompts.asked.clear();
    prompts.answers = {caso.risposta};
    QTest::mouseClick(editor.findChild<QPushButton*>("cmdConferma"), Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text,
              "Il prodotto è in offerta fino al 20/03/2024: aggiornare anche il prezzo "
              "dell'offerta?");
    EXPECT_EQ(prompts.asked[0].defaultAnswer, Answer::No);
    // The offer that has ended keeps its price.
    EXPECT_EQ(negozio.righe("Select PrzScnt from Offerte order by DataAL"), caso.prezziOfferte);
  }
}

}  // namespace
}  // namespace listinova
