// The workbook exports, read back cell by cell.
#include "printing/esportazioni.h"

#include <gtest/gtest.h>

#include <QFile>

#include "platform/workbook_writer.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"
#include "tests/printing/fogli_scritti.h"

namespace listinova {
namespace {

using platform::Answer;
using Righe = std::vector<QStringList>;

const QDate kGiorno(2026, 11, 20);

QString Giorno(int dopo) { return QString::number(QDate(1899, 12, 30).daysTo(kGiorno) + dopo); }

class Esportazioni : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::AttachWorkbookWriter(*a.db, scrittore);
    a.prodotto({"1", "ACQUA", "0001234567895", "Bevande", 1000, "0,50", "0,10", "FONTI", "F-01"})
        .prodotto({"2", "BISCOTTI", "8001234567890", "Dolci", 3, "2,35", "1,15", "ROSSI", "B'7"})
        .prodotto({"3", "CAFFE' MOKA", "8000000000017", "Bar", -2, "4,99", "3,33", "ROSSI"})
        .prodotto({"4", "ZUCCHERO", "80000019", "", 0, "1.234,56", "1000", "BIANCHI"})
        .vendita("8001234567890", 2, kGiorno)
        .vendita("0001234567895", 6, kGiorno.addDays(1))
        .vendita("8001234567890", 1.5, kGiorno.addDays(5));
  }

  testing::NegozioDiProva a;
  platform::XlsxWorkbookWriter scrittore;
};

// The stock in description order with its exact values, and the sales of a period only.
TEST_F(Esportazioni, WorkbooksHoldTheArchivesCells) {
  const QString file = a.file("magazzino.xlsx");
  ScriviCartellaDiLavoro(*a.db, scrittore, file, [&](const QString& accanto) {
    return IstruzioniEsportaMagazzino(accanto, false);
  });
  const auto fogli = testing::FogliScritti(file);
  ASSERT_EQ(fogli.size(), 2u);
  EXPECT_EQ(fogli[0].first, "Foglio1");
  EXPECT_EQ(fogli[1].first, "Foglio2");
  const Righe magazzino = {
      {"BarCode", "CodProdottoFornitore", "Descrizione", "CostoAcquisto", "UnitaMisura",
       QStringLiteral("Quantità"), "PrezzoVendita", "ValoreMAGAZZINO", "ValoreVENDITA", "Fornitore",
       "Genere"},
      {"0001234567895", "F-01", "ACQUA", "0.1", "", "1000", "0.5", "100", "500", "FONTI",
       "Bevande"},
      {"8001234567890", "B'7", "BISCOTTI", "1.15", "", "3", "2.35", "3.45", "7.05", "ROSSI",
       "Dolci"},
      {"8000000000017", "", "CAFFE' MOKA", "3.33", "", "-2", "4.99", "-6.66", "-9.98", "ROSSI",
       "Bar"},
      {"80000019", "", "ZUCCHERO", "1000", "", "0", "1234.56", "0", "0", "BIANCHI"},
  };
  EXPECT_EQ(fogli[0].second, magazzino);
  const Righe totali = {{"ValoreTOTALEMAGAZZINO", "ValoreTotCOMEVENDITA", "DIFFERENZA"},
                        {"96.79", "497.07", "400.28"}};
  EXPECT_EQ(fogli[1].second, totali);

  const struct {
    QDate dal, al;
    Righe righe;
  } casi[] = {
      {kGiorno, kGiorno, {{"BISCOTTI", "8001234567890", "2", Giorno(0)}}},
      {kGiorno,
       kGiorno.addDays(10),
       {{"ACQUA", "0001234567895", "6", Giorno(1)},
        {"BISCOTTI", "8001234567890", "2", Giorno(0)},
        {"BISCOTTI", "8001234567890", "1.5", Giorno(5)}}},
      {kGiorno.addDays(2), kGiorno.addDays(3), {}},
      {kGiorno.addDays(5), kGiorno, {}},  // a last day before the first
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.dal.toString().toStdString() + " " + caso.al.toString().toStdString());
    const QString vendite = a.file("vendite.xlsx");
    QFile::remove(vendite);
    ScriviCartellaDiLavoro(*a.db, scrittore, vendite, [&](const QString& accanto) {
      return QStringList{IstruzioneEsportaVendite(accanto, caso.dal, caso.al)};
    });
    const auto foglio = testing::FogliScritti(vendite);
    ASSERT_EQ(foglio.size(), 1u);
    Righe attese = {{"Descrizione", "EAN", "Qta", "DataModif"}};
    attese.insert(attese.end(), caso.righe.begin(), caso.righe.end());
    EXPECT_EQ(foglio[0].second, attese);
  }
}

// The operator's side of an export: each case a script of answers and what it leaves behind.
TEST_F(Esportazioni, FlowAsksAndTellsAsTheOperatorExpects) {
  struct Caso {
    const char* nome;
    QString creato, nomeScelto;  // [DSNUtente] Creato before; what the save dialog gives
    bool esisteGia;              // a file is already there
    std::vector<Answer> risposte;
    EsitoEsportazione esito;
    QStringList avvisi;
    QString creatoDopo;
    bool scritto;  // the workbook is under the name afterwards
  };
  const QByteArray esistente = "vecchio contenuto";
  // clang-format off
  const Caso casi[] = {
      {"first export", "", "mag", false, {}, EsitoEsportazione::Eseguita,
       {"Operazione Effettuata"}, "Vero", true},
      {"no name", "Vero", "", false, {}, EsitoEsportazione::Annullata,
       {"Esportazione non effettuata! - Nome file non definito"}, "Vero", false},
      {"overwrite refused", "Vero", "mag.xlsx", true, {Answer::No}, EsitoEsportazione::Annullata,
       {"Esportazione non effettuata - Cambiare nome e riprovare"}, "Vero", false},
      {"overwrite accepted", "Vero", "mag.xlsx", true, {Answer::Yes}, EsitoEsportazione::Eseguita,
       {"Operazione Effettuata"}, "Vero", true},
      {"source not made, operator stops", "Falso", "mag", false, {Answer::Ok, Answer::No},
       EsitoEsportazione::Annullata, {}, "Falso", false},
      {"source made by hand", "FALSO", "mag", false, {Answer::Ok, Answer::Yes},
       EsitoEsportazione::Eseguita, {"Operazione Effettuata"}, "Vero", true},
  };
  // clang-format on
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const QString setup = a.cartella.setup();
    QFile::remove(setup);
    if (!caso.creato.isEmpty()) ScriviINI(setup, "DSNUtente", "Creato", caso.creato);
    const QString file = a.file("mag.xlsx");
    QFile::remove(file);
    if (caso.esisteGia) testing::writeAll(file, esistente);
    testing::FakePrompts prompts;
    prompts.answers.assign(caso.risposte.begin(), caso.risposte.end());
    testing::FakeNotice notice;
    const QString scelto = caso.nomeScelto.isEmpty() ? QString() : a.file(caso.nomeScelto);
    AmbienteEsportazione ambiente{
        *a.db, prompts, notice, scrittore, setup, [&](const QString&) { return scelto; }, {}};
    EXPECT_EQ(EsportaMagazzino(ambiente, false), caso.esito);
    EXPECT_EQ(notice.messages, caso.avvisi);
    EXPECT_EQ(LeggiINI(setup, "DSNUtente", "Creato", "?"), caso.creatoDopo);
    EXPECT_TRUE(prompts.answers.empty());
    if (caso.scritto)
      EXPECT_EQ(testing::FogliScritti(file).at(0).second.size(), 5u);
    else if (caso.esisteGia)
      EXPECT_EQ(testing::readAll(file), esistente);
    else
      EXPECT_FALSE(QFile::exists(file));
    // Nothing is left beside the file.
    EXPECT_EQ(QDir(a.cartella.root()).entryList({".*parziale*"}, QDir::Files | QDir::Hidden),
              QStringList{});
  }
}

}  // namespace
}  // namespace listinova
