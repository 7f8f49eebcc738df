#pragma once

#include <QString>
#include <QStringList>

namespace listinova {

// The bodies of the whole frames (STX, body, two checksum digits, ETX) in what the serial line
// brought, in order; a frame whose checksum does not match its body is left out, as is noise
// around the frames and a frame still on its way.
QStringList TrameBuone(const QString& ricevuti);

// True when the answer opens with a result code of two hexadecimal digits.
bool CodiceRispostaValido(const QString& risposta);

}  // namespace listinova
