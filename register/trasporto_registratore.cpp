#include "register/trasporto_registratore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <optional>
#include <utility>

#include "platform/serial_port.h"
#include "platform/udp_endpoint.h"
#include "register/log_driver.h"
#include "register/protocollo_ostrel.h"
#include "startup/var_globali.h"

namespace listinova {

namespace {

const QByteArray kAck(1, Controllo::ACK);
const QByteArray kNak(1, Controllo::NAK);

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
  seriale_.open(porta, impostazioni.testoImpostazioni(), impostazioni.flussoPorta());
}

void TrasportoRegistratore::cmdInitCom(const QString& indirizzo) {
  contatoreAperture_ = contatoreAperture_ == 10 ? 2 : contatoreAperture_ + 1;
  modoIP_ = indirizzo.contains(u'.');
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
  const QByteArray trama = IncorniciaComando(CodificaPerRegistratore(comando.trimmed()));
  if (modoIP_)
    udp_.send(trama);
  else
    seriale_.write(trama);
}

void TrasportoRegistratore::AzzeraRisposta() { risposta_.azzera(); }

void TrasportoRegistratore::iniziaLavoro() {
  contatoreAperture_ = 0;
  datiRicevuti_.clear();
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
  bufferRicezione_ += arrivati;
  // Whatever came before the last STX is noise or an answer given up on.
  const qsizetype stx = bufferRicezione_.lastIndexOf(Controllo::STX);
  if (stx >= 0) bufferRicezione_.remove(0, stx + 1);
  if (bufferRicezione_.isEmpty()) return;

  switch (bufferRicezione_.back()) {
    case Controllo::ACK:
    case Controllo::NAK: {
      const bool accettato = bufferRicezione_.back() == Controllo::ACK;
      bufferRicezione_.clear();
      seriale_.write(kAck);
      risposta_.Stato = accettato ? QStringLiteral("ACK") : QStringLiteral("NAK");
      break;
    }
    case Controllo::ETX: {
      QByteArray trama = std::exchange(bufferRicezione_, {});
      trama.chop(1);
      const std::optional<Trama> letta = separaChecksum(std::move(trama));
      if (!letta) return;
      seriale_.write(letta->checksumGiusto ? kAck : kNak);
      seriale_.write(kAck);
      // A fresh record: Stato ends empty even after a NAK, the fields are taken all the same.
      risposta_ = RispostaMisuratore::daCorpo(DecodificaDaRegistratore(letta->corpo));
      break;
    }
    default:
      return;  // the rest of the answer is still on its way
  }
  emit rispostaAggiornata();
}

void TrasportoRegistratore::ricezioneUdp(const QByteArray& datagramma) {
  if (datagramma.isEmpty()) return;
  switch (datagramma.back()) {
    case Controllo::ACK:
      risposta_.Stato = QStringLiteral("ACK");
      break;
    case Controllo::NAK:
      risposta_.Stato = QStringLiteral("NAK");
      break;
    case Controllo::ETX: {
      QByteArray trama = datagramma;
      if (trama.startsWith(Controllo::STX)) trama.remove(0, 1);
      trama.chop(1);
      const std::optional<Trama> letta = separaChecksum(std::move(trama));
      if (!letta) return;
      if (letta->checksumGiusto) {
        udp_.send(kAck);
      } else {
        log_.ScriviLogDriver(QStringLiteral(">Socket:        ***** checksum errato, Mando NAK"));
        udp_.send(kNak);
      }
      const QString corpo = DecodificaDaRegistratore(letta->corpo);
      risposta_ = RispostaMisuratore::daCorpo(corpo);
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
