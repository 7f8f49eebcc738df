#include "printing/stampe_finestre.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/db/database.h"
#include "printing/report_anteprima.h"

namespace listinova {

StampeConFinestre::StampeConFinestre(platform::db::Database& db, platform::Prompts& prompts,
                                     platform::Notice& notice, platform::Clock& clock,
                                     QString percorsoSetup, QWidget* finestra) {
  platform::AttachWorkbookWriter(db, scrittore_);
  AmbienteEsportazione esportazione{db,
                                    prompts,
                                    notice,
                                    scrittore_,
                                    percorsoSetup,
                                    [finestra](const QString& titolo) {
                                      // The overwrite question is ours, with our words: the dialog
                                      // must not ask it too.
                                      return QFileDialog::getSaveFileName(
                                          finestra, titolo, {},
                                          QStringLiteral("Cartella di lavoro Excel (*.xlsx)"),
                                          nullptr, QFileDialog::DontConfirmOverwrite);
                                    },
                                    [](bool si) {
                                      if (si)
                                        QApplication::setOverrideCursor(Qt::WaitCursor);
                                      else
                                        QApplication::restoreOverrideCursor();
                                    }};
  stampe_ = std::make_unique<StampeReport>(
      std::move(esportazione), clock, [percorsoSetup, finestra](const ModelloReport& report) {
        AnteprimaReport(report, NomeStampanteA4(percorsoSetup), finestra);
      });
}

}  // namespace listinova
