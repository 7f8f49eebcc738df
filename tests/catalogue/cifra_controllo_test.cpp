// The product editor never saves an EAN-8/EAN-13 with a wrong last digit without telling:
// it offers the right code, and saving goes on only with it.
#include <gtest/gtest.h>

#include "catalogue/modulo_ean.h"
#include "catalogue/scheda_prodotto.h"
#include "support/fakes.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::Answer;

struct Caso {
  const char* nome;
  QString digitato;
  std::optional<Answer> risposta;  // none: nothing is asked
  QString esito;
  QString salvato;  // empty: nothing saved
};

class CifraDiControllo : public ::testing::TestWithParam<Caso> {};

TEST_P(CifraDiControllo, TheEditorOffersTheRightCodeBeforeSaving) {
  const Caso& c = GetParam();
  testing::NegozioDiProva negozio;
  negozio.reparto(1, "Bar", 22).prodotto({.cod = "9", .barCode = "8009876543217"});
  testing::FakePrompts prompts;
  if (c.risposta) prompts.answers = {*c.risposta};
  SchedaProdotto scheda(*negozio.db, prompts);
  scheda.NuovoProdotto();
  for (const auto& [campo, testo] : {std::pair{Campo::TxtDesc, "Latte"},
                                     {Campo::TxtQTA, "3"},
                                     {Campo::CboGenere, "1#Bar"},
                                     {Campo::CboFornitore, "Bio"},
                                     {Campo::txtRicarico, "50"},
                                     {Campo::txtAcquisto, "1"}})
    scheda.imposta(campo, testo);
  scheda.imposta(Campo::LbLBarCode, c.digitato);
  prompts.asked.clear();

  EXPECT_EQ(scheda.ControlloCampi(), c.esito);
  const QStringList chiesti = testing::askedTexts(prompts);
  if (c.risposta) {
    ASSERT_FALSE(chiesti.isEmpty());
    EXPECT_TRUE(chiesti[0].startsWith("Cifra di controllo errata: il codice corretto è " +
                                      CodiceEANCorretto(c.digitato) + "\n"))
        << chiesti[0].toStdString();
  } else {
    EXPECT_TRUE(chiesti.isEmpty()) << chiesti.join(" / ").toStdString();
  }
  if (c.esito == "Ok") EXPECT_FALSE(scheda.SalvaDatiMateriale().isEmpty());
  EXPECT_EQ(negozio.conta("Select * from Magazzino where CodMateriale<>'9'"),
            c.salvato.isEmpty() ? 0 : 1);
  if (!c.salvato.isEmpty())
    EXPECT_EQ(negozio.valore("Select BarCode from Magazzino where CodMateriale<>'9'"), c.salvato);
}

INSTANTIATE_TEST_SUITE_P(
    Codici, CifraDiControllo,
    ::testing::Values(
        Caso{"ean13_corretto_accettato", "8001234567890", Answer::Yes, "Ok", "8001234567897"},
        Caso{"ean13_corretto_rifiutato", "8001234567890", Answer::No, "NOK", ""},
        Caso{"ean8_corretto_accettato", "96385075", Answer::Yes, "Ok", "96385074"},
        Caso{"giusto_senza_domande", "8001234567897", std::nullopt, "Ok", "8001234567897"},
        Caso{"non_ean_senza_domande", "12345", std::nullopt, "Ok", "12345"},
        // the right code belongs to another product: refused as any duplicate
        Caso{"corretto_di_altri", "8009876543210", Answer::Yes, "NOK", ""}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace listinova
