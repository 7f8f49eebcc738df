#pragma once

#include <QString>

namespace listinova {

// The register's last answer. Only Stato, CodiceErrore, TestoEsito and Gravita steer the
// program; the status bytes are kept for the record.
struct RispostaMisuratore {
  QString Stato;         // "ACK", "NAK", "ERR" (serial port closed at the enquiry) or ""
  QString CodiceErrore;  // decimal result code, "0" = done; "" while no frame has come
  QString TestoEsito;
  QString Gravita;  // "0", "1", "2", "4" or "9"
  QString StatoA;   // status byte 1 as received
  bool StatoA_Bit0 = false;
  bool StatoA_Bit1 = false;
  bool StatoA_Bit2 = false;
  bool StatoA_Bit3 = false;
  bool StatoA_Bit4 = false;
  bool StatoA_Bit6 = false;
  QString StatoB;  // status byte 2 as received
  bool StatoB_Bit0 = false;
  bool StatoB_Bit1 = false;
  bool StatoB_Bit2 = false;
  bool StatoB_Bit4 = false;
  bool StatoB_Bit5 = false;
  bool StatoB_Bit6 = false;
  bool StatoB_Bit7 = false;

  // Empties everything after Stato, which stays as it is.
  void azzera();
  // The register took the command: a well-formed result code "00".
  bool riuscita() const { return CodiceErrore == u"0"; }

  // A fresh record from a frame body "cc/aa/bb...": result code in hexadecimal, then the two
  // status bytes in decimal; what follows the eighth character is not read. A code that is not
  // two hexadecimal digits is kept as received (control characters as "?") with
  // kCodiceNonValido: a refusal, never a success.
  static RispostaMisuratore daCorpo(const QString& corpo);

  static constexpr const char* kCodiceNonValido = "Codice di risposta non valido";

  bool operator==(const RispostaMisuratore&) const = default;
};

}  // namespace listinova
