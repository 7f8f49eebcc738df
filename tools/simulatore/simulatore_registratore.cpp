#include "tools/simulatore/simulatore_registratore.h"

#include <utility>

#include "register/protocollo_ostrel.h"

namespace listinova::simulatore {
namespace {

constexpr qsizetype kBytePerPezzo = 3;
// Long enough for the reader to see each piece on its own.
constexpr int kPausaTraPezziMs = 10;
const QByteArray kRumore("\x00\xff\x7f", 3);
// The second copy of a doubled answer comes when the program may have asked the next question.
constexpr int kRitardoCopiaMs = 20;

}  // namespace

SimulatoreRegistratore::SimulatoreRegistratore(Comportamento comportamento, QObject* parent)
    : QObject(parent) {
  impostaComportamento(comportamento);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &SimulatoreRegistratore::inviaProssimo);
}

void SimulatoreRegistratore::impostaComportamento(const Comportamento& comportamento) {
  comportamento_ = comportamento;
  usiRegole_.assign(comportamento_.codici.size(), 0);
  inizioRegole_.assign(comportamento_.codici.size(), QElapsedTimer());
  daRimandare_.clear();
  rispostaRipetuta_.clear();
}

void SimulatoreRegistratore::riceviByte(const QByteArray& byte) {
  ricevuti_ += byte;
  emit byteRicevuti(byte);
  for (const EventoLinea& evento : lettore_.aggiungi(byte)) {
    switch (evento.tipo) {
      case EventoLinea::Tipo::Interrogazione:
        if (!comportamento_.silenzioso) accoda(QByteArray(1, Controllo::ACK), 0);
        break;
      case EventoLinea::Tipo::ChecksumErrato:
        ++checksumErrati_;
        if (!comportamento_.silenzioso && !comportamento_.silenziosoAiComandi)
          accoda(QByteArray(1, Controllo::NAK), 0);
        break;
      case EventoLinea::Tipo::Comando:
        rispondiAlComando(evento.comando);
        break;
      case EventoLinea::Tipo::Nak:
        if (!daRimandare_.isEmpty()) accoda(std::exchange(daRimandare_, {}), 0);
        break;
    }
  }
}

void SimulatoreRegistratore::rispondiAlComando(const QByteArray& corpo) {
  const QString comando = DecodificaDaRegistratore(corpo);
  // The program sends a line again only when it did not go through.
  const bool ripetuto = !comandi_.isEmpty() && comandi_.last() == comando && !ultimoRiuscito_;
  if (!ripetuto) ++riga_;
  comandi_.append(comando);
  emit comandoRicevuto(comando);
  if (comportamento_.silenzioso || comportamento_.silenziosoAiComandi) {
    ultimoRiuscito_ = false;
    return;
  }
  const QByteArray codice = codicePer(comando);
  if (codice == "00") tabelle_.applica(comando);
  ultimoRiuscito_ = codice == "00" && !comportamento_.checksumErrato;

  int attesa = comportamento_.ritardoMs;
  if (comportamento_.eco) accoda(IncorniciaComando(corpo), 0);
  // Noise is a write of its own: inside a datagram it would spoil the frame rather than precede it.
  if (comportamento_.rumore) {
    accoda(kRumore, attesa);
    attesa = 0;
  }
  QByteArray dati = corpoDi(codice);
  if (codice == "00") {
    const std::optional<QByteArray> lettura = letture_.risposta(comando, tabelle_);
    if (lettura && comportamento_.ripete && !rispostaRipetuta_.isEmpty()) {
      dati = rispostaRipetuta_;
    } else if (lettura) {
      dati = *lettura;
      if (dati.size() > corpoDi("00").size()) rispostaRipetuta_ = dati;
    }
  }
  QByteArray risposta = frameDiRisposta(dati);
  if (!comportamento_.corrottoPrima.isEmpty()) {
    daRimandare_ =
        std::exchange(risposta, frameDiRisposta(corpoDi(comportamento_.corrottoPrima), true));
  }
  if (!comportamento_.spezza) {
    accoda(risposta, attesa);
    if (comportamento_.doppio) accoda(risposta, kRitardoCopiaMs);
    return;
  }
  for (qsizetype inizio = 0; inizio < risposta.size(); inizio += kBytePerPezzo)
    accoda(risposta.mid(inizio, kBytePerPezzo), inizio == 0 ? attesa : kPausaTraPezziMs);
}

QByteArray SimulatoreRegistratore::codicePer(const QString& comando) {
  for (std::size_t i = 0; i < comportamento_.codici.size(); ++i) {
    const RegolaCodice& regola = comportamento_.codici[i];
    if (!regola.scegli(riga_, comando)) continue;
    if (regola.perMs > 0) {
      QElapsedTimer& inizio = inizioRegole_[i];
      if (!inizio.isValid()) inizio.start();
      if (inizio.elapsed() >= regola.perMs) continue;
      return regola.codice;
    }
    const bool esaurita = regola.volte != RegolaCodice::Sempre && usiRegole_[i] >= regola.volte;
    if (esaurita) continue;
    ++usiRegole_[i];
    return regola.codice.toUpper();
  }
  return "00";
}

// A two-digit code gets the two status bytes; any other text (a fault played on purpose) is
// sent as it is.
QByteArray SimulatoreRegistratore::corpoDi(const QByteArray& codice) {
  return codice.size() == 2 ? codice + "/00/00" : codice;
}

// "CC/AA/BB": the result code in hex, then the two status bytes; a reading's data after them.
QByteArray SimulatoreRegistratore::frameDiRisposta(const QByteArray& corpo, bool guasto) const {
  QByteArray checksum = CalcolaChecksum(corpo);
  if (comportamento_.checksumErrato || guasto)
    checksum = QByteArray::number((checksum.toInt() + 1) % 100).rightJustified(2, '0');
  return Controllo::STX + corpo + checksum + Controllo::ETX;
}

// Answers leave in the order they were made, each after its own wait.
void SimulatoreRegistratore::accoda(const QByteArray& byte, int attesaMs) {
  if (coda_.empty() && attesaMs <= 0) {
    emit inviaByte(byte);
    return;
  }
  coda_.push_back({byte, attesaMs});
  if (coda_.size() == 1) timer_.start(attesaMs);
}

void SimulatoreRegistratore::inviaProssimo() {
  const QByteArray byte = coda_.front().byte;
  coda_.pop_front();
  if (!coda_.empty()) timer_.start(coda_.front().attesaMs);
  emit inviaByte(byte);
}

}  // namespace listinova::simulatore
