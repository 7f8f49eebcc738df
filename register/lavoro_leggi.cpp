#include "register/lavoro_leggi.h"

#include "catalogue/apri_database.h"
#include "platform/console_prompts.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "register/ambiente_casse.h"
#include "register/frm_pswd.h"
#include "register/ricezione_plu.h"
#include "startup/avvio.h"
#include "startup/impostazioni.h"
#include "startup/lavoro_non_avviato.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

// A progress line every so many products keeps a long reading readable.
constexpr int kPassoAvanzamento = 500;

QString valoreDi(const QStringList& argomenti, const QString& opzione) {
  const qsizetype i = argomenti.indexOf(opzione);
  return i >= 0 && i + 1 < argomenti.size() ? argomenti[i + 1] : QString();
}

int eseguiLeggi(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const bool conCodice = argomenti.contains(QStringLiteral("--codice"));
  const QString codice = valoreDi(argomenti, QStringLiteral("--codice"));
  const bool interattivo = platform::standardInputIsInteractive();
  if (!conCodice && !interattivo) {
    errori << "Senza terminale il codice di accesso va dato con --codice: lettura non eseguita."
           << Qt::endl;
    return 2;
  }
  platform::QtClock clock;
  // A second reading of the day subtracts the same sales again: only when asked for.
  const bool ancora = argomenti.contains(QStringLiteral("--ancora"));
  platform::ConsolePrompts prompts(
      uscita, clock, interattivo, [ancora](const platform::Question& q) {
        return ancora && q.text.startsWith(QStringLiteral("Le vendite della cassa"));
      });
  platform::ConsoleNotice notice(uscita);
  platform::ConsoleTextViewer visualizzatore(uscita);
  const auto cartella = platform::ProgramFolder::fromEnvironment(argomenti);
  Avvio avvio(cartella, prompts, notice, clock, ApriDatabase);
  VarGlobali& g = Globali();
  if (!avvio.Main() || !g.Archivio) {
    return LavoroNonAvviato(avvio.giaInUso(), "lettura non eseguita", errori);
  }
  CollegamentoCasse casse(AmbienteCasse(prompts, notice, clock, visualizzatore));
  QString ultimoStato;
  RicezionePlu ricezione(
      {*g.Archivio,
       casse.trasporto(),
       casse.driver(),
       prompts,
       clock,
       [&] {
         const QString dato =
             conCodice ? codice
                       : prompts.input(QStringLiteral("Codice di accesso:"), g.TitoloProgramma)
                             .value_or(QString());
         if (VerificaPassword(QString::fromLatin1(kScopoLetturaCasse), dato)) return true;
         errori << "PASSWORD ERRATA: lettura non eseguita." << Qt::endl;
         return false;
       },
       {[&](const QString& testo) {
          // The list readings update their line count at every line: one line per state.
          const QString stato = testo.section(QStringLiteral(" - RIGHE LETTE:"), 0, 0);
          if (!testo.isEmpty() && stato != ultimoStato) uscita << stato << Qt::endl;
          ultimoStato = stato;
        },
        [&](int valore, int massimo) {
          if (massimo > 0 && valore > 0 && (valore % kPassoAvanzamento == 0 || valore == massimo))
            uscita << "  prodotti letti: " << valore << " di " << massimo << Qt::endl;
        },
        {}}});
  const bool lista = LeggiINI(g.PercorsoSetup, QStringLiteral("Acquisizione"),
                              QStringLiteral("Metodo"), "?") == u"2";
  const EsitoLettura esito = ricezione.cmdRiceviPLU_Click(
      lista ? MetodoLettura::Lista : MetodoLettura::PerProdotto, LeggiTorvane(g.PercorsoSetup));
  if (!esito.avviata) return 1;
  if (esito.casse == 0)
    errori << "Nessuna cassa configurata in Setup.ini, sezione [RegCassa]." << Qt::endl;
  for (const LetturaCassa& l : esito.lette) {
    if (l.saltata) {
      uscita << "Cassa " << l.numero << ": non letta di nuovo (--ancora per rileggerla)"
             << Qt::endl;
      continue;
    }
    uscita << "Cassa " << l.numero << ": "
           << (l.completa ? "letta fino in fondo" : "lettura NON completa") << ", righe lette "
           << l.righe;
    if (!l.errore.isEmpty()) uscita << " (" << l.errore << ")";
    if (l.pendenti > 0)
      uscita << ", vendite rimaste da una lettura interrotta registrate ora " << l.pendenti;
    if (!l.prenotazione.riuscita)
      uscita << ", vendite NON registrate: " << l.prenotazione.errore;
    else if (l.righe > 0 || l.pendenti > 0)
      uscita << ", vendite registrate " << l.prenotazione.prenotate;
    if (l.nonRegistrate() > 0)
      uscita << ", righe NON registrate " << l.nonRegistrate() << " (elencate in "
             << l.fileNonRegistrate << ")";
    uscita << Qt::endl;
  }
  if (!esito.tutteComplete()) return 1;
  return esito.nonRegistrate() > 0 ? 2 : 0;
}

}  // namespace

LavoroRigaDiComando LavoroLeggi() {
  return {"leggi", "leggi [--codice CODICE] [--ancora]",
          "legge dalle casse le quantità vendute e le registra in archivio; senza terminale il "
          "codice di accesso va dato con --codice; una cassa già letta oggi si rilegge solo con "
          "--ancora; esce con 0 se ogni cassa è stata letta fino in fondo e ogni vendita "
          "registrata, 1 se una cassa non è stata letta tutta, 2 se alcune righe lette non sono "
          "state registrate (elencate in RigheNonRegistrate<n>.txt)",
          eseguiLeggi};
}

}  // namespace listinova
