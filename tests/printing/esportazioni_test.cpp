// The workbook exports, read back with an independent .xlsx reader.
#include "printing/esportazioni.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cmath>

#include "platform/workbook_writer.h"
#include "printing/lettore_xlsx.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using testing::CellaXlsx;
using testing::FoglioXlsx;

const QDate kGiorno(2026, 11, 20);

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

  std::vector<FoglioXlsx> leggi(const QString& file) {
    auto fogli = testing::LeggiXlsx(file);
    EXPECT_TRUE(fogli.has_value()) << file.toStdString();
    return fogli.value_or(std::vector<FoglioXlsx>{});
  }

  static QStringList testi(const std::vector<CellaXlsx>& riga) {
    QStringList t;
    for (const auto& c : riga) t << c.testo;
    return t;
  }

  testing::NegozioDiProva a;
  platform::XlsxWorkbookWriter scrittore;
};

TEST_F(Esportazioni, StockWorkbookHasBothSheetsWithExactCells) {
  const QString file = a.file("magazzino.xlsx");
  ScriviCartellaDiLavoro(*a.db, scrittore, file, [&](const QString& accanto) {
    return IstruzioniEsportaMagazzino(accanto, false);
  });
  const auto fogli = leggi(file);
  ASSERT_EQ(fogli.size(), 2u);
  EXPECT_EQ(fogli[0].nome, "Foglio1");
  EXPECT_EQ(fogli[1].nome, "Foglio2");
  const auto& righe = fogli[0].righe;
  ASSERT_EQ(righe.size(), 5u);
  EXPECT_EQ(testi(righe[0]),
            (QStringList{"BarCode", "CodProdottoFornitore", "Descrizione", "CostoAcquisto",
                         "UnitaMisura", QStringLiteral("Quantità"), "PrezzoVendita",
                         "ValoreMAGAZZINO", "ValoreVENDITA", "Fornitore", "Genere"}));
  // Ordered by description.
  const QStringList attese = {"ACQUA", "BISCOTTI", "CAFFE' MOKA", "ZUCCHERO"};
  double somma[2] = {0, 0};
  for (size_t r = 1; r < righe.size(); ++r) {
    const auto& riga = righe[r];
    EXPECT_EQ(riga[2].testo, attese[int(r) - 1]);
    EXPECT_EQ(riga[0].tipo, CellaXlsx::Tipo::Testo);
    for (int c : {3, 5, 6, 7, 8}) EXPECT_EQ(riga[c].tipo, CellaXlsx::Tipo::Numero) << c;
    for (int c : {3, 6, 7, 8}) EXPECT_EQ(riga[c].formato, "#,##0.00") << c;
    somma[0] += riga[7].numero;
    somma[1] += riga[8].numero;
  }
  EXPECT_EQ(righe[1][0].testo, "0001234567895");  // leading zeros kept
  EXPECT_EQ(righe[1][1].testo, "F-01");
  EXPECT_EQ(righe[1][7].numero, 100.0);  // 1000 x 0,10 exactly
  EXPECT_EQ(righe[1][8].numero, 500.0);
  EXPECT_EQ(righe[2][7].numero, 3.45);
  EXPECT_EQ(righe[3][8].numero, -9.98);
  EXPECT_EQ(righe[4][6].numero, 1234.56);
  EXPECT_EQ(righe[4][10].tipo, CellaXlsx::Tipo::Vuota);
  const auto& totali = fogli[1].righe;
  ASSERT_EQ(totali.size(), 2u);
  EXPECT_EQ(testi(totali[0]),
            (QStringList{"ValoreTOTALEMAGAZZINO", "ValoreTotCOMEVENDITA", "DIFFERENZA"}));
  EXPECT_EQ(totali[1][0].numero, 96.79);
  EXPECT_EQ(totali[1][1].numero, 497.07);
  EXPECT_EQ(totali[1][2].numero, 400.28);
  EXPECT_NEAR(totali[1][0].numero, somma[0], 1e-9);
  EXPECT_NEAR(totali[1][1].numero, somma[1], 1e-9);
}

// Only the period's sales, in description order; dates are spreadsheet day numbers.
TEST_F(Esportazioni, SalesWorkbookHoldsThePeriodOnly) {
  struct Caso {
    QDate dal, al;
    QStringList ean;  // in description order
  };
  const Caso casi[] = {
      {kGiorno, kGiorno, {"8001234567890"}},
      {kGiorno, kGiorno.addDays(10), {"0001234567895", "8001234567890", "8001234567890"}},
      {kGiorno.addDays(2), kGiorno.addDays(3), {}},
      // A last day before the first: an empty sheet, header only.
      {kGiorno.addDays(5), kGiorno, {}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.dal.toString().toStdString() + " " + caso.al.toString().toStdString());
    const QString file = a.file("vendite.xlsx");
    QFile::remove(file);
    ScriviCartellaDiLavoro(*a.db, scrittore, file, [&](const QString& accanto) {
      return QStringList{IstruzioneEsportaVendite(accanto, caso.dal, caso.al)};
    });
    const auto fogli = leggi(file);
    ASSERT_EQ(fogli.size(), 1u);
    const auto& righe = fogli[0].righe;
    ASSERT_EQ(righe.size(), size_t(caso.ean.size()) + 1);
    EXPECT_EQ(testi(righe[0]), (QStringList{"Descrizione", "EAN", "Qta", "DataModif"}));
    for (int r = 0; r < caso.ean.size(); ++r) {
      EXPECT_EQ(righe[r + 1][1].testo, caso.ean[r]);
      EXPECT_TRUE(righe[r + 1][3].data());
    }
    if (caso.dal == caso.al) {
      EXPECT_EQ(righe[1][3].numero, QDate(1899, 12, 30).daysTo(kGiorno));
      EXPECT_EQ(righe[1][2].numero, 2.0);
      EXPECT_EQ(righe[1][0].testo, "BISCOTTI");
    }
  }
}

// The operator's side of an export: each case a script of answers and what it leaves behind.
TEST_F(Esportazioni, FlowAsksAndTellsAsTheOperatorExpects) {
  struct Caso {
    const char* nome;
    QString creato;      // [DSNUtente] Creato before the export
    QString nomeScelto;  // what the save dialog gives
    bool esisteGia;      // a file is already there
    std::vector<Answer> risposte;
    EsitoEsportazione esito;
    QStringList avvisi;
    QString creatoDopo;
    bool scritto;  // the workbook is under the name afterwards
  };
  const QString esistente = "vecchio contenuto";
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
    if (caso.esisteGia) testing::writeAll(file, esistente.toUtf8());
    testing::FakePrompts prompts;
    prompts.answers.assign(caso.risposte.begin(), caso.risposte.end());
    testing::FakeNotice notice;
    QStringList titoli;
    const QString scelto = caso.nomeScelto.isEmpty() ? QString() : a.file(caso.nomeScelto);
    AmbienteEsportazione ambiente{*a.db,
                                  prompts,
                                  notice,
                                  scrittore,
                                  setup,
                                  [&](const QString& titolo) {
                                    titoli << titolo;
                                    return scelto;
                                  },
                                  {}};
    EXPECT_EQ(EsportaMagazzino(ambiente, false), caso.esito);
    EXPECT_EQ(notice.messages, caso.avvisi);
    EXPECT_EQ(LeggiINI(setup, "DSNUtente", "Creato", "?"), caso.creatoDopo);
    EXPECT_TRUE(prompts.answers.empty());
    if (caso.scritto) {
      EXPECT_EQ(titoli, QStringList{"Salva il file del MAGAZZINO"});
      const auto fogli = leggi(file);
      ASSERT_EQ(fogli.size(), 2u);
      EXPECT_EQ(fogli[0].righe.size(), 5u);
    } else if (caso.esisteGia) {
      EXPECT_EQ(testing::readAll(file), esistente.toUtf8());
    } else {
      EXPECT_FALSE(QFile::exists(file));
    }
    // Nothing is left beside the file.
    EXPECT_EQ(QDir(a.cartella.root()).entryList({".*parziale*"}, QDir::Files | QDir::Hidden),
              QStringList{});
  }
}

}  // namespace
}  // namespace listinova
