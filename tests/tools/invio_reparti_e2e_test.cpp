// The departments' send as the operator runs it, against simulated registers on a
// pseudo-terminal and on UDP.
#include <gtest/gtest.h>

#include <QDir>

#include "banco_casse.h"
#include "platform/money.h"
#include "register/casse_configurate.h"
#include "register/protocollo_ostrel.h"
#include "startup/var_globali.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using simulatore::RegolaCodice;
using simulatore::SimulatoreRegistratore;

const QString kNonRaggiunta =
    "INVIO CASSA %1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: ";
const QString kTerminato = "Invio Terminato ";

// The network register's records, as its command file holds them; a serial one also gets the
// automatic discount and the sequence up to 12.
QStringList recordDi(bool seriale) {
  QStringList attesi{
      "D/1/PANE/1/1.20/500.00/1011000/1/0.00/",
      QString("D/2/FRUTTA 100 BIO/2/0.00/500.00/") + (seriale ? "1011500" : "1011000") + "/2/0.00/",
      "D/3/CAFFE E TE/3/1.234.50/500.00/1011000/3/0.00/",
      QString::fromUtf8("D/4/SPECIALITÀ/1/0.00/500.00/") + (seriale ? "10111200" : "1011000") +
          "/4/0.00/"};
  for (int cod = 5; cod <= 12; ++cod)
    attesi << QStringLiteral("D/%1/REPARTO%1/4/0.00/500.00/1011000/%2/0.00/")
                  .arg(cod)
                  .arg(seriale || cod <= 10 ? cod : cod - 10);
  return attesi;
}

class InvioRepartiE2eTest : public ::testing::Test {
 protected:
  InvioRepartiE2eTest() {
    for (const auto& [aliquota, codice] :
         {std::pair{"4", "1"}, {"10", "2"}, {"21", "3"}, {"0", "4"}})
      banco.negozio.setup("IVA KELTRANO", aliquota, codice);
    banco.db->execute("Delete * from Reparti");
    reparto(1, "Pane", 4, "1,20", 0);
    reparto(2, "Frutta: 100% bio", 10, "0", 5);
    reparto(3, QString::fromUtf8("Caffè e tè"), 21, "1234,5", 0);
    reparto(4, QString::fromUtf8("Specialità"), 4, "0", 12);
    for (int cod = 5; cod <= 12; ++cod)
      reparto(cod, QStringLiteral("Reparto%1").arg(cod), 0, "0", 0);
  }

  void reparto(int cod, const QString& nome, int iva, const char* prezzo, double sconto) {
    banco.negozio.reparto(cod, nome, iva);
    auto rs = banco.db->openRecordset("select * from Reparti where Cod=" + QString::number(cod));
    rs.edit();
    rs.setMoney("PrezzoPrefissato", *Money::parse(prezzo));
    rs.setValue("Sconto", sconto);
    rs.update();
  }

  BancoCasse banco;
};

// The network register gets the command file line by line, a serial one every record directly
// (no file): CAN ENQ, our ACK to the register's, the frame, ACK ACK to its result; then the
// closing ACK and ENQ, and the ACK to the last answer. A silent register is reported and the
// next one still served.
TEST_F(InvioRepartiE2eTest, EachRegisterGetsTheRecordsOfItsLineASilentOneIsReported) {
  SimulatoreRegistratore& rete = banco.cassaInRete();
  SimulatoreRegistratore& silenzioso = banco.cassaSeriale(2, {.silenzioso = true});
  SimulatoreRegistratore& seriale = banco.cassaSeriale(3);
  std::vector<bool> avviso;
  const EsitoReparti esito =
      banco.collegamento().InviaReparti(false, [&](bool v) { avviso.push_back(v); });

  EXPECT_FALSE(esito.interrotto);
  EXPECT_EQ(esito.casseServite, 2);
  EXPECT_EQ(QDir(banco.cartella.root()).entryList({"FileREP*"}), QStringList{"FileREP127001.txt"});
  EXPECT_EQ(banco.righe("FileREP127001.txt"), recordDi(false));
  EXPECT_EQ(rete.comandi(), recordDi(false));
  EXPECT_EQ(rete.tabellaReparti().value("2").value(1), "FRUTTA 100 BIO");
  EXPECT_EQ(silenzioso.ricevuti().count("\x18\x05"), InvioReparti::kTentativi);
  QByteArray linea;
  for (const QString& r : recordDi(true))
    linea += "\x18\x05\x06" + IncorniciaComando(CodificaPerRegistratore(r)) + "\x06\x06";
  EXPECT_EQ(seriale.ricevuti(), linea + "\x06\x05\x06");
  EXPECT_EQ(seriale.tabellaReparti().size(), 12);
  EXPECT_EQ(askedTexts(banco.prompts),
            (QStringList{kNonRaggiunta.arg(2) + "CAVO/PortaCOM/CASSA", kTerminato}));
  ASSERT_FALSE(avviso.empty());
  EXPECT_TRUE(avviso.front());
  EXPECT_FALSE(avviso.back());
  EXPECT_TRUE(banco.visualizzatore.shown.empty());
}

// Every answer comes first spoilt as "00" and true after the NAK. Busy twice makes the record
// go again after a new enquiry; a refusal is listed and the register not counted as served.
TEST_F(InvioRepartiE2eTest, BusyIsResentRefusedIsListedOnlyATrueSuccessTakesARecord) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(
      1, {.corrottoPrima = "00",
          .codici = {RegolaCodice::occupato("D/3/", 2), RegolaCodice::perPrefisso("D/5/", "09")}});
  const EsitoReparti esito = banco.collegamento().InviaReparti(false);

  QStringList attesi = recordDi(true);
  attesi.insert(2, 2, attesi[2]);
  EXPECT_EQ(registratore.comandi(), attesi);
  EXPECT_EQ(registratore.ricevuti().count("\x18\x05"), 14);
  EXPECT_EQ(registratore.tabellaReparti().size(), 11);
  EXPECT_FALSE(registratore.tabellaReparti().contains("5"));
  EXPECT_EQ(esito.casseServite, 0);
  EXPECT_EQ(esito.casseConRifiuti, 1);
  const QString elenco = "NonTRASMESSI" + IndirizzoPerNomeFile(banco.porta(1)) + ".txt";
  EXPECT_EQ(banco.righe(elenco),
            (QStringList{"Invio: ", recordDi(true)[4],
                         "ESITO : Errore N.9 - Descr.: Aliquota IVA errata, controllare "
                         "corrispondenza IVA-Reparto"}));
  EXPECT_EQ(banco.visualizzatore.shown, QStringList{banco.percorso(elenco)});
}

// Without register 1 the network one is reported unreachable; a port that cannot open is said
// once, however many enquiries found it so. A VAT rate without its register code stops the job
// before anything is sent.
TEST_F(InvioRepartiE2eTest, UnreachableOrMissingPortOrVatCodeSendsNothing) {
  const QString assente = banco.negozio.file("nessuna-porta");
  Globali().PortaCOM1 = assente;
  EXPECT_EQ(banco.collegamento().InviaReparti(false).casseServite, 0);
  EXPECT_EQ(banco.notice.messages, QStringList{"Porta Seriale COM " + assente +
                                               " non disponibile - Operazione non effettuata"});
  EXPECT_EQ(askedTexts(banco.prompts),
            (QStringList{kNonRaggiunta.arg(1) + "CAVO/INDIRIZZO IP/CASSA/RETE",
                         "La porta " + assente +
                             " non esiste: controllare che il dispositivo sia collegato e la "
                             "porta indicata nelle impostazioni",
                         kTerminato}));
  EXPECT_EQ(banco.prompts.asked[0].icon, platform::Icon::Critical);

  banco.prompts.asked.clear();
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  banco.db->execute("UPDATE Reparti SET Iva = 22 WHERE Cod = 7");
  EXPECT_TRUE(banco.collegamento().InviaReparti(false).interrotto);
  EXPECT_TRUE(registratore.comandi().isEmpty());
  const QStringList testi = askedTexts(banco.prompts);
  ASSERT_EQ(testi.size(), 2);
  EXPECT_TRUE(testi[0].startsWith("Creare in Setup.ini, chiave [IVA KELTRANO]"));
  EXPECT_EQ(testi[1], "PROCEDURA INTERROTTA!!! - PROBLEMI DI ACCESSO TABELLA DEI REPARTI ");
}

}  // namespace
}  // namespace listinova::testing
