#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "platform/qt_clock.h"
#include "register/collegamento_casse.h"
#include "register/ricezione_plu.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "tools/simulatore/comportamento.h"
#include "tools/simulatore/simulatore_pty.h"
#include "tools/simulatore/simulatore_registratore.h"
#include "tools/simulatore/simulatore_udp.h"

namespace listinova::testing {

// Message boxes and notices land in one list, so their order can be checked.
class DialoghiInOrdine : public FakePrompts, public FakeNotice {
 public:
  platform::Answer ask(const platform::Question& domanda) override {
    cronologia << domanda.text;
    return FakePrompts::ask(domanda);
  }
  void show(const QString& messaggio) override {
    cronologia << messaggio;
    FakeNotice::show(messaggio);
  }
  QStringList cronologia;
};

// The test shop with the program's real link to the registers, and simulated registers behind
// a pseudo-terminal or a loopback UDP port, all on this thread.
class BancoCasse {
 public:
  BancoCasse();

  // The shop, its builder and its queries; made first and gone last.
  NegozioDiProva negozio;
  CartellaDiProva& cartella = negozio.cartella;
  std::shared_ptr<platform::db::Database>& db = negozio.db;

  // Register `slot` (1, 2 or 3: PortaCOM, PortaCOM1, PortaCOM2) on a pseudo-terminal.
  simulatore::SimulatoreRegistratore& cassaSeriale(int slot,
                                                   const simulatore::Comportamento& modo = {});
  // Register 1 by its network address 127.0.0.1 (PortaETH1), on a free port; the program's
  // own end on `portaLocale`, or on a free one. Before the first send: the link takes its
  // ports when it is made.
  simulatore::SimulatoreRegistratore& cassaInRete(const simulatore::Comportamento& modo = {},
                                                  quint16 portaLocale = 0);
  quint16 portaLocale() const { return porte_.locale; }
  // The serial port configured for `slot`.
  QString porta(int slot) const;
  int modificati() const;

  CollegamentoCasse& collegamento();
  EsitoInvio invia(bool soloModificati, bool torvane = false);
  // A reading job on this link; `avanzamento` hears the products read so far.
  RicezionePlu ricezione(std::function<void(int)> avanzamento = {});
  EsitoLettura leggi(MetodoLettura metodo, bool torvane = false) {
    return ricezione().cmdRiceviPLU_Click(metodo, torvane);
  }

  // In the shop folder, which the settings leave as the output folder too.
  QString percorso(const QString& nome) const { return negozio.file(nome); }
  // The file's lines without their CR LF; empty when there is no file.
  QStringList righe(const QString& nome) const;
  // The messages of the driver log, without their date lines.
  QStringList logDriver() const;

  DialoghiInOrdine prompts;
  FakeNotice& notice = prompts;
  QStringList& cronologia = prompts.cronologia;
  platform::QtClock clock;
  FakeTextViewer visualizzatore;
  int terminazioni = 0;
  // Before the first send, as the ports.
  LimitiDriver limiti;

 private:
  struct Cassa {
    std::unique_ptr<simulatore::SimulatoreRegistratore> registratore;
    std::unique_ptr<simulatore::SimulatorePty> pty;
    std::unique_ptr<simulatore::SimulatoreUdp> udp;
  };

  std::vector<Cassa> casse_;
  PorteUdp porte_;
  std::unique_ptr<CollegamentoCasse> collegamento_;  // gone first, before its registers
};

}  // namespace listinova::testing
