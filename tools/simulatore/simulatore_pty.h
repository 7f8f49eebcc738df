#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

#include "tools/simulatore/simulatore_registratore.h"

namespace listinova::simulatore {

// The simulated register behind a pseudo-terminal: the program opens percorso() as its
// serial port and the simulator plays the device at the master end.
class SimulatorePty : public QObject {
  Q_OBJECT

 public:
  explicit SimulatorePty(SimulatoreRegistratore& simulatore, QObject* parent = nullptr);
  ~SimulatorePty() override;
  SimulatorePty(const SimulatorePty&) = delete;
  SimulatorePty& operator=(const SimulatorePty&) = delete;

  bool apri();
  // Such as "/dev/pts/3".
  QString percorso() const { return percorso_; }
  QString errore() const { return errore_; }

 private:
  void leggi();
  void scrivi(const QByteArray& byte);

  SimulatoreRegistratore& simulatore_;
  int master_ = -1;
  // Kept open so the master never sees a hang-up while the program closes and reopens the port.
  int slave_ = -1;
  QString percorso_;
  QString errore_;
  std::unique_ptr<QSocketNotifier> lettura_;
};

}  // namespace listinova::simulatore
