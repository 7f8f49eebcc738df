#pragma once

#include <QByteArray>
#include <vector>

namespace listinova::simulatore {

// What the register makes of the bytes the program sends.
struct EventoLinea {
  enum class Tipo { Interrogazione, Comando, ChecksumErrato, Nak };
  Tipo tipo;
  QByteArray comando;  // the frame's body, for Comando
};

// Puts frames together however the bytes are split. Bytes outside a frame other than ENQ and
// the program's NAK (CAN, its ACK, noise) mean nothing; CAN or ENQ inside a frame abandon it,
// since the program only sends them to start over.
class LettoreFrame {
 public:
  std::vector<EventoLinea> aggiungi(const QByteArray& byte);

 private:
  void chiudiFrame(std::vector<EventoLinea>& eventi);

  bool dentroFrame_ = false;
  QByteArray frame_;
};

}  // namespace listinova::simulatore
