#include "register/ricezione_plu.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/prompts.h"
#include "register/esame_comandi.h"
#include "register/lavoro_in_corso.h"
#include "register/letture_del_giorno.h"
#include "register/record_plu.h"
#include "register/trame_lette.h"
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

bool inCorsoFlag = false;
bool annulla = false;

qsizetype campi(const QString& risposta) { return risposta.count(u'/') + 1; }

// A sale line: a successful answer with as many fields as the register family writes.
bool daScrivere(const QString& risposta, Limiti limiti) {
  const qsizetype n = campi(risposta);
  return risposta.startsWith(QStringLiteral("00/")) && n >= limiti.minimo && n <= limiti.massimo;
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

bool RicezionePlu::apriFile(FileRicezione& f, int numero) {
  s_.clock.wait(kAttesaPrimaDelFileMs);
  f.file.setFileName(percorsoRicezione(numero));
  if (!f.file.open(QIODevice::WriteOnly | QIODevice::Append)) {
    ScriviErrore(kModulo, QStringLiteral("ApriFileRicezione"),
                 f.file.errorString() + QStringLiteral(": ") + f.file.fileName(), 75);
    s_.prompts.ask({QStringLiteral("Impossibile scrivere il file %1: %2")
                        .arg(f.file.fileName(), f.file.errorString()),
                    Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
    return false;
  }
  // Only what this reading appends is booked: yesterday's lines stay where they are.
  f.inizio = f.file.size();
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

// The answers that came whole and sound to `comando`, each less its closing separator.
QStringList RicezionePlu::chiedi(const QString& comando, int attesaMs) {
  TrasportoRegistratore& t = s_.trasporto;
  const qsizetype segno = t.DatiRicevuti().size();
  QStringList risposte;
  // Over UDP each answer replaces the last one: every answer is taken as it comes, so two
  // arriving together (a late one and its successor) are both kept.
  QMetaObject::Connection presa;
  if (t.ModoIP())
    presa = QObject::connect(&t, &TrasportoRegistratore::rispostaAggiornata, [&t, &risposte] {
      if (t.risposta().CodiceErrore.isEmpty()) return;
      risposte << t.DatiRicevuti();
      t.AzzeraRisposta();
    });
  t.AzzeraRisposta();
  t.SendCMD(comando);
  const bool arrivata =
      t.ModoIP() ? t.attendi([&risposte] { return !risposte.isEmpty(); }, attesaMs)
                 : t.attendi([&t] { return !t.risposta().CodiceErrore.isEmpty(); }, attesaMs);
  QObject::disconnect(presa);
  if (!arrivata) return risposte;
  if (!t.ModoIP()) {
    // The serial line keeps everything received: the frames since the command are checked here.
    for (QString corpo : TrameBuone(t.DatiRicevuti().mid(segno))) {
      corpo.chop(1);
      risposte << corpo;
    }
  }
  risposte.removeIf([](const QString& r) { return !CodiceRispostaValido(r); });
  return risposte;
}

void RicezionePlu::scrivi(FileRicezione& f, const QString& risposta) {
  f.file.write(risposta.toUtf8() + "\r\n");
  f.file.flush();
}

RicezionePlu::Fine RicezionePlu::perProdotto(FileRicezione& f, LetturaCassa& l) {
  QStringList codici;
  for (auto rs = s_.db.openRecordset(
           QStringLiteral("Select BarCode from Magazzino order by CodMateriale ASC"));
       !rs.eof(); rs.moveNext())
    codici << rs.text(QStringLiteral("BarCode")).trimmed();
  const int totale = static_cast<int>(codici.size());
  if (s_.schermo.avanzamento) s_.schermo.avanzamento(0, totale);
  int mancate = 0;
  for (int i = 0; i < totale; ++i) {
    if (annulla) return Fine::Annullata;
    if (!codici[i].isEmpty()) {
      const QStringList risposte =
          chiedi(QStringLiteral("h/") + BarCodePerCassa(codici[i]) + u'/', kAttesaProdottoMs);
      for (const QString& r : risposte) {
        if (!daScrivere(r, kCampiPerProdotto)) continue;
        scrivi(f, r);
        ++l.righe;
      }
      mancate = risposte.isEmpty() ? mancate + 1 : 0;
      if (mancate >= kMancateMassime) return Fine::Muta;
    }
    if (s_.schermo.avanzamento) s_.schermo.avanzamento(i + 1, totale);
  }
  return Fine::Completa;
}

RicezionePlu::Fine RicezionePlu::lista(FileRicezione& f, LetturaCassa& l, const QString& comando,
                                       bool fineK) {
  int mancate = 0;
  for (;;) {
    if (annulla) return Fine::Annullata;
    const QStringList risposte = chiedi(comando, kAttesaListaMs);
    bool utile = false;
    for (const QString& r : risposte) {
      if (fineK ? r.mid(3, 2).toInt() == kFineListaK : r.contains(QLatin1String(kFineListaJ)))
        return Fine::Completa;
      if (!daScrivere(r, kCampiLista)) continue;
      scrivi(f, r);
      ++l.righe;
      utile = true;
    }
    // A register that answers nothing, or only errors, is asked a bounded number of times.
    mancate = utile ? 0 : mancate + 1;
    if (mancate >= kMancateMassime || l.righe >= kMassimoRigheLista) return Fine::Muta;
    stato(QStringLiteral("LETTURA CASSA %1 - RIGHE LETTE: %2").arg(l.numero).arg(l.righe));
  }
}

void RicezionePlu::leggiCassa(const CassaConfigurata& cassa, MetodoLettura metodo, bool torvane,
                              EsitoLettura& esito) {
  LetturaCassa l;
  l.numero = cassa.numero;
  const QString& setup = Globali().PercorsoSetup;
  if (const auto alle = LettaOggiAlle(setup, cassa.numero, s_.clock.now().date());
      alle && s_.prompts.ask({DomandaRilettura(cassa.numero, *alle), Globali().TitoloProgramma,
                              Buttons::YesNo, Icon::Question, Answer::No}) != Answer::Yes) {
    l.saltata = true;
    esito.lette.push_back(l);
    return;
  }
  FileRicezione f;
  if (!apriFile(f, cassa.numero)) {
    esito.lette.push_back(l);
    return;
  }
  l.file = f.file.fileName();
  stato(QStringLiteral("LETTURA CASSA %1").arg(cassa.numero));
  Fine fine = Fine::Muta;
  if (pronta(cassa)) {
    if (metodo == MetodoLettura::PerProdotto) {
      fine = perProdotto(f, l);
    } else {
      fine = lista(f, l, torvane ? QStringLiteral("n//") : QStringLiteral("J//"), false);
      if (fine == Fine::Completa && !torvane) fine = lista(f, l, QStringLiteral("K//"), true);
    }
    if (fine == Fine::Muta) avvisaInterrotta(l);
  }
  f.file.close();
  l.completa = fine == Fine::Completa;
  if (l.righe > 0) {
    l.prenotazione =
        AggiornaStoricoPLU(s_.db, l.file, metodo, torvane, f.inizio, s_.clock.now().date());
    if (l.prenotazione.riuscita) SegnaLettura(setup, cassa.numero, s_.clock.now());
    if (!l.prenotazione.riuscita) {
      ScriviErrore(kModulo, QStringLiteral("AggiornaStoricoPLU"), l.prenotazione.errore, 0);
      s_.prompts.ask({QStringLiteral("ATTENZIONE! Le vendite lette dalla CASSA %1 non sono state "
                                     "registrate in archivio: %2")
                          .arg(cassa.numero)
                          .arg(l.prenotazione.errore),
                      Globali().TitoloProgramma, Buttons::Ok, Icon::Critical});
    }
  }
  esito.lette.push_back(l);
}

void RicezionePlu::avvisaInterrotta(const LetturaCassa& l) {
  s_.prompts.ask({QStringLiteral("LETTURA CASSA %1 INTERROTTA: LA CASSA NON RISPONDE - RIGHE "
                                 "LETTE: %2")
                      .arg(l.numero)
                      .arg(l.righe),
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
        if (!apriFile(f, cassa.numero)) {
          esito.lette.push_back(l);
          return;
        }
        l.file = f.file.fileName();
        Fine fine = Fine::Muta;
        if (pronta(cassa)) {
          fine = Fine::Completa;
          int mancate = 0;
          if (s_.schermo.avanzamento) s_.schermo.avanzamento(0, quanti);
          for (int i = 1; i <= quanti && fine == Fine::Completa; ++i) {
            if (annulla) {
              fine = Fine::Annullata;
              break;
            }
            const QStringList risposte = chiedi(QStringLiteral("p/%1/").arg(i), kAttesaTabellaMs);
            for (const QString& r : risposte) {
              if (campi(r) < kCampiMinimiTabella) continue;
              scrivi(f, r);
              ++l.righe;
            }
            mancate = risposte.isEmpty() ? mancate + 1 : 0;
            if (mancate >= kMancateMassime) fine = Fine::Muta;
            if (s_.schermo.avanzamento) s_.schermo.avanzamento(i, quanti);
          }
          if (fine == Fine::Muta) avvisaInterrotta(l);
        }
        f.file.close();
        l.completa = fine == Fine::Completa;
        esito.lette.push_back(l);
      });
  if (!esito.avviata) return esito;
  if (s_.schermo.avanzamento) s_.schermo.avanzamento(0, 0);
  s_.prompts.ask({QStringLiteral("Importazione Terminata"), QStringLiteral("Listinova"),
                  Buttons::Ok, Icon::Information});
  return esito;
}

}  // namespace listinova
