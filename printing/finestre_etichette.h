#pragma once

#include <QString>
#include <functional>

#include "platform/printers.h"
#include "printing/selezione_etichette.h"
#include "printing/stampante_destinazione.h"

class QWidget;

namespace listinova {
namespace platform {
class Prompts;
namespace db {
class Database;
}
}  // namespace platform

// The label windows of the program, wired together: the flow of "Stampa Front.", the
// editor, its preview with the print options, and the printer selection they link to.
class FinestreEtichette {
 public:
  // `filePdf` asks where the preview's "Salva PDF" writes: the file, empty when cancelled.
  FinestreEtichette(platform::db::Database& db, platform::Prompts& prompts,
                    const platform::Printers& stampanti, std::function<FiltriEtichette()> filtri,
                    std::function<QString(QWidget* padre)> filePdf);

  // "Stampa Front.": label printer, editor, A4 printer again; without any printer the
  // editor opens with its preview, where the labels are saved as PDF.
  void stampaFrontalino(QWidget* padre);
  // Opens the printer selection for a purpose; the printer chosen, or empty.
  QString scegliStampante(const QString& scopo, QWidget* padre);
  platform::PrintTarget& destinazione() { return destinazione_; }

 private:
  void apriEditor(QWidget* padre);

  platform::db::Database& db_;
  platform::Prompts& prompts_;
  const platform::Printers& stampanti_;
  std::function<FiltriEtichette()> filtri_;
  std::function<QString(QWidget*)> filePdf_;
  platform::PrintTarget destinazione_;
  StampanteDestinazione stampante_;
};

}  // namespace listinova
