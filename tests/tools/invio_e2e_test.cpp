// The send job as the operator runs it: the program's own code from the store to the wire,
// over the real serial port on a pseudo-terminal and the real UDP channel on loopback, with a
// simulated register at the other end.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTimer>

#include "banco_casse.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "register/casse_configurate.h"
#include "register/lavoro_in_corso.h"
#include "register/protocollo_ostrel.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
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

const platform::Question* domanda(const FakePrompts& prompts, const QString& testo) {
  for (const platform::Question& d : prompts.asked)
    if (d.text == testo) return &d;
  return nullptr;
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

TEST_P(InvioSuLinea, WholeArchiveArrivesExactlyAsTheCommandFileHoldsIt) {
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

  EXPECT_EQ(banco.stati.first(), "PREPARAZIONE DATI PER INVIO SULLE CASSE");
  EXPECT_TRUE(banco.stati.contains(seriale() ? "APERTO PORTA COM: " + banco.porta(1)
                                             : QString("APERTO CANALE IP: 127.0.0.1")));
  EXPECT_EQ(banco.stati.last(), "");
  EXPECT_THAT(banco.totaliRecord, ElementsAre(4));
  EXPECT_EQ(banco.recordAttuali, (QStringList{"0", "1", "2", "3", "4"}));
}

TEST_P(InvioSuLinea, ModifiedOnlyArrivesExactlyAsTheCommandFileHoldsIt) {
  SimulatoreRegistratore& registratore = cassa();
  const EsitoInvio esito = banco.invia(true, true);

  EXPECT_EQ(banco.righe(fileComandi()), kModificatiTorvane);
  EXPECT_EQ(registratore.comandi(), banco.righe(fileComandi()));
  EXPECT_EQ(traffico(registratore), conEnquiry(kModificatiTorvane));
  EXPECT_EQ(registratore.tabellaPlu().keys(), (QStringList{"8001234567890", "8009876543210"}));
  EXPECT_EQ(esito.inviateBene, 1);
  EXPECT_EQ(domanda(banco.prompts, kSicuro), nullptr);
}

TEST_P(InvioSuLinea, AnswersInPiecesAfterNoiseStillCarryEveryLine) {
  SimulatoreRegistratore& registratore = cassa({.spezza = true, .rumore = true});
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(registratore.comandi(), kArchivio);
  EXPECT_EQ(esito.inviateBene, 1);
  EXPECT_FALSE(QFile::exists(banco.percorso(nonTrasmessi())));
}

TEST_P(InvioSuLinea, BusyRegisterGetsTheSameCommandAfterANewEnquiry) {
  SimulatoreRegistratore& registratore = cassa({.codici = {RegolaCodice::perRiga(2, "1A", 2)}});
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(traffico(registratore), conEnquiry({kArchivio[0], kArchivio[1], kArchivio[1],
                                                kArchivio[1], kArchivio[2], kArchivio[3]}));
  EXPECT_EQ(registratore.tabellaPlu().size(), 4);
  EXPECT_EQ(esito.inviateBene, 1);

  const QString esitoBusy = "ESITO : Errore N.26 - Descr.: Stampante Busy, reinviare il comando";
  EXPECT_EQ(banco.righe(nonTrasmessi()),
            (QStringList{"Invio: ", kArchivio[1], esitoBusy, "Invio: ", kArchivio[1], esitoBusy}));
  const QStringList voceBusy{"         ESITO : 26 - Stampante Busy, reinviare il comando - 1",
                             "LOG - Errore!",
                             "         Azione Intrapresa : Tracciato e Ripetuto il comando"};
  EXPECT_EQ(banco.logDriver(), voceBusy + voceBusy);
}

TEST_P(InvioSuLinea, PaperAndCoverAreShownThenTheCommandIsResentWithoutEnquiry) {
  SimulatoreRegistratore& registratore =
      cassa({.codici = {RegolaCodice::perRiga(1, "2C"), RegolaCodice::perRiga(3, "33")}});
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(traffico(registratore),
            (QStringList{"ENQ", kArchivio[0], kArchivio[0], "ENQ", kArchivio[1], "ENQ",
                         kArchivio[2], kArchivio[2], "ENQ", kArchivio[3]}));
  EXPECT_EQ(registratore.tabellaPlu().size(), 4);
  EXPECT_EQ(esito.inviateBene, 1);

  const QStringList attese{kSicuro, "Carta finita", "Portello rotolo aperto", terminato(1)};
  EXPECT_EQ(banco.cronologia.mid(0, 4), attese);
  const platform::Question* carta = domanda(banco.prompts, "Carta finita");
  ASSERT_NE(carta, nullptr);
  EXPECT_EQ(carta->title, "Negozio di prova");
  EXPECT_EQ(carta->buttons, Buttons::Ok);
  EXPECT_EQ(banco.logDriver(),
            (QStringList{"         ESITO : 44 - Carta finita - 4", "Errore!",
                         "         ESITO : 51 - Portello rotolo aperto - 4", "Errore!"}));
}

TEST_P(InvioSuLinea, UnknownCodeIsListedSkippedAndShownToTheOperator) {
  SimulatoreRegistratore& registratore = cassa({.codici = {RegolaCodice::perRiga(2, "5A")}});
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(traffico(registratore), conEnquiry(kArchivio));
  EXPECT_FALSE(registratore.tabellaPlu().contains("52"));
  EXPECT_EQ(esito.inviateBene, 1);
  EXPECT_EQ(banco.righe(nonTrasmessi()),
            (QStringList{"Invio: ", kArchivio[1], "ESITO : Errore N.90 - Descr.: "}));
  EXPECT_EQ(banco.logDriver(), QStringList{"         ESITO : 90 -  - 0"});

  ASSERT_EQ(banco.visualizzatore.visti.size(), 1u);
  EXPECT_EQ(banco.visualizzatore.visti[0].percorso, banco.percorso(nonTrasmessi()));
  EXPECT_EQ(banco.visualizzatore.visti[0].testo,
            "Invio: \r\n" + kArchivio[1] + "\r\nESITO : Errore N.90 - Descr.: \r\n");
}

TEST_P(InvioSuLinea, NotTransmittedListBelongsToTheLastJobOnly) {
  SimulatoreRegistratore& registratore = cassa({.codici = {RegolaCodice::perRiga(1, "5A")}});
  banco.invia(false);
  ASSERT_TRUE(QFile::exists(banco.percorso(nonTrasmessi())));

  registratore.impostaComportamento({});
  const EsitoInvio secondo = banco.invia(false);
  EXPECT_EQ(secondo.inviateBene, 1);
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

TEST_F(CasseConfigurateE2e, OnlyPortaComAsksForAnotherStationAndNoClearsTheMarks) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  banco.prompts.answers = {Answer::Yes, Answer::No};
  const EsitoInvio esito = banco.invia(false);

  EXPECT_EQ(registratore.comandi(), fileDi(1));
  EXPECT_EQ(banco.cronologia, (QStringList{kSicuro, terminato(1), kAltraPostazione, kTerminata}));
  const platform::Question* sicuro = domanda(banco.prompts, kSicuro);
  ASSERT_NE(sicuro, nullptr);
  EXPECT_EQ(sicuro->title, "Negozio di prova");
  EXPECT_EQ(sicuro->buttons, Buttons::YesNo);
  const platform::Question* altra = domanda(banco.prompts, kAltraPostazione);
  ASSERT_NE(altra, nullptr);
  EXPECT_EQ(altra->title, "Listinova");
  EXPECT_EQ(altra->buttons, Buttons::YesNo);
  EXPECT_EQ(altra->icon, Icon::Question);
  EXPECT_EQ(esito.riuscite, 1);
  EXPECT_TRUE(esito.modificatiAzzerati);
  EXPECT_EQ(banco.modificati(), 0);
}

TEST_F(CasseConfigurateE2e, OnlyPortaComYesKeepsTheMarksForTheNextStation) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  banco.prompts.answers = {Answer::Yes};
  const EsitoInvio esito = banco.invia(true);

  EXPECT_EQ(registratore.comandi(), fileDi(1));
  EXPECT_EQ(registratore.comandi().size(), 2);
  EXPECT_EQ(banco.cronologia, (QStringList{terminato(1), kAltraPostazione, kTerminata}));
  EXPECT_FALSE(esito.modificatiAzzerati);
  EXPECT_EQ(banco.modificati(), modificatiPrima);
}

TEST(PiuCasseE2e, TwoOrThreePortsAllServedClearTheMarks) {
  for (const int quante : {2, 3}) {
    SCOPED_TRACE(quante);
    BancoCasse banco;
    negozio(banco);
    std::vector<SimulatoreRegistratore*> casse;
    for (int slot = 1; slot <= quante; ++slot) casse.push_back(&banco.cassaSeriale(slot));
    banco.prompts.defaultAnswer = Answer::Yes;
    const EsitoInvio esito = banco.invia(false);

    EXPECT_EQ(casse[0]->comandi(), kArchivio);
    QStringList attese{kSicuro};
    for (int slot = 1; slot <= quante; ++slot) {
      EXPECT_EQ(casse[slot - 1]->comandi(),
                banco.righe("FilePLU" + IndirizzoPerNomeFile(banco.porta(slot)) + ".txt"));
      attese << terminato(slot);
    }
    EXPECT_EQ(banco.cronologia, attese << kTerminata);
    EXPECT_EQ(esito.riuscite, quante);
    EXPECT_EQ(banco.modificati(), 0);
  }
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
  const platform::Question* messaggio = domanda(banco.prompts, kFallitaSeriale.arg(2));
  ASSERT_NE(messaggio, nullptr);
  EXPECT_EQ(messaggio->icon, Icon::None);
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
  const platform::Question* messaggio = domanda(banco.prompts, kFallitaRete);
  ASSERT_NE(messaggio, nullptr);
  EXPECT_EQ(messaggio->icon, Icon::Critical);
  EXPECT_EQ(messaggio->title, "Negozio di prova");
  EXPECT_FALSE(QFile::exists(banco.percorso("NonTRASMESSI127.0.0.1.txt")));
}

TEST_F(CasseConfigurateE2e, NetworkAddressOnlyNeverClearsTheMarks) {
  SimulatoreRegistratore& registratore =
      banco.cassaInRete({.codici = {RegolaCodice::perRiga(1, "5A")}});
  const EsitoInvio esito = banco.invia(true);

  EXPECT_EQ(registratore.comandi(), banco.righe("FilePLU127001.txt"));
  EXPECT_EQ(registratore.comandi().size(), 2);
  EXPECT_EQ(banco.righe("NonTRASMESSI127.0.0.1.txt"),
            (QStringList{"Invio: ", banco.righe("FilePLU127001.txt")[0],
                         "ESITO : Errore N.90 - Descr.: "}));
  EXPECT_EQ(banco.cronologia, (QStringList{terminato(1), kTerminata}));
  EXPECT_EQ(esito.riuscite, 1);
  EXPECT_FALSE(esito.modificatiAzzerati);
  EXPECT_EQ(banco.modificati(), modificatiPrima);
}

TEST_F(CasseConfigurateE2e, NoRegisterPreparesTheDataAndSendsNothing) {
  banco.prompts.defaultAnswer = Answer::Yes;
  const EsitoInvio esito = banco.invia(false);

  platform::db::Recordset lavoro =
      banco.db->openRecordset("Select * from MagazzinoPerOstrel order by BarCode ASC");
  EXPECT_EQ(lavoro.recordCount(), 4);
  EXPECT_TRUE(QDir(banco.cartella.root()).entryList({"FilePLU*", "NonTRASMESSI*"}).isEmpty());
  EXPECT_EQ(banco.cronologia, (QStringList{kSicuro, kTerminata}));
  EXPECT_TRUE(esito.avviato);
  EXPECT_EQ(esito.casse, 0);
  EXPECT_EQ(banco.modificati(), modificatiPrima);
}

TEST_F(CasseConfigurateE2e, NothingModifiedMeansNothingToSend) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  banco.db->execute("UPDATE Magazzino SET Magazzino.Modificato = 0");
  const EsitoInvio esito = banco.invia(true);

  EXPECT_FALSE(esito.avviato);
  EXPECT_EQ(banco.cronologia, QStringList{"Nessun dato da inviare"});
  EXPECT_EQ(banco.prompts.asked.at(0).icon, Icon::Information);
  EXPECT_TRUE(registratore.ricevuti().isEmpty());
}

TEST_F(CasseConfigurateE2e, WholeSendDeclinedTouchesNothing) {
  SimulatoreRegistratore& registratore = banco.cassaSeriale(1);
  banco.prompts.defaultAnswer = Answer::No;
  const EsitoInvio esito = banco.invia(false);

  EXPECT_FALSE(esito.avviato);
  EXPECT_EQ(banco.cronologia, QStringList{kSicuro});
  EXPECT_TRUE(registratore.ricevuti().isEmpty());
  EXPECT_FALSE(
      QFile::exists(banco.percorso("FilePLU" + IndirizzoPerNomeFile(banco.porta(1)) + ".txt")));
}

}  // namespace
}  // namespace listinova::testing
