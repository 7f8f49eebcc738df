#pragma once

#include <QByteArray>
#include <QString>

namespace listinova {

// Control bytes of the register protocol.
namespace Controllo {
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char ENQ = 0x05;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char CAN = 0x18;
}  // namespace Controllo

// The registers read and write Windows-1252; a character it lacks becomes "?".
QByteArray CodificaPerRegistratore(const QString& testo);
QString DecodificaDaRegistratore(const QByteArray& byte);

// Byte sum modulo 256, then modulo 100, as two digits: "abc" gives "38".
QByteArray CalcolaChecksum(const QByteArray& byte);
// STX, the command, its two checksum digits, ETX.
QByteArray IncorniciaComando(const QByteArray& comando);

}  // namespace listinova
