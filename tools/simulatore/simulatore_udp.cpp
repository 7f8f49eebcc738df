#include "tools/simulatore/simulatore_udp.h"

#include <QNetworkDatagram>

namespace listinova::simulatore {

SimulatoreUdp::SimulatoreUdp(SimulatoreRegistratore& simulatore, QObject* parent)
    : QObject(parent), simulatore_(simulatore) {
  connect(&simulatore_, &SimulatoreRegistratore::inviaByte, this, &SimulatoreUdp::scrivi);
  connect(&socket_, &QUdpSocket::readyRead, this, &SimulatoreUdp::leggi);
}

bool SimulatoreUdp::apri(const QHostAddress& indirizzo, quint16 porta) {
  if (!indirizzo.isLoopback()) {
    errore_ = QStringLiteral(
                  "Il simulatore risponde solo su questa macchina: %1 non è un indirizzo locale "
                  "(usare 127.0.0.2)")
                  .arg(indirizzo.toString());
    return false;
  }
  // Listinova binds the same port on every address of this machine; sharing it lets both
  // live here, the simulator on its own loopback address.
  if (!socket_.bind(indirizzo, porta,
                    QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
    errore_ = socket_.error() == QAbstractSocket::AddressInUseError
                  ? QStringLiteral(
                        "La porta UDP %1 è già in uso, forse da Listinova: sulla stessa "
                        "macchina il simulatore e il programma non possono usare la "
                        "stessa porta")
                        .arg(porta)
                  : QStringLiteral("Impossibile usare la porta UDP %1: %2")
                        .arg(porta)
                        .arg(socket_.errorString());
    return false;
  }
  return true;
}

void SimulatoreUdp::leggi() {
  while (socket_.hasPendingDatagrams()) {
    const QNetworkDatagram datagramma = socket_.receiveDatagram();
    if (!datagramma.isValid()) continue;
    mittente_ = datagramma.senderAddress();
    portaMittente_ = static_cast<quint16>(datagramma.senderPort());
    simulatore_.riceviByte(datagramma.data());
  }
}

void SimulatoreUdp::scrivi(const QByteArray& byte) {
  if (portaMittente_ == 0) return;
  socket_.writeDatagram(byte, mittente_, portaMittente_);
}

}  // namespace listinova::simulatore
