#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

#include "register/risposta_misuratore.h"

namespace listinova {
namespace platform {
class SerialPort;
class UdpEndpoint;
}  // namespace platform
class LogDriver;

// An address reached over UDP: an IPv4 address. Anything else is a serial port, a device path
// with dots in it too ("/dev/serial/by-path/pci-0000:00:14.0-usb-0:1.1:1.0-port0").
bool IndirizzoDiRete(const QString& indirizzo);

// Waits for the register while events run, without keeping a core busy.
class AttesaRisposta {
 public:
  virtual ~AttesaRisposta() = default;
  // True as soon as `pronta` holds; false when `millisecondi` pass first.
  virtual bool attendi(const std::function<bool()>& pronta, int millisecondi) = 0;
};

// The registers listen and answer on 9101; a second program on the same machine (the
// simulator, a parallel test) needs other ports.
struct PorteUdp {
  quint16 remota = 9101;
  quint16 locale = 9101;
};

// The link to the registers, one for the whole program: it opens the serial line or the UDP
// channel for an address, sends enquiries and framed commands, and turns whatever the register
// sends back into the reply record the jobs wait on.
class TrasportoRegistratore : public QObject, public AttesaRisposta {
  Q_OBJECT

 public:
  using MostraStato = std::function<void(const QString&)>;

  TrasportoRegistratore(platform::SerialPort& seriale, platform::UdpEndpoint& udp, LogDriver& log,
                        MostraStato mostraStato = {}, PorteUdp porte = {});

  // Closes and reopens the serial line with the settings of [RegCassa]; failures leave it
  // closed, the next enquiry says so. Why it failed goes to the error log and to `avviso`,
  // once per job: the port is reopened at every enquiry.
  void AperturaPortaRegCassa(const QString& porta);
  void setAvvisoPorta(std::function<void(const QString&)> avviso) {
    avvisoPorta_ = std::move(avviso);
  }
  // Prepares the channel of `indirizzo` (serial, or UDP for an IP address) and sends the enquiry.
  void cmdInitCom(const QString& indirizzo);
  // STX, the trimmed command in Windows-1252, its checksum, ETX; does not wait. The frame
  // becomes the command awaiting its answer (see comandoInviato).
  void SendCMD(const QString& comando);
  // One command, one answer: `trama` is about to be written. What the register sent before is
  // dropped; from now on the first sound frame that is neither the echo of `trama` nor a second
  // copy of the data answer taken last becomes the answer, and every later frame is dropped
  // (acknowledged, so that the register does not send it again) until the next command.
  void comandoInviato(const QByteArray& trama);
  // The wait for the last command's answer is over: an answer arriving now is late, dropped.
  void attesaFinita();
  // True once the last command's answer was taken; its body as received.
  bool rispostaArrivata() const { return attesa_ == Attesa::Presa; }
  const QString& rispostaPresa() const { return rispostaPresa_; }
  // Copies of the previous data answer dropped while waiting for the last command's answer: a
  // register that repeats itself.
  int copieScartate() const { return copieScartate_; }
  void AzzeraRisposta();
  // A send or receive job starts: the UDP channel is reopened at its first enquiry.
  void iniziaLavoro();

  // Wakes on every answer of the register, not on a poll.
  bool attendi(const std::function<bool()>& pronta, int millisecondi) override;

  // The receive handlers: bytes read from the serial line, and one datagram from the
  // register's address. Whatever arrives, only a whole STX...ETX frame with a good checksum
  // becomes an answer; anything else is answered NAK or dropped.
  void ricezioneSerialeDi(const QByteArray& arrivati);
  void ricezioneUdp(const QByteArray& datagramma);

  // A frame being received longer than this is noise: its oldest bytes are dropped.
  static constexpr qsizetype kMassimoBufferRicezione = 64 * 1024;

  RispostaMisuratore& risposta() { return risposta_; }
  const RispostaMisuratore& risposta() const { return risposta_; }
  bool ModoIP() const { return modoIP_; }
  quint16 ContatoreAperture() const { return contatoreAperture_; }
  // Serial bytes that do not form a whole answer yet.
  const QByteArray& BufferRicezione() const { return bufferRicezione_; }
  // Serial line: everything received since the job started; UDP: the last frame's body.
  const QString& DatiRicevuti() const { return datiRicevuti_; }

 signals:
  void rispostaAggiornata();

 private:
  void ricezioneSeriale();
  bool tramaSeriale(QByteArray trama);
  // True when `corpo` became the answer.
  bool prendi(const QString& corpo);
  void mostra(const QString& testo) const;

  platform::SerialPort& seriale_;
  platform::UdpEndpoint& udp_;
  LogDriver& log_;
  MostraStato mostraStato_;
  PorteUdp porte_;
  std::function<void(const QString&)> avvisoPorta_;
  QString portaGiaSegnalata_;

  RispostaMisuratore risposta_;
  bool modoIP_ = false;
  quint16 contatoreAperture_ = 0;
  QByteArray bufferRicezione_;
  bool dentroTrama_ = false;
  QString datiRicevuti_;
  // Some registers and networks echo what they are sent: our own command is no answer.
  QByteArray ultimaTrama_;
  // Libera: no command sent in this job, every frame is taken (the enquiry-only exchanges).
  enum class Attesa { Libera, InCorso, Presa, Finita };
  Attesa attesa_ = Attesa::Libera;
  QString rispostaPresa_;
  QString ultimaRispostaConDati_;
  int copieScartate_ = 0;
};

}  // namespace listinova
