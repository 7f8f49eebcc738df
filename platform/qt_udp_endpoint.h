#pragma once

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "platform/udp_endpoint.h"

namespace listinova::platform {

class QtUdpEndpoint : public UdpEndpoint {
  Q_OBJECT

 public:
  explicit QtUdpEndpoint(QObject* parent = nullptr);

  bool open(const QString& remoteHost, quint16 remotePort, quint16 localPort) override;
  void close() override;
  bool isOpen() const override;
  qint64 send(const QByteArray& datagram) override;
  void discardPending() override;

 private:
  void readPending();
  bool bindLocal();
  void rebind();
  void connectToRemote();
  bool fromRemote(const QNetworkDatagram& datagram) const;

  QUdpSocket socket_;
  QHostAddress remoteAddress_;
  quint16 remotePort_ = 0;
  quint16 localPort_ = 0;
};

}  // namespace listinova::platform
