#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QUdpSocket>

#include "tools/simulatore/simulatore_registratore.h"

namespace listinova::simulatore {

// The simulated register on a UDP port of this machine; each answer goes to whoever sent the
// last datagram.
class SimulatoreUdp : public QObject {
  Q_OBJECT

 public:
  explicit SimulatoreUdp(SimulatoreRegistratore& simulatore, QObject* parent = nullptr);

  // Only loopback addresses: the simulator must not answer for a register on the shop's network.
  // Port 0 takes any free one.
  bool apri(const QHostAddress& indirizzo, quint16 porta);
  quint16 porta() const { return socket_.localPort(); }
  QString errore() const { return errore_; }

 private:
  void leggi();
  void scrivi(const QByteArray& byte);

  SimulatoreRegistratore& simulatore_;
  QUdpSocket socket_;
  QHostAddress mittente_;
  quint16 portaMittente_ = 0;
  QString errore_;
};

}  // namespace listinova::simulatore
