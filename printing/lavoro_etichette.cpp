// Shelf labels from the command line, for a scheduled run.
#include "printing/lavoro_etichette.h"

#include "catalogue/apri_database.h"
#include "platform/console_prompts.h"
#include "platform/printers.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "printing/configura_etichette.h"
#include "printing/frm_configura_label.h"
#include "printing/impostazioni_etichetta.h"
#include "printing/stampante_etichette.h"
#include "startup/avvio.h"
#include "startup/lavoro_non_avviato.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

// The value after `opzione`, or nothing.
QString Valore(const QStringList& argomenti, const QString& opzione) {
  const qsizetype i = argomenti.indexOf(opzione);
  return i >= 0 && i + 1 < argomenti.size() ? argomenti.at(i + 1) : QString();
}

// The PDF file: the first word after "etichette" that is neither an option nor its value.
QString FilePdf(const QStringList& argomenti) {
  const qsizetype inizio = argomenti.indexOf("etichette");
  for (qsizetype i = inizio + 1; i < argomenti.size(); ++i) {
    const QString& a = argomenti.at(i);
    if (a == "--stampante" || a == "--cartella") {
      ++i;
      continue;
    }
    if (!a.startsWith("--")) return a;
  }
  return {};
}

int eseguiEtichette(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const QString stampante = Valore(argomenti, "--stampante");
  const QString file = FilePdf(argomenti);
  if (stampante.isEmpty() == file.isEmpty()) {
    errori << "Indicare un file PDF oppure --stampante NOME." << Qt::endl;
    return 2;
  }
  if (!stampante.isEmpty() && !platform::QtPrinters().isInstalled(stampante)) {
    errori << "La stampante \"" << stampante << "\" non è installata." << Qt::endl;
    return 2;
  }
  platform::QtClock clock;
  platform::ConsolePrompts prompts(uscita, clock, false);
  platform::ConsoleNotice notice(uscita);
  const auto cartella = platform::ProgramFolder::fromEnvironment(argomenti);
  Avvio avvio(cartella, prompts, notice, clock, ApriDatabase);
  VarGlobali& g = Globali();
  if (!avvio.Main() || !g.Archivio) {
    return LavoroNonAvviato(avvio.giaInUso(), "etichette non stampate", errori);
  }
  try {
    const ImpostazioniEtichetta impostazioni = LeggiImpostazioniEtichetta(g.PercorsoSetup);
    LayoutEtichetta layout = LayoutEtichetta::progettato();
    layout.logo = LogoEtichetta(g.CartellaProgramma);
    ImpostaDidascalie(layout, impostazioni, kContestoToolbar);
    CaricaLayout(*g.Archivio, layout);
    auto dispositivo = file.isEmpty()
                           ? StampanteEtichette::suStampante(
                                 stampante, LeggiSpostamentoStampante(g.PercorsoSetup, stampante))
                           : StampanteEtichette::suPdf(file);
    EasyPrint motore(*dispositivo);
    const FiltriEtichette filtri{argomenti.contains("--modificati"), false};
    motore.setSelezione([&](const QString& contesto) {
      return SelezionaProdotti(*g.Archivio, LeggiSelezioneStandard(g.PercorsoSetup), contesto,
                               filtri);
    });
    motore.setOpzioniCodice(impostazioni.opzioni);
    if (!impostazioni.modelloFoglio.isEmpty()) {
      const QString rifiuto = FoglioRifiutato(impostazioni.modelloFoglio);
      if (!rifiuto.isEmpty()) {
        errori << rifiuto << Qt::endl;
        return 1;
      }
    }
    const auto catalogo = impostazioni.modelloFoglio.isEmpty() ? std::vector<ModelloFoglio>()
                                                               : CatalogoModelliFoglio();
    const auto modello = TrovaModelloFoglio(catalogo, impostazioni.modelloFoglio);
    ConfiguraMotore(motore, layout,
                    {QString::number(layout.numCol), QString::number(layout.numRow),
                     modello ? &*modello : nullptr});
    if (motore.prodotti().empty()) {
      uscita << "Nessun prodotto da etichettare." << Qt::endl;
      return 0;
    }
    if (!motore.PrintDoc(1, motore.Pages(), 0)) {
      errori << "Stampa delle etichette non riuscita (dettagli in Dati/ErrorLog.dat)." << Qt::endl;
      return 1;
    }
    uscita << "Etichette: " << motore.LabelCopies() << " su " << motore.Pages() << " pagine"
           << (file.isEmpty() ? " inviate a " + stampante : " scritte in " + file) << Qt::endl;
    for (const QString& avviso : motore.avvisi()) uscita << avviso << Qt::endl;
    return 0;
  } catch (const std::exception& errore) {
    errori << "Etichette non stampate: " << errore.what() << Qt::endl;
    return 1;
  }
}

}  // namespace

LavoroRigaDiComando LavoroEtichette() {
  return {"etichette", "etichette FILE.pdf | --stampante NOME [--modificati]",
          "stampa le etichette dei prodotti scelti come da [Etichetta] SelezioneStandard, "
          "nel formato salvato, su un file PDF o su una stampante; --modificati solo i "
          "prodotti modificati",
          eseguiEtichette};
}

}  // namespace listinova
