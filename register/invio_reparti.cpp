#include "register/invio_reparti.h"

#include <QDateTime>
#include <QFile>
#include <optional>

#include "platform/clock.h"
#include "platform/notice.h"
#include "platform/serial_port.h"
#include "register/esame_comandi.h"
#include "register/lavoro_in_corso.h"
#include "register/log_driver.h"
#include "register/protocollo_ostrel.h"
#include "register/record_reparti.h"
#include "register/trasporto_registratore.h"
#include "startup/var_globali.h"

namespace listinova {

using platform::Icon;

namespace {

const QString kRientro(10, u' ');
const QString kRientroEsito(9, u' ');
constexpr int kPausaFineElencoMs = 200;
const QString kTroppiTimeout = QStringLiteral("*** Troppi timeout, esco definitivamente. FINE.");

const QString kTabellaReparti =
    QStringLiteral("PROCEDURA INTERROTTA!!! - PROBLEMI DI ACCESSO TABELLA DEI REPARTI ");
const QString kRete =
    QStringLiteral("PROCEDURA INTERROTTA!!! - PROBLEMI DI INVIO SULLA RETE (LAN/WIFI) ");

}  // namespace

InvioReparti::InvioReparti(RecordReparti& record, DriverComandi& driver,
                           TrasportoRegistratore& trasporto, platform::SerialPort& cassa,
                           LogDriver& log, platform::Prompts& prompts, platform::Notice& notice,
                           platform::Clock& clock, std::vector<CassaConfigurata> casse,
                           std::function<void(bool)> frAvviso)
    : record_(record),
      driver_(driver),
      trasporto_(trasporto),
      cassa_(cassa),
      log_(log),
      prompts_(prompts),
      notice_(notice),
      clock_(clock),
      casse_(std::move(casse)),
      frAvviso_(std::move(frAvviso)) {}

EsitoReparti InvioReparti::Trasferisci() {
  EsitoReparti esito;
  if (Globali().ModelloRegistratore != u"OSTREL") return esito;
  if (LavoroInCorso::attivo()) {
    notice_.show(LavoroInCorso::kMessaggio);
    return esito;
  }
  LavoroInCorso lavoro;
  esito.avviato = true;
  trasporto_.iniziaLavoro();
  if (casse_.empty() || casse_.front().numero != 1) {
    messaggio(MessaggioCassaNonRaggiunta({1, {}, {}, true}), Icon::Critical);
  }
  for (const CassaConfigurata& cassa : casse_) {
    const bool avanti = cassa.rete ? inviaRete(cassa, esito) : inviaSeriale(cassa, esito);
    if (!avanti) return esito;
  }
  avviso(false);
  messaggio(QStringLiteral("Invio Terminato "), Icon::Information);
  return esito;
}

// False when the whole procedure stops.
bool InvioReparti::inviaRete(const CassaConfigurata& cassa, EsitoReparti& esito) {
  avviso(true);
  if (!record_.CreaFileInvioREPARTI(cassa.chiave)) {
    avviso(false);
    messaggio(kTabellaReparti, Icon::Exclamation);
    esito.interrotto = true;
    return false;
  }
  clock_.wait(500);
  if (!driver_.EsameComandi(record_.PercorsoFileREP(cassa.chiave), cassa.indirizzo, cassa.numero)) {
    avviso(false);
    messaggio(kRete, Icon::Exclamation);
    esito.interrotto = true;
    return false;
  }
  ++(driver_.ComandiRifiutati().isEmpty() ? esito.casseServite : esito.casseConRifiuti);
  return true;
}

bool InvioReparti::inviaSeriale(const CassaConfigurata& cassa, EsitoReparti& esito) {
  trasporto_.AperturaPortaRegCassa(cassa.indirizzo);
  if (!cassa_.isOpen()) {
    notice_.show(QStringLiteral("Porta Seriale COM ") + cassa.indirizzo +
                 QStringLiteral(" non disponibile - Operazione non effettuata"));
    return true;
  }
  avviso(true);
  switch (InvioSerialeReparti(cassa.indirizzo)) {
    case EsitoSeriale::Completato:
      ++esito.casseServite;
      break;
    case EsitoSeriale::ConRifiuti:
      ++esito.casseConRifiuti;
      break;
    case EsitoSeriale::NessunReparto:
      break;
    case EsitoSeriale::TabellaNonLeggibile:
      avviso(false);
      messaggio(kTabellaReparti, Icon::Exclamation);
      esito.interrotto = true;
      return false;
    case EsitoSeriale::CassaNonRisponde:
      avviso(false);
      messaggio(MessaggioCassaNonRaggiunta(cassa), cassa.numero == 1 ? Icon::Critical : Icon::None);
      break;
  }
  return true;
}

EsitoSeriale InvioReparti::InvioSerialeReparti(const QString& indirizzo) {
  const std::optional<QStringList> elenco = record_.RecordSeriali();
  if (!elenco) return EsitoSeriale::TabellaNonLeggibile;
  if (elenco->isEmpty()) {
    notice_.show(QStringLiteral("Nessun Reparto da inviare!!!"));
    return EsitoSeriale::NessunReparto;
  }
  const QString nonTrasmessi =
      indirizzo.isEmpty() ? QString() : driver_.percorsoNonTrasmessi(indirizzo);
  if (!nonTrasmessi.isEmpty()) QFile::remove(nonTrasmessi);
  bool rifiuti = false;
  for (const QString& record : *elenco) {
    switch (inviaRecord(record, nonTrasmessi)) {
      case Record::Preso:
        break;
      case Record::Rifiutato:
        rifiuti = true;
        break;
      case Record::CassaMuta:
        if (!nonTrasmessi.isEmpty()) driver_.mostraNonTrasmessi(nonTrasmessi);
        return EsitoSeriale::CassaNonRisponde;
    }
  }
  cassa_.write(QByteArray(1, Controllo::ACK));
  clock_.wait(kPausaFineElencoMs);
  cassa_.write(QByteArray(1, Controllo::ENQ));
  clock_.wait(kPausaFineElencoMs);
  if (!nonTrasmessi.isEmpty()) driver_.mostraNonTrasmessi(nonTrasmessi);
  if (!cassa_.isOpen()) return EsitoSeriale::CassaNonRisponde;
  return rifiuti ? EsitoSeriale::ConRifiuti : EsitoSeriale::Completato;
}

// A record refused by the register is listed and left; busy is asked again for as long as the
// command driver would wait.
InvioReparti::Record InvioReparti::inviaRecord(const QString& record, const QString& nonTrasmessi) {
  const QByteArray trama = IncorniciaComando(CodificaPerRegistratore(record));
  int silenzi = 0;
  std::optional<QDateTime> occupataDal;
  for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
    if (!enquiry()) {
      log_.ScriviLogDriver(kRientro + kTroppiTimeout);
      return Record::CassaMuta;
    }
    const Risposta risposta = rispostaA(trama);
    const RispostaMisuratore& r = trasporto_.risposta();
    if (risposta != Risposta::Nessuna) silenzi = 0;
    if (!r.CodiceErrore.isEmpty() && !r.riuscita())
      log_.ScriviLogDriver(kRientroEsito + QStringLiteral("ESITO : ") + r.CodiceErrore +
                           QStringLiteral(" - ") + r.TestoEsito + QStringLiteral(" - ") +
                           r.Gravita);
    switch (risposta) {
      case Risposta::Accettato:
        return Record::Preso;
      case Risposta::Rifiutato:
        if (!nonTrasmessi.isEmpty()) DriverComandi::annotaRifiuto(nonTrasmessi, record, r);
        return Record::Rifiutato;
      case Risposta::Ripeti:
        if (r.Gravita == u"1") {
          // Repeats of a busy register are bounded in time, not in number.
          --tentativo;
          const QDateTime adesso = clock_.now();
          if (!occupataDal) occupataDal = adesso;
          if (occupataDal->msecsTo(adesso) >= driver_.limiti().occupatoMs) {
            log_.ScriviLogDriver(kRientro + QStringLiteral("*** Cassa occupata, esco "
                                                           "definitivamente. FINE."));
            return Record::CassaMuta;
          }
        }
        break;
      case Risposta::Nessuna:
        // As the command driver: five silences in a row are retried, the sixth ends the job.
        if (++silenzi > DriverComandi::kTimeoutTollerati) {
          log_.ScriviLogDriver(kRientro + kTroppiTimeout);
          return Record::CassaMuta;
        }
        log_.ScriviLogDriver(kRientro +
                             QStringLiteral("*** uscito per timeout comunicazione, RIMANDO ENQ"));
        break;
    }
  }
  log_.ScriviLogDriver(QStringLiteral("Invio: ") + record + QStringLiteral(" - non accettato"));
  return Record::CassaMuta;
}

bool InvioReparti::enquiry() {
  for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
    cassa_.readAll();
    trasporto_.AzzeraRisposta();
    trasporto_.risposta().Stato.clear();
    const qsizetype inizio = trasporto_.DatiRicevuti().size();
    cassa_.write(QByteArray(1, Controllo::CAN));
    cassa_.write(QByteArray(1, Controllo::ENQ));
    trasporto_.attendi([&] { return trasporto_.DatiRicevuti().size() > inizio; }, kAttesaEnquiryMs);
    if (primoByteAck(inizio)) return true;
  }
  return false;
}

// Only the register's result frame says whether it took the record; a NAK (our frame came
// garbled) or busy asks for it again.
InvioReparti::Risposta InvioReparti::rispostaA(const QByteArray& trama) {
  trasporto_.AzzeraRisposta();
  trasporto_.risposta().Stato.clear();
  trasporto_.comandoInviato(trama);
  cassa_.write(trama);
  const RispostaMisuratore& r = trasporto_.risposta();
  trasporto_.attendi([&] { return r.Stato == u"NAK" || !r.CodiceErrore.isEmpty(); },
                     DriverComandi::kAttesaRispostaMs);
  trasporto_.attesaFinita();
  if (r.CodiceErrore.isEmpty()) return r.Stato == u"NAK" ? Risposta::Ripeti : Risposta::Nessuna;
  if (r.riuscita()) return Risposta::Accettato;
  return r.Gravita == u"1" ? Risposta::Ripeti : Risposta::Rifiutato;
}

bool InvioReparti::primoByteAck(qsizetype inizio) const {
  const QString& ricevuti = trasporto_.DatiRicevuti();
  return ricevuti.size() > inizio && ricevuti.at(inizio) == QChar(Controllo::ACK);
}

void InvioReparti::avviso(bool visibile) {
  if (frAvviso_) frAvviso_(visibile);
}

void InvioReparti::messaggio(const QString& testo, Icon icona) {
  prompts_.ask({testo, Globali().TitoloProgramma, platform::Buttons::Ok, icona, std::nullopt});
}

}  // namespace listinova
