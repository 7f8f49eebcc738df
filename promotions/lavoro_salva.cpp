#include "promotions/lavoro_salva.h"

#include <QDateTime>
#include <QDir>

#include "platform/local_file_system.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "platform/whole_file.h"
#include "promotions/salvataggio_dati.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

// The word after "salva", skipping the shop folder option.
QString cartellaScelta(const QStringList& argomenti) {
  const qsizetype posizione = argomenti.indexOf("salva");
  for (qsizetype i = posizione + 1; posizione >= 0 && i < argomenti.size(); ++i) {
    if (argomenti[i] == "--cartella") {
      ++i;
      continue;
    }
    if (argomenti[i].startsWith("--")) continue;
    return argomenti[i];
  }
  return {};
}

// The shop's error log, for as long as the job runs.
struct RegistroDelLavoro {
  explicit RegistroDelLavoro(const QString& cartella) : registro(cartella, orologio) {
    installaErrorLog(&registro);
  }
  ~RegistroDelLavoro() { installaErrorLog(nullptr); }
  platform::QtClock orologio;
  ErrorLog registro;
};

int eseguiSalva(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const QString scelta = cartellaScelta(argomenti);
  if (scelta.isEmpty()) {
    errori << "Indicare la cartella dove salvare i dati: listinova salva CARTELLA" << Qt::endl;
    return 2;
  }
  platform::LocalFileSystem fs;
  const QString destinazione = QDir(scelta).absolutePath();
  if (!fs.makeFolder(destinazione)) {
    const int causa = platform::probeFolderError(destinazione);
    errori << (causa != 0 ? platform::describeWriteFailure(causa, destinazione)
                          : "Impossibile creare la cartella " + destinazione)
           << Qt::endl;
    return 1;
  }
  const auto cartella = platform::ProgramFolder::fromEnvironment(argomenti);
  const RegistroDelLavoro registro(cartella.root());
  const EsitoSalvataggio esito =
      SalvaCartellaDati(fs, cartella.path("Dati"), destinazione, QDateTime::currentDateTime());
  switch (esito.stato) {
    case EsitoSalvataggio::Stato::Completato:
      uscita << "Salvataggio completato in " << esito.cartella << Qt::endl;
      return 0;
    case EsitoSalvataggio::Stato::SpazioInsufficiente:
      errori << "Spazio NON sufficiente in " << destinazione
             << ": liberare spazio sul disco e ritentare l'operazione" << Qt::endl;
      return 1;
    case EsitoSalvataggio::Stato::Fallito:
      break;
  }
  ScriviErrore("LavoroSalva", "salva", esito.errore, 0);
  errori << "Salvataggio non riuscito: " << esito.errore << Qt::endl;
  return 1;
}

}  // namespace

LavoroRigaDiComando LavoroSalva() {
  return {"salva", "salva CARTELLA",
          "salva la cartella Dati in CARTELLA/PLU_BCK (poi in cartelle con data e ora); esce "
          "con 0 solo se la copia è completa e il suo archivio è integro",
          eseguiSalva};
}

}  // namespace listinova
