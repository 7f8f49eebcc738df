#include "import/lavoro_importa.h"

#include <QFileInfo>
#include "catalogue/apri_database.h"

#include "import/importa_foglio.h"
#include "import/importa_testo.h"
#include "import/passa_interscambio.h"
#include "import/tracciati_fornitori.h"
#include "platform/console_prompts.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "platform/workbook_reader.h"
#include "startup/avvio.h"
#include "startup/error_log.h"
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
            uscita << "  righe " << fatti;
            if (totale > 0) uscita << " di " << totale;
            uscita << Qt::endl;
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

// A workbook goes by the spreadsheet routes, anything else by the text ones.
bool eFoglio(const QString& file) {
  const QString estensione = QFileInfo(file).suffix().toLower();
  return estensione == u"xls" || estensione == u"xlsx" || estensione == u"ods";
}

// What the command line asks for.
struct RichiestaImporta {
  QString file;
  QString fornitore;  // --fornitore: the supplier's route
  bool foglio = false;
  OpzioniTesto opzioni;
};

// Reads the options; the message of the first wrong one.
std::optional<QString> leggiOpzioni(const QStringList& argomenti, RichiestaImporta& r) {
  OpzioniTesto& o = r.opzioni;
  r.foglio = eFoglio(r.file);
  r.fornitore = valoreDi(argomenti, "--fornitore").value_or(QString()).trimmed();
  if (argomenti.contains("--fornitore") && r.fornitore.isEmpty())
    return QStringLiteral("--fornitore vuole il nome del fornitore");
  o.posizioni = r.foglio ? PredefinitePerFoglio() : PredefinitePerTesto({});
  o.separatore = QChar(';');
  o.pelidor35 = argomenti.contains("--pelidor35");
  if (auto s = valoreDi(argomenti, "--separatore")) {
    if (s->size() != 1 || !QStringLiteral("/;,:!").contains(*s))
      return QStringLiteral("Separatore \"%1\" non ammesso: usare uno di / ; , : !").arg(*s);
    o.separatore = s->at(0);
  }
  const std::pair<const char*, int*> posizioni[] = {
      {"--barcode", &o.posizioni.barcode},
      {"--descrizione", &o.posizioni.descrizione},
      {"--reparto", &o.posizioni.reparto},
      {"--prezzo", &o.posizioni.prezzoVendita},
      {"--quantita", &o.posizioni.quantita},
      {"--acquisto", &o.posizioni.prezzoAcquisto},
      {"--iva", &o.posizioni.iva},
      {"--codice-fornitore", &o.posizioni.codiceFornitore},
      {"--nome-fornitore", &o.posizioni.fornitore}};
  for (const auto& [opzione, campo] : posizioni) {
    auto valore = valoreDi(argomenti, opzione);
    if (!valore) continue;
    bool ok = false;
    const int n = valore->toInt(&ok);
    if (!ok || n < 1 || n > kUltimaColonna)
      return QStringLiteral("%1 vuole una colonna da 1 a %2").arg(opzione).arg(kUltimaColonna);
    *campo = n;
  }
  if (r.foglio) return r.fornitore.isEmpty() ? ControllaPosizioniFoglio(o.posizioni) : std::nullopt;
  if (!r.fornitore.isEmpty()) {
    if (!TracciatoDi(r.fornitore)) return QString::fromUtf8(kTracciatoAssente);
    return std::nullopt;
  }
  return ControllaPosizioniTesto(true, o.posizioni);
}

// Runs the route the request names.
RiepilogoImport importa(const RichiestaImporta& r, const SchermoImport& schermo) {
  platform::db::Database& db = *Globali().Archivio;
  if (!r.foglio && r.fornitore.isEmpty())
    return ImportaTestoDelimitato(db, r.file, r.opzioni, schermo);
  if (!r.foglio) return EseguiImport(db, r.file, r.fornitore, schermo);
  std::unique_ptr<platform::WorkbookReader> cartella;
  try {
    cartella = platform::openWorkbook(r.file);
  } catch (const platform::WorkbookError& errore) {
    throw ErroreDaCartella(errore);
  }
  if (FoglioDaImportare(cartella->sheets(), !r.fornitore.isEmpty()).isEmpty())
    throw ErroreImport(
        QStringLiteral("Nel file \"%1\" manca il foglio PRODOTTI: nulla è stato importato.")
            .arg(r.file));
  return ImportaFoglio(db, *cartella, r.opzioni.posizioni, r.fornitore, schermo);
}

int eseguiImporta(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const qsizetype posto = argomenti.indexOf("importa");
  RichiestaImporta richiesta;
  richiesta.file = posto >= 0 && posto + 1 < argomenti.size() ? argomenti[posto + 1] : QString();
  if (richiesta.file.isEmpty() || richiesta.file.startsWith("--")) {
    errori << "Indicare il file da importare: listinova importa FILE" << Qt::endl;
    return 2;
  }
  if (auto problema = leggiOpzioni(argomenti, richiesta)) {
    errori << *problema << Qt::endl;
    return 2;
  }
  const bool si = argomenti.contains("--si");
  // --si answers the import's own questions (replace, shrink), never the start routine's.
  AvvioSenzaFinestre avvio(argomenti, uscita, [si](const platform::Question& domanda) {
    return si && (domanda.text == QLatin1String(kDomandaSostituzione) ||
                  domanda.text.startsWith(QLatin1String(kDomandaRiduzione)));
  });
  if (const int stato = avvio.avvia(errori, "importa")) return stato;
  const auto chiedi = [&avvio](const QString& domanda) {
    return avvio.prompts().ask({domanda, Globali().TitoloProgramma, platform::Buttons::YesNo,
                                platform::Icon::Question, platform::Answer::No}) ==
           platform::Answer::Yes;
  };
  const bool sostituisce = !richiesta.foglio && richiesta.fornitore.isEmpty();
  if (sostituisce && !chiedi(kDomandaSostituzione)) {
    errori << "Operazione annullata dall'Utente" << Qt::endl;
    return 3;
  }
  SchermoImport schermo = schermoTerminale(uscita);
  schermo.conferma = chiedi;
  try {
    stampaRiepilogo(uscita, importa(richiesta, schermo), richiesta.file);
  } catch (const ErroreImport& errore) {
    errori << errore.messaggio() << Qt::endl;
    if (const RiepilogoImport* letto = errore.riepilogo()) {
      const QString elenco = letto->scriviScartate(Globali().CartellaProgramma + "/Dati",
                                                   QDateTime::currentDateTime(), richiesta.file);
      if (!elenco.isEmpty()) errori << "Righe elencate in " << elenco << Qt::endl;
    }
    return 1;
  } catch (const std::exception& errore) {
    ScriviErrore("LavoroImporta", "importa", QString::fromLocal8Bit(errore.what()), 0);
    errori << "Importazione non riuscita: l'archivio è rimasto com'era. Il motivo è nel "
              "registro degli errori."
           << Qt::endl;
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
          "importa FILE [--fornitore NOME] [--separatore C | --pelidor35] [--barcode N] "
          "[--descrizione N] [--reparto N] [--prezzo N] [--quantita N] [--acquisto N] [--iva N] "
          "[--codice-fornitore N] [--nome-fornitore N] [--si]",
          "un file di testo sostituisce l'archivio (separatore ; e colonne di \"Predef.\": "
          "barcode 4, descrizione 5, reparto 6, prezzo 10, quantità 12); un .xls, .xlsx o .ods "
          "aggiorna per codice a barre dal foglio PRODOTTI (colonne di \"Predef. XLS\"); con "
          "--fornitore il file del fornitore (tracciato fisso, o il primo foglio); --si senza "
          "chiedere conferma",
          eseguiImporta};
}

}  // namespace listinova
