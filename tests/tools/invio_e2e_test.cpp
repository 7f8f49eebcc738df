// The send job as the operator runs it: the program's own code from the store to the wire,
// over the real serial port on a pseudo-terminal and the real UDP channel on loopback, with a
// simulated register at the other end.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QUdpSocket>
#include <optional>

#include <sqlite3.h>

#include "banco_casse.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "register/casse_configurate.h"
#include "register/lavoro_in_corso.h"
#include "register/protocollo_ostrel.h"
#include "register/risposta_misuratore.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using simulatore::Comportamento;
using simulatore::RegolaCodice;
using simulatore::SimulatoreRegistratore;

const QString kSicuro = "Sicuro di dover inviare tutto l'archivio alla cassa?";
const QString kAltraPostazione = "DEVI INVIARE SU ALTRA POSTAZIONE ?";
const QString kTerminata = "PROCEDURA DI INVIO TERMINATA";
const QString kFallitaSeriale =
    "INVIO CASSA %1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: "
    "CAVO/PortaCOM/CASSA";
const QString kFallitaRete =
    "INVIO CASSA 1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: "
    "CAVO/INDIRIZZO IP/CASSA/RETE";
const QString kRimandoEnq = "          *** uscito per timeout comunicazione, RIMANDO ENQ";
const QString kRimandoComando = "          *** uscito per timeout comunicazione, RIMANDO COMANDO";
const QString kTroppiTimeout = "          *** Troppi timeout, esco definitivamente. FINE.";

QString terminato(int cassa) { return QStringLiteral("INVIO CASSA %1 TERMINATO").arg(cassa); }

// The four records of the small shop below, in the order of the command file.
const QStringList kArchivio{
    QString::fromUtf8("P/51/12345/CAFFÈ ARABICA/2/0/4.50/150.00/12.000/00010000/"),
    QString::fromUtf8("P/52/8000000000099/CAFFÈ ARABICA/2/0/4.50/150.00/12.000/00010000/"),
    "P/53/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/",
    "P/54/8009876543210/PANE/1/0/1.20/150.00/3.000/00010000/"};
const QStringList kModificatiTorvane{
    "A/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/10110000/0.00/0////",
    "A/8009876543210/PANE/1/0/1.20/150.00/3.000/10110000/0.00/0////"};

// Water and bread are marked modified; the coffee has an in-store code and a second barcode.
void negozio(BancoCasse& banco) {
  banco.aggiungi({.codice = "1",
                  .barCode = "8001234567890",
                  .descrizione = "ACQUA NAT. 1,5L",
                  .genere = "3",
                  .quantita = 0,
                  .costo = "0,35",
                  .modificato = true});
  banco.aggiungi({.codice = "2",
                  .barCode = "2012345000017",
                  .descrizione = QString::fromUtf8("CAFFÈ ARABICA"),
                  .genere = "Reparto2",
                  .quantita = 12,
                  .costo = "4,50"});
  banco.aggiungiBarCode("2", "8000000000099");
  banco.aggiungi({.codice = "3",
                  .barCode = "8009876543210",
                  .descrizione = "PANE",
                  .genere = "1",
                  .quantita = 3,
                  .costo = "1,20",
                  .modificato = true});
}

// What the register received, read as an exchange: "ENQ" for each enquiry and the text of
// each frame; CAN and the program's ACK/NAK are left out.
QStringList traffico(const SimulatoreRegistratore& cassa) {
  const QByteArray ricevuti = cassa.ricevuti();
  QStringList eventi;
  for (qsizetype i = 0; i < ricevuti.size(); ++i) {
    if (ricevuti[i] == Controllo::ENQ) {
      eventi << "ENQ";
    } else if (ricevuti[i] == Controllo::STX) {
      const qsizetype etx = ricevuti.indexOf(Controllo::ETX, i);
      if (etx < 0) break;
      eventi << DecodificaDaRegistratore(ricevuti.mid(i + 1, etx - i - 3));
      i = etx;
    }
  }
  return eventi;
}

// Each command after an enquiry of its own.
QStringList conEnquiry(const QStringList& comandi) {
  QStringList eventi;
  for (const QString& comando : comandi) eventi << "ENQ" << comando;
  return eventi;
}

QStringList testi(const FakePrompts& prompts) {
  QStringList domande;
  for (const platform::Question& domanda : prompts.asked) domande << domanda.text;
  return domande;
}

enum class Linea { Pty, Udp };

void PrintTo(Linea linea, std::ostream* out) { *out << (linea == Linea::Pty ? "Pty" : "Udp"); }

// Register 1 on either line; the file names follow its address.
class InvioSuLinea : public ::testing::TestWithParam<Linea> {
 protected:
  SimulatoreRegistratore& cassa(const Comportamento& modo = {}) {
    return seriale() ? banco.cassaSeriale(1, modo) : banco.cassaInRete(modo);
  }
  bool seriale() const { return GetParam() == Linea::Pty; }
  QString fileComandi() const {
    return seriale() ? "FilePLU" + IndirizzoPerNomeFile(banco.porta(1)) + ".txt"
                     : "FilePLU127001.txt";
  }
  QString nonTrasmessi() const {
    return seriale() ? "NonTRASMESSI" + IndirizzoPerNomeFile(banco.porta(1)) + ".txt"
                     : "NonTRASMESSI127.0.0.1.txt";
  }

  void SetUp() override {
    negozio(banco);
    banco.prompts.defaultAnswer = Answer::Yes;
  }

  BancoCasse banco;
};

TEST_P(InvioSuLinea, WholeArchiveThenModifiedArriveExactlyAsTheCommandFileHoldsThem) {
  SimulatoreRegistratore& registratore = cassa();
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(banco.righe(fileComandi()), kArchivio);
  EXPECT_EQ(registratore.comandi(), banco.righe(fileComandi()));
  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
  EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "53", "54"}));
  EXPECT_TRUE(esito.avviato);
  EXPECT_EQ(esito.inviateBene, 1);
  EXPECT_FALSE(QFile::exists(banco.percorso(nonTrasmessi())));
  EXPECT_TRUE(banco.visualizzatore.visti.empty());
  EXPECT_TRUE(banco.logDriver().isEmpty()) << banco.logDriver().join('\n').toStdString();

  // Only a serial register asks about another station; a network one never clears the marks.
  const QStringList altraPostazione{kSicuro, terminato(1), kAltraPostazione, kTerminata};
  const QStringList soloTerminato{kSicuro, terminato(1), kTerminata};
  EXPECT_EQ(banco.cronologia, seriale() ? altraPostazione : soloTerminato);
  EXPECT_EQ(banco.modificati(), 2);

  // The modified ones alone, in the other program's records.
  EXPECT_EQ(banco.invia(true, true).inviateBene, 1);
  EXPECT_EQ(banco.righe(fileComandi()), kModificatiTorvane);
  EXPECT_EQ(registratore.comandi().mid(4), kModificatiTorvane);
  EXPECT_EQ(traffico(registratore).mid(8), conEnquiry(kModificatiTorvane));
  EXPECT_TRUE(registratore.tabellaPlu().contains("8009876543210"));
}

// Paper out on line 1 and the cover open on line 3 are shown and the line resent without an
// enquiry; busy twice on line 2 is resent after a new enquiry; a code outside the table on
// line 4 is skipped. Every answer is logged; the record refused in the end is listed and the
// list shown; the next clean send leaves no list behind.
TEST_P(InvioSuLinea, EachAnswerCodeGetsItsOwnHandlingAndIsListed) {
  // Every answer comes after noise and, on the serial line, in pieces; over UDP a datagram is
  // an answer only when it holds the whole frame, so there only the noise.
  SimulatoreRegistratore& registratore =
      cassa({.spezza = seriale(),
             .rumore = true,
             .codici = {RegolaCodice::perRiga(1, "2C"), RegolaCodice::perRiga(2, "1A", 2),
                        RegolaCodice::perRiga(3, "33"), RegolaCodice::perRiga(4, "5A")}});
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(
      traffico(registratore),
      (QStringList{"ENQ", kArchivio[0], kArchivio[0], "ENQ", kArchivio[1], "ENQ", kArchivio[1],
                   "ENQ", kArchivio[1], "ENQ", kArchivio[2], kArchivio[2], "ENQ", kArchivio[3]}));
  EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "53"}));
  EXPECT_EQ(esito.inviateBene, 1);

  const QStringList attese{kSicuro, "Carta finita", "Portello rotolo aperto", terminato(1)};
  EXPECT_EQ(banco.cronologia.mid(0, 4), attese);

  // Paper, busy and cover were waited out and the records taken: only the refused one is listed.
  const QStringList elenco{"Invio: ", kArchivio[3], "ESITO : Errore N.90 - Descr.: "};
  EXPECT_EQ(banco.righe(nonTrasmessi()), elenco);
  ASSERT_EQ(banco.visualizzatore.visti.size(), 1u);
  EXPECT_EQ(banco.visualizzatore.visti[0].percorso, banco.percorso(nonTrasmessi()));

  const QStringList voceBusy{"         ESITO : 26 - Stampante Busy, reinviare il comando - 1",
                             "LOG - Errore!",
                             "         Azione Intrapresa : Tracciato e Ripetuto il comando"};
  EXPECT_EQ(banco.logDriver(),
            QStringList({"         ESITO : 44 - Carta finita - 4", "Errore!"})
                << voceBusy << voceBusy
                << QStringList({"         ESITO : 51 - Portello rotolo aperto - 4", "Errore!",
                                "         ESITO : 90 -  - 0"}));

  registratore.impostaComportamento({});
  EXPECT_EQ(banco.invia(false).inviateBene, 1);
  EXPECT_FALSE(QFile::exists(banco.percorso(nonTrasmessi())));
  EXPECT_EQ(banco.visualizzatore.visti.size(), 1u);
}

TEST_P(InvioSuLinea, GraveFaultEndsTheProgramMidJob) {
  SimulatoreRegistratore& registratore = cassa({.codici = {RegolaCodice::perRiga(2, "1D")}});
  const int daInviare = banco.modificati();
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(banco.terminazioni, 1);
  EXPECT_EQ(esito.inviateBene, 0);
  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio.mid(0, 2)));
  EXPECT_EQ(banco.modificati(), daInviare);

  const QString guasto = "Raggiunto limite massimo Programmazione Intestazioni scontrino";
  const QStringList attese{
      kSicuro, guasto,
      "Errore Grave della stampante fiscale, chiamare assistenza\n\n" + guasto.toUpper()};
  EXPECT_EQ(banco.cronologia.mid(0, 3), attese);
  EXPECT_EQ(
      banco.logDriver(),
      (QStringList{"         ESITO : 29 - " + guasto + " - 9", "LOG - ERRORE GRAVE DI DISPOSITIVO!",
                   "         Azione Intrapresa : Tracciato, Errore grave di stato "
                   "misuratore fiscale, chiudo Driver"}));
  EXPECT_EQ(banco.righe(nonTrasmessi()),
            (QStringList{"Invio: ", kArchivio[1], "ESITO : Errore N.29 - Descr.: " + guasto}));
  EXPECT_TRUE(banco.visualizzatore.visti.empty());
}

TEST_P(InvioSuLinea, SecondPressWhileSendingIsRefused) {
  SimulatoreRegistratore& registratore = cassa({.ritardoMs = 50});
  std::optional<EsitoInvio> secondo;
  QObject::connect(&registratore, &SimulatoreRegistratore::comandoRicevuto, [&] {
    if (registratore.comandi().size() == 1)
      QTimer::singleShot(0, [&] { secondo = banco.invia(false); });
  });
  const EsitoInvio primo = banco.invia(false);

  ASSERT_TRUE(secondo.has_value());
  EXPECT_FALSE(secondo->avviato);
  EXPECT_EQ(primo.inviateBene, 1);
  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
  EXPECT_EQ(banco.cronologia.mid(0, 3),
            (QStringList{kSicuro, QString::fromUtf8(LavoroInCorso::kMessaggio), terminato(1)}));
  EXPECT_EQ(testi(banco.prompts).count(kSicuro), 1);
}

// A line counts as taken only on a whole answer with a good checksum and the code 00. The
// water (line 3, marked modified) is refused, in each way a register can; the bread goes
// through. The register's refusal reaches the list, the exit status and the marks.
TEST_P(InvioSuLinea, RefusedOrUnreadableAnswerIsListedAndItsProductKeepsTheMark) {
  const QString iva = "Aliquota IVA errata, controllare corrispondenza IVA-Reparto";
  const QString nonValido = RispostaMisuratore::kCodiceNonValido;
  const struct {
    const char* nome;
    Comportamento modo;
    QString esito;
  } casi[] = {
      {"corrupted 00, then 09 after the NAK",
       {.corrottoPrima = "00", .codici = {RegolaCodice::perRiga(3, "09")}},
       "9 - Descr.: " + iva},
      {"ZZ", {.codici = {RegolaCodice::perRiga(3, "ZZ")}}, "ZZ - Descr.: " + nonValido},
      {"??", {.codici = {RegolaCodice::perRiga(3, "??")}}, "?? - Descr.: " + nonValido},
      {"NUL NUL",
       {.codici = {RegolaCodice::perRiga(3, QByteArray(2, '\0'))}},
       "?? - Descr.: " + nonValido},
      {"empty body", {.codici = {RegolaCodice::perRiga(3, "")}}, "?? - Descr.: " + nonValido},
      {"outside the table", {.codici = {RegolaCodice::perRiga(3, "5A")}}, "90 - Descr.: "},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoCasse b;
    negozio(b);
    b.prompts.answers = {Answer::Yes, Answer::No};
    SimulatoreRegistratore& registratore =
        seriale() ? b.cassaSeriale(1, caso.modo) : b.cassaInRete(caso.modo);
    const QString elenco = seriale() ? "NonTRASMESSI" + IndirizzoPerNomeFile(b.porta(1)) + ".txt"
                                     : "NonTRASMESSI127.0.0.1.txt";
    const EsitoInvio esito = b.invia(false);

    EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
    EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "54"}));
    EXPECT_EQ(b.righe(elenco),
              (QStringList{"Invio: ", kArchivio[2], "ESITO : Errore N." + caso.esito}));
    EXPECT_EQ(esito.inviateBene, 1);
    EXPECT_EQ(esito.conRifiuti, 1);
    EXPECT_EQ(esito.statoUscita(), 2);
    platform::db::Recordset segnati =
        b.db->openRecordset("Select CodMateriale from Magazzino where Modificato=-1");
    QStringList codici;
    for (; !segnati.eof(); segnati.moveNext()) codici << segnati.text("CodMateriale");
    // Only a serial register clears the marks; the network one never does.
    EXPECT_EQ(codici, seriale() ? QStringList{"1"} : (QStringList{"1", "3"}));
  }
}

// Busy is asked again, with a new enquiry, for as long as the bound allows (400 ms here).
TEST_P(InvioSuLinea, BusyForAWhileIsWaitedOutBusyTooLongFailsTheRegister) {
  const struct {
    int occupatoMs;
    bool riesce;
  } casi[] = {{150, true}, {60000, false}};
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.occupatoMs);
    BancoCasse b;
    negozio(b);
    b.limiti.occupatoMs = 400;
    b.prompts.answers = {Answer::Yes, Answer::No};
    const Comportamento modo{.codici = {RegolaCodice::occupatoPer(2, caso.occupatoMs)}};
    SimulatoreRegistratore& registratore =
        seriale() ? b.cassaSeriale(1, modo) : b.cassaInRete(modo);
    const EsitoInvio esito = b.invia(false);

    EXPECT_GT(registratore.comandi().count(kArchivio[1]), 1);
    EXPECT_EQ(esito.statoUscita(), caso.riesce ? 0 : 1);
    // a record taken in the end is not listed as refused
    EXPECT_EQ(b.visualizzatore.visti.empty(), caso.riesce);
    if (caso.riesce) {
      EXPECT_EQ(registratore.tabellaPlu().size(), 4);
      EXPECT_EQ(b.modificati(), seriale() ? 0 : 2);
    } else {
      EXPECT_FALSE(registratore.comandi().contains(kArchivio[2]));
      EXPECT_TRUE(b.cronologia.contains(seriale() ? kFallitaSeriale.arg(1) : kFallitaRete));
      EXPECT_FALSE(b.cronologia.contains(terminato(1)));
      EXPECT_EQ(b.modificati(), 2);
    }
  }
}

// A line feed would split the record, an ETX end the frame: each goes as a blank.
TEST_P(InvioSuLinea, ControlCharactersInADescriptionGoAsBlanks) {
  banco.aggiungi({.codice = "4",
                  .barCode = "8000000000105",
                  .descrizione = "AC\nQUA\x03 \tFRESCA\x02",
                  .genere = " 2 ",
                  .modificato = true});
  SimulatoreRegistratore& registratore = cassa();
  const EsitoInvio esito = banco.invia(true);

  EXPECT_EQ(registratore.comandi(), banco.righe(fileComandi()));
  EXPECT_EQ(registratore.comandi().size(), 3);
  EXPECT_EQ(registratore.tabellaPlu().value("8000000000105").campi.mid(0, 4),
            (QStringList{"8000000000105", "AC QUA   FRESCA", "2", "0"}));
  EXPECT_EQ(esito.statoUscita(), 0);
}

INSTANTIATE_TEST_SUITE_P(Linee, InvioSuLinea, ::testing::Values(Linea::Pty, Linea::Udp),
                         [](const ::testing::TestParamInfo<Linea>& info) {
                           return info.param == Linea::Pty ? "Pty" : "Udp";
                         });

// Which registers are configured decides the messages and whether the modified marks go.
class CasseConfigurateE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    negozio(banco);
    modificatiPrima = banco.modificati();
  }
  QStringList fileDi(int slot) const {
    return banco.righe("FilePLU" + IndirizzoPerNomeFile(banco.porta(slot)) + ".txt");
  }

  BancoCasse banco;
  int modificatiPrima = 0;
};

// With only a serial register the operator is asked about another station: No clears the
// marks, Yes keeps them for the next one. A declined whole send, or nothing modified, sends
// nothing.
TEST_F(CasseConfigurateE2e, OnlyPortaComAsksForAnotherStationAndOnlyNoClearsTheMarks) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  banco.prompts.answers = {Answer::No};
  EXPECT_FALSE(banco.invia(false).avviato);
  EXPECT_EQ(banco.cronologia, QStringList{kSicuro});
  EXPECT_FALSE(
      QFile::exists(banco.percorso("FilePLU" + IndirizzoPerNomeFile(banco.porta(1)) + ".txt")));
  EXPECT_TRUE(registratore.ricevuti().isEmpty());

  banco.cronologia.clear();
  banco.prompts.answers = {Answer::Yes};
  const EsitoInvio tenuti = banco.invia(true);
  EXPECT_EQ(registratore.comandi(), fileDi(1));
  EXPECT_EQ(registratore.comandi().size(), 2);
  EXPECT_EQ(banco.cronologia, (QStringList{terminato(1), kAltraPostazione, kTerminata}));
  EXPECT_FALSE(tenuti.modificatiAzzerati);
  EXPECT_EQ(banco.modificati(), modificatiPrima);

  banco.cronologia.clear();
  banco.prompts.asked.clear();
  banco.prompts.answers = {Answer::Yes, Answer::No};
  const EsitoInvio esito = banco.invia(false);
  EXPECT_EQ(registratore.comandi().mid(2), fileDi(1));
  EXPECT_EQ(banco.cronologia, (QStringList{kSicuro, terminato(1), kAltraPostazione, kTerminata}));
  EXPECT_EQ(esito.riuscite, 1);
  EXPECT_TRUE(esito.modificatiAzzerati);
  EXPECT_EQ(banco.modificati(), 0);

  banco.cronologia.clear();
  EXPECT_FALSE(banco.invia(true).avviato);
  EXPECT_EQ(banco.cronologia, QStringList{"Nessun dato da inviare"});
  EXPECT_EQ(registratore.comandi().size(), 6);
}

// The second register takes enquiries but never a command: six command timeouts, 18 s.
TEST_F(CasseConfigurateE2e, SecondRegisterFailingKeepsTheMarks) {
  SimulatoreRegistratore& prima = banco.cassaSeriale(1);
  SimulatoreRegistratore& seconda = banco.cassaSeriale(2, {.silenziosoAiComandi = true});
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(prima.comandi(), fileDi(1));
  EXPECT_EQ(traffico(seconda), conEnquiry(QStringList(6, kArchivio[0])));
  EXPECT_EQ(banco.logDriver(), QStringList(5, kRimandoComando) << kTroppiTimeout);
  const QString nonTrasmessi = "NonTRASMESSI" + IndirizzoPerNomeFile(banco.porta(2)) + ".txt";
  EXPECT_EQ(banco.righe(nonTrasmessi),
            QStringList{"*** Troppi timeout, esco definitivamente. FINE."});
  ASSERT_EQ(banco.visualizzatore.visti.size(), 1u);
  EXPECT_EQ(banco.visualizzatore.visti[0].percorso, banco.percorso(nonTrasmessi));

  EXPECT_EQ(banco.cronologia,
            (QStringList{kSicuro, terminato(1), kFallitaSeriale.arg(2), kTerminata}));
  EXPECT_EQ(esito.riuscite, 1);
  EXPECT_EQ(banco.modificati(), modificatiPrima);
}

// The serial line's silent register is the second one above; this is the network's: six
// enquiry timeouts of 3 s each.
TEST_F(CasseConfigurateE2e, SilentNetworkRegisterIsAbandonedOnTheSixthTimeout) {
  SimulatoreRegistratore& registratore = banco.cassaInRete({.silenzioso = true});
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(traffico(registratore), QStringList(6, "ENQ"));
  EXPECT_EQ(banco.logDriver(), QStringList(5, kRimandoEnq) << kTroppiTimeout);
  EXPECT_EQ(esito.riuscite, 0);
  EXPECT_EQ(esito.inviateBene, 0);
  EXPECT_EQ(banco.modificati(), modificatiPrima);
  // Only slot 1, and it failed: the marks question is not asked.
  EXPECT_EQ(banco.cronologia, (QStringList{kSicuro, kFallitaRete, kTerminata}));
  EXPECT_FALSE(QFile::exists(banco.percorso("NonTRASMESSI127.0.0.1.txt")));
}

// The command file of the last send cannot be replaced: sending it again would put old prices
// on the register and mark the new ones as sent.
TEST_F(CasseConfigurateE2e, CommandFileThatCannotBeWrittenFailsTheRegister) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  const QString vecchio = banco.percorso("FilePLU" + IndirizzoPerNomeFile(banco.porta(1)) + ".txt");
  ASSERT_TRUE(QDir().mkpath(vecchio));
  QFile dentro(vecchio + "/vecchio.txt");
  ASSERT_TRUE(dentro.open(QIODevice::WriteOnly));
  dentro.write("P/51/8001234567890/PREZZO VECCHIO/3/0/0.10/150.00/1.000/00010000/\r\n");
  dentro.close();
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_TRUE(registratore.ricevuti().isEmpty());
  // The operator hears the real cause, not a communication problem.
  ASSERT_EQ(banco.cronologia.size(), 3);
  EXPECT_EQ(banco.cronologia[0], kSicuro);
  EXPECT_TRUE(banco.cronologia[1].startsWith("Al posto del file"))
      << banco.cronologia[1].toStdString();
  EXPECT_EQ(banco.cronologia[2], kTerminata);
  EXPECT_EQ(esito.statoUscita(), 1);
  EXPECT_EQ(banco.modificati(), modificatiPrima);
}

// Another program holds the store while the marks are cleared: a clear message, no mark
// changed, a failed exit status.
TEST_F(CasseConfigurateE2e, StoreLockedWhileClearingTheMarksKeepsThemAndSaysSo) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  sqlite3* altro = nullptr;
  ASSERT_EQ(sqlite3_open(banco.negozio.percorsoArchivio().toUtf8().constData(), &altro), SQLITE_OK);
  QObject::connect(&registratore, &SimulatoreRegistratore::comandoRicevuto, [&] {
    if (registratore.comandi().size() == kArchivio.size())
      sqlite3_exec(altro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
  });
  banco.prompts.answers = {Answer::Yes, Answer::No};
  const EsitoInvio esito = banco.invia(false);
  sqlite3_exec(altro, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(altro);

  EXPECT_EQ(registratore.tabellaPlu().size(), 4);
  EXPECT_TRUE(esito.erroreArchivio);
  EXPECT_FALSE(esito.modificatiAzzerati);
  EXPECT_EQ(esito.statoUscita(), 1);
  EXPECT_EQ(banco.modificati(), modificatiPrima);
  ASSERT_EQ(banco.cronologia.size(), 5);
  EXPECT_TRUE(banco.cronologia[3].startsWith(
      "Impossibile togliere il segno di modifica ai prodotti inviati"))
      << banco.cronologia[3].toStdString();
}

// Another program's register, or our own command sent back, is never the answer: the water's
// refusal still reaches the list though "00" and ACKs come first from elsewhere.
TEST(ReteE2e, StrangersAndEchoesAreNeverTakenForTheAnswer) {
  for (const bool eco : {true, false}) {
    SCOPED_TRACE(eco ? "echo" : "stranger");
    BancoCasse banco;
    negozio(banco);
    SimulatoreRegistratore& registratore = banco.cassaInRete(
        {.ritardoMs = 20, .eco = eco, .codici = {RegolaCodice::perRiga(1, "09")}});
    QUdpSocket estraneo;
    ASSERT_TRUE(estraneo.bind(QHostAddress::LocalHost, 0));
    QTimer disturbo;
    QObject::connect(&disturbo, &QTimer::timeout, [&] {
      if (eco) return;
      for (const QByteArray& finta :
           {QByteArray(1, Controllo::ACK), IncorniciaComando(QByteArray("00/00/00"))})
        estraneo.writeDatagram(finta, QHostAddress::LocalHost, banco.portaLocale());
    });
    disturbo.start(2);
    const EsitoInvio esito = banco.invia(true);

    EXPECT_EQ(traffico(registratore), conEnquiry(banco.righe("FilePLU127001.txt")));
    EXPECT_EQ(banco.righe("NonTRASMESSI127.0.0.1.txt"),
              (QStringList{"Invio: ", banco.righe("FilePLU127001.txt").value(0),
                           "ESITO : Errore N.9 - Descr.: Aliquota IVA errata, controllare "
                           "corrispondenza IVA-Reparto"}));
    EXPECT_EQ(esito.statoUscita(), 2);
  }
}

// Two copies of the program on one computer share the register port: each send, running at
// the same time as the other, gets its own register's answers and no one else's.
TEST(ReteE2e, TwoSendsAtOnceOnOneLocalPortEachGetOnlyTheirOwnAnswers) {
  BancoCasse primo;
  BancoCasse secondo;
  SimulatoreRegistratore& cassaPrima =
      primo.cassaInRete({.ritardoMs = 10, .codici = {RegolaCodice::perRiga(2, "09")}});
  SimulatoreRegistratore& cassaSeconda =
      secondo.cassaInRete({.ritardoMs = 10}, primo.portaLocale());
  const auto file = [](BancoCasse& banco) {
    QFile comandi(banco.percorso("FilePLU.txt"));
    EXPECT_TRUE(comandi.open(QIODevice::WriteOnly));
    comandi.write((kArchivio.join("\r\n") + "\r\n").toUtf8());
    return comandi.fileName();
  };
  const QString filePrimo = file(primo);
  const QString fileSecondo = file(secondo);

  std::optional<bool> esitoSecondo;
  QObject::connect(&cassaPrima, &SimulatoreRegistratore::comandoRicevuto, [&] {
    if (cassaPrima.comandi().size() != 1) return;
    QTimer::singleShot(0, [&] {
      secondo.collegamento().trasporto().iniziaLavoro();
      esitoSecondo = secondo.collegamento().driver().EsameComandi(fileSecondo, "127.0.0.1");
    });
  });
  primo.collegamento().trasporto().iniziaLavoro();
  const bool esitoPrimo = primo.collegamento().driver().EsameComandi(filePrimo, "127.0.0.1");

  ASSERT_TRUE(esitoSecondo.has_value());
  EXPECT_TRUE(esitoPrimo);
  EXPECT_TRUE(*esitoSecondo);
  EXPECT_EQ(cassaPrima.comandi(), kArchivio);
  EXPECT_EQ(cassaSeconda.comandi(), kArchivio);
  EXPECT_EQ(primo.collegamento().driver().ComandiRifiutati(), QStringList{kArchivio[1]});
  EXPECT_TRUE(secondo.collegamento().driver().ComandiRifiutati().isEmpty());
}

}  // namespace
}  // namespace listinova::testing
