#include "catalogue/scheda_prodotto.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "catalogue/modulo_ean.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;
using enum Campo;

class SchedaProdottoTest : public ::testing::Test {
 protected:
  SchedaProdottoTest() {
    negozio.reparto(1, "Bar", 22).reparto(2, "Frigo", 10).reparto(7, "Bar d'Angelo", 4);
  }

  void prodotto(const QString& cod, const QString& barCode) {
    negozio.prodotto({.cod = cod,
                      .descrizione = "CAFFE ARABICA",
                      .barCode = barCode,
                      .genere = "Bar",
                      .quantita = 10,
                      .costo = "15,25",
                      .costo2 = "10",
                      .fornitore = "ROSSI",
                      .codFornitore = "R-77",
                      .unitaMisura = "Pz"});
    negozio.sqlite(
        "UPDATE Magazzino SET Minimo=2, Taglia='M', Colore='Nero', "
        "TipoMateriale='250' WHERE CodMateriale='" +
        cod + "'");
  }

  // A new product that passes every check.
  void compila() {
    scheda.NuovoProdotto();
    for (const auto& [campo, testo] : {std::pair{TxtDesc, "Latte intero"},
                                       {TxtQTA, "3,5"},
                                       {TxtMin, "5"},
                                       {CboGenere, "1#Bar"},
                                       {CboFornitore, "bianchi srl"},
                                       {cbTaglie, "L"},
                                       {cbColore, "Bianco"},
                                       {txtPesoConf, "1,5"},
                                       {LbLBarCode, "8001234567897"},
                                       {txtCodArtFornitore, "B-12"},
                                       {txtRicarico, "50"},
                                       {txtAcquisto, "10"}})
      scheda.imposta(campo, testo);
  }

  QStringList testiChiesti() const { return testing::askedTexts(prompts); }

  testing::NegozioDiProva negozio;
  testing::FakePrompts prompts;
  SchedaProdotto scheda{*negozio.db, prompts};
};

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
       {{txtIVA, "22"},
        {txtAcquisto, "10", {{txtAcquistoConIVA, "12,20"}, {TxtCosto, ""}}},
        {txtRicarico, "50", {{TxtCosto, "18,30"}}}}},
      {"VAT typed after the purchase cost",
       {{txtAcquisto, "10"},
        {txtPrezzoPubblico, "15,25"},
        {txtIVA, "22", {{txtAcquistoConIVA, "12,20"}, {txtRicaricoCalcolato, "25"}}}}},
      {"public price shows the markup unrounded",
       {{txtIVA, "22"},
        {txtAcquisto, "10"},
        {txtPrezzoPubblico, "15,25", {{txtRicaricoCalcolato, "25"}}},
        {txtPrezzoPubblico, "15", {{txtRicaricoCalcolato, "22,95081967213"}}}}},
      // 16,26 on 12,20 is 33,278...%: what the operator typed stays.
      {"typed markup gives the public price and is not rewritten back",
       {{txtIVA, "22"},
        {txtAcquisto, "10"},
        {txtRicaricoCalcolato,
         "33,3",
         {{txtPrezzoPubblico, "16,26"}, {txtRicaricoCalcolato, "33,3"}}},
        {txtRicaricoCalcolato, "", {{txtPrezzoPubblico, "16,26"}}}}},
      // The full recalculation takes the rate as a whole number, a change of the rate as typed;
      // 0,055 rounds half away from zero.
      {"VAT rate whole, then as typed, rounding half away",
       {{txtIVA, "21,5"},
        {txtAcquisto, "10", {{txtAcquistoConIVA, "12,20"}}},
        {txtIVA, "21,4", {{txtAcquistoConIVA, "12,14"}}},
        {txtIVA, "10"},
        {txtAcquisto, "0,05", {{txtAcquistoConIVA, "0,06"}}}}},
      {"chosen department brings its VAT only when none is set",
       {{txtAcquisto, "10"},
        {CboGenere, "1#Bar", {{txtIVA, "22"}, {txtAcquistoConIVA, "12,20"}}},
        {CboGenere, "2#Frigo", {{txtIVA, "22"}}},
        {txtIVA, "0"},
        {CboGenere, "7#Bar d'Angelo", {{txtIVA, "4"}}},
        {CboGenere, "99#Sconosciuto", {{txtIVA, "0"}}}}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    scheda.NuovoProdotto();
    for (const Passo& passo : caso.passi) {
      if (passo.campo == txtRicaricoCalcolato)
        scheda.ricaricoDigitato(passo.testo);
      else
        scheda.imposta(passo.campo, passo.testo);
      for (const auto& [campo, atteso] : passo.dopo)
        EXPECT_EQ(scheda.valore(campo), atteso) << "after " << passo.testo.toStdString();
    }
  }
}

TEST_F(SchedaProdottoTest, WithoutVatThePurchaseCostAsksForItOnceAndGivesNoPrice) {
  scheda.NuovoProdotto();
  // Zero or empty costs recalculate nothing and ask nothing.
  for (const char* acquisto : {"0", "0,00", "", ","}) scheda.imposta(txtAcquisto, acquisto);
  EXPECT_TRUE(prompts.asked.empty());
  scheda.imposta(txtRicarico, "50");
  scheda.imposta(txtAcquisto, "1");
  scheda.imposta(txtAcquisto, "10");
  EXPECT_EQ(testiChiesti(), QStringList{"IMPOSTARE ALIQUOTA IVA - Verificare"});
  EXPECT_EQ(scheda.valore(TxtCosto), "");
  EXPECT_EQ(scheda.valore(txtAcquistoConIVA), "");
  scheda.imposta(txtIVA, "0");
  scheda.imposta(txtAcquisto, "12");
  EXPECT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(scheda.valore(TxtCosto), "");
}

// Boxes only blanks or a comma fill stop the save (the window's test names each empty box); the
// description loses what the registers cannot take.
TEST_F(SchedaProdottoTest, NewProductGetsCodeOneOnAnEmptyArchiveWithEveryColumn) {
  const std::pair<Campo, const char*> vuoti[] = {{txtUm, ""}, {TxtDesc, "   "}, {TxtQTA, ","}};
  for (const auto& [obbligatorio, testo] : vuoti) {
    compila();
    scheda.imposta(obbligatorio, testo);
    EXPECT_EQ(scheda.ControlloCampi(), "NOK") << static_cast<int>(obbligatorio) << testo;
  }
  EXPECT_TRUE(prompts.asked.empty());
  compila();
  scheda.imposta(TxtDesc, "$*#^°CAFFE' 100%, A/B\\C");
  EXPECT_EQ(scheda.ControlloCampi(), "Ok");
  EXPECT_EQ(scheda.SalvaDatiMateriale(), "1");
  EXPECT_EQ(scheda.ultimoCodiceSalvato(), "1");
  EXPECT_EQ(negozio.righe("Select Descrizione, Quantità, Minimo, Costo, Costo2, UnitaMisura, "
                          "Genere, Fornitore, Taglia, Colore, TipoMateriale, BarCode, CodPV, "
                          "CodProdottoFornitore, Eliminato, Modificato, TipoVariazione "
                          "from Magazzino"),
            QStringList{"CAFFE  100. A B C|3.5|0|18.3|10|Pz|Bar|BIANCHI SRL|L|Bianco|1,5|"
                        "8001234567897|22|B-12|false|true|F"});

  // With the setting the department is stored, and found again, as its code.
  negozio.setup("Config", "SalvaRepartoComeCODICE", "VERO");
  compila();
  scheda.imposta(LbLBarCode, "8002");
  scheda.imposta(CboGenere, "2#Frigo");
  ASSERT_EQ(scheda.SalvaDatiMateriale(), "2");
  EXPECT_EQ(negozio.valore("Select Genere from Magazzino where CodMateriale='2'"), "2");
  ASSERT_TRUE(scheda.PreparaPerModifica("2"));
  EXPECT_EQ(scheda.valore(CboGenere), "2#Frigo");
}

TEST_F(SchedaProdottoTest, EditShowsTheStoredProductAndSavesTheSameRow) {
  EXPECT_FALSE(scheda.PreparaPerModifica("999"));
  EXPECT_FALSE(scheda.inModifica());
  prodotto("5", "8001");
  ASSERT_TRUE(scheda.PreparaPerModifica("5"));
  EXPECT_TRUE(scheda.inModifica());
  // No stored rate: the department's 22 %.
  const auto v = [&](Campo campo) { return scheda.valore(campo) + '|'; };
  EXPECT_EQ(v(AppCodeModifica) + v(TxtQTA) + v(TxtMin) + v(TxtCosto) + v(txtPrezzoPubblico) +
                v(cbMateriale) + v(txtPesoConf) + v(txtCodArtFornitore) + v(CboGenere) +
                v(CboFornitore) + v(txtAcquisto) + v(txtIVA) + v(txtAcquistoConIVA) +
                v(txtRicaricoCalcolato),
            "5|10|2|15,25|15,25|250|250|R-77|1#Bar|ROSSI|10,00|22|12,20|25|");
  EXPECT_TRUE(prompts.asked.empty());

  scheda.imposta(TxtQTA, "7");
  scheda.imposta(CboFornitore, "verdi");
  scheda.imposta(CboGenere, "2#Frigo");
  scheda.imposta(txtIVA, "");  // an empty rate leaves the stored one alone
  ASSERT_EQ(scheda.ControlloCampi(), "Ok");
  ASSERT_EQ(scheda.SalvaDatiMateriale(), "5");
  EXPECT_EQ(negozio.righe("Select CodMateriale, Quantità, Fornitore, Genere, BarCode, "
                          "TipoMateriale, CodPV, Minimo, Modificato, TipoVariazione "
                          "from Magazzino"),
            QStringList{"5|7|VERDI|Frigo|8001|250|NULL|0|true|F"});
}

TEST_F(SchedaProdottoTest, AdditionalBarcodesAreRegisteredByTheMainConfirmation) {
  compila();
  scheda.imposta(LbLBarCode, "");
  EXPECT_FALSE(scheda.ApriBarCodeAlternativi());
  scheda.imposta(LbLBarCode, "8001");
  EXPECT_FALSE(scheda.ApriBarCodeAlternativi());
  EXPECT_EQ(testiChiesti(), QStringList({"Immettere un Codice a Barre del prodotto nella relativa "
                                         "casella rossa prima di proseguire",
                                         "Confermare prima i dati inseriti"}));

  prodotto("5", "8001");
  prodotto("6", "8002");
  negozio.barCodeUlteriore("5", "111").barCodeUlteriore("6", "666");
  negozio.sqlite("UPDATE BarCodeUlteriori SET CodPerTabProd=CodProd, Inviato=-1");
  const auto registrati = [&] {
    return negozio.righe(
        "Select CodProd, BarCode, CodPerTabProd, Inviato from BarCodeUlteriori "
        "order by CodProd, BarCode");
  };
  ASSERT_TRUE(scheda.PreparaPerModifica("5"));
  EXPECT_EQ(scheda.barCodeUlteriori(), QStringList({"111"}));
  ASSERT_EQ(scheda.SalvaDatiMateriale(), "5");  // saving without the panel leaves them alone
  EXPECT_EQ(registrati(), QStringList({"5|111|5|true", "6|666|6|true"}));

  // A code of another product, main or additional, is refused even with the panel closed.
  ASSERT_TRUE(scheda.ApriBarCodeAlternativi());
  scheda.setBarCodeUlteriori({"", "222", " 333 ", "222"});
  scheda.ChiudiBarCodeAlternativi();
  EXPECT_TRUE(scheda.barCodeInSospeso());
  EXPECT_EQ(registrati().size(), 2) << "nothing is written before Conferma";
  for (const char* altrui : {"8002", "666"}) {
    scheda.setBarCodeUlteriori({"222", altrui});
    prompts.asked.clear();
    EXPECT_EQ(scheda.ControlloCampi(), "NOK") << altrui;
    EXPECT_EQ(testiChiesti(), QStringList({"Attenzione codice a barre già presente - Verificare - "
                                           "Impossibile procedere"}));
  }
  scheda.setBarCodeUlteriori({"8001", "111"});  // its own codes are no duplicates
  EXPECT_EQ(scheda.ControlloCampi(), "Ok");
  scheda.setBarCodeUlteriori({"", "222", " 333 ", "222"});
  ASSERT_EQ(scheda.ControlloCampi(), "Ok");
  ASSERT_EQ(scheda.SalvaDatiMateriale(), "5");
  EXPECT_EQ(registrati(), QStringList({"5|222|5|false", "5|333|5|false", "6|666|6|true"}));
  EXPECT_FALSE(scheda.barCodeInSospeso());
}

// A wrong last digit of an EAN-8/EAN-13 is never saved without telling: the editor offers the
// right code, and saving goes on only with it.
TEST_F(SchedaProdottoTest, TheEditorOffersTheRightCheckDigitBeforeSaving) {
  struct Caso {
    const char* digitato;
    std::optional<Answer> risposta;  // none: nothing is asked
    const char* esito;
    const char* salvato;  // empty: nothing saved
  };
  const Caso casi[] = {
      {"8001234567890", Answer::Yes, "Ok", "8001234567897"},
      {"8001234567890", Answer::No, "NOK", ""},
      {"96385075", Answer::Yes, "Ok", "96385074"},
      {"8001234567897", std::nullopt, "Ok", "8001234567897"},
      {"12345", std::nullopt, "Ok", "12345"},
      // the right code belongs to another product: refused as any duplicate
      {"8009876543210", Answer::Yes, "NOK", ""},
  };
  prodotto("9", "8009876543217");
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.digitato);
    negozio.sqlite("DELETE FROM Magazzino WHERE CodMateriale<>'9'");
    compila();
    scheda.imposta(LbLBarCode, c.digitato);
    prompts.asked.clear();
    prompts.answers.clear();
    if (c.risposta) prompts.answers = {*c.risposta};
    EXPECT_EQ(scheda.ControlloCampi(), c.esito);
    const QStringList chiesti = testiChiesti();
    if (c.risposta) {
      ASSERT_FALSE(chiesti.isEmpty());
      EXPECT_TRUE(chiesti[0].startsWith("Cifra di controllo errata: il codice corretto è " +
                                        CodiceEANCorretto(c.digitato) + "\n"))
          << chiesti[0].toStdString();
    } else {
      EXPECT_TRUE(chiesti.isEmpty()) << chiesti.join(" / ").toStdString();
    }
    if (QString(c.esito) == "Ok") {
      EXPECT_FALSE(scheda.SalvaDatiMateriale().isEmpty());
    }
    EXPECT_EQ(negozio.righe("Select BarCode from Magazzino where CodMateriale<>'9'"),
              *c.salvato ? QStringList{c.salvato} : QStringList());
  }
}

TEST_F(SchedaProdottoTest, StoreFailuresAreLoggedAndNothingIsSaved) {
  testing::FakeClock orologio;
  const ErrorLog log(negozio.cartella.root(), orologio);
  installaErrorLog(&log);
  compila();
  negozio.sqlite("DROP VIEW prodotti").sqlite("DROP TABLE Magazzino");
  EXPECT_EQ(scheda.ControlloCampi(), "NOK");
  EXPECT_EQ(scheda.SalvaDatiMateriale(), "");
  EXPECT_EQ(scheda.ultimoCodiceSalvato(), "");
  EXPECT_FALSE(scheda.PreparaPerModifica("5"));
  installaErrorLog(nullptr);
  const QString righe = QString::fromUtf8(testing::readAll(log.percorsoLog()));
  for (const char* passo : {"ControlloCampi", "SalvaDatiMateriale", "PreparaPerModifica"})
    EXPECT_TRUE(righe.contains(QString("*-AggiungiMateriale-%1-]").arg(passo))) << passo;
}

}  // namespace
}  // namespace listinova
