#include "printing/lavoro_report.h"

#include "catalogue/apri_database.h"
#include "platform/console_prompts.h"
#include "platform/db/database.h"
#include "platform/db/stored_value.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "platform/workbook_writer.h"
#include "printing/esportazioni.h"
#include "printing/report_anteprima.h"
#include "printing/report_archivio.h"
#include "startup/avvio.h"
#include "startup/error_log.h"
#include "startup/lavoro_non_avviato.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

constexpr int kEsitoUsoErrato = 2;
constexpr char kModulo[] = "LavoroReport";
// Visual Basic's "Path/File access error", the number file failures are logged with.
constexpr int kErroreFile = 75;
constexpr char kTuttoIlMagazzino[] = "Select * from Magazzino order by descrizione";

// The value after `opzione`, or empty.
QString valoreDi(const QStringList& argomenti, const QString& opzione) {
  const int i = argomenti.indexOf(opzione);
  return i >= 0 && i + 1 < argomenti.size() ? argomenti[i + 1] : QString();
}

// The arguments after the job's name, options and their values left out.
QStringList paroleDi(const QStringList& argomenti, const QString& lavoro) {
  QStringList parole;
  for (int i = argomenti.indexOf(lavoro) + 1; i < argomenti.size(); ++i) {
    if (argomenti[i] == "--dal" || argomenti[i] == "--al" || argomenti[i] == "--cartella") {
      ++i;
      continue;
    }
    if (!argomenti[i].startsWith("--")) parole << argomenti[i];
  }
  return parole;
}

// The program started on its shop folder without windows, for as long as a job runs.
struct Console {
  Console(const QStringList& argomenti, QTextStream& uscita)
      : cartella(platform::ProgramFolder::fromEnvironment(argomenti)),
        prompts(uscita, clock, false),
        notice(uscita),
        avvio(cartella, prompts, notice, clock, ApriDatabase) {}

  // The store, or null after a message.
  platform::db::Database* apriArchivio(QTextStream& errori, const QString& cosaNonFatta) {
    if (!avvio.Main() || !Globali().Archivio) {
      esitoAvvio = LavoroNonAvviato(avvio.giaInUso(), cosaNonFatta, errori);
      return nullptr;
    }
    return Globali().Archivio.get();
  }

  // The start routine keeps a reference to the folder for the whole job.
  platform::ProgramFolder cartella;
  platform::QtClock clock;
  platform::ConsolePrompts prompts;
  platform::ConsoleNotice notice;
  Avvio avvio;
  int esitoAvvio = 0;
};

int eseguiEsporta(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const QStringList parole = paroleDi(argomenti, "esporta");
  if (parole.size() != 2 || (parole[0] != "magazzino" && parole[0] != "vendite")) {
    errori << "Uso: listinova esporta magazzino FILE.xlsx | esporta vendite --dal gg/mm/aaaa "
              "--al gg/mm/aaaa FILE.xlsx"
           << Qt::endl;
    return kEsitoUsoErrato;
  }
  const bool vendite = parole[0] == "vendite";
  const QDate dal = platform::db::parseShopDate(valoreDi(argomenti, "--dal"));
  const QDate al = platform::db::parseShopDate(valoreDi(argomenti, "--al"));
  if (vendite && (!dal.isValid() || !al.isValid())) {
    errori << "Indicare il periodo con --dal gg/mm/aaaa e --al gg/mm/aaaa." << Qt::endl;
    return kEsitoUsoErrato;
  }
  Console console(argomenti, uscita);
  platform::db::Database* db = console.apriArchivio(errori, "esportazione non eseguita");
  if (!db) return console.esitoAvvio;
  platform::XlsxWorkbookWriter scrittore;
  platform::AttachWorkbookWriter(*db, scrittore);
  const QString file = NomeCartellaDiLavoro(parole[1]);
  try {
    ScriviCartellaDiLavoro(*db, scrittore, file, [&](const QString& accanto) {
      return vendite ? QStringList{IstruzioneEsportaVendite(accanto, dal, al)}
                     : IstruzioniEsportaMagazzino(accanto, false);
    });
  } catch (const platform::db::DatabaseError& e) {
    ScriviErrore(kModulo, "Esporta", DescrizioneCompleta(e), e.code());
    errori << "Esportazione non riuscita: " << e.description() << Qt::endl;
    return 1;
  }
  uscita << "Scritto " << file << Qt::endl;
  return 0;
}

int eseguiStampa(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const QStringList parole = paroleDi(argomenti, "stampa");
  if (parole.size() != 2 || parole[0] != "magazzino") {
    errori << "Uso: listinova stampa magazzino FILE.pdf" << Qt::endl;
    return kEsitoUsoErrato;
  }
  Console console(argomenti, uscita);
  platform::db::Database* db = console.apriArchivio(errori, "stampa non eseguita");
  if (!db) return console.esitoAvvio;
  try {
    const Money valore = RiempiRptMagazzino(*db, kTuttoIlMagazzino);
    const ModelloReport report = ReportMagazzino(*db, console.clock.now().date(), valore);
    QString guasto;
    if (SalvaReportPdf(report, parole[1], &guasto) == 0) {
      ScriviErrore(kModulo, "StampaMagazzino", guasto, kErroreFile);
      errori << "Stampa non riuscita: " << guasto << Qt::endl;
      return 1;
    }
    uscita << "Scritto " << parole[1] << " (" << report.righe.size() << " prodotti)" << Qt::endl;
  } catch (const platform::db::DatabaseError& e) {
    ScriviErrore(kModulo, "StampaMagazzino", e.description(), e.code());
    errori << "Stampa non riuscita: " << e.description() << Qt::endl;
    return 1;
  }
  return 0;
}

}  // namespace

LavoroRigaDiComando LavoroEsporta() {
  return {"esporta", "esporta magazzino|vendite [--dal gg/mm/aaaa --al gg/mm/aaaa] FILE.xlsx",
          "scrive il magazzino (fogli Foglio1 e Foglio2) o le vendite del periodo in una "
          "cartella di lavoro .xlsx",
          eseguiEsporta};
}

LavoroRigaDiComando LavoroStampa() {
  return {"stampa", "stampa magazzino FILE.pdf",
          "scrive in PDF il report delle giacenze di tutto il magazzino", eseguiStampa};
}

}  // namespace listinova
