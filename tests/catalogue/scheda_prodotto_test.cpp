#include "catalogue/scheda_prodotto.h"

#include <gtest/gtest.h>

#include <QFile>
#include <vector>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::db::Database;
using platform::db::Recordset;

const QString kQuantita = QStringLiteral("Quantità");

class SchedaProdottoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globali().PercorsoSetup = cartella.setup();
    Globali().TitoloProgramma = "Listinova";
    db = ApriDatabase(cartella.file("Dati/DbNegozio.mdb"));
    db->execute("UPDATE Reparti SET Descrizione='Bar', Iva=22 WHERE Cod=1");
    db->execute("UPDATE Reparti SET Descrizione='Frigo', Iva=10 WHERE Cod=2");
    db->execute("UPDATE Reparti SET Descrizione='Bar d''Angelo', Iva=4 WHERE Cod=7");
    scheda = std::make_unique<SchedaProdotto>(*db, prompts);
  }
  void TearDown() override { Globali() = VarGlobali{}; }

  void prodotto(const QString& codice, const QString& barCode, const QString& genere = "Bar") {
    db->execute(QString("INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Genere, "
                        "Quantità, Minimo, Costo, Costo2, CodPV, UnitaMisura, Fornitore, "
                        "CodProdottoFornitore, Taglia, Colore, TipoMateriale) VALUES ('%1', "
                        "'CAFFE ARABICA', '%2', '%3', 10, 2, 1.5, 0.9, '22', 'Pz', 'ROSSI', "
                        "'R-77', 'M', 'Nero', '250')")
                    .arg(codice, barCode, genere));
  }

  // A new product that passes every check.
  void compila() {
    scheda->NuovoProdotto();
    scheda->imposta(Campo::TxtDesc, "Latte intero");
    scheda->imposta(Campo::TxtQTA, "3,5");
    scheda->imposta(Campo::TxtMin, "5");
    scheda->imposta(Campo::CboGenere, "1#Bar");
    scheda->imposta(Campo::CboFornitore, "bianchi srl");
    scheda->imposta(Campo::cbTaglie, "L");
    scheda->imposta(Campo::cbColore, "Bianco");
    scheda->imposta(Campo::txtPesoConf, "1,5");
    scheda->imposta(Campo::LbLBarCode, "8001234567897");
    scheda->imposta(Campo::txtCodArtFornitore, "B-12");
    scheda->imposta(Campo::txtRicarico, "50");
    scheda->imposta(Campo::txtAcquisto, "10");
  }

  QString ini(const QString& sezione, const QString& chiave) {
    return LeggiINI(cartella.setup(), sezione, chiave, "?");
  }
  Recordset riga(const QString& codice) {
    return db->openRecordset("select * from Magazzino where CodMateriale='" + codice + "'");
  }
  QStringList testiChiesti() const { return testing::askedTexts(prompts); }

  CartellaDiProva cartella;
  std::unique_ptr<Database> db;
  testing::FakePrompts prompts;
  std::unique_ptr<SchedaProdotto> scheda;
};

// --- price derivations ---

// Each case types into the boxes in order and checks what the scheda derived after each step;
// typing into txtRicaricoCalcolato is the operator's own markup.
TEST_F(SchedaProdottoTest, PriceDerivations) {
  struct Passo {
    Campo campo;
    QString testo;
    std::vector<std::pair<Campo, QString>> dopo = {};
  };
  struct Caso {
    const char* nome;
    std::vector<Passo> passi;
  };
  const Caso casi[] = {
      {"purchase, VAT and wanted markup give the selling price",
       {{Campo::txtIVA, "22"},
        {Campo::txtAcquisto, "10", {{Campo::txtAcquistoConIVA, "12,20"}, {Campo::TxtCosto, ""}}},
        {Campo::txtRicarico, "50", {{Campo::TxtCosto, "18,30"}}}}},
      {"VAT typed after the purchase cost",
       {{Campo::txtAcquisto, "10"},
        {Campo::txtPrezzoPubblico, "15,25"},
        {Campo::txtIVA,
         "22",
         {{Campo::txtAcquistoConIVA, "12,20"}, {Campo::txtRicaricoCalcolato, "25"}}}}},
      {"public price shows the markup unrounded",
       {{Campo::txtIVA, "22"},
        {Campo::txtAcquisto, "10"},
        {Campo::txtPrezzoPubblico, "15,25", {{Campo::txtRicaricoCalcolato, "25"}}},
        {Campo::txtPrezzoPubblico, "15", {{Campo::txtRicaricoCalcolato, "22,95081967213"}}}}},
      // 16,26 on 12,20 is 33,278...%: what the operator typed stays.
      {"typed markup gives the public price and is not rewritten back",
       {{Campo::txtIVA, "22"},
        {Campo::txtAcquisto, "10"},
        {Campo::txtRicaricoCalcolato,
         "33,3",
         {{Campo::txtPrezzoPubblico, "16,26"}, {Campo::txtRicaricoCalcolato, "33,3"}}},
        {Campo::txtRicaricoCalcolato, "", {{Campo::txtPrezzoPubblico, "16,26"}}}}},
      // The full recalculation takes the rate as a whole number, a change of the rate as typed;
      // 0,055 rounds half away from zero.
      {"VAT rate whole, then as typed, rounding half away",
       {{Campo::txtIVA, "21,5"},
        {Campo::txtAcquisto, "10", {{Campo::txtAcquistoConIVA, "12,20"}}},
        {Campo::txtIVA, "21,4", {{Campo::txtAcquistoConIVA, "12,14"}}},
        {Campo::txtIVA, "10"},
        {Campo::txtAcquisto, "0,05", {{Campo::txtAcquistoConIVA, "0,06"}}}}},
      {"chosen department brings its VAT only when none is set",
       {{Campo::txtAcquisto, "10"},
        {Campo::CboGenere, "1#Bar", {{Campo::txtIVA, "22"}, {Campo::txtAcquistoConIVA, "12,20"}}},
        {Campo::CboGenere, "2#Frigo", {{Campo::txtIVA, "22"}}},
        {Campo::txtIVA, "0"},
        {Campo::CboGenere, "7#Bar d'Angelo", {{Campo::txtIVA, "4"}}},
        {Campo::CboGenere, "99#Sconosciuto", {{Campo::txtIVA, "0"}}}}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    scheda->NuovoProdotto();
    for (const Passo& passo : caso.passi) {
      if (passo.campo == Campo::txtRicaricoCalcolato)
        scheda->ricaricoDigitato(passo.testo);
      else
        scheda->imposta(passo.campo, passo.testo);
      for (const auto& [campo, atteso] : passo.dopo)
        EXPECT_EQ(scheda->valore(campo), atteso) << "after " << passo.testo.toStdString();
    }
  }
}

TEST_F(SchedaProdottoTest, WithoutVatThePurchaseCostAsksForItOnceAndGivesNoPrice) {
  scheda->NuovoProdotto();
  // Zero or empty costs recalculate nothing and ask nothing.
  for (const char* acquisto : {"0", "0,00", "", ","}) scheda->imposta(Campo::txtAcquisto, acquisto);
  EXPECT_TRUE(prompts.asked.empty());
  scheda->imposta(Campo::txtRicarico, "50");
  scheda->imposta(Campo::txtAcquisto, "1");
  scheda->imposta(Campo::txtAcquisto, "10");
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "IMPOSTARE ALIQUOTA IVA - Verificare");
  EXPECT_EQ(prompts.asked[0].icon, Icon::Information);
  EXPECT_EQ(prompts.asked[0].title, "Listinova");
  EXPECT_EQ(scheda->valore(Campo::TxtCosto), "");
  EXPECT_EQ(scheda->valore(Campo::txtAcquistoConIVA), "");

  scheda->imposta(Campo::txtIVA, "0");
  scheda->imposta(Campo::txtAcquisto, "12");
  EXPECT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(scheda->valore(Campo::TxtCosto), "");
}

// --- description, units and lists ---

TEST_F(SchedaProdottoTest, DescriptionLosesTheCharactersTheRegistersCannotTake) {
  EXPECT_EQ(SchedaProdotto::PulisciDescrizione("CAFFE' 100%, A/B"), "CAFFE  100. A B");
  EXPECT_EQ(SchedaProdotto::PulisciDescrizione("$%*#^°Vino\\rosso"), "Vino rosso");
  scheda->imposta(Campo::TxtDesc, "Olio 1/2 lt, extra*");
  scheda->pulisciDescrizione();
  EXPECT_EQ(scheda->valore(Campo::TxtDesc), "Olio 1 2 lt. extra");
}

TEST_F(SchedaProdottoTest, UnitsComeFromTheSettingsOrAreWrittenThere) {
  const QStringList usuali = {"Bot", "Pz", "Kg", "gr", "Lt", "Fogli", "Spicchi"};
  EXPECT_EQ(SchedaProdotto::UnitaDiMisura(cartella.setup()), usuali);
  for (int i = 0; i < usuali.size(); ++i)
    EXPECT_EQ(ini("UnitaMisura", QString("Unita%1").arg(i + 1)), usuali[i]);

  // The shop's own list ends at the first absent key.
  const QStringList proprie = {"Pz", "Conf", "Kg", "Hg", "Lt", "Ml", "Mt"};
  for (int i = 0; i < proprie.size(); ++i)
    ScriviINI(cartella.setup(), "UnitaMisura", QString("Unita%1").arg(i + 1), proprie[i]);
  ScriviINI(cartella.setup(), "UnitaMisura", "Unita9", "Sacco");
  EXPECT_EQ(SchedaProdotto::UnitaDiMisura(cartella.setup()), proprie);
  EXPECT_EQ(ini("UnitaMisura", "Unita8"), "?");
}

TEST_F(SchedaProdottoTest, ListsForTheCombos) {
  db->execute("INSERT INTO Taglie (Pos, NomeElemento) VALUES (2, 'L'), (1, 'S')");
  db->execute("INSERT INTO Colori (Pos, NomeElemento) VALUES (1, 'Rosso')");
  prodotto("5", "8001");
  prodotto("6", "8002");
  db->execute("UPDATE Magazzino SET Fornitore='ALFA' WHERE CodMateriale='6'");
  prodotto("7", "8003");
  db->execute("UPDATE Magazzino SET Fornitore='' WHERE CodMateriale='7'");
  const QStringList reparti = scheda->CaricaGeneri();
  ASSERT_EQ(reparti.size(), 40);
  EXPECT_EQ(reparti[0], "1#Bar");
  EXPECT_EQ(reparti[39], "40#Reparto40");
  EXPECT_EQ(scheda->CaricaFornitori(), QStringList({"ALFA", "ROSSI"}));
  EXPECT_EQ(scheda->CaricaTaglie(), QStringList({"S", "L"}));
  EXPECT_EQ(scheda->CaricaColori(), QStringList({"Rosso"}));
}

// --- checks ---

TEST_F(SchedaProdottoTest, EveryRequiredFieldIsChecked) {
  compila();
  prompts.asked.clear();
  EXPECT_EQ(scheda->ControlloCampi(), "Ok");
  EXPECT_EQ(ini("Config", "VerificaCodiceFornitore"), "Falso");
  const std::pair<Campo, const char*> vuoti[] = {
      {Campo::TxtDesc, ""},  {Campo::TxtQTA, ""},     {Campo::txtAcquisto, ""},
      {Campo::txtUm, ""},    {Campo::CboGenere, ""},  {Campo::CboFornitore, ""},
      {Campo::TxtCosto, ""}, {Campo::TxtDesc, "   "}, {Campo::TxtQTA, ","}};
  for (const auto& [obbligatorio, testo] : vuoti) {
    compila();
    scheda->imposta(obbligatorio, testo);
    EXPECT_EQ(scheda->ControlloCampi(), "NOK") << static_cast<int>(obbligatorio) << testo;
  }
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(SchedaProdottoTest, BarcodeOfAnotherProductIsRefusedButAProductsOwnIsNot) {
  const QString gia = "Attenzione codice a barre già presente - Verificare - Impossibile procedere";
  prodotto("5", "8001234567897");
  prodotto("6", "8002");
  compila();
  prompts.asked.clear();
  EXPECT_EQ(scheda->ControlloCampi(), "NOK");
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, gia);
  EXPECT_EQ(prompts.asked[0].icon, Icon::Exclamation);

  ASSERT_TRUE(scheda->PreparaPerModifica("5"));
  prompts.asked.clear();
  EXPECT_EQ(scheda->ControlloCampi(), "Ok");
  scheda->imposta(Campo::LbLBarCode, "8002");
  EXPECT_EQ(scheda->ControlloCampi(), "NOK");
  EXPECT_EQ(testiChiesti(), QStringList({gia}));
}

TEST_F(SchedaProdottoTest, SupplierArticleCodeIsAskedForWhenTheSettingWantsIt) {
  ScriviINI(cartella.setup(), "Config", "VerificaCodiceFornitore", "VERO");
  compila();
  scheda->imposta(Campo::txtCodArtFornitore, "");
  prompts.asked.clear();
  prompts.answers = {Answer::No, Answer::Yes};
  EXPECT_EQ(scheda->ControlloCampi(), "NOK");
  EXPECT_EQ(scheda->ControlloCampi(), "Ok");
  ASSERT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(prompts.asked[0].text, "Codice Articolo del fornitore non inserito - Proseguire cmq?");
  EXPECT_EQ(prompts.asked[0].buttons, Buttons::YesNo);

  scheda->imposta(Campo::txtCodArtFornitore, "B-12");
  EXPECT_EQ(scheda->ControlloCampi(), "Ok");
  EXPECT_EQ(prompts.asked.size(), 2u);
}

// --- save ---

TEST_F(SchedaProdottoTest, NewProductGetsCodeOneOnAnEmptyArchiveWithEveryColumn) {
  compila();
  scheda->imposta(Campo::TxtDesc, "CAFFE' 100%");
  EXPECT_EQ(scheda->SalvaDatiMateriale(), "1");
  EXPECT_EQ(scheda->ultimoCodiceSalvato(), "1");

  Recordset rs = riga("1");
  ASSERT_FALSE(rs.eof());
  EXPECT_EQ(rs.text("Descrizione"), "CAFFE  100");
  EXPECT_DOUBLE_EQ(rs.number(kQuantita), 3.5);
  EXPECT_EQ(rs.integer("Minimo"), 0);
  EXPECT_EQ(rs.money("Costo"), *Money::parse("18,30"));
  EXPECT_EQ(rs.money("Costo2"), *Money::parse("10"));
  EXPECT_EQ(rs.text("UnitaMisura"), "Pz");
  EXPECT_EQ(rs.text("Genere"), "Bar");
  EXPECT_EQ(rs.text("Fornitore"), "BIANCHI SRL");
  EXPECT_EQ(rs.text("Taglia"), "L");
  EXPECT_EQ(rs.text("Colore"), "Bianco");
  EXPECT_EQ(rs.text("TipoMateriale"), "1,5");
  EXPECT_EQ(rs.text("BarCode"), "8001234567897");
  EXPECT_EQ(rs.text("CodPV"), "22");
  EXPECT_EQ(rs.text("CodProdottoFornitore"), "B-12");
  EXPECT_EQ(rs.integer("Eliminato"), 0);
  EXPECT_EQ(rs.integer("Modificato"), -1);
  EXPECT_EQ(rs.text("TipoVariazione"), "F");
  EXPECT_EQ(ini("Config", "SalvaRepartoComeCODICE"), "Falso");
}

TEST_F(SchedaProdottoTest, DepartmentIsStoredAndFoundAsItsCodeWhenTheSettingSaysSo) {
  ScriviINI(cartella.setup(), "Config", "SalvaRepartoComeCODICE", "VERO");
  compila();
  scheda->imposta(Campo::CboGenere, "2#Frigo");
  ASSERT_EQ(scheda->SalvaDatiMateriale(), "1");
  EXPECT_EQ(riga("1").text("Genere"), "2");
  ASSERT_TRUE(scheda->PreparaPerModifica("1"));
  EXPECT_EQ(scheda->valore(Campo::CboGenere), "2#Frigo");
}

TEST_F(SchedaProdottoTest, EditShowsTheStoredProduct) {
  EXPECT_FALSE(scheda->PreparaPerModifica("999"));
  EXPECT_FALSE(scheda->inModifica());
  prodotto("5", "8001");
  db->execute("UPDATE Magazzino SET Costo=15.25, Costo2=10, CodPV=NULL WHERE CodMateriale='5'");
  ASSERT_TRUE(scheda->PreparaPerModifica("5"));
  EXPECT_TRUE(scheda->inModifica());
  EXPECT_EQ(scheda->valore(Campo::AppCodeModifica), "5");
  EXPECT_EQ(scheda->valore(Campo::TxtDesc), "CAFFE ARABICA");
  EXPECT_EQ(scheda->valore(Campo::TxtQTA), "10");
  EXPECT_EQ(scheda->valore(Campo::TxtMin), "2");
  EXPECT_EQ(scheda->valore(Campo::txtUm), "Pz");
  EXPECT_EQ(scheda->valore(Campo::TxtCosto), "15,25");
  EXPECT_EQ(scheda->valore(Campo::txtPrezzoPubblico), "15,25");
  EXPECT_EQ(scheda->valore(Campo::cbTaglie), "M");
  EXPECT_EQ(scheda->valore(Campo::cbColore), "Nero");
  EXPECT_EQ(scheda->valore(Campo::cbMateriale), "250");
  EXPECT_EQ(scheda->valore(Campo::txtPesoConf), "250");
  EXPECT_EQ(scheda->valore(Campo::LbLBarCode), "8001");
  EXPECT_EQ(scheda->valore(Campo::txtCodArtFornitore), "R-77");
  EXPECT_EQ(scheda->valore(Campo::CboGenere), "1#Bar");
  EXPECT_EQ(scheda->valore(Campo::CboFornitore), "ROSSI");
  EXPECT_EQ(scheda->valore(Campo::txtAcquisto), "10,00");
  // No stored rate: "0", then the department's 22 %.
  EXPECT_EQ(scheda->valore(Campo::txtIVA), "22");
  EXPECT_EQ(scheda->valore(Campo::txtAcquistoConIVA), "12,20");
  EXPECT_EQ(scheda->valore(Campo::txtRicaricoCalcolato), "25");
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(SchedaProdottoTest, SavedEditRewritesTheSameRow) {
  prodotto("5", "8001");
  db->execute("UPDATE Magazzino SET Modificato=0, TipoVariazione='' WHERE CodMateriale='5'");
  ASSERT_TRUE(scheda->PreparaPerModifica("5"));
  scheda->imposta(Campo::TxtQTA, "7");
  scheda->imposta(Campo::CboFornitore, "verdi");
  scheda->imposta(Campo::CboGenere, "2#Frigo");
  scheda->imposta(Campo::txtIVA, "");  // an empty rate leaves the stored one alone
  ASSERT_EQ(scheda->ControlloCampi(), "Ok");
  ASSERT_EQ(scheda->SalvaDatiMateriale(), "5");

  EXPECT_EQ(db->openRecordset("select * from Magazzino").recordCount(), 1);
  Recordset rs = riga("5");
  EXPECT_DOUBLE_EQ(rs.number(kQuantita), 7);
  EXPECT_EQ(rs.text("Fornitore"), "VERDI");
  EXPECT_EQ(rs.text("Genere"), "Frigo");
  EXPECT_EQ(rs.text("BarCode"), "8001");
  EXPECT_EQ(rs.text("TipoMateriale"), "250");
  EXPECT_EQ(rs.text("CodPV"), "22");
  EXPECT_EQ(rs.integer("Minimo"), 0);
  EXPECT_EQ(rs.integer("Modificato"), -1);
  EXPECT_EQ(rs.text("TipoVariazione"), "F");
  EXPECT_EQ(scheda->ultimoCodiceSalvato(), "5");
}

// --- additional barcodes ---

TEST_F(SchedaProdottoTest, AdditionalBarcodesNeedAMainBarcodeAndASavedProduct) {
  compila();
  scheda->imposta(Campo::LbLBarCode, "");
  prompts.asked.clear();
  EXPECT_FALSE(scheda->ApriBarCodeAlternativi());
  scheda->imposta(Campo::LbLBarCode, "8001");
  EXPECT_FALSE(scheda->ApriBarCodeAlternativi());
  EXPECT_EQ(testiChiesti(), QStringList({"Immettere un Codice a Barre del prodotto nella relativa "
                                         "casella rossa prima di proseguire",
                                         "Confermare prima i dati inseriti"}));
  EXPECT_FALSE(scheda->elencoAperto());
}

class BarCodeUlterioriTest : public SchedaProdottoTest {
 protected:
  void SetUp() override {
    SchedaProdottoTest::SetUp();
    prodotto("5", "8001");
    prodotto("6", "8002");
    db->execute(
        "INSERT INTO BarCodeUlteriori (CodProd, BarCode, CodPerTabProd, Inviato) VALUES "
        "('5', '111', '5', -1), ('6', '666', '6', -1)");
    ASSERT_TRUE(scheda->PreparaPerModifica("5"));
  }
  QStringList registrati(const QString& codice) {
    QStringList barCode;
    for (Recordset rs = db->openRecordset("select * from BarCodeUlteriori where CodProd='" +
                                          codice + "' order by BarCode");
         !rs.eof(); rs.moveNext()) {
      EXPECT_EQ(rs.text("CodPerTabProd"), codice);
      EXPECT_EQ(rs.integer("Inviato"), codice == "6" ? -1 : 0);
      barCode.append(rs.text("BarCode"));
    }
    return barCode;
  }
};

TEST_F(BarCodeUlterioriTest, MainConfirmationRegistersTheEntries) {
  EXPECT_EQ(scheda->barCodeUlteriori(), QStringList({"111"}));
  EXPECT_FALSE(scheda->elencoAperto());
  // Saving without the panel leaves them alone.
  db->execute("UPDATE BarCodeUlteriori SET Inviato=0 WHERE CodProd='5'");
  ASSERT_EQ(scheda->SalvaDatiMateriale(), "5");
  EXPECT_EQ(registrati("5"), QStringList({"111"}));
  ASSERT_TRUE(scheda->ApriBarCodeAlternativi());
  scheda->setBarCodeUlteriori({"", "222", " 333 ", "222"});
  ASSERT_EQ(scheda->ControlloCampi(), "Ok");
  ASSERT_EQ(scheda->SalvaDatiMateriale(), "5");
  EXPECT_EQ(registrati("5"), QStringList({"222", "333"}));
  EXPECT_EQ(registrati("6"), QStringList({"666"}));
  prompts.asked.clear();
  scheda->ChiudiBarCodeAlternativi();
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(BarCodeUlterioriTest, ClosedPanelKeepsUnconfirmedEntriesForTheMainConfirmation) {
  ASSERT_TRUE(scheda->ApriBarCodeAlternativi());
  scheda->setBarCodeUlteriori({"111", "444"});
  prompts.asked.clear();
  scheda->ChiudiBarCodeAlternativi();
  EXPECT_EQ(testiChiesti(), QStringList({"Premere il Conferma principale per registrare i codici "
                                         "a barre, Annulla per scartarli"}));
  EXPECT_FALSE(scheda->elencoAperto());
  EXPECT_TRUE(scheda->barCodeInSospeso());
  EXPECT_EQ(db->openRecordset("select * from BarCodeUlteriori where CodProd='5'").recordCount(), 1)
      << "nothing is written before Conferma";

  // Opening the panel again shows them, still pending.
  ASSERT_TRUE(scheda->ApriBarCodeAlternativi());
  EXPECT_EQ(scheda->barCodeUlteriori(), QStringList({"111", "444"}));
  scheda->ChiudiBarCodeAlternativi();

  // A code of another product among them is refused even with the panel closed.
  scheda->setBarCodeUlteriori({"111", "666"});
  EXPECT_EQ(scheda->ControlloCampi(), "NOK");
  scheda->setBarCodeUlteriori({"111", "444"});
  ASSERT_EQ(scheda->ControlloCampi(), "Ok");
  db->execute("UPDATE BarCodeUlteriori SET Inviato=0 WHERE CodProd='5'");
  ASSERT_EQ(scheda->SalvaDatiMateriale(), "5");
  EXPECT_EQ(registrati("5"), QStringList({"111", "444"}));
  EXPECT_FALSE(scheda->barCodeInSospeso());

  // Discarded entries are not saved.
  ASSERT_TRUE(scheda->ApriBarCodeAlternativi());
  scheda->setBarCodeUlteriori({"555"});
  scheda->ChiudiBarCodeAlternativi();
  scheda->ScartaBarCodeInSospeso();
  EXPECT_EQ(scheda->barCodeUlteriori(), QStringList({"111", "444"}));
  db->execute("UPDATE BarCodeUlteriori SET Inviato=0 WHERE CodProd='5'");
  ASSERT_EQ(scheda->SalvaDatiMateriale(), "5");
  EXPECT_EQ(registrati("5"), QStringList({"111", "444"}));
}

TEST_F(BarCodeUlterioriTest, AnotherProductsCodeIsRefused) {
  ASSERT_TRUE(scheda->ApriBarCodeAlternativi());
  for (const char* altrui : {"8002", "666"}) {
    scheda->setBarCodeUlteriori({"222", altrui});
    prompts.asked.clear();
    EXPECT_EQ(scheda->ControlloCampi(), "NOK") << altrui;
    EXPECT_EQ(testiChiesti(), QStringList({"Attenzione codice a barre già presente - Verificare - "
                                           "Impossibile procedere"}));
  }
  scheda->setBarCodeUlteriori({"8001", "111"});
  EXPECT_EQ(scheda->ControlloCampi(), "Ok");
}

TEST_F(BarCodeUlterioriTest, RegistrationWithoutACodeDoesNothing) {
  ASSERT_TRUE(scheda->ApriBarCodeAlternativi());
  scheda->setBarCodeUlteriori({});
  scheda->RegistraBarCodeAlternativi("");
  EXPECT_EQ(db->openRecordset("select * from BarCodeUlteriori").recordCount(), 2);
  scheda->RegistraBarCodeAlternativi("5");
  EXPECT_EQ(registrati("5"), QStringList());
}

TEST_F(SchedaProdottoTest, StoreFailuresAreLoggedAndNothingIsSaved) {
  testing::FakeClock orologio;
  const ErrorLog log(cartella.root(), orologio);
  installaErrorLog(&log);
  compila();
  db->execute("DROP VIEW prodotti");
  db->execute("DROP TABLE Magazzino");
  EXPECT_EQ(scheda->ControlloCampi(), "NOK");
  EXPECT_EQ(scheda->SalvaDatiMateriale(), "");
  EXPECT_EQ(scheda->ultimoCodiceSalvato(), "");
  EXPECT_FALSE(scheda->PreparaPerModifica("5"));
  installaErrorLog(nullptr);

  const QString righe = QString::fromUtf8(testing::readAll(log.percorsoLog()));
  EXPECT_TRUE(righe.contains("*-AggiungiMateriale-ControlloCampi-]"));
  EXPECT_TRUE(righe.contains("*-AggiungiMateriale-SalvaDatiMateriale-]"));
  EXPECT_TRUE(righe.contains("*-AggiungiMateriale-PreparaPerModifica-]"));
}

}  // namespace
}  // namespace listinova
