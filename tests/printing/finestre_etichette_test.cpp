// The label editor, the preview and the print options as the user works them, and "Stampa
// Front." with and without a printer: its preview, its "Stampa" and its PDF.
#include "printing/finestre_etichette.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include "printing/frm_configura_label.h"
#include "printing/frm_preview.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tests/printing/superficie_di_prova.h"

namespace listinova {
namespace {

using testing::FakePrompts;

void Invia(QWidget* w, QEvent::Type tipo, QPoint dove) {
  QMouseEvent e(tipo, QPointF(dove), w->mapToGlobal(QPointF(dove)), Qt::LeftButton,
                tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Presses at `presa` inside the element and lets go `spostamento` pixels away.
void Trascina(QWidget* w, QPoint presa, QPoint spostamento) {
  Invia(w, QEvent::MouseButtonPress, presa);
  Invia(w, QEvent::MouseMove, presa + spostamento / 2);
  Invia(w, QEvent::MouseButtonRelease, presa + spostamento - spostamento / 2);
}

class FinestreEtichetteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 25 products, the first ten changed; product 25's code has a wrong last digit.
    for (int i = 1; i <= 25; ++i)
      negozio.prodotto({.cod = QString::number(i),
                        .descrizione = QString("Articolo %1").arg(i, 2, 10, QChar('0')),
                        .barCode = QString("800000000%1").arg(1000 + i),
                        .costo = QString::number(i),
                        .modificato = i <= 10});
  }

  std::unique_ptr<FrmConfiguraLabel> editor() {
    AmbienteEditorEtichette a{*negozio.db,
                              negozio.cartella.setup(),
                              negozio.cartella.root(),
                              prompts,
                              foglio,
                              [] { return QString("Zebra"); },
                              [] { return FiltriEtichette{}; },
                              [](EasyPrint&) {},
                              [this](const CarattereEtichetta&) {
                                ++dialoghi;
                                return scelta ? std::optional(*scelta) : std::nullopt;
                              }};
    return std::make_unique<FrmConfiguraLabel>(a);
  }
  QString ini(const char* chiave) {
    return LeggiINI(negozio.cartella.setup(), "Etichetta", chiave, "?");
  }

  testing::NegozioDiProva negozio;
  FakePrompts prompts;
  testing::DispositivoDiProva foglio;
  int dialoghi = 0;
  std::optional<CarattereEtichetta> scelta;
};

// A new shop prints bars and the changed products; the switches write their keys; dragged
// elements, chosen fonts and colours come back after saving.
TEST_F(FinestreEtichetteTest, SwitchesDraggedElementsAndChosenFontsComeBackAfterSaving) {
  auto e = editor();
  EXPECT_EQ(ini("VediBARCODE"), "Vero");
  EXPECT_EQ(ini("SelezioneStandard"), "Falso");
  EXPECT_EQ(e->motore().LabelCopies(), 10);
  e->findChild<QCheckBox*>("chkVediBarcode")->setChecked(false);
  e->findChild<QCheckBox*>("chkCodFornitoreEAN8")->setChecked(true);
  EXPECT_EQ(ini("VediBARCODE"), "Falso");
  EXPECT_EQ(ini("ConvertiCodFornitoreInEAN8"), "Vero");
  EXPECT_FALSE(e->motore().opzioniCodice().vediBarcode);
  EXPECT_TRUE(e->motore().opzioniCodice().convertiInEAN);

  QWidget* descrizione = e->elemento(kDescrizione);
  QWidget* logo = e->elemento(5);
  const QPoint prima = descrizione->pos();
  e->findChild<QCheckBox*>("chkAllowDragging")->setChecked(true);
  Trascina(descrizione, {3, 3}, {40, 20});
  Trascina(logo, {10, 10}, {-30, 5});
  EXPECT_EQ(descrizione->pos(), prima + QPoint(40, 20));
  Trascina(e->elemento(kPrezzo), {5, 5}, {90, -10});

  scelta = CarattereEtichetta{"DejaVu Serif", 13.5, true, true, true, false, 0x0000ff};
  Invia(e->elemento(kPrezzo), QEvent::MouseButtonDblClick, {2, 2});
  scelta.reset();
  Invia(e->elemento(kPrezzoAlKg), QEvent::MouseButtonDblClick, {2, 2});  // cancelled
  EXPECT_EQ(dialoghi, 2);
  e->findChild<QLineEdit*>("txtNumCol")->setText("4");
  e->findChild<QPushButton*>("cmdSalva")->click();
  e->findChild<QPushButton*>("cmdChiudi")->click();

  auto rs = negozio.db->openRecordset("Select * from FormatoEtichetta");
  EXPECT_EQ(rs.number("XCodFornitura"), descrizione->y() * 15.0);
  EXPECT_EQ(rs.number("YCodFornitura"), descrizione->x() * 15.0);
  EXPECT_EQ(rs.number("YPicture"), logo->x() * 15.0);
  EXPECT_EQ(rs.integer("NumCol"), 4);
  EXPECT_EQ(rs.integer("ColorC"), 255);

  auto riaperto = editor();
  for (int i = 0; i <= kElementiTesto; ++i)
    EXPECT_EQ(riaperto->elemento(i)->pos(), e->elemento(i)->pos()) << i;
  const auto& prezzo = riaperto->layout().testi[kPrezzo].carattere;
  EXPECT_EQ(std::tuple(prezzo.nome, prezzo.punti, prezzo.colore),
            std::tuple(QString("DejaVu Serif"), 13.5, 0x0000ffu));
  EXPECT_TRUE(prezzo.corsivo && prezzo.sottolineato && prezzo.grassetto);
  EXPECT_EQ(riaperto->layout().testi[kPrezzoAlKg].carattere.nome, "Arial");
  EXPECT_EQ(riaperto->findChild<QLineEdit*>("txtNumCol")->text(), "4");
}

// The preview's pages hold their products; a single label goes to its cell; page 2 printed
// alone carries the 25th, whose wrong check digit prints no bars and is listed.
TEST_F(FinestreEtichetteTest, PreviewPagesKeepTheirProducts) {
  negozio.setup("Etichetta", "SelezioneStandard", "Vero").setup("Etichetta", "VediBARCODE", "Vero");
  auto e = editor();
  EasyPrint& motore = e->motore();
  EXPECT_EQ(motore.LabelCopies(), 25);
  FrmPreview anteprima(motore, prompts, {});
  EXPECT_EQ(anteprima.stato(), "Pagina: 1 / 2");
  anteprima.findChild<QPushButton*>("cmdSucc")->click();
  EXPECT_EQ(anteprima.stato(), "Pagina: 2 / 2");

  // The fifth cell: second row, second column, with the editor's captions.
  ASSERT_TRUE(motore.PrintDoc(1, 1, 5));
  ASSERT_EQ(foglio.ultima->testi.size(), 5u);
  EXPECT_EQ(foglio.ultima->testi[1].area.topLeft(),
            motore.cella(1, 1).topLeft() + QPointF(110, 520));
  EXPECT_EQ(foglio.ultima->testi[1].testo, "DES");
  ASSERT_TRUE(motore.PrintDoc(1, 9, 0));
  EXPECT_EQ(foglio.ultima->pagina, 2);
  ASSERT_TRUE(motore.PrintDoc(2, 2, 0));
  EXPECT_TRUE(foglio.ultima->testiDi(1).contains("ARTICOLO 25"));
  EXPECT_FALSE(foglio.ultima->testiDi(1).contains("ARTICOLO 24"));
  EXPECT_TRUE(foglio.ultima->codici.empty());
  EXPECT_TRUE(motore.avvisi().join("\n").contains("8000000001025 ARTICOLO 25"));
}

// What the operator meets in the preview of "Stampa Front.", and the files "Salva PDF" leaves
// behind: first in a folder that does not exist, then in the shop folder under a name typed
// without ".pdf". Without a printer the preview opens by itself and has no "Stampa".
TEST(StampaFront, OpensThePreviewWhoseSalvaPdfWritesTheLabels) {
  for (const QStringList& installate : {QStringList{}, QStringList{"Zebra"}}) {
    const bool conStampante = !installate.isEmpty();
    SCOPED_TRACE(conStampante);
    testing::NegozioDiProva negozio;
    negozio.prodotto({"1", "Pasta di semola 500 g", "8001234000011", "1", 5, "0,89"})
        .prodotto({"2", "Olio extravergine d'oliva 1 l", "8001234000028", "1", 5, "7,50"})
        .prodotto({"3", "Caffè macinato", "8001234000035", "1", 5, "3,20"})
        .setup("STdiSISTEMA", "xFrontalini", installate.value(0, "?"))
        .setup("STdiSISTEMA", "Predefinita", installate.value(0, "?"));
    platform::FixedPrinters stampanti(installate);
    FakePrompts prompts;
    const QString cartella = negozio.file("Stampe");
    QDir().mkpath(cartella);
    QStringList risposte = {negozio.file("Manca/etichette.pdf"), cartella + "/etichette"};
    FinestreEtichette finestre(
        *negozio.db, prompts, stampanti, [] { return FiltriEtichette{}; },
        [&](QWidget*) { return risposte.takeFirst(); });

    bool anteprimaChiesta = false, anteprimaVista = false, stampaVisibile = false;
    QString stato;
    QElapsedTimer tempo;
    tempo.start();
    // Clicks a button once the click can open a modal window of its own.
    const auto piuTardi = [](QWidget* finestra, const char* pulsante) {
      QTimer::singleShot(0, finestra->findChild<QPushButton*>(pulsante), &QPushButton::click);
    };
    QTimer passo;
    QObject::connect(&passo, &QTimer::timeout, [&] {
      QWidget* attiva = QApplication::activeModalWidget();
      if (tempo.elapsed() > 20000) {  // a window the test does not know: leave, and fail below
        if (attiva) static_cast<QDialog*>(attiva)->reject();
        return;
      }
      if (auto* anteprima = qobject_cast<FrmPreview*>(attiva); anteprima && !anteprimaVista) {
        anteprimaVista = true;
        stampaVisibile = anteprima->findChild<QPushButton*>("cmdStampa")->isVisible();
        auto* salva = anteprima->findChild<QPushButton*>("cmdSalvaPdf");
        salva->click();
        salva->click();
        stato = anteprima->stato();
        piuTardi(anteprima, "cmdChiudi");
      } else if (auto* editor = qobject_cast<FrmConfiguraLabel*>(attiva)) {
        if (anteprimaVista) {
          piuTardi(editor, "cmdChiudi");
        } else if (conStampante && !anteprimaChiesta) {
          anteprimaChiesta = true;
          piuTardi(editor, "cmdAnteprima");
        }
      }
    });
    passo.start(20);
    finestre.stampaFrontalino(nullptr);
    passo.stop();

    ASSERT_TRUE(anteprimaVista);
    EXPECT_EQ(anteprimaChiesta, conStampante);
    EXPECT_EQ(stampaVisibile, conStampante);
    EXPECT_EQ(stato, "Pagina: 1 / 1");
    // The missing folder is told in Italian; nothing else was asked.
    ASSERT_EQ(prompts.asked.size(), 1u) << prompts.asked.back().text.toStdString();
    EXPECT_TRUE(prompts.asked[0].text.startsWith("Le etichette non sono state salvate in PDF."));
    EXPECT_TRUE(prompts.asked[0].text.contains("non esiste"));
    // Written whole: the PDF alone, no partial file beside it.
    EXPECT_EQ(QDir(cartella).entryList(QDir::Files | QDir::Hidden), QStringList{"etichette.pdf"});
    QProcess pdftotext;
    pdftotext.start("pdftotext", {cartella + "/etichette.pdf", "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString testo = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char* descrizione :
         {"PASTA DI SEMOLA 500 G", "OLIO EXTRAVERGINE D'OLIV", "CAFFÈ MACINATO"})
      EXPECT_TRUE(testo.contains(QString::fromUtf8(descrizione))) << testo.toStdString();
  }
}

}  // namespace
}  // namespace listinova
