// The send job as the operator runs it: the program's own code from the store to the wire,
// over the real serial port on a pseudo-terminal and the real UDP channel on loopback, with a
// simulated register at the other end.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <optional>

#include <sqlite3.h>

#include "banco_casse.h"
#include "platform/printers.h"
#include "programma/frm_setup_cassa.h"
#include "register/casse_configurate.h"
#include "register/lavoro_in_corso.h"
#include "register/protocollo_ostrel.h"
#include "register/prova_collegamento.h"
#include "register/risposta_misuratore.h"
#include "startup/impostazioni.h"
#include "startup/var_globali.h"
#include "support/file_helpers.h"
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
const QString kFallita =
    "INVIO CASSA %1 NON EFFETTUATO!!! - PROBLEMI DI COMUNICAZIONE - VERIFICARE: ";
const QString kFallitaSeriale = kFallita + "CAVO/PortaCOM/CASSA";
const QString kFallitaRete = kFallita.arg(1) + "CAVO/INDIRIZZO IP/CASSA/RETE";

QString terminato(int cassa) { return QStringLiteral("INVIO CASSA %1 TERMINATO").arg(cassa); }

// The four records of the small shop below, in the order of the command file.
const QStringList kArchivio{
    QString::fromUtf8("P/51/12345/CAFFÈ ARABICA/2/0/4.50/150.00/12.000/00010000/"),
    QString::fromUtf8("P/52/8000000000099/CAFFÈ ARABICA/2/0/4.50/150.00/12.000/00010000/"),
    "P/53/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/00010000/",
    "P/54/8009876543210/PANE/1/0/1.20/150.00/3.000/00010000/"};

ProdottoDiProva modificato(ProdottoDiProva p) {
  p.modificato = true;
  return p;
}

// Water and bread are marked modified; the coffee has an in-store code and a second barcode.
void negozio(BancoCasse& banco) {
  banco.negozio.prodotto(modificato({"1", "ACQUA NAT. 1,5L", "8001234567890", "3", 0, "0,35"}))
      .prodotto({"2", QString::fromUtf8("CAFFÈ ARABICA"), "2012345000017", "Reparto2", 12, "4,50"})
      .barCodeUlteriore("2", "8000000000099")
      .prodotto(modificato({"3", "PANE", "8009876543210", "1", 3, "1,20"}));
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

// Register 1 of the small shop on a pseudo-terminal (true) or on UDP.
class InvioSuLinea : public ::testing::TestWithParam<bool> {
 protected:
  bool seriale() const { return GetParam(); }
  SimulatoreRegistratore& cassa(BancoCasse& banco, const Comportamento& modo = {}) {
    negozio(banco);
    banco.prompts.answers = {Answer::Yes, Answer::No};
    banco.prompts.defaultAnswer = Answer::Yes;
    return seriale() ? banco.cassaSeriale(1, modo) : banco.cassaInRete(modo);
  }
  // "FilePLU" or "NonTRASMESSI" of register 1: the file names follow its address.
  QString file(const BancoCasse& banco, const QString& nome) const {
    const QString rete = nome == "FilePLU" ? "127001" : "127.0.0.1";
    return nome + (seriale() ? IndirizzoPerNomeFile(banco.porta(1)) : rete) + ".txt";
  }
};

// A declined whole send sends nothing. The whole archive, then the modified products in the
// other family's records, go exactly as the command file holds them; a second press meanwhile is
// refused; a line feed or an ETX in a description goes as a blank.
TEST_P(InvioSuLinea, ArchiveThenModifiedGoAsTheCommandFileHoldsThem) {
  BancoCasse banco;
  SimulatoreRegistratore& registratore = cassa(banco, {.ritardoMs = 50});
  banco.prompts.answers = {Answer::No};
  EXPECT_FALSE(banco.invia(false).avviato);
  EXPECT_FALSE(QFile::exists(banco.percorso(file(banco, "FilePLU"))));
  EXPECT_TRUE(registratore.ricevuti().isEmpty());
  std::optional<EsitoInvio> secondo;
  QObject::connect(&registratore, &SimulatoreRegistratore::comandoRicevuto, [&] {
    if (registratore.comandi().size() == 1)
      QTimer::singleShot(0, [&] { secondo = banco.invia(false); });
  });
  const EsitoInvio esito = banco.invia(false);

  ASSERT_TRUE(secondo.has_value());
  EXPECT_FALSE(secondo->avviato);
  EXPECT_EQ(banco.righe(file(banco, "FilePLU")), kArchivio);
  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
  EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "53", "54"}));
  EXPECT_EQ(esito.inviateBene, 1);
  EXPECT_FALSE(QFile::exists(banco.percorso(file(banco, "NonTRASMESSI"))));
  EXPECT_TRUE(banco.visualizzatore.shown.empty());
  EXPECT_TRUE(banco.logDriver().isEmpty()) << banco.logDriver().join('\n').toStdString();
  // Only a serial register asks about another station (Yes keeps the marks for it).
  QStringList attese{kSicuro, kSicuro, QString::fromUtf8(LavoroInCorso::kMessaggio), terminato(1)};
  if (seriale()) attese << kAltraPostazione;
  EXPECT_EQ(banco.cronologia, attese << kTerminata);
  EXPECT_EQ(banco.modificati(), 2);

  banco.negozio.prodotto(modificato({"4", "AC\nQUA\x03 \tFRESCA\x02", "8000000000105", " 2 "}));
  EXPECT_EQ(banco.invia(true, true).inviateBene, 1);
  const QStringList modificati{
      "A/8000000000105/AC QUA   FRESCA/2/0/1.00/150.00/5.000/10110000/0.00/0////",
      "A/8001234567890/ACQUA NAT. 1.5L/3/0/0.35/150.00/900.000/10110000/0.00/0////",
      "A/8009876543210/PANE/1/0/1.20/150.00/3.000/10110000/0.00/0////"};
  EXPECT_EQ(banco.righe(file(banco, "FilePLU")), modificati);
  EXPECT_EQ(traffico(registratore).mid(8), conEnquiry(modificati));
}

// Paper out on line 1 and the cover open on line 3 are shown and the line resent without an
// enquiry; busy twice on line 2 is resent after a new enquiry; a code outside the table on
// line 4 is skipped. Every answer is logged; the record refused in the end is listed and the
// list shown; the next clean send leaves no list behind.
TEST_P(InvioSuLinea, EachAnswerCodeGetsItsOwnHandlingAndIsListed) {
  // Every answer comes after noise and, on the serial line, in pieces; over UDP a datagram is
  // an answer only when it holds the whole frame, so there only the noise.
  BancoCasse banco;
  SimulatoreRegistratore& registratore =
      cassa(banco, {.spezza = seriale(),
                    .rumore = true,
                    .codici = {RegolaCodice::perRiga(1, "2C"), RegolaCodice::perRiga(2, "1A", 2),
                               RegolaCodice::perRiga(3, "33"), RegolaCodice::perRiga(4, "5A")}});
  EXPECT_EQ(banco.invia(false).inviateBene, 1);

  EXPECT_EQ(
      traffico(registratore),
      (QStringList{"ENQ", kArchivio[0], kArchivio[0], "ENQ", kArchivio[1], "ENQ", kArchivio[1],
                   "ENQ", kArchivio[1], "ENQ", kArchivio[2], kArchivio[2], "ENQ", kArchivio[3]}));
  EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "53"}));
  EXPECT_EQ(banco.cronologia.mid(0, 4),
            (QStringList{kSicuro, "Carta finita", "Portello rotolo aperto", terminato(1)}));

  // Paper, busy and cover were waited out and the records taken: only the refused one is listed.
  const QString elenco = file(banco, "NonTRASMESSI");
  EXPECT_EQ(banco.righe(elenco),
            (QStringList{"Invio: ", kArchivio[3], "ESITO : Errore N.90 - Descr.: "}));
  EXPECT_EQ(banco.visualizzatore.shown, QStringList{banco.percorso(elenco)});
  const QStringList voceBusy{"         ESITO : 26 - Stampante Busy, reinviare il comando - 1",
                             "LOG - Errore!",
                             "         Azione Intrapresa : Tracciato e Ripetuto il comando"};
  EXPECT_EQ(banco.logDriver(),
            QStringList({"         ESITO : 44 - Carta finita - 4", "Errore!"})
                << voceBusy << voceBusy
                << QStringList({"         ESITO : 51 - Portello rotolo aperto - 4", "Errore!",
                                "         ESITO : 90 -  - 0"}));

  registratore.impostaComportamento({});
  banco.prompts.answers.clear();
  EXPECT_EQ(banco.invia(false).inviateBene, 1);
  EXPECT_FALSE(QFile::exists(banco.percorso(elenco)));
  EXPECT_EQ(banco.visualizzatore.shown.size(), 1);
}

TEST_P(InvioSuLinea, GraveFaultEndsTheProgramMidJob) {
  BancoCasse banco;
  SimulatoreRegistratore& registratore = cassa(banco, {.codici = {RegolaCodice::perRiga(2, "1D")}});
  EXPECT_EQ(banco.invia(false).inviateBene, 0);

  EXPECT_EQ(banco.terminazioni, 1);
  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio.mid(0, 2)));
  EXPECT_EQ(banco.modificati(), 2);
  const QString guasto = "Raggiunto limite massimo Programmazione Intestazioni scontrino";
  EXPECT_EQ(banco.cronologia.mid(0, 3),
            (QStringList{kSicuro, guasto,
                         "Errore Grave della stampante fiscale, chiamare assistenza\n\n" +
                             guasto.toUpper()}));
  EXPECT_EQ(
      banco.logDriver(),
      (QStringList{"         ESITO : 29 - " + guasto + " - 9", "LOG - ERRORE GRAVE DI DISPOSITIVO!",
                   "         Azione Intrapresa : Tracciato, Errore grave di stato "
                   "misuratore fiscale, chiudo Driver"}));
  EXPECT_EQ(banco.righe(file(banco, "NonTRASMESSI")),
            (QStringList{"Invio: ", kArchivio[1], "ESITO : Errore N.29 - Descr.: " + guasto}));
  EXPECT_TRUE(banco.visualizzatore.shown.empty());
}

// A line counts as taken only on a whole answer with a good checksum and the code 00. The
// water (line 3, marked modified) is refused, in each way a register can; the bread goes
// through. The register's refusal reaches the list, the exit status and the marks.
TEST_P(InvioSuLinea, RefusedOrUnreadableAnswerIsListedAndItsProductKeepsTheMark) {
  const QString nonValido = QString(" - Descr.: ") + RispostaMisuratore::kCodiceNonValido;
  const struct {
    const char* nome;
    Comportamento modo;
    QString esito;
  } casi[] = {
      {"corrupted 00, then 09 after the NAK",
       {.corrottoPrima = "00", .codici = {RegolaCodice::perRiga(3, "09")}},
       "9 - Descr.: Aliquota IVA errata, controllare corrispondenza IVA-Reparto"},
      {"ZZ", {.codici = {RegolaCodice::perRiga(3, "ZZ")}}, "ZZ" + nonValido},
      {"??", {.codici = {RegolaCodice::perRiga(3, "??")}}, "??" + nonValido},
      {"NUL NUL", {.codici = {RegolaCodice::perRiga(3, QByteArray(2, '\0'))}}, "??" + nonValido},
      {"empty body", {.codici = {RegolaCodice::perRiga(3, "")}}, "??" + nonValido},
      {"outside the table", {.codici = {RegolaCodice::perRiga(3, "5A")}}, "90 - Descr.: "},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoCasse banco;
    SimulatoreRegistratore& registratore = cassa(banco, caso.modo);
    const EsitoInvio esito = banco.invia(false);

    EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
    EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"51", "52", "54"}));
    EXPECT_EQ(banco.righe(file(banco, "NonTRASMESSI")),
              (QStringList{"Invio: ", kArchivio[2], "ESITO : Errore N." + caso.esito}));
    EXPECT_EQ(esito.inviateBene, 1);
    EXPECT_EQ(esito.conRifiuti, 1);
    EXPECT_EQ(esito.statoUscita(), 2);
    // Only a serial register clears the marks; the network one never does.
    EXPECT_EQ(banco.negozio.righe("Select CodMateriale from Magazzino where Modificato=-1"),
              seriale() ? QStringList{"1"} : (QStringList{"1", "3"}));
  }
}

// Busy is asked again, with a new enquiry, for as long as the bound allows (400 ms here).
TEST_P(InvioSuLinea, BusyForAWhileIsWaitedOutBusyTooLongFailsTheRegister) {
  for (const int occupatoMs : {150, 60000}) {
    SCOPED_TRACE(occupatoMs);
    const bool riesce = occupatoMs < 400;
    BancoCasse banco;
    banco.limiti.occupatoMs = 400;
    SimulatoreRegistratore& registratore =
        cassa(banco, {.codici = {RegolaCodice::occupatoPer(2, occupatoMs)}});
    EXPECT_EQ(banco.invia(false).statoUscita(), riesce ? 0 : 1);

    EXPECT_GT(registratore.comandi().count(kArchivio[1]), 1);
    // a record taken in the end is not listed as refused
    EXPECT_EQ(banco.visualizzatore.shown.empty(), riesce);
    EXPECT_EQ(registratore.comandi().contains(kArchivio[2]), riesce);
    EXPECT_EQ(banco.cronologia.contains(seriale() ? kFallitaSeriale.arg(1) : kFallitaRete),
              !riesce);
    EXPECT_EQ(banco.modificati(), riesce && seriale() ? 0 : 2);
  }
}

// A register address changed in the setup window is tried and sent to on the link already
// open, without a restart.
TEST_P(InvioSuLinea, TheSetupWindowsNewAddressHoldsOnTheLinkAlreadyOpen) {
  BancoCasse banco;
  SimulatoreRegistratore& registratore = cassa(banco);
  banco.prompts.answers.clear();
  const QString indirizzo = seriale() ? banco.porta(1) : "127.0.0.1";
  // The shop was set up for a register that is no longer there; the link is already open.
  ASSERT_TRUE(writeAll(banco.cartella.setup(), "[RegCassa]\r\nPortaCOM=/dev/ttyS77\r\n"));
  LeggiImpostazioni(Globali());
  CollegamentoCasse& collegamento = banco.collegamento();
  platform::FixedPrinters stampanti;
  AmbienteSetup ambiente{banco.prompts, stampanti, {{indirizzo, "Simulatore"}}};
  ambiente.provaCollegamento = [&] {
    return ProvaCollegamento(collegamento.trasporto(), Globali());
  };
  FrmSetupCassa finestra(std::move(ambiente), Globali());
  auto* porta = finestra.findChild<QComboBox*>("cbPortaComCassa");
  porta->setCurrentIndex(porta->findData(seriale() ? indirizzo : QString()));
  emit porta->activated(porta->currentIndex());
  for (int i = 0; i < 4 && !seriale(); ++i)
    QTest::keyClicks(finestra.findChild<QLineEdit*>(QStringLiteral("txtIP%1").arg(i + 1)),
                     indirizzo.section('.', i, i));
  // Unsaved: the test offers to store first, and the operator says yes.
  finestra.findChild<QPushButton*>("cmdProvaCollegamento")->click();
  EXPECT_EQ(askedTexts(banco.prompts).value(1),
            QStringLiteral("Cassa 1 (%1): collegata, risponde").arg(indirizzo));
  EXPECT_FALSE(finestra.modificato());

  EXPECT_TRUE(banco.invia(false).tutteRiuscite());
  EXPECT_EQ(registratore.comandi(), kArchivio);
}

INSTANTIATE_TEST_SUITE_P(Linee, InvioSuLinea, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Pty" : "Udp"; });

// Register 1 takes everything; register 2 takes enquiries but never a command (six command
// timeouts); the command file of register 3's last send cannot be replaced, and sending it
// again would put old prices on the register. Each failure is told by its cause and keeps
// the marks.
TEST(CasseConfigurateE2e, AnyRegisterFailingKeepsTheMarks) {
  BancoCasse banco;
  negozio(banco);
  SimulatoreRegistratore& prima = banco.cassaSeriale(1);
  SimulatoreRegistratore& seconda = banco.cassaSeriale(2, {.silenziosoAiComandi = true});
  SimulatoreRegistratore& terza = banco.cassaSeriale(3);
  const QString vecchio = banco.percorso("FilePLU" + IndirizzoPerNomeFile(banco.porta(3)) + ".txt");
  ASSERT_TRUE(writeAll(vecchio + "/vecchio.txt", "P/51/8001234567890/VECCHIO/3/0/0.10/\r\n"));
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  const QString troppiTimeout = "*** Troppi timeout, esco definitivamente. FINE.";
  EXPECT_EQ(prima.comandi(), kArchivio);
  EXPECT_EQ(traffico(seconda), conEnquiry(QStringList(6, kArchivio[0])));
  EXPECT_TRUE(terza.ricevuti().isEmpty());
  EXPECT_EQ(banco.logDriver(),
            QStringList(5, "          *** uscito per timeout comunicazione, RIMANDO COMANDO")
                << "          " + troppiTimeout);
  const QString nonTrasmessi = "NonTRASMESSI" + IndirizzoPerNomeFile(banco.porta(2)) + ".txt";
  EXPECT_EQ(banco.righe(nonTrasmessi), QStringList{troppiTimeout});
  EXPECT_EQ(banco.visualizzatore.shown, QStringList{banco.percorso(nonTrasmessi)});
  ASSERT_EQ(banco.cronologia.size(), 5);
  EXPECT_EQ(banco.cronologia.mid(0, 3),
            (QStringList{kSicuro, terminato(1), kFallitaSeriale.arg(2)}));
  // The operator hears the real cause, not a communication problem.
  EXPECT_TRUE(banco.cronologia[3].startsWith("Al posto del file"))
      << banco.cronologia[3].toStdString();
  EXPECT_EQ(esito.riuscite, 1);
  EXPECT_EQ(esito.statoUscita(), 1);
  EXPECT_EQ(banco.modificati(), 2);
}

// Another program holds the store while the marks are cleared: a clear message, no mark
// changed, a failed exit status.
TEST(CasseConfigurateE2e, StoreLockedWhileClearingTheMarksKeepsThemAndSaysSo) {
  BancoCasse banco;
  negozio(banco);
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
  EXPECT_EQ(banco.modificati(), 2);
  ASSERT_EQ(banco.cronologia.size(), 5);
  EXPECT_TRUE(banco.cronologia[3].startsWith(
      "Impossibile togliere il segno di modifica ai prodotti inviati"))
      << banco.cronologia[3].toStdString();
}

// Our own command sent back, a doubled answer, or another program's register sending "00" and
// ACKs is never the answer: each record goes once, the water's refusal still reaches the list
// and the bread is never refused in its place.
TEST(AnswerOfTheCommandE2e, EchoesDoublesAndStrangersAreNeverTakenForTheAnswer) {
  const struct {
    const char* nome;
    bool rete;
    Comportamento modo;
    bool estraneo = false;
  } casi[] = {
      {"echo, network", true, {.eco = true}},
      {"echo, serial", false, {.eco = true}},
      {"doubled, network", true, {.doppio = true}},
      {"doubled, serial", false, {.doppio = true}},
      {"stranger, network", true, {.ritardoMs = 20}, true},
  };
  for (auto caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoCasse banco;
    negozio(banco);
    caso.modo.codici = {RegolaCodice::perRiga(1, "09")};
    SimulatoreRegistratore& registratore =
        caso.rete ? banco.cassaInRete(caso.modo) : banco.cassaSeriale(1, caso.modo);
    QUdpSocket estraneo;
    QTimer disturbo;
    QObject::connect(&disturbo, &QTimer::timeout, [&] {
      for (const QByteArray& finta : {QByteArray(1, Controllo::ACK), IncorniciaComando("00/00/00")})
        estraneo.writeDatagram(finta, QHostAddress::LocalHost, banco.portaLocale());
    });
    if (caso.estraneo) disturbo.start(2);
    const EsitoInvio esito = banco.invia(true);

    const QString chiave = caso.rete ? "127001" : IndirizzoPerNomeFile(banco.porta(1));
    const QStringList comandi = banco.righe("FilePLU" + chiave + ".txt");
    EXPECT_EQ(traffico(registratore), conEnquiry(comandi));
    EXPECT_EQ(banco.righe("NonTRASMESSI" + (caso.rete ? "127.0.0.1" : chiave) + ".txt"),
              (QStringList{"Invio: ", comandi.value(0),
                           "ESITO : Errore N.9 - Descr.: Aliquota IVA errata, controllare "
                           "corrispondenza IVA-Reparto"}));
    EXPECT_EQ(esito.statoUscita(), 2);
  }
}

// Two copies of the program on one computer share the register port: each send, running at
// the same time as the other, gets its own register's answers and no one else's.
TEST(AnswerOfTheCommandE2e, TwoSendsAtOnceOnOneLocalPortEachGetOnlyTheirOwnAnswers) {
  BancoCasse primo;
  BancoCasse secondo;
  SimulatoreRegistratore& cassaPrima =
      primo.cassaInRete({.ritardoMs = 10, .codici = {RegolaCodice::perRiga(2, "09")}});
  SimulatoreRegistratore& cassaSeconda =
      secondo.cassaInRete({.ritardoMs = 10}, primo.portaLocale());
  const QByteArray archivio = (kArchivio.join("\r\n") + "\r\n").toUtf8();
  const QString filePrimo = primo.negozio.file("FilePLU.txt", archivio);
  const QString fileSecondo = secondo.negozio.file("FilePLU.txt", archivio);

  std::optional<bool> esitoSecondo;
  QObject::connect(&cassaPrima, &SimulatoreRegistratore::comandoRicevuto, [&] {
    if (cassaPrima.comandi().size() != 1) return;
    QTimer::singleShot(0, [&] {
      secondo.collegamento().trasporto().iniziaLavoro();
      esitoSecondo = secondo.collegamento().driver().EsameComandi(fileSecondo, "127.0.0.1");
    });
  });
  primo.collegamento().trasporto().iniziaLavoro();
  EXPECT_TRUE(primo.collegamento().driver().EsameComandi(filePrimo, "127.0.0.1"));

  EXPECT_EQ(esitoSecondo, std::optional<bool>(true));
  EXPECT_EQ(cassaPrima.comandi(), kArchivio);
  EXPECT_EQ(cassaSeconda.comandi(), kArchivio);
  EXPECT_EQ(primo.collegamento().driver().ComandiRifiutati(), QStringList{kArchivio[1]});
  EXPECT_TRUE(secondo.collegamento().driver().ComandiRifiutati().isEmpty());
}

}  // namespace
}  // namespace listinova::testing
