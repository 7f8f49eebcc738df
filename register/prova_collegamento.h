#pragma once

#include <QString>
#include <vector>

namespace listinova {

class TrasportoRegistratore;
struct VarGlobali;

// How one register took the enquiry of a connection test.
struct EsitoProva {
  int numero;         // 1, 2 or 3
  QString indirizzo;  // as configured
  enum class Risposta { Ack, Nessuna, PortaChiusa } risposta;
};

// Sends the enquiry to every register configured now, in sending order, and waits up to the
// driver's 3 s for each one's ACK. The caller checks first that no other job holds the line
// (LavoroInCorso).
std::vector<EsitoProva> ProvaCollegamento(TrasportoRegistratore& trasporto, const VarGlobali& g);

// One line per register, for the operator: "Cassa 1 (/dev/ttyUSB0): collegata".
QString TestoProva(const std::vector<EsitoProva>& esiti);

}  // namespace listinova
