#include "tools/simulatore/simulatore_pty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace listinova::simulatore {

SimulatorePty::SimulatorePty(SimulatoreRegistratore& simulatore, QObject* parent)
    : QObject(parent), simulatore_(simulatore) {
  connect(&simulatore_, &SimulatoreRegistratore::inviaByte, this, &SimulatorePty::scrivi);
}

SimulatorePty::~SimulatorePty() {
  lettura_.reset();
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
}

bool SimulatorePty::apri() {
  termios grezzo{};
  cfmakeraw(&grezzo);
  char nome[256];
  if (openpty(&master_, &slave_, nullptr, &grezzo, nullptr) != 0 ||
      ttyname_r(slave_, nome, sizeof nome) != 0 ||
      fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) {
    errore_ = QStringLiteral("Impossibile aprire un terminale virtuale: %1")
                  .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return false;
  }
  percorso_ = QString::fromLocal8Bit(nome);
  lettura_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  connect(lettura_.get(), &QSocketNotifier::activated, this, &SimulatorePty::leggi);
  return true;
}

void SimulatorePty::leggi() {
  QByteArray byte;
  char blocco[512];
  for (;;) {
    const ssize_t letti = ::read(master_, blocco, sizeof blocco);
    if (letti < 0 && errno == EINTR) continue;
    if (letti <= 0) break;
    byte.append(blocco, letti);
  }
  if (!byte.isEmpty()) simulatore_.riceviByte(byte);
}

// Answers are a few bytes: what finds the line full (nobody reading) is lost, as on a wire.
void SimulatorePty::scrivi(const QByteArray& byte) {
  if (master_ < 0) return;
  qsizetype scritti = 0;
  while (scritti < byte.size()) {
    const ssize_t n = ::write(master_, byte.constData() + scritti, byte.size() - scritti);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    scritti += n;
  }
}

}  // namespace listinova::simulatore
