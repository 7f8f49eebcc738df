#pragma once

#include <QString>
#include <array>
#include <optional>

namespace listinova {

struct VarGlobali;

// What the setup window edits, as the operator left it.
struct ValoriSetupCassa {
  // The serial lists: nothing while left unchosen, and the setting stays as it is; the empty
  // entry of a port list clears that port.
  std::optional<QString> portaCom, portaCom1, portaCom2;
  std::optional<QString> velocita, bitDati, parita, bitStop, flusso;
  std::array<QString, 4> ip;
  bool torvane = false;
  QString stampanteA4, stampanteEtichette;
  QString immagineSfondo;  // empty: none
  quint32 colore = 0;
  QString databaseEsterno;
  QString nomeAttivita;
  bool metodoLento = false, metodoVeloce = false;
  QString cartellaIn, cartellaOut;
};

inline const QString kNomeAttivitaPredefinito = QStringLiteral("MiaAttività");

// The window's opening: the settings file and the program-wide state as it shows them. The
// acquisition method shown is written back to the file, as the window always has.
ValoriSetupCassa LeggiSetupCassa(VarGlobali& g);

enum class EsitoSetup { Salvato, DueMetodi, IndirizzoNonValido };
// The message of a refused store; empty for Salvato.
QString MessaggioSetup(EsitoSetup esito);

// "&Applica": writes every setting in the window's order, then reloads the program-wide
// settings the way start-up reads them, so a new register address holds from the next send.
// A refused store writes nothing.
EsitoSetup SalvaSetupCassa(const ValoriSetupCassa& valori, VarGlobali& g);

// The check box "Stampante Mod. Torvane", stored at once on each click.
void SalvaTorvane(const QString& percorsoSetup, bool torvane);

// A colour as the settings file holds it: red in the low byte.
quint32 ValoreColore(int rosso, int verde, int blu);

}  // namespace listinova
