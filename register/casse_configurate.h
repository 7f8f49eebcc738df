#pragma once

#include <QString>
#include <vector>

namespace listinova {

struct VarGlobali;

// One register to send to, in sending order.
struct CassaConfigurata {
  int numero;         // 1, 2 or 3
  QString indirizzo;  // a serial port, or an IP address for register 1
  QString chiave;     // the command file's key: the port, or the address without dots
  bool rete;
};

// The address as it appears in file names: a device path such as "/dev/ttyUSB0" gives its
// device name ("ttyUSB0", "/dev/pts/3" gives "pts3"); a port number or an IP address is kept.
QString IndirizzoPerNomeFile(const QString& indirizzo);

// "INVIO CASSA n NON EFFETTUATO!!! ...": what to check when a register could not be reached.
QString MessaggioCassaNonRaggiunta(const CassaConfigurata& cassa);

// Register 1 by PortaCOM, else PortaETH1; registers 2 and 3 by PortaCOM1 and PortaCOM2.
std::vector<CassaConfigurata> CasseConfigurate(const VarGlobali& globali);

}  // namespace listinova
