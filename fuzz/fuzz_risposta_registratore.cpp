// Feeds arbitrary bytes to the register link's receive side, over the serial line and over
// UDP, as a register (or line noise) could send them.
//
// The first byte picks the channel; the rest is cut at every 0xFF byte into the pieces that
// arrive one at a time.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/qt_clock.h"
#include "platform/serial_port.h"
#include "platform/udp_endpoint.h"
#include "register/log_driver.h"
#include "register/trasporto_registratore.h"

namespace {

using namespace listinova;

class LineaFinta : public platform::SerialPort {
 public:
  bool open(const QString&, const QString&, platform::FlowControl) override { return true; }
  void close() override {}
  bool isOpen() const override { return true; }
  qint64 write(const QByteArray& bytes) override { return bytes.size(); }
  QByteArray readAll() override { return std::exchange(inArrivo, {}); }
  QString errorText() const override { return {}; }
  void arriva(const QByteArray& bytes) {
    inArrivo = bytes;
    emit bytesArrived();
  }
  QByteArray inArrivo;
};

class CanaleFinto : public platform::UdpEndpoint {
 public:
  bool open(const QString&, quint16, quint16) override { return true; }
  void close() override {}
  bool isOpen() const override { return true; }
  qint64 send(const QByteArray& datagram) override { return datagram.size(); }
  void arriva(const QByteArray& datagram) { emit datagramArrived(datagram); }
};

struct Banco {
  int argc = 1;
  char nome[8] = "fuzz";
  char* argv[2] = {nome, nullptr};
  QCoreApplication app{argc, argv};
  QTemporaryDir cartella;
  platform::QtClock orologio;
  LogDriver log{cartella.path(), orologio};
  LineaFinta seriale;
  CanaleFinto udp;
};

Banco& banco() {
  static Banco* b = new Banco;
  return *b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Banco& b = banco();
  TrasportoRegistratore trasporto(b.seriale, b.udp, b.log);
  const bool udp = data[0] & 1;
  trasporto.cmdInitCom(udp ? QStringLiteral("127.0.0.1") : QStringLiteral("1"));
  const QByteArray resto(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  for (const QByteArray& pezzo : resto.split('\xff')) {
    if (udp)
      b.udp.arriva(pezzo);
    else
      b.seriale.arriva(pezzo);
    // What the jobs read after each answer.
    (void)trasporto.risposta().CodiceErrore.toInt(nullptr, 16);
    (void)trasporto.DatiRicevuti().size();
  }
  return 0;
}
