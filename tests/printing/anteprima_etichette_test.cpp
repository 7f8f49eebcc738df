// "Stampa Front." with and without a printer: the label preview, its "Stampa" and its PDF.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/printers.h"
#include "printing/finestre_etichette.h"
#include "printing/frm_configura_label.h"
#include "printing/frm_preview.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::FakePrompts;
using testing::NegozioDiProva;

QString TestoDelPdf(const QString& file) {
  QProcess pdftotext;
  pdftotext.start("pdftotext", {file, "-"});
  if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0) return {};
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// Clicks a button once the click can open a modal window of its own.
void PiuTardi(QWidget* finestra, const char* pulsante) {
  QTimer::singleShot(0, finestra->findChild<QPushButton*>(pulsante), &QPushButton::click);
}

struct Caso {
  const char* nome;
  QStringList stampanti;
  bool anteprimaDaSola;  // "Stampa Front." opens the preview without "Anteprima Etichette"
  bool conStampa;
};

void PrintTo(const Caso& c, std::ostream* uscita) { *uscita << c.nome; }

class AnteprimaEtichette : public ::testing::TestWithParam<Caso> {};

// What the operator meets in the preview, and the files "Salva PDF" leaves behind: first in a
// folder that does not exist, then in the shop folder under a name typed without ".pdf".
TEST_P(AnteprimaEtichette, StampaFrontOpensThePreviewWhoseSalvaPdfWritesTheLabels) {
  const Caso& c = GetParam();
  NegozioDiProva negozio;
  negozio
      .prodotto({.cod = "1",
                 .descrizione = "Pasta di semola 500 g",
                 .barCode = "8001234000011",
                 .costo = "0,89"})
      .prodotto({.cod = "2",
                 .descrizione = "Olio extravergine d'oliva 1 l",
                 .barCode = "8001234000028",
                 .costo = "7,50"})
      .prodotto({.cod = "3",
                 .descrizione = "Caffè macinato",
                 .barCode = "8001234000035",
                 .costo = "3,20"})
      .setup("STdiSISTEMA", "xFrontalini", c.stampanti.value(0, QStringLiteral("?")))
      .setup("STdiSISTEMA", "Predefinita", c.stampanti.value(0, QStringLiteral("?")));
  platform::FixedPrinters stampanti(c.stampanti);
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
      anteprima->resize(1024, 768);
      const QString schermate = qEnvironmentVariable("LISTINOVA_SCHERMATE");
      if (!schermate.isEmpty())
        anteprima->grab().save(schermate + "/anteprima_etichette_" + c.nome + ".png");
      auto* salva = anteprima->findChild<QPushButton*>("cmdSalvaPdf");
      salva->click();
      salva->click();
      stato = anteprima->stato();
      PiuTardi(anteprima, "cmdChiudi");
    } else if (auto* editor = qobject_cast<FrmConfiguraLabel*>(attiva)) {
      if (anteprimaVista) {
        PiuTardi(editor, "cmdChiudi");
      } else if (!c.anteprimaDaSola && !anteprimaChiesta) {
        anteprimaChiesta = true;
        PiuTardi(editor, "cmdAnteprima");
      }
    }
  });
  passo.start(20);
  finestre.stampaFrontalino(nullptr);
  passo.stop();

  ASSERT_TRUE(anteprimaVista);
  EXPECT_EQ(anteprimaChiesta, !c.anteprimaDaSola);
  EXPECT_EQ(stampaVisibile, c.conStampa);
  EXPECT_EQ(stato, "Pagina: 1 / 1");
  // The missing folder is told in Italian; nothing else was asked.
  ASSERT_EQ(prompts.asked.size(), 1u) << prompts.asked.back().text.toStdString();
  EXPECT_TRUE(prompts.asked[0].text.startsWith("Le etichette non sono state salvate in PDF."));
  EXPECT_TRUE(prompts.asked[0].text.contains("non esiste")) << prompts.asked[0].text.toStdString();
  // Written whole: the PDF alone, no partial file beside it.
  EXPECT_EQ(QDir(cartella).entryList(QDir::Files | QDir::Hidden), QStringList{"etichette.pdf"});
  const QString testo = TestoDelPdf(cartella + "/etichette.pdf");
  for (const char* descrizione :
       {"PASTA DI SEMOLA 500 G", "OLIO EXTRAVERGINE D'OLIV", "CAFFÈ MACINATO"})
    EXPECT_TRUE(testo.contains(QString::fromUtf8(descrizione))) << descrizione << "\n"
                                                                << testo.toStdString();
}

INSTANTIATE_TEST_SUITE_P(, AnteprimaEtichette,
                         ::testing::Values(Caso{"senza_stampante", {}, true, false},
                                           Caso{"con_stampante", {"Zebra"}, false, true}),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace listinova
