#include "platform/qt_udp_endpoint.h"

#include <QHostInfo>
#include <QNetworkDatagram>

namespace listinova::platform {

namespace {

// A literal address as it is, otherwise the first address the name resolves to.
QHostAddress resolve(const QString& host) {
  QHostAddress address(host);
  if (!address.isNull()) return address;
  const QList<QHostAddress> found = QHostInfo::fromName(host).addresses();
  return found.isEmpty() ? QHostAddress() : found.first();
}

}  // namespace

QtUdpEndpoint::QtUdpEndpoint(QObject* parent) : UdpEndpoint(parent) {
  connect(&socket_, &QUdpSocket::readyRead, this, &QtUdpEndpoint::readPending);
}

bool QtUdpEndpoint::open(const QString& remoteHost, quint16 remotePort, quint16 localPort) {
  close();
  remoteAddress_ = resolve(remoteHost.trimmed());
  remotePort_ = remotePort;
  if (remoteAddress_.isNull()) return false;
  const QHostAddress local = remoteAddress_.protocol() == QAbstractSocket::IPv6Protocol
                                 ? QHostAddress(QHostAddress::AnyIPv6)
                                 : QHostAddress(QHostAddress::AnyIPv4);
  // Shared, so that a register simulator bound to another loopback address (127.0.0.2) can
  // answer from the same port on this machine.
  return socket_.bind(local, localPort,
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
}

void QtUdpEndpoint::close() {
  if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.close();
}

bool QtUdpEndpoint::isOpen() const { return socket_.state() == QAbstractSocket::BoundState; }

qint64 QtUdpEndpoint::send(const QByteArray& datagram) {
  if (!isOpen()) return -1;
  return socket_.writeDatagram(datagram, remoteAddress_, remotePort_);
}

void QtUdpEndpoint::readPending() {
  while (socket_.hasPendingDatagrams()) {
    const QNetworkDatagram datagram = socket_.receiveDatagram();
    if (datagram.isValid()) emit datagramArrived(datagram.data());
  }
}

}  // namespace listinova::platform
