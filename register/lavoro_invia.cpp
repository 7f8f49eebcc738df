#include "register/lavoro_invia.h"

#include "platform/console_prompts.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "register/ambiente_casse.h"
#include "startup/avvio.h"
#include "startup/impostazioni.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr char kDomandaTuttoArchivio[] = "Sicuro di dover inviare tutto l'archivio alla cassa?";
// A progress line every so many records keeps a long send readable.
constexpr int kPassoAvanzamento = 100;

int eseguiInvia(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const bool soloModificati = argomenti.contains("--modificati");
  const bool si = argomenti.contains("--si");
  platform::QtClock clock;
  platform::ConsolePrompts prompts(uscita, clock, platform::standardInputIsInteractive(),
                                   [si](const platform::Question& domanda) {
                                     return si && domanda.text == kDomandaTuttoArchivio;
                                   });
  platform::ConsoleNotice notice(uscita);
  platform::ConsoleTextViewer visualizzatore(uscita);
  const auto cartella = platform::ProgramFolder::fromEnvironment(argomenti);
  Avvio avvio(cartella, prompts, notice, clock);
  VarGlobali& g = Globali();
  if (!avvio.Main() || !g.Archivio) {
    errori << (avvio.giaInUso()
                   ? "Il programma è già aperto su questa cartella: invio non eseguito."
                   : "Avvio non riuscito: invio non eseguito.")
           << Qt::endl;
    return 4;
  }
  CollegamentoCasse casse(AmbienteCasse(prompts, notice, clock, visualizzatore));
  int totale = 0;
  QString ultimoStato;
  casse.setSchermo({[&](const QString& testo) {
                      // The preparation updates its PLU number for every product: on a
                      // terminal only the first line of each state is shown.
                      const QString stato = testo.section(" - N. Plu:", 0, 0);
                      if (!testo.isEmpty() && stato != ultimoStato) uscita << stato << Qt::endl;
                      ultimoStato = stato;
                    },
                    [&](const QString& numero) {
                      const int n = numero.toInt();
                      if (n > 0 && (n % kPassoAvanzamento == 0 || n == totale))
                        uscita << "  record " << n << " di " << totale << Qt::endl;
                    },
                    [&](int n) {
                      totale = n;
                      uscita << "Record da inviare: " << n << Qt::endl;
                    },
                    {}});
  const EsitoInvio esito = casse.InviaPLU(soloModificati, LeggiTorvane(g.PercorsoSetup));
  if (esito.casse == 0)
    errori << "Nessuna cassa configurata in Setup.ini, sezione [RegCassa]." << Qt::endl;
  else if (esito.avviato)
    uscita << "Casse servite: " << esito.inviateBene << " di " << esito.casse << Qt::endl;
  return esito.tutteRiuscite() ? 0 : 1;
}

}  // namespace

LavoroRigaDiComando LavoroInvia() {
  return {"invia", "invia [--modificati] [--si]",
          "invia i prodotti alle casse; --modificati solo quelli modificati, --si senza "
          "chiedere conferma; esce con 0 solo se ogni cassa ha ricevuto tutto",
          eseguiInvia};
}

}  // namespace listinova
