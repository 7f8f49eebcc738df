#include "tools/simulatore/arresto_su_segnale.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <csignal>

namespace listinova::simulatore {
namespace {

// A handler may only write to a descriptor; the event loop does the rest.
int canale[2] = {-1, -1};

void suSegnale(int) {
  const char byte = 1;
  static_cast<void>(::write(canale[0], &byte, 1));
}

}  // namespace

ArrestoSuSegnale::ArrestoSuSegnale(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, canale) != 0) return;
  avviso_ = std::make_unique<QSocketNotifier>(canale[1], QSocketNotifier::Read);
  connect(avviso_.get(), &QSocketNotifier::activated, this, [] { QCoreApplication::quit(); });
  struct sigaction azione {};
  azione.sa_handler = suSegnale;
  sigemptyset(&azione.sa_mask);
  azione.sa_flags = SA_RESTART;
  sigaction(SIGINT, &azione, nullptr);
  sigaction(SIGTERM, &azione, nullptr);
}

ArrestoSuSegnale::~ArrestoSuSegnale() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  avviso_.reset();
  for (int& estremo : canale) {
    if (estremo >= 0) ::close(estremo);
    estremo = -1;
  }
}

}  // namespace listinova::simulatore
