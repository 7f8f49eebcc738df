#include "platform/qt_udp_endpoint.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QHostInfo>
#include <QNetworkDatagram>
#include <cstring>

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
  localPort_ = localPort;
  return bindLocal();
}

bool QtUdpEndpoint::bindLocal() {
  const QHostAddress local = remoteAddress_.protocol() == QAbstractSocket::IPv6Protocol
                                 ? QHostAddress(QHostAddress::AnyIPv6)
                                 : QHostAddress(QHostAddress::AnyIPv4);
  // Shared, so that a register simulator bound to another loopback address (127.0.0.2) can
  // answer from the same port on this machine.
  if (!socket_.bind(local, localPort_,
                    QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
    return false;
  connectToRemote();
  return true;
}

// A connected channel hears from the system when the register's port is unreachable (the
// register is off); the socket does not recover from that report, a new one takes its place.
void QtUdpEndpoint::rebind() {
  socket_.close();
  bindLocal();
}

// Several programs may share the local port: a socket connected to its register is the one
// the system hands that register's datagrams to, and it is handed no one else's. Where that
// fails the sender is still checked on every datagram.
void QtUdpEndpoint::connectToRemote() {
  const int descriptor = static_cast<int>(socket_.socketDescriptor());
  if (descriptor < 0) return;
  if (remoteAddress_.protocol() == QAbstractSocket::IPv4Protocol) {
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(remotePort_);
    remote.sin_addr.s_addr = htonl(remoteAddress_.toIPv4Address());
    ::connect(descriptor, reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
  } else if (remoteAddress_.protocol() == QAbstractSocket::IPv6Protocol) {
    sockaddr_in6 remote{};
    remote.sin6_family = AF_INET6;
    remote.sin6_port = htons(remotePort_);
    const Q_IPV6ADDR indirizzo = remoteAddress_.toIPv6Address();
    std::memcpy(&remote.sin6_addr, &indirizzo, sizeof indirizzo);
    ::connect(descriptor, reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
  }
}

bool QtUdpEndpoint::fromRemote(const QNetworkDatagram& datagram) const {
  return datagram.senderPort() == static_cast<int>(remotePort_) &&
         datagram.senderAddress().isEqual(remoteAddress_, QHostAddress::ConvertV4MappedToIPv4);
}

void QtUdpEndpoint::close() {
  if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.close();
}

bool QtUdpEndpoint::isOpen() const { return socket_.state() == QAbstractSocket::BoundState; }

qint64 QtUdpEndpoint::send(const QByteArray& datagram) {
  if (!isOpen()) return -1;
  qint64 sent = socket_.writeDatagram(datagram, remoteAddress_, remotePort_);
  if (sent < 0) {
    rebind();
    if (isOpen()) sent = socket_.writeDatagram(datagram, remoteAddress_, remotePort_);
  }
  return sent;
}

void QtUdpEndpoint::readPending() {
  bool read = false;
  while (socket_.hasPendingDatagrams()) {
    read = true;
    const QNetworkDatagram datagram = socket_.receiveDatagram();
    if (datagram.isValid() && fromRemote(datagram)) emit datagramArrived(datagram.data());
  }
  // Woken with nothing to read: the system's report of an unreachable port.
  if (!read) rebind();
}

void QtUdpEndpoint::discardPending() {
  while (socket_.hasPendingDatagrams()) socket_.receiveDatagram();
}

}  // namespace listinova::platform
