// The label windows wired for the program.
#include "printing/finestre_etichette.h"

#include <QTimer>

#include "printing/frm_change_st.h"
#include "printing/frm_configura_label.h"
#include "printing/frm_preview.h"
#include "printing/scelta_stampante.h"
#include "printing/stampa_frontalini.h"
#include "startup/var_globali.h"

namespace listinova {

FinestreEtichette::FinestreEtichette(platform::db::Database& db, platform::Prompts& prompts,
                                     const platform::Printers& stampanti,
                                     std::function<FiltriEtichette()> filtri,
                                     std::function<QString(QWidget*)> filePdf)
    : db_(db),
      prompts_(prompts),
      stampanti_(stampanti),
      filtri_(std::move(filtri)),
      filePdf_(std::move(filePdf)),
      destinazione_(stampanti),
      stampante_(destinazione_, Globali().PercorsoSetup) {}

void FinestreEtichette::stampaFrontalino(QWidget* padre) {
  StampaFrontalini(Globali().PercorsoSetup, destinazione_, prompts_,
                   [this, padre] { apriEditor(padre); });
}

QString FinestreEtichette::scegliStampante(const QString& scopo, QWidget* padre) {
  FrmChangeST finestra(scopo, Globali().PercorsoSetup, stampanti_, prompts_, padre);
  finestra.exec();
  return finestra.scelta();
}

void FinestreEtichette::apriEditor(QWidget* padre) {
  const VarGlobali& g = Globali();
  AmbienteEditorEtichette ambiente{db_,
                                   g.PercorsoSetup,
                                   g.CartellaProgramma,
                                   prompts_,
                                   stampante_,
                                   [this] { return destinazione_.printerName(); },
                                   filtri_,
                                   {},
                                   {}};
  FrmConfiguraLabel editor(ambiente, kContestoToolbar, {}, padre);
  const bool conStampante = !stampanti_.installed().isEmpty();
  editor.motore().setApriAnteprima([this, &editor, conStampante](EasyPrint& motore) {
    QWidget* finestra = &editor;  // the preview, once it exists: the file dialog sits on it
    AzioniAnteprima azioni{[this, &editor] {
                             const QString scelta = scegliStampante(QStringLiteral("1"), &editor);
                             if (!scelta.isEmpty())
                               EseguiAssegnazioneST(destinazione_, scelta, prompts_);
                           },
                           [this, &finestra] { return filePdf_(finestra); }, conStampante};
    FrmPreview anteprima(motore, prompts_, std::move(azioni), &editor);
    finestra = &anteprima;
    anteprima.exec();
  });
  // Without a printer the preview is where the labels go: it opens over the editor at once,
  // and the editor stays beneath for another sheet or layout.
  if (!conStampante) QTimer::singleShot(0, &editor, [&editor] { editor.motore().Preview(); });
  editor.exec();
}

}  // namespace listinova
