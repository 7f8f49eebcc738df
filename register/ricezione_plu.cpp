#include "register/ricezione_plu.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/db/database_error.h"
#include "platform/prompts.h"
#include "platform/whole_file.h"
#include "register/esame_comandi.h"
#include "register/lavoro_in_corso.h"
#include "register/letture_del_giorno.h"
#include "register/posizione_ricezione.h"
#include "register/record_plu.h"
#include "register/trasporto_registratore.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

constexpr char kModulo[] = "RicezionePlu";
constexpr char kModelloLetto[] = "OSTREL";
// The register's "Il PLU non esiste" answer that closes its J list.
constexpr char kFineListaJ[] = "07/00/02/82";
// Characters 4 and 5 of the answer that closes the K list.
constexpr int kFineListaK = 29;

struct Limiti {
  int minimo;
  int massimo;
};
constexpr Limiti kCampiPerProdotto{15, 18};
constexpr Limiti kCampiLista{12, 26};
constexpr int kCampiMinimiTabella = 15;

const QString kNonRisponde = QStringLiteral("LA CASSA NON RISPONDE");
const QString kNonAvanza =
    QStringLiteral("LA CASSA RIPETE UNA RISPOSTA GIA' RICEVUTA, L'ELENCO NON AVANZA");

bool inCorsoFlag = false;
bool annulla = false;

qsizetype campi(const QString& risposta) { return risposta.count(u'/') + 1; }

// Why a successful answer is no sale line the register family writes; empty when it is one.
QString campiSbagliati(const QString& risposta, Limiti limiti) {
  const qsizetype n = campi(risposta);
  if (n >= limiti.minimo && n <= limiti.massimo) return {};
  return QStringLiteral("risposta di %1 campi, la cassa ne scrive da %2 a %3")
      .arg(n)
      .arg(limiti.minimo)
      .arg(limiti.massimo);
}

QString erroreCassa(const RispostaMisuratore& r) {
  return QStringLiteral("ERRORE %1 DELLA CASSA: %2")
      .arg(r.CodiceErrore,
           r.TestoEsito.isEmpty() ? QStringLiteral("codice sconosciuto") : r.TestoEsito);
}

void unisci(EsitoPrenotazione& a, EsitoPrenotazione b) {
  if (!b.riuscita) {
    a.riuscita = false;
    a.errore = b.errore;
  }
  a.prenotate += b.prenotate;
  a.sconosciute += b.sconosciute;
  for (RigaNonRegistrata& r : b.nonRegistrate) a.nonRegistrate.push_back(std::move(r));
}

class Segno {
 public:
  explicit Segno(bool& flag) : flag_(flag) { flag_ = true; }
  ~Segno() { flag_ = false; }
  Segno(const Segno&) = delete;
  Segno& operator=(const Segno&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool EsitoLettura::tutteComplete() const {
  if (!avviata || annullata || casse == 0 || static_cast<int>(lette.size()) != casse) return false;
  for (const LetturaCassa& l : lette)
    if (!l.completa || !l.prenotazione.riuscita) return false;
  return true;
}

int EsitoLettura::nonRegistrate() const {
  int n = 0;
  for (const LetturaCassa& l : lette) n += l.nonRegistrate();
  return n;
}

RicezionePlu::RicezionePlu(StrumentiLettura strumenti) : s_(std::move(strumenti)) {}

bool RicezionePlu::inCorso() { return inCorsoFlag; }
bool& RicezionePlu::AnnullaRicezione() { return annulla; }

bool RicezionePlu::richiestaDiAnnullare() {
  if (!inCorsoFlag) return false;
  if (s_.prompts.ask({QStringLiteral("Vuoi interrompere la ricezione dei dati?"),
                      Globali().TitoloProgramma, Buttons::YesNo, Icon::Question}) == Answer::Yes)
    annulla = true;
  return true;
}

std::vector<CassaConfigurata> RicezionePlu::casseDaLeggere(bool soloSeriali) const {
  std::vector<CassaConfigurata> casse;
  const bool modelloLetto = Globali().ModelloRegistratore == QLatin1String(kModelloLetto);
  for (const CassaConfigurata& c : CasseConfigurate(Globali())) {
    if (soloSeriali && c.rete) continue;
    if ((c.numero > 1 || soloSeriali) && !modelloLetto) continue;
    casse.push_back(c);
  }
  return casse;
}

QString RicezionePlu::percorsoRicezione(int numero) const {
  const QString cartella = s_.driver.cartellaUscita();
  QDir().mkpath(cartella);
  return cartella + QStringLiteral("/PLUOstrel%1.txt").arg(numero);
}

// Books what is in the receive file past its booking mark.
bool RicezionePlu::prenota(LetturaCassa& l, MetodoLettura metodo, bool torvane) {
  EsitoPrenotazione esito =
      AggiornaStoricoPLU(s_.db, l.file, metodo, torvane, s_.clock.now().date());
  const bool riuscita = esito.riuscita;
  unisci(l.prenotazione, std::move(esito));
  if (riuscita) return true;
  ScriviErrore(kModulo, QStringLiteral("AggiornaStoricoPLU"), l.prenotazione.errore, 0);
  s_.prompts.ask({QStringLiteral("ATTENZIONE! Le vendite lette dalla CASSA %1 non sono state "
                                 "registrate in archivio: %2")
                      .arg(l.numero)
                      .arg(l.prenotazione.errore),
                  Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
  return false;
}

// What an interrupted reading appended and did not book is booked first; then the file is
// opened for this reading's lines, read with `metodo` (nothing: a dump of the register's table).
bool RicezionePlu::apriFile(FileRicezione& f, LetturaCassa& l, std::optional<MetodoLettura> metodo,
                            bool torvane) {
  s_.clock.wait(kAttesaPrimaDelFileMs);
  l.file = percorsoRicezione(l.numero);
  f.file.setFileName(l.file);
  try {
    const std::optional<PosizioneRicezione> segno = LeggiPosizioneRicezione(s_.db, l.file);
    if (segno && segno->posizione < QFileInfo(l.file).size()) {
      if (!prenota(l, segno->metodo.value_or(MetodoLettura::Lista), segno->torvane)) return false;
      l.pendenti = l.prenotazione.prenotate;
      // A line cut short when the reading was killed: listed, and cut off the file.
      const qint64 fine = LeggiPosizioneRicezione(s_.db, l.file).value_or(*segno).posizione;
      QFile resto(l.file);
      if (resto.open(QIODevice::ReadWrite) && resto.size() > fine && resto.seek(fine)) {
        l.prenotazione.nonRegistrate.push_back(
            {QString::fromUtf8(resto.readAll()),
             QStringLiteral("riga incompleta: la lettura precedente si è interrotta mentre la "
                            "scriveva")});
        resto.resize(fine);
      }
    }
    // Lines already in a file the store does not know were booked by an earlier version.
    ScriviPosizioneRicezione(s_.db, l.file,
                             PosizioneRicezione{QFileInfo(l.file).size(), metodo, torvane});
  } catch (const platform::db::DatabaseError& errore) {
    l.prenotazione.riuscita = false;
    l.prenotazione.errore = errore.description();
    l.errore = errore.description();
    avvisaInterrotta(l);
    return false;
  }
  // Unbuffered: a write the disk refuses is seen at the line that did not fit.
  if (!f.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
    l.errore = platform::describeWriteFailure(errno, l.file);
    ScriviErrore(kModulo, QStringLiteral("ApriFileRicezione"), l.errore, 75);
    avvisaInterrotta(l);
    return false;
  }
  return true;
}

bool RicezionePlu::pronta(const CassaConfigurata& cassa) {
  TrasportoRegistratore& t = s_.trasporto;
  for (;;) {
    t.cmdInitCom(cassa.indirizzo);
    if (t.attendi([&t] { return t.risposta().Stato == u"ACK"; }, kAttesaProntaMs)) return true;
    const QString domanda =
        QStringLiteral("Stampante -- CASSA %1 -- non pronta! - Riprovare?").arg(cassa.numero);
    if (s_.prompts.ask({domanda, Globali().TitoloProgramma, Buttons::YesNo, Icon::Question}) !=
        Answer::Yes)
      return false;
  }
}

// The one answer taken for `comando` (see TrasportoRegistratore::comandoInviato), less its
// closing separator; nothing when none came in time.
std::optional<QString> RicezionePlu::chiedi(const QString& comando) {
  TrasportoRegistratore& t = s_.trasporto;
  t.AzzeraRisposta();
  t.SendCMD(comando);
  if (!t.attendi([&t] { return t.rispostaArrivata(); }, kAttesaRispostaMs)) {
    t.attesaFinita();
    return std::nullopt;
  }
  QString risposta = t.rispostaPresa();
  risposta.chop(1);
  return risposta;
}

// `comando` asked until the register is not busy; nothing, with the reason in `l`, when it
// does not answer in `tentativi` questions or only repeats its last answer.
std::optional<QString> RicezionePlu::domanda(const QString& comando, LetturaCassa& l,
                                             int tentativi) {
  TrasportoRegistratore& t = s_.trasporto;
  int occupata = 0;
  int copie = 0;
  for (int mancate = 0; mancate < tentativi;) {
    const std::optional<QString> risposta = chiedi(comando);
    if (!risposta) {
      copie += t.copieScartate();
      ++mancate;
      continue;
    }
    if (t.risposta().Gravita != u"1" || ++occupata > kRipetizioniCassaOccupata) return risposta;
    s_.clock.wait(kPausaCassaOccupataMs);
  }
  l.errore = copie > 0 ? kNonAvanza : kNonRisponde;
  return std::nullopt;
}

// False when the disk refused the line: it is cut off again, and the reading stops there.
bool RicezionePlu::scrivi(FileRicezione& f, const QString& risposta, LetturaCassa& l) {
  const QByteArray riga = risposta.toUtf8() + "\r\n";
  const qint64 prima = f.file.size();
  errno = 0;
  if (f.file.write(riga) == riga.size()) {
    ++l.righe;
    return true;
  }
  const int errore = errno != 0 ? errno : EIO;
  f.file.resize(prima);
  l.errore = platform::describeWriteFailure(errore, f.file.fileName());
  ScriviErrore(kModulo, QStringLiteral("ScriviFileRicezione"), l.errore, 75);
  return false;
}

RicezionePlu::Fine RicezionePlu::perProdotto(FileRicezione& f, LetturaCassa& l) {
  QStringList codici;
  for (auto rs = s_.db.openRecordset(
           QStringLiteral("Select BarCode from Magazzino order by CodMateriale ASC"));
       !rs.eof(); rs.moveNext())
    codici << rs.text(QStringLiteral("BarCode")).trimmed();
  const int totale = static_cast<int>(codici.size());
  if (s_.schermo.avanzamento) s_.schermo.avanzamento(0, totale);
  // Two products with one barcode are one PLU on the register: its sales are read once.
  QSet<QString> chiesti;
  for (int i = 0; i < totale; ++i) {
    if (annulla) return Fine::Annullata;
    const QString comando = QStringLiteral("h/") + BarCodePerCassa(codici[i]) + u'/';
    if (!codici[i].isEmpty() && !chiesti.contains(comando)) {
      chiesti.insert(comando);
      const std::optional<QString> r = domanda(comando, l, kTentativiProdotto);
      if (!r) return Fine::Interrotta;
      const RispostaMisuratore& esito = s_.trasporto.risposta();
      if (esito.riuscita()) {
        const QString motivo = campiSbagliati(*r, kCampiPerProdotto);
        if (!motivo.isEmpty())
          l.prenotazione.nonRegistrate.push_back({*r, motivo});
        else if (!scrivi(f, *r, l))
          return Fine::Interrotta;
      } else if (esito.CodiceErrore != u"7") {
        // "Il PLU non esiste" is the answer about a product the register does not hold.
        l.errore = erroreCassa(esito);
        return Fine::Interrotta;
      }
    }
    if (s_.schermo.avanzamento) s_.schermo.avanzamento(i + 1, totale);
  }
  return Fine::Completa;
}

// A list walks the register's sales one answer per question: an answer it gave before in this
// reading means the walk went round, and it stops there.
RicezionePlu::Fine RicezionePlu::lista(FileRicezione& f, LetturaCassa& l, const QString& comando,
                                       bool fineK, QSet<QString>& prese) {
  for (;;) {
    if (annulla) return Fine::Annullata;
    const std::optional<QString> r = domanda(comando, l);
    if (!r) return Fine::Interrotta;
    if (fineK ? r->mid(3, 2).toInt() == kFineListaK : r->contains(QLatin1String(kFineListaJ)))
      return Fine::Completa;
    const RispostaMisuratore& esito = s_.trasporto.risposta();
    if (!esito.riuscita()) {
      l.errore = erroreCassa(esito);
      return Fine::Interrotta;
    }
    if (prese.contains(*r)) {
      l.errore = kNonAvanza;
      return Fine::Interrotta;
    }
    prese.insert(*r);
    const QString motivo = campiSbagliati(*r, kCampiLista);
    if (!motivo.isEmpty())
      l.prenotazione.nonRegistrate.push_back({*r, motivo});
    else if (!scrivi(f, *r, l))
      return Fine::Interrotta;
    if (l.righe >= kMassimoRigheLista) {
      l.errore = QStringLiteral("PIU' DI %1 RIGHE, ELENCO INTERROTTO").arg(kMassimoRigheLista);
      return Fine::Interrotta;
    }
    stato(QStringLiteral("LETTURA CASSA %1 - RIGHE LETTE: %2").arg(l.numero).arg(l.righe));
  }
}

void RicezionePlu::leggiCassa(const CassaConfigurata& cassa, MetodoLettura metodo, bool torvane,
                              EsitoLettura& esito) {
  LetturaCassa l;
  l.numero = cassa.numero;
  if (const auto alle = LettaOggiAlle(Globali().PercorsoSetup, cassa.numero, s_.clock.now().date());
      alle && s_.prompts.ask({DomandaRilettura(cassa.numero, *alle), Globali().TitoloProgramma,
                              Buttons::YesNo, Icon::Question, Answer::No}) != Answer::Yes) {
    l.saltata = true;
    esito.lette.push_back(l);
    return;
  }
  FileRicezione f;
  if (!apriFile(f, l, metodo, torvane)) {
    esito.lette.push_back(l);
    return;
  }
  stato(QStringLiteral("LETTURA CASSA %1").arg(cassa.numero));
  Fine fine = Fine::Interrotta;
  if (pronta(cassa)) {
    if (metodo == MetodoLettura::PerProdotto) {
      fine = perProdotto(f, l);
    } else {
      QSet<QString> prese;
      fine = lista(f, l, torvane ? QStringLiteral("n//") : QStringLiteral("J//"), false, prese);
      if (fine == Fine::Completa && !torvane)
        fine = lista(f, l, QStringLiteral("K//"), true, prese);
    }
    if (fine == Fine::Interrotta) avvisaInterrotta(l);
  }
  chiudiCassa(f, l, fine, metodo, torvane);
  esito.lette.push_back(l);
}

// What the reading appended is booked, also when it stopped short: those lines were read.
void RicezionePlu::chiudiCassa(FileRicezione& f, LetturaCassa& l, Fine fine,
                               std::optional<MetodoLettura> metodo, bool torvane) {
  f.file.close();
  l.completa = fine == Fine::Completa;
  const bool registrate = prenota(l, metodo.value_or(MetodoLettura::Lista), torvane);
  // Only a reading that booked sales makes a second one today worth a question.
  if (registrate && metodo && !torvane && l.righe > 0)
    SegnaLettura(Globali().PercorsoSetup, l.numero, s_.clock.now());
  elencaNonRegistrate(l);
}

// Beside the receive file, each line with the reason it is not in the archive; the operator is
// told how many and where.
void RicezionePlu::elencaNonRegistrate(LetturaCassa& l) {
  if (l.prenotazione.nonRegistrate.empty()) return;
  l.fileNonRegistrate =
      QFileInfo(l.file).dir().filePath(QStringLiteral("RigheNonRegistrate%1.txt").arg(l.numero));
  QByteArray testo;
  for (const RigaNonRegistrata& r : l.prenotazione.nonRegistrate)
    testo += (r.riga + u'\t' + r.motivo).toUtf8() + "\r\n";
  QFile file(l.fileNonRegistrate);
  errno = 0;
  QString dove = QStringLiteral("sono elencate in %1").arg(l.fileNonRegistrate);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered) ||
      file.write(testo) != testo.size()) {
    dove = platform::describeWriteFailure(errno != 0 ? errno : EIO, l.fileNonRegistrate);
    ScriviErrore(kModulo, QStringLiteral("ElencaNonRegistrate"), dove, 75);
  }
  s_.prompts.ask({QStringLiteral("CASSA %1: %2 RIGHE LETTE NON REGISTRATE IN ARCHIVIO, %3")
                      .arg(l.numero)
                      .arg(l.nonRegistrate())
                      .arg(dove),
                  Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
}

void RicezionePlu::avvisaInterrotta(const LetturaCassa& l) {
  s_.prompts.ask({QStringLiteral("LETTURA CASSA %1 INTERROTTA: %3 - RIGHE LETTE: %2")
                      .arg(l.numero)
                      .arg(l.righe)
                      .arg(l.errore.isEmpty() ? kNonRisponde : l.errore),
                  Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
}

void RicezionePlu::stato(const QString& testo) const {
  if (s_.schermo.lblTab) s_.schermo.lblTab(testo);
}

// What both readings share: the re-entry question, the refusal while another register job
// runs, the password, then each register in turn until the operator cancels.
EsitoLettura RicezionePlu::inLettura(
    bool soloSeriali, bool occupato,
    const std::function<void(const CassaConfigurata&, EsitoLettura&)>& leggi) {
  EsitoLettura esito;
  if (richiestaDiAnnullare()) return esito;
  if (LavoroInCorso::attivo()) {
    s_.prompts.ask(
        {LavoroInCorso::kMessaggio, Globali().TitoloProgramma, Buttons::Ok, Icon::Exclamation});
    return esito;
  }
  Segno segno(inCorsoFlag);
  LavoroInCorso lavoro;
  annulla = false;
  if (!s_.password || !s_.password()) return esito;
  esito.avviata = true;
  const std::vector<CassaConfigurata> casse = casseDaLeggere(soloSeriali);
  esito.casse = static_cast<int>(casse.size());
  if (occupato && s_.schermo.occupato) s_.schermo.occupato(true);
  s_.trasporto.iniziaLavoro();
  for (const CassaConfigurata& cassa : casse) {
    if (annulla) break;
    leggi(cassa, esito);
  }
  esito.annullata = annulla;
  annulla = false;
  if (occupato && s_.schermo.occupato) s_.schermo.occupato(false);
  return esito;
}

EsitoLettura RicezionePlu::cmdRiceviPLU_Click(MetodoLettura metodo, bool torvane) {
  EsitoLettura esito = inLettura(false, true, [&](const CassaConfigurata& cassa, EsitoLettura& e) {
    leggiCassa(cassa, metodo, torvane, e);
  });
  if (!esito.avviata) return esito;
  stato({});
  if (s_.schermo.avanzamento) s_.schermo.avanzamento(0, 0);
  s_.prompts.ask({QStringLiteral("IMPORTAZIONE TERMINATA"), QStringLiteral("Listinova"),
                  Buttons::Ok, Icon::Information});
  return esito;
}

EsitoLettura RicezionePlu::cmdGeneraFile_Click() {
  EsitoLettura esito =
      inLettura(true, false, [this](const CassaConfigurata& cassa, EsitoLettura& esito) {
        LetturaCassa l;
        l.numero = cassa.numero;
        const std::optional<QString> risposta = s_.prompts.input(
            QStringLiteral("Quanti PLU da Acquisire?"), QStringLiteral("Listinova"));
        bool numero = false;
        const int quanti = risposta ? risposta->trimmed().toInt(&numero) : 0;
        if (!numero || quanti <= 0) {
          l.completa = true;  // nothing asked, nothing missing
          esito.lette.push_back(l);
          return;
        }
        FileRicezione f;
        // The table's lines are no sales: the booking passes over them.
        if (!apriFile(f, l, std::nullopt, false)) {
          esito.lette.push_back(l);
          return;
        }
        Fine fine = Fine::Interrotta;
        if (pronta(cassa)) {
          fine = Fine::Completa;
          if (s_.schermo.avanzamento) s_.schermo.avanzamento(0, quanti);
          for (int i = 1; i <= quanti && fine == Fine::Completa; ++i) {
            if (annulla) {
              fine = Fine::Annullata;
              break;
            }
            const std::optional<QString> r = domanda(QStringLiteral("p/%1/").arg(i), l);
            if (!r || (campi(*r) >= kCampiMinimiTabella && !scrivi(f, *r, l)))
              fine = Fine::Interrotta;
            if (s_.schermo.avanzamento) s_.schermo.avanzamento(i, quanti);
          }
          if (fine == Fine::Interrotta) avvisaInterrotta(l);
        }
        chiudiCassa(f, l, fine, std::nullopt, false);
        esito.lette.push_back(l);
      });
  if (!esito.avviata) return esito;
  if (s_.schermo.avanzamento) s_.schermo.avanzamento(0, 0);
  s_.prompts.ask({QStringLiteral("Importazione Terminata"), QStringLiteral("Listinova"),
                  Buttons::Ok, Icon::Information});
  return esito;
}

}  // namespace listinova
