#include "register/invio_reparti.h"

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
  if (!driver_.EsameComandi(record_.PercorsoFileREP(cassa.chiave), cassa.indirizzo)) {
    avviso(false);
    messaggio(kRete, Icon::Exclamation);
    esito.interrotto = true;
    return false;
  }
  ++esito.casseServite;
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
  switch (InvioSerialeReparti()) {
    case EsitoSeriale::Completato:
      ++esito.casseServite;
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

EsitoSeriale InvioReparti::InvioSerialeReparti() {
  const std::optional<QStringList> elenco = record_.RecordSeriali();
  if (!elenco) return EsitoSeriale::TabellaNonLeggibile;
  if (elenco->isEmpty()) {
    notice_.show(QStringLiteral("Nessun Reparto da inviare!!!"));
    return EsitoSeriale::NessunReparto;
  }
  for (const QString& record : *elenco)
    if (!inviaRecord(record)) return EsitoSeriale::CassaNonRisponde;
  cassa_.write(QByteArray(1, Controllo::ACK));
  clock_.wait(kPausaFineElencoMs);
  cassa_.write(QByteArray(1, Controllo::ENQ));
  clock_.wait(kPausaFineElencoMs);
  return cassa_.isOpen() ? EsitoSeriale::Completato : EsitoSeriale::CassaNonRisponde;
}

// False when the register stopped answering; a record it keeps refusing is logged and left.
bool InvioReparti::inviaRecord(const QString& record) {
  const QByteArray trama = IncorniciaComando(CodificaPerRegistratore(record));
  int silenzi = 0;
  for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
    if (!enquiry()) {
      log_.ScriviLogDriver(kRientro + kTroppiTimeout);
      return false;
    }
    switch (rispostaA(trama)) {
      case Risposta::Accettato:
        return true;
      case Risposta::Rifiutato: {
        silenzi = 0;
        const RispostaMisuratore& r = trasporto_.risposta();
        log_.ScriviLogDriver(kRientroEsito + QStringLiteral("ESITO : ") + r.CodiceErrore +
                             QStringLiteral(" - ") + r.TestoEsito + QStringLiteral(" - ") +
                             r.Gravita);
        break;
      }
      case Risposta::Nessuna:
        // As the command driver: five silences in a row are retried, the sixth ends the job.
        if (++silenzi > DriverComandi::kTimeoutTollerati) {
          log_.ScriviLogDriver(kRientro + kTroppiTimeout);
          return false;
        }
        log_.ScriviLogDriver(kRientro +
                             QStringLiteral("*** uscito per timeout comunicazione, RIMANDO ENQ"));
        break;
    }
  }
  log_.ScriviLogDriver(QStringLiteral("Invio: ") + record + QStringLiteral(" - non accettato"));
  return true;
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

// The register's result frame counts as well as a bare ACK; it may take the driver's reply
// time to come, as while the register prints.
InvioReparti::Risposta InvioReparti::rispostaA(const QByteArray& trama) {
  trasporto_.AzzeraRisposta();
  trasporto_.risposta().Stato.clear();
  const qsizetype inizio = trasporto_.DatiRicevuti().size();
  cassa_.write(trama);
  const RispostaMisuratore& r = trasporto_.risposta();
  trasporto_.attendi([&] { return !r.Stato.isEmpty() || !r.CodiceErrore.isEmpty(); },
                     DriverComandi::kAttesaRispostaMs);
  if (primoByteAck(inizio)) return Risposta::Accettato;
  if (r.CodiceErrore.isEmpty()) return r.Stato.isEmpty() ? Risposta::Nessuna : Risposta::Rifiutato;
  return r.CodiceErrore.toInt() == 0 ? Risposta::Accettato : Risposta::Rifiutato;
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
