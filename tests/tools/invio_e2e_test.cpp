// The send job as the operator runs it: the program's own code from the store to the wire,
// over the real serial port on a pseudo-terminal and the real UDP channel on loopback, with a
// simulated register at the other end.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QUdpSocket>
#include <optional>

#include <sqlite3.h>

#include "banco_casse.h"
#include "register/casse_configurate.h"
#include "register/lavoro_in_corso.h"
#include "register/protocollo_ostrel.h"
#include "register/risposta_misuratore.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using simulatore::Comportamento;
using simulatore::RegolaCodice;
using simulatore::SimulatoreRegistratore;
using ::testing::ElementsAre;

const QString kSicuro = "Sicuro di dover inviare tutto l'archivio alla cassa?";
const QString kAltraPostazione = "DEVI INVIARE SU ALTRA POSTAZIONE ?";
const QString kTerminata = "PROCEDURA DI INVIO TERMINATA";
const QString kFallitaSeriale =
    "INVIO CASSA %1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: "
    "CAVO/PortaCOM/CASSA";
const QString kFallitaRete =
    "INVIO CASSA 1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: "
    "CAVO/INDIRIZZO IP/CASSA/RETE";

QString terminato(int cassa) { return QStringLiteral("INVIO CASSA %1 TERMINATO").arg(cassa); }

// The four records of the small shop below, in the order of the command file.
const QStringList kArchivio{
    QString::fromUtf8("P/51/12345/CAFFÈ ARABICA/2/0/4.50/150.00/12.000/00010000/"),
    QString::fromUtf8("P/52/8000000000099/CAFFÈ ARABICA/2/0/4.50/150.00/12.000/00010000/"),
    "P/53/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/",
    "P/54/8009876543210/PANE FRESCO/1/0/1.20/150.00/3.000/00010000/"};
const QStringList kModificatiTorvane{
    "A/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/10110000/0.00/0////",
    "A/8009876543210/PANE FRESCO/1/0/1.20/150.00/3.000/10110000/0.00/0////"};

// Water and bread are marked modified; the bread's name holds a tab and an ETX, which would
// split its frame, and must go as blanks. The coffee has an in-store code and a second barcode.
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
                  .descrizione = "PANE\tFRESCO\x03",
                  .genere = " 1 ",
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

const platform::Question* domanda(const FakePrompts& prompts, const QString& testo) {
  for (const platform::Question& d : prompts.asked)
    if (d.text == testo) return &d;
  return nullptr;
}

// The command file or the refusals' list of the register on `slot`, named after its address.
QString fileDi(const BancoCasse& banco, const QString& nome, int slot = 1) {
  if (!banco.porta(slot).isEmpty()) return nome + IndirizzoPerNomeFile(banco.porta(slot)) + ".txt";
  return nome + (nome == "FilePLU" ? "127001.txt" : "127.0.0.1.txt");
}

enum class Linea { Pty, Udp };

void PrintTo(Linea linea, std::ostream* out) { *out << (linea == Linea::Pty ? "Pty" : "Udp"); }

// Register 1 on either line. Only a serial register has its modified marks cleared.
class InvioSuLinea : public ::testing::TestWithParam<Linea> {
 protected:
  bool seriale() const { return GetParam() == Linea::Pty; }
  SimulatoreRegistratore& cassa(BancoCasse& b, const Comportamento& modo = {}) {
    negozio(b);
    return seriale() ? b.cassaSeriale(1, modo) : b.cassaInRete(modo);
  }

  BancoCasse banco;
};

// The whole archive and then the modified products with the longer records, as the command
// files hold them, each after its own enquiry; what the operator and the list were shown.
TEST_P(InvioSuLinea, WholeArchiveThenModifiedArriveExactlyAsTheCommandFileHoldsThem) {
  SimulatoreRegistratore& registratore = cassa(banco);
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(banco.righe(fileDi(banco, "FilePLU")), kArchivio);
  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
  EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "53", "54"}));
  EXPECT_TRUE(esito.avviato);
  EXPECT_EQ(esito.statoUscita(), 0);
  EXPECT_FALSE(QFile::exists(banco.percorso(fileDi(banco, "NonTRASMESSI"))));
  EXPECT_TRUE(banco.visualizzatore.visti.empty());
  EXPECT_TRUE(banco.logDriver().isEmpty()) << banco.logDriver().join('\n').toStdString();
  // Only a serial register asks about another station: Yes keeps the marks for it.
  EXPECT_EQ(banco.cronologia,
            seriale() ? (QStringList{kSicuro, terminato(1), kAltraPostazione, kTerminata})
                      : (QStringList{kSicuro, terminato(1), kTerminata}));
  EXPECT_EQ(banco.modificati(), 2);
  EXPECT_EQ(banco.stati.first(), "PREPARAZIONE DATI PER INVIO SULLE CASSE");
  EXPECT_TRUE(banco.stati.contains(seriale() ? "APERTO PORTA COM: " + banco.porta(1)
                                             : QString("APERTO CANALE IP: 127.0.0.1")));
  EXPECT_EQ(banco.stati.last(), "");
  EXPECT_THAT(banco.totaliRecord, ElementsAre(4));
  EXPECT_EQ(banco.recordAttuali, (QStringList{"0", "1", "2", "3", "4"}));

  banco.prompts.asked.clear();
  EXPECT_EQ(banco.invia(true, true).statoUscita(), 0);
  EXPECT_EQ(banco.righe(fileDi(banco, "FilePLU")), kModificatiTorvane);
  EXPECT_EQ(traffico(registratore).mid(8), conEnquiry(kModificatiTorvane));
  EXPECT_EQ(domanda(banco.prompts, kSicuro), nullptr);
}

// Paper out on line 1 and the cover open on line 3 are shown and the line resent without an
// enquiry; busy twice on line 2 is resent after a new enquiry; a code outside the table on
// line 4, of the class the driver ignores, is skipped. Every answer that was not a success is
// listed and the list shown; the next clean send leaves no list behind.
TEST_P(InvioSuLinea, EachAnswerCodeGetsItsOwnHandlingAndIsListed) {
  // Every answer comes after noise and, on the serial line, in pieces; over UDP a datagram is
  // an answer only when it holds the whole frame, so there only the noise.
  SimulatoreRegistratore& registratore =
      cassa(banco, {.spezza = seriale(),
                    .rumore = true,
                    .codici = {RegolaCodice::perRiga(1, "2C"), RegolaCodice::perRiga(2, "1A", 2),
                               RegolaCodice::perRiga(3, "33"), RegolaCodice::perRiga(4, "07")}});
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(
      traffico(registratore),
      (QStringList{"ENQ", kArchivio[0], kArchivio[0], "ENQ", kArchivio[1], "ENQ", kArchivio[1],
                   "ENQ", kArchivio[1], "ENQ", kArchivio[2], kArchivio[2], "ENQ", kArchivio[3]}));
  EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "53"}));
  EXPECT_EQ(esito.inviateBene, 1);
  EXPECT_EQ(banco.cronologia.mid(0, 4),
            (QStringList{kSicuro, "Carta finita", "Portello rotolo aperto", terminato(1)}));
  ASSERT_NE(domanda(banco.prompts, "Carta finita"), nullptr);
  EXPECT_EQ(domanda(banco.prompts, "Carta finita")->icon, platform::Icon::Exclamation);

  const QString esitoBusy = "ESITO : Errore N.26 - Descr.: Stampante Busy, reinviare il comando";
  const QStringList elenco{
      "Invio: ", kArchivio[0], "ESITO : Errore N.44 - Descr.: Carta finita",
      "Invio: ", kArchivio[1], esitoBusy,
      "Invio: ", kArchivio[1], esitoBusy,
      "Invio: ", kArchivio[2], "ESITO : Errore N.51 - Descr.: Portello rotolo aperto",
      "Invio: ", kArchivio[3], "ESITO : Errore N.7 - Descr.: Il PLU non esiste"};
  const QString nonTrasmessi = banco.percorso(fileDi(banco, "NonTRASMESSI"));
  EXPECT_EQ(banco.righe(fileDi(banco, "NonTRASMESSI")), elenco);
  ASSERT_EQ(banco.visualizzatore.visti.size(), 1u);
  EXPECT_EQ(banco.visualizzatore.visti[0].percorso, nonTrasmessi);
  EXPECT_EQ(banco.visualizzatore.visti[0].testo, elenco.join("\r\n") + "\r\n");

  const QStringList voceBusy{"         ESITO : 26 - Stampante Busy, reinviare il comando - 1",
                             "LOG - Errore!",
                             "         Azione Intrapresa : Tracciato e Ripetuto il comando"};
  EXPECT_EQ(banco.logDriver(),
            QStringList({"         ESITO : 44 - Carta finita - 4", "Errore!"})
                << voceBusy << voceBusy
                << QStringList({"         ESITO : 51 - Portello rotolo aperto - 4", "Errore!",
                                "         ESITO : 7 - Il PLU non esiste - 2", "LOG - Errore!",
                                "         Azione Intrapresa : Tracciato e Ignorato il comando "
                                "che ha dato l'errore"}));

  // The list went to the program's folder, which the settings now name as the output folder.
  EXPECT_EQ(LeggiINI(banco.cartella.setup(), "Cartelle", "OUT", "?"), "C:");
  ScriviINI(banco.cartella.setup(), "Cartelle", "OUT", "C:\\Uscita");
  EXPECT_EQ(banco.collegamento().driver().cartellaUscita(), banco.percorso("Uscita"));
  ScriviINI(banco.cartella.setup(), "Cartelle", "OUT", "C:");

  registratore.impostaComportamento({});
  EXPECT_EQ(banco.invia(false).inviateBene, 1);
  EXPECT_FALSE(QFile::exists(nonTrasmessi));
  EXPECT_EQ(banco.visualizzatore.visti.size(), 1u);
}

TEST_P(InvioSuLinea, GraveFaultEndsTheProgramMidJob) {
  SimulatoreRegistratore& registratore = cassa(banco, {.codici = {RegolaCodice::perRiga(2, "1D")}});
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(banco.terminazioni, 1);
  EXPECT_EQ(esito.inviateBene, 0);
  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio.mid(0, 2)));
  EXPECT_EQ(banco.modificati(), 2);
  const QString guasto = "Raggiunto limite massimo Programmazione Intestazioni scontrino";
  EXPECT_EQ(banco.cronologia.mid(0, 3),
            (QStringList{kSicuro, guasto,
                         "Errore Grave della stampante fiscale, chiamare assistenza\n\n" +
                             guasto.toUpper()}));
  EXPECT_EQ(banco.logDriver().value(1), "LOG - ERRORE GRAVE DI DISPOSITIVO!");
  EXPECT_EQ(banco.righe(fileDi(banco, "NonTRASMESSI")),
            (QStringList{"Invio: ", kArchivio[1], "ESITO : Errore N.29 - Descr.: " + guasto}));
  EXPECT_TRUE(banco.visualizzatore.visti.empty());
}

TEST_P(InvioSuLinea, SecondPressWhileSendingIsRefused) {
  SimulatoreRegistratore& registratore = cassa(banco, {.ritardoMs = 50});
  banco.prompts.defaultAnswer = Answer::Yes;
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
}

// A line counts as taken only on a whole answer with a good checksum and the code 00. The
// water (line 3, marked modified) is refused, in each way a register can; the bread goes
// through. The register's refusal reaches the list, the exit status and the marks.
TEST_P(InvioSuLinea, RefusedOrUnreadableAnswerIsListedAndItsProductKeepsTheMark) {
  const QString nonValido = RispostaMisuratore::kCodiceNonValido;
  const struct {
    const char* nome;
    Comportamento modo;
    QString esito;
  } casi[] = {
      {"corrupted 00, then 09 after the NAK",
       {.corrottoPrima = "00", .codici = {RegolaCodice::perRiga(3, "09")}},
       "9 - Descr.: Aliquota IVA errata, controllare corrispondenza IVA-Reparto"},
      {"ZZ", {.codici = {RegolaCodice::perRiga(3, "ZZ")}}, "ZZ - Descr.: " + nonValido},
      {"NUL NUL",
       {.codici = {RegolaCodice::perRiga(3, QByteArray(2, '\0'))}},
       "?? - Descr.: " + nonValido},
      {"empty body", {.codici = {RegolaCodice::perRiga(3, "")}}, "?? - Descr.: " + nonValido},
      {"outside the table", {.codici = {RegolaCodice::perRiga(3, "5A")}}, "90 - Descr.: "},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoCasse b;
    SimulatoreRegistratore& registratore = cassa(b, caso.modo);
    b.prompts.answers = {Answer::Yes, Answer::No};
    const EsitoInvio esito = b.invia(false);

    EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
    EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "54"}));
    EXPECT_EQ(b.righe(fileDi(b, "NonTRASMESSI")),
              (QStringList{"Invio: ", kArchivio[2], "ESITO : Errore N." + caso.esito}));
    EXPECT_TRUE(
        ("\n" + b.logDriver().join('\n'))
            .contains("\n         ESITO : " + caso.esito.section(" - Descr.: ", 0, 0) + " - "))
        << b.logDriver().join('\n').toStdString();
    EXPECT_EQ(esito.conRifiuti, 1);
    EXPECT_EQ(esito.statoUscita(), 2);
    EXPECT_EQ(b.negozio.righe("Select CodMateriale from Magazzino where Modificato=-1"),
              seriale() ? QStringList{"1"} : (QStringList{"1", "3"}));
  }
}

// Busy is asked again, with a new enquiry, for as long as the bound allows (400 ms here).
TEST_P(InvioSuLinea, BusyForAWhileIsWaitedOutBusyTooLongFailsTheRegister) {
  for (const int occupatoMs : {150, 60000}) {
    SCOPED_TRACE(occupatoMs);
    const bool riesce = occupatoMs < 400;
    BancoCasse b;
    b.limiti.occupatoMs = 400;
    SimulatoreRegistratore& registratore =
        cassa(b, {.codici = {RegolaCodice::occupatoPer(2, occupatoMs)}});
    b.prompts.answers = {Answer::Yes, Answer::No};
    const EsitoInvio esito = b.invia(false);

    EXPECT_GT(registratore.comandi().count(kArchivio[1]), 1);
    EXPECT_EQ(esito.statoUscita(), riesce ? 0 : 1);
    EXPECT_EQ(registratore.comandi().contains(kArchivio[2]), riesce);
    EXPECT_EQ(b.cronologia.contains(seriale() ? kFallitaSeriale.arg(1) : kFallitaRete), !riesce);
    EXPECT_EQ(b.modificati(), riesce && seriale() ? 0 : 2);
    EXPECT_EQ(b.logDriver().contains(
                  "          *** Cassa occupata da 0 secondi, esco definitivamente. FINE."),
              !riesce);
  }
}

INSTANTIATE_TEST_SUITE_P(Linee, InvioSuLinea, ::testing::Values(Linea::Pty, Linea::Udp),
                         [](const ::testing::TestParamInfo<Linea>& info) {
                           return info.param == Linea::Pty ? "Pty" : "Udp";
                         });

// With every serial register served the marks go without a question; one that fails keeps
// them. The second register here takes enquiries but never a command: six timeouts, 18 s.
TEST(PiuCasseE2e, AllServedClearTheMarksOneFailingKeepsThem) {
  for (const int quante : {2, 3}) {
    SCOPED_TRACE(quante);
    BancoCasse banco;
    negozio(banco);
    std::vector<SimulatoreRegistratore*> casse;
    for (int slot = 1; slot <= quante; ++slot) casse.push_back(&banco.cassaSeriale(slot));
    banco.prompts.defaultAnswer = Answer::Yes;
    const EsitoInvio esito = banco.invia(false);

    QStringList attese{kSicuro};
    for (int slot = 1; slot <= quante; ++slot) {
      EXPECT_EQ(casse[slot - 1]->comandi(), kArchivio);
      EXPECT_EQ(banco.righe(fileDi(banco, "FilePLU", slot)), kArchivio);
      attese << terminato(slot);
    }
    EXPECT_EQ(banco.cronologia, attese << kTerminata);
    EXPECT_EQ(esito.riuscite, quante);
    EXPECT_EQ(banco.modificati(), 0);
  }

  BancoCasse banco;
  negozio(banco);
  SimulatoreRegistratore& prima = banco.cassaSeriale(1);
  SimulatoreRegistratore& seconda = banco.cassaSeriale(2, {.silenziosoAiComandi = true});
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(prima.comandi(), kArchivio);
  EXPECT_EQ(traffico(seconda), conEnquiry(QStringList(6, kArchivio[0])));
  EXPECT_EQ(banco.logDriver(),
            QStringList(5, "          *** uscito per timeout comunicazione, RIMANDO COMANDO")
                << "          *** Troppi timeout, esco definitivamente. FINE.");
  EXPECT_EQ(banco.righe(fileDi(banco, "NonTRASMESSI", 2)),
            QStringList{"*** Troppi timeout, esco definitivamente. FINE."});
  EXPECT_EQ(banco.visualizzatore.visti.size(), 1u);
  EXPECT_EQ(banco.cronologia,
            (QStringList{kSicuro, terminato(1), kFallitaSeriale.arg(2), kTerminata}));
  EXPECT_EQ(esito.riuscite, 1);
  EXPECT_EQ(banco.modificati(), 2);
}

// Nothing reaches a register and no mark goes: no register configured, the whole send
// declined, nothing modified, a command file that cannot be replaced (sending the old one
// would put old prices on the register), the store locked while the marks are cleared.
TEST(InvioNonFattoE2e, EachCaseSaysWhyAndKeepsTheMarks) {
  {
    BancoCasse banco;
    negozio(banco);
    banco.prompts.defaultAnswer = Answer::Yes;
    const EsitoInvio esito = banco.invia(false);
    EXPECT_EQ(banco.negozio.conta("Select * from MagazzinoPerOstrel"), 4);
    EXPECT_TRUE(QDir(banco.cartella.root()).entryList({"FilePLU*", "NonTRASMESSI*"}).isEmpty());
    EXPECT_EQ(banco.cronologia, (QStringList{kSicuro, InvioPlu::kNessunaCassa, kTerminata}));
    EXPECT_EQ(esito.casse, 0);
    EXPECT_EQ(esito.statoUscita(), 1);
    EXPECT_EQ(banco.modificati(), 2);
  }
  {
    BancoCasse banco;
    negozio(banco);
    SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
    banco.prompts.defaultAnswer = Answer::No;
    EXPECT_FALSE(banco.invia(false).avviato);
    EXPECT_EQ(banco.cronologia, QStringList{kSicuro});
    EXPECT_FALSE(QFile::exists(banco.percorso(fileDi(banco, "FilePLU"))));
    banco.cronologia.clear();
    banco.prompts.asked.clear();
    banco.db->execute("UPDATE Magazzino SET Magazzino.Modificato = 0");
    EXPECT_FALSE(banco.invia(true).avviato);
    EXPECT_EQ(banco.cronologia, QStringList{"Nessun dato da inviare"});
    EXPECT_EQ(banco.prompts.asked.at(0).icon, platform::Icon::Information);
    EXPECT_TRUE(registratore.ricevuti().isEmpty());
  }
  {
    BancoCasse banco;
    negozio(banco);
    SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
    const QString vecchio = banco.percorso(fileDi(banco, "FilePLU"));
    ASSERT_TRUE(QDir().mkpath(vecchio));
    QFile dentro(vecchio + "/vecchio.txt");
    ASSERT_TRUE(dentro.open(QIODevice::WriteOnly));
    dentro.write("P/51/8001234567890/PREZZO VECCHIO/3/0/0.10/150.00/1.000/00010000/\r\n");
    dentro.close();
    ErrorLog registro(banco.cartella.root(), banco.clock);
    installaErrorLog(&registro);
    banco.prompts.defaultAnswer = Answer::Yes;
    const EsitoInvio esito = banco.invia(false);
    installaErrorLog(nullptr);

    EXPECT_TRUE(registratore.ricevuti().isEmpty());
    EXPECT_EQ(banco.cronologia, (QStringList{kSicuro, kFallitaSeriale.arg(1), kTerminata}));
    EXPECT_EQ(esito.statoUscita(), 1);
    EXPECT_EQ(banco.modificati(), 2);
    QFile errori(banco.negozio.file("Dati/ErrorLog.dat"));
    ASSERT_TRUE(errori.open(QIODevice::ReadOnly));
    EXPECT_TRUE(errori.readAll().contains("ScriviFilePLU"));
  }
  {
    BancoCasse banco;
    negozio(banco);
    SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
    sqlite3* altro = nullptr;
    ASSERT_EQ(sqlite3_open(banco.negozio.percorsoArchivio().toUtf8().constData(), &altro),
              SQLITE_OK);
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
    EXPECT_EQ(esito.statoUscita(), 1);
    EXPECT_EQ(banco.modificati(), 2);
    EXPECT_TRUE(banco.cronologia.value(3).startsWith(
        "Impossibile togliere il segno di modifica ai prodotti inviati"))
        << banco.cronologia.join('\n').toStdString();
  }
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
