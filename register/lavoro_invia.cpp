#include "register/lavoro_invia.h"

#include <exception>

#include "catalogue/apri_database.h"
#include "platform/console_prompts.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "register/ambiente_casse.h"
#include "startup/avvio.h"
#include "startup/impostazioni.h"
#include "startup/lavoro_non_avviato.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr char kDomandaTuttoArchivio[] = "Sicuro di dover inviare tutto l'archivio alla cassa?";
// A progress line every so many records keeps a long send readable.
constexpr int kPassoAvanzamento = 100;
// Without a terminal nobody changes the paper: the message is repeated (every 30 s) this long,
// then that register's send has failed.
constexpr int kAttesaSenzaOperatoreMs = 10 * 60 * 1000;

int invia(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const bool soloModificati = argomenti.contains("--modificati");
  const bool si = argomenti.contains("--si");
  const bool interattivo = platform::standardInputIsInteractive();
  platform::QtClock clock;
  platform::ConsolePrompts prompts(uscita, clock, interattivo,
                                   [si](const platform::Question& domanda) {
                                     return si && domanda.text == kDomandaTuttoArchivio;
                                   });
  platform::ConsoleNotice notice(uscita);
  platform::ConsoleTextViewer visualizzatore(uscita);
  const auto cartella = platform::ProgramFolder::fromEnvironment(argomenti);
  Avvio avvio(cartella, prompts, notice, clock, ApriDatabase);
  VarGlobali& g = Globali();
  if (!avvio.Main() || !g.Archivio) {
    return LavoroNonAvviato(avvio.giaInUso(), "invio non eseguito", errori);
  }
  CollegamentoCasse::Ambiente ambiente = AmbienteCasse(prompts, notice, clock, visualizzatore);
  if (!interattivo) ambiente.limiti.senzaOperatoreMs = kAttesaSenzaOperatoreMs;
  CollegamentoCasse casse(std::move(ambiente));
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
  if (esito.conRifiuti > 0)
    uscita << "Casse che hanno rifiutato dei record: " << esito.conRifiuti << Qt::endl;
  return esito.statoUscita();
}

// Nothing escapes as an abort: the lock on the shop folder is released on the way out.
int eseguiInvia(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  try {
    return invia(argomenti, uscita, errori);
  } catch (const std::exception& e) {
    errori << "Invio interrotto da un errore: " << QString::fromLocal8Bit(e.what()) << Qt::endl;
    return 1;
  }
}

}  // namespace

LavoroRigaDiComando LavoroInvia() {
  return {"invia", "invia [--modificati] [--si]",
          "invia i prodotti alle casse; --modificati solo quelli modificati, --si senza "
          "chiedere conferma; esce con 0 se ogni cassa ha preso ogni record, 2 se una cassa "
          "ha rifiutato dei record, 1 se una cassa non è stata servita",
          eseguiInvia};
}

}  // namespace listinova
