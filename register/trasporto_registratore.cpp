#include "register/trasporto_registratore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <optional>
#include <utility>

#include "platform/serial_port.h"
#include "platform/udp_endpoint.h"
#include "register/descrizione_per_cassa.h"
#include "register/log_driver.h"
#include "register/protocollo_ostrel.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {

namespace {

const QByteArray kAck(1, Controllo::ACK);
// The serial control's "invalid port" error, as the error log has always numbered it.
constexpr int kPortaNonAperta = 8002;
const QByteArray kNak(1, Controllo::NAK);
// "cc/aa/bb": the result code and the two status bytes; a data answer is longer.
constexpr qsizetype kLunghezzaIntestazione = 8;

struct Trama {
  QByteArray corpo;
  bool checksumGiusto;
};

// Body and checksum digits of a frame whose STX and ETX are already gone; nothing when
// there is no room for the digits.
std::optional<Trama> separaChecksum(QByteArray trama) {
  if (trama.size() < 2) return std::nullopt;
  const QByteArray cifre = trama.right(2);
  trama.chop(2);
  const bool giusto = CalcolaChecksum(trama) == cifre;
  return Trama{std::move(trama), giusto};
}

}  // namespace

bool IndirizzoDiRete(const QString& indirizzo) {
  static const QRegularExpression kQuattroNumeri(
      QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
  const QRegularExpressionMatch numeri = kQuattroNumeri.match(indirizzo.trimmed());
  if (!numeri.hasMatch()) return false;
  for (int i = 1; i <= 4; ++i)
    if (numeri.captured(i).toInt() > 255) return false;
  return true;
}

TrasportoRegistratore::TrasportoRegistratore(platform::SerialPort& seriale,
                                             platform::UdpEndpoint& udp, LogDriver& log,
                                             MostraStato mostraStato, PorteUdp porte)
    : seriale_(seriale), udp_(udp), log_(log), mostraStato_(std::move(mostraStato)), porte_(porte) {
  connect(&seriale_, &platform::SerialPort::bytesArrived, this,
          &TrasportoRegistratore::ricezioneSeriale);
  connect(&udp_, &platform::UdpEndpoint::datagramArrived, this,
          &TrasportoRegistratore::ricezioneUdp);
}

void TrasportoRegistratore::AperturaPortaRegCassa(const QString& porta) {
  if (porta.isEmpty()) return;
  if (seriale_.isOpen()) seriale_.close();
  const ImpostazioniSeriali& impostazioni = Globali().RegCassa;
  if (seriale_.open(porta, impostazioni.testoImpostazioni(), impostazioni.flussoPorta())) return;
  const QString perche = seriale_.errorText();
  if (perche == portaGiaSegnalata_) return;
  portaGiaSegnalata_ = perche;
  ScriviErrore(QStringLiteral("FunzioniOSTREL"), QStringLiteral("AperturaPortaRegCassa"), perche,
               kPortaNonAperta);
  if (avvisoPorta_) avvisoPorta_(perche);
}

void TrasportoRegistratore::cmdInitCom(const QString& indirizzo) {
  contatoreAperture_ = contatoreAperture_ == 10 ? 2 : contatoreAperture_ + 1;
  modoIP_ = IndirizzoDiRete(indirizzo);
  if (modoIP_) {
    if (contatoreAperture_ < 2) {
      if (udp_.isOpen()) udp_.close();
      udp_.open(indirizzo.trimmed(), porte_.remota, porte_.locale);
    }
    mostra(QStringLiteral("APERTO CANALE IP: ") + indirizzo);
  } else {
    AperturaPortaRegCassa(indirizzo);
    mostra(QStringLiteral("APERTO PORTA COM: ") + indirizzo);
  }

  QCoreApplication::processEvents();
  AzzeraRisposta();
  risposta_.Stato.clear();

  if (modoIP_) {
    if (udp_.isOpen()) {
      udp_.send(QByteArray(1, Controllo::ENQ));
    } else {
      log_.ScriviLogDriver(
          QStringLiteral("> PORTA DI COMUNICAZIONE UDP CHIUSA, IMPOSSIBILE MANDARE ENQ"));
    }
    return;
  }
  if (!seriale_.isOpen()) {
    log_.ScriviLogDriver(
        QStringLiteral("> PORTA DI COMUNICAZIONE SERIALE CHIUSA, IMPOSSIBILE MANDARE ENQ"));
    risposta_.Stato = QStringLiteral("ERR");
    return;
  }
  // CAN clears whatever half a command the register may still hold.
  for (const char byte : {Controllo::CAN, Controllo::CAN, Controllo::CAN, Controllo::ENQ})
    seriale_.write(QByteArray(1, byte));
  QCoreApplication::processEvents();
}

void TrasportoRegistratore::SendCMD(const QString& comando) {
  const QByteArray trama =
      IncorniciaComando(CodificaPerRegistratore(SenzaCaratteriDiControllo(comando.trimmed())));
  comandoInviato(trama);
  if (modoIP_)
    udp_.send(trama);
  else
    seriale_.write(trama);
}

void TrasportoRegistratore::comandoInviato(const QByteArray& trama) {
  // A late answer or a copy still on its way would otherwise pass for this command's answer.
  if (udp_.isOpen()) udp_.discardPending();
  if (seriale_.isOpen()) seriale_.readAll();
  bufferRicezione_.clear();
  dentroTrama_ = false;
  ultimaTrama_ = trama;
  attesa_ = Attesa::InCorso;
  rispostaPresa_.clear();
  copieScartate_ = 0;
}

void TrasportoRegistratore::attesaFinita() {
  if (attesa_ == Attesa::InCorso) attesa_ = Attesa::Finita;
}

void TrasportoRegistratore::AzzeraRisposta() { risposta_.azzera(); }

void TrasportoRegistratore::iniziaLavoro() {
  contatoreAperture_ = 0;
  portaGiaSegnalata_.clear();
  ultimaTrama_.clear();
  datiRicevuti_.clear();
  attesa_ = Attesa::Libera;
  rispostaPresa_.clear();
  ultimaRispostaConDati_.clear();
  copieScartate_ = 0;
}

bool TrasportoRegistratore::attendi(const std::function<bool()>& pronta, int millisecondi) {
  if (pronta()) return true;
  QEventLoop attesa;
  QTimer scadenza;
  scadenza.setSingleShot(true);
  // A coarse timer may end a 3 s wait 150 ms early.
  scadenza.setTimerType(Qt::PreciseTimer);
  connect(&scadenza, &QTimer::timeout, &attesa, &QEventLoop::quit);
  connect(this, &TrasportoRegistratore::rispostaAggiornata, &attesa, [&] {
    if (pronta()) attesa.quit();
  });
  scadenza.start(millisecondi);
  attesa.exec();
  return pronta();
}

void TrasportoRegistratore::ricezioneSeriale() {
  const QByteArray arrivati = seriale_.readAll();
  if (arrivati.isEmpty()) return;
  datiRicevuti_ += DecodificaDaRegistratore(arrivati);
  ricezioneSerialeDi(arrivati);
}

// One pass over the new bytes only: the cost of an answer does not grow with what came before.
void TrasportoRegistratore::ricezioneSerialeDi(const QByteArray& arrivati) {
  bool aggiornata = false;
  for (const char byte : arrivati) {
    switch (byte) {
      case Controllo::STX:
        // Whatever came before is noise or an answer given up on.
        dentroTrama_ = true;
        bufferRicezione_.clear();
        break;
      case Controllo::ACK:
      case Controllo::NAK:
        dentroTrama_ = false;
        bufferRicezione_.clear();
        seriale_.write(kAck);
        risposta_.Stato = byte == Controllo::ACK ? QStringLiteral("ACK") : QStringLiteral("NAK");
        aggiornata = true;
        break;
      case Controllo::ETX:
        // An ETX outside a frame ends nothing.
        if (dentroTrama_) aggiornata |= tramaSeriale(std::exchange(bufferRicezione_, {}));
        dentroTrama_ = false;
        break;
      default:
        if (!dentroTrama_) break;
        bufferRicezione_.append(byte);
        if (bufferRicezione_.size() > kMassimoBufferRicezione) {
          // Half at a time, so that a flood costs no more than a copy per 32 KB.
          const qsizetype scartati = bufferRicezione_.size() - kMassimoBufferRicezione / 2;
          bufferRicezione_.remove(0, scartati);
          log_.ScriviLogDriver(
              QStringLiteral("> BUFFER DI RICEZIONE PIENO, SCARTATI %1 BYTE").arg(scartati));
        }
        break;
    }
  }
  if (aggiornata) emit rispostaAggiornata();
}

// True when the frame became the answer. A corrupted one is refused and forgotten: the
// register sends its answer again after the NAK.
bool TrasportoRegistratore::tramaSeriale(QByteArray trama) {
  // Our own command coming back is not acknowledged either: the register did not send it.
  if (attesa_ != Attesa::Libera && ultimaTrama_.size() > 2 &&
      trama == QByteArrayView(ultimaTrama_).sliced(1, ultimaTrama_.size() - 2))
    return false;
  const std::optional<Trama> letta = separaChecksum(std::move(trama));
  if (!letta) return false;
  seriale_.write(letta->checksumGiusto ? kAck : kNak);
  seriale_.write(kAck);
  if (!letta->checksumGiusto) {
    log_.ScriviLogDriver(QStringLiteral(">Seriale:       ***** checksum errato, Mando NAK"));
    return false;
  }
  return prendi(DecodificaDaRegistratore(letta->corpo));
}

bool TrasportoRegistratore::prendi(const QString& corpo) {
  switch (attesa_) {
    case Attesa::Libera:
      break;
    case Attesa::Presa:
    case Attesa::Finita:
      return false;
    case Attesa::InCorso:
      // Only answers that carry data can be told from the next one; "00/00/00" cannot.
      if (corpo.size() > kLunghezzaIntestazione && corpo == ultimaRispostaConDati_) {
        ++copieScartate_;
        return false;
      }
      attesa_ = Attesa::Presa;
      rispostaPresa_ = corpo;
      break;
  }
  if (corpo.size() > kLunghezzaIntestazione) ultimaRispostaConDati_ = corpo;
  risposta_ = RispostaMisuratore::daCorpo(corpo);
  return true;
}

void TrasportoRegistratore::ricezioneUdp(const QByteArray& datagramma) {
  if (datagramma.isEmpty() || (attesa_ != Attesa::Libera && datagramma == ultimaTrama_)) return;
  switch (datagramma.back()) {
    case Controllo::ACK:
      risposta_.Stato = QStringLiteral("ACK");
      break;
    case Controllo::NAK:
      risposta_.Stato = QStringLiteral("NAK");
      break;
    case Controllo::ETX: {
      // Only a whole frame: a datagram is never the rest of another.
      if (!datagramma.startsWith(Controllo::STX)) return;
      const std::optional<Trama> letta = separaChecksum(datagramma.mid(1, datagramma.size() - 2));
      if (!letta) return;
      if (!letta->checksumGiusto) {
        log_.ScriviLogDriver(QStringLiteral(">Socket:        ***** checksum errato, Mando NAK"));
        udp_.send(kNak);
        return;
      }
      udp_.send(kAck);
      const QString corpo = DecodificaDaRegistratore(letta->corpo);
      if (!prendi(corpo)) return;
      datiRicevuti_ = corpo;
      datiRicevuti_.chop(1);
      break;
    }
    default:
      return;
  }
  emit rispostaAggiornata();
}

void TrasportoRegistratore::mostra(const QString& testo) const {
  if (mostraStato_) mostraStato_(testo);
}

}  // namespace listinova
