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

// Register 1 by PortaCOM, else PortaETH1; registers 2 and 3 by PortaCOM1 and PortaCOM2.
std::vector<CassaConfigurata> CasseConfigurate(const VarGlobali& globali);

}  // namespace listinova
