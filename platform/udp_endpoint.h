#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace listinova::platform {

// A datagram channel to one fixed remote host: register 1 reached over the network.
class UdpEndpoint : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~UdpEndpoint() override;

  // Binds `localPort` and sends to remoteHost:remotePort from then on; an open channel is
  // closed first.
  virtual bool open(const QString& remoteHost, quint16 remotePort, quint16 localPort) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // One datagram; -1 when it could not be sent.
  virtual qint64 send(const QByteArray& datagram) = 0;
  // Drops the datagrams received and not yet delivered.
  virtual void discardPending() {}

 signals:
  // One for each datagram received from the remote host and port; others are dropped.
  void datagramArrived(QByteArray datagram);
};

}  // namespace listinova::platform
