#include "import/lavoro_importa.h"

#include "catalogue/apri_database.h"
#include "import/importa_testo.h"
#include "import/passa_interscambio.h"
#include "platform/console_prompts.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "startup/avvio.h"
#include "startup/lavoro_non_avviato.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr char kDomandaSostituzione[] =
    "L'importazione sostituisce tutto l'archivio dei prodotti con quelli del file. Procedere?";

// The program-wide state of a job without windows; null (and a message) when it cannot start.
class AvvioSenzaFinestre {
 public:
  AvvioSenzaFinestre(const QStringList& argomenti, QTextStream& uscita,
                     std::function<bool(const platform::Question&)> siA)
      : cartella_(platform::ProgramFolder::fromEnvironment(argomenti)),
        prompts_(uscita, clock_, platform::standardInputIsInteractive(), std::move(siA)),
        notice_(uscita),
        avvio_(cartella_, prompts_, notice_, clock_, ApriDatabase) {}

  // The exit status of a job that could not start, after its message; 0 when it started.
  int avvia(QTextStream& errori, const char* lavoro) {
    if (avvio_.Main() && Globali().Archivio) return 0;
    return LavoroNonAvviato(avvio_.giaInUso(),
                            QStringLiteral("%1 non eseguito").arg(QString::fromUtf8(lavoro)),
                            errori);
  }
  platform::Prompts& prompts() { return prompts_; }
  platform::Clock& clock() { return clock_; }

 private:
  platform::ProgramFolder cartella_;
  platform::QtClock clock_;
  platform::ConsolePrompts prompts_;
  platform::ConsoleNotice notice_;
  Avvio avvio_;
};

SchermoImport schermoTerminale(QTextStream& uscita) {
  return {[&uscita](const QString& testo) { uscita << testo << Qt::endl; },
          [&uscita](int fatti, int totale) {
            uscita << "  righe " << fatti << " di " << totale << Qt::endl;
          }};
}

void stampaRiepilogo(QTextStream& uscita, const RiepilogoImport& riepilogo,
                     const QString& origine) {
  uscita << riepilogo.testo() << Qt::endl;
  const QString file = riepilogo.scriviScartate(Globali().CartellaProgramma + "/Dati",
                                                QDateTime::currentDateTime(), origine);
  if (!file.isEmpty()) uscita << "Righe scartate elencate in " << file << Qt::endl;
}

int eseguiInterscambio(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  AvvioSenzaFinestre avvio(argomenti, uscita, {});
  if (const int stato = avvio.avvia(errori, "interscambio")) return stato;
  VarGlobali& g = Globali();
  const QString cartella = CartellaInterscambio(g.PercorsoSetup, g.CartellaProgramma);
  if (cartella.isEmpty()) {
    errori << "Nessuna cartella di interscambio in Setup.ini, sezione [Cartelle], chiave IN."
           << Qt::endl;
    return 2;
  }
  Interscambio interscambio(*g.Archivio, g.CartellaProgramma, avvio.clock());
  const EsitoInterscambio esito =
      interscambio.ImportaInterscambio(cartella, schermoTerminale(uscita));
  for (const QString& nome : esito.importati) uscita << "Importato: " << nome << Qt::endl;
  stampaRiepilogo(uscita, esito.riepilogo, cartella);
  if (!esito.errore.isEmpty()) {
    errori << esito.fermatoSu << ": " << esito.errore << Qt::endl;
    return 1;
  }
  if (!esito.fermatoSu.isEmpty())
    uscita << "Fermato su " << esito.fermatoSu << " (non è un file A né B)" << Qt::endl;
  return 0;
}

// The value after `opzione`, or none.
std::optional<QString> valoreDi(const QStringList& argomenti, const QString& opzione) {
  const qsizetype i = argomenti.indexOf(opzione);
  if (i < 0 || i + 1 >= argomenti.size()) return std::nullopt;
  return argomenti[i + 1];
}

// Reads the options; the message of the first wrong one.
std::optional<QString> leggiOpzioni(const QStringList& argomenti, OpzioniTesto& o) {
  o.posizioni = PredefinitePerTesto({});
  o.separatore = QChar(';');
  o.pelidor35 = argomenti.contains("--pelidor35");
  if (auto s = valoreDi(argomenti, "--separatore")) {
    if (s->size() != 1 || !QStringLiteral("/;,:!").contains(*s))
      return QStringLiteral("Separatore \"%1\" non ammesso: usare uno di / ; , : !").arg(*s);
    o.separatore = s->at(0);
  }
  const std::pair<const char*, int*> posizioni[] = {{"--barcode", &o.posizioni.barcode},
                                                    {"--descrizione", &o.posizioni.descrizione},
                                                    {"--reparto", &o.posizioni.reparto},
                                                    {"--prezzo", &o.posizioni.prezzoVendita},
                                                    {"--quantita", &o.posizioni.quantita}};
  for (const auto& [opzione, campo] : posizioni) {
    auto valore = valoreDi(argomenti, opzione);
    if (!valore) continue;
    bool ok = false;
    const int n = valore->toInt(&ok);
    if (!ok || n < 1 || n > kUltimaColonna)
      return QStringLiteral("%1 vuole una colonna da 1 a %2").arg(opzione).arg(kUltimaColonna);
    *campo = n;
  }
  return ControllaPosizioniTesto(true, o.posizioni);
}

int eseguiImporta(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const qsizetype posto = argomenti.indexOf("importa");
  const QString file =
      posto >= 0 && posto + 1 < argomenti.size() ? argomenti[posto + 1] : QString();
  OpzioniTesto opzioni;
  if (file.isEmpty() || file.startsWith("--")) {
    errori << "Indicare il file da importare: listinova importa FILE" << Qt::endl;
    return 2;
  }
  if (auto problema = leggiOpzioni(argomenti, opzioni)) {
    errori << *problema << Qt::endl;
    return 2;
  }
  const bool si = argomenti.contains("--si");
  AvvioSenzaFinestre avvio(argomenti, uscita, [si](const platform::Question& domanda) {
    return si && domanda.text == kDomandaSostituzione;
  });
  if (const int stato = avvio.avvia(errori, "importa")) return stato;
  if (avvio.prompts().ask({kDomandaSostituzione, Globali().TitoloProgramma,
                           platform::Buttons::YesNo, platform::Icon::Question}) !=
      platform::Answer::Yes) {
    errori << "Operazione annullata dall'Utente" << Qt::endl;
    return 3;
  }
  try {
    const RiepilogoImport riepilogo =
        ImportaTestoDelimitato(*Globali().Archivio, file, opzioni, schermoTerminale(uscita));
    stampaRiepilogo(uscita, riepilogo, file);
  } catch (const ErroreImport& errore) {
    errori << errore.messaggio() << Qt::endl;
    return 1;
  }
  return 0;
}

}  // namespace

LavoroRigaDiComando LavoroInterscambio() {
  return {"interscambio", "interscambio",
          "importa una volta i file A*.txt e B*.txt della cartella di interscambio "
          "([Cartelle] IN) e li archivia in InterScambioINStorico",
          eseguiInterscambio};
}

LavoroRigaDiComando LavoroImporta() {
  return {"importa",
          "importa FILE [--separatore C | --pelidor35] [--barcode N] [--descrizione N] "
          "[--reparto N] [--prezzo N] [--quantita N] [--si]",
          "sostituisce l'archivio con i prodotti di un file di testo; separatore ; e colonne "
          "di \"Predef.\" (barcode 4, descrizione 5, reparto 6, prezzo 10, quantità 12) se non "
          "indicati; --si senza chiedere conferma",
          eseguiImporta};
}

}  // namespace listinova
