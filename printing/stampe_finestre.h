#pragma once

#include <QString>
#include <memory>

#include "platform/workbook_writer.h"
#include "printing/report_comandi.h"

class QWidget;

namespace listinova {

// The report commands as the windows run them: the save dialog, the busy pointer, the
// workbook writer on the store, the preview on the A4 printer of the settings.
class StampeConFinestre {
 public:
  StampeConFinestre(platform::db::Database& db, platform::Prompts& prompts,
                    platform::Notice& notice, platform::Clock& clock, QString percorsoSetup,
                    QWidget* finestra);

  StampeReport& stampe() { return *stampe_; }

 private:
  platform::XlsxWorkbookWriter scrittore_;
  std::unique_ptr<StampeReport> stampe_;
};

}  // namespace listinova
