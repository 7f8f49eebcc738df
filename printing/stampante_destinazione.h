#pragma once

#include <memory>

#include "printing/stampante_etichette.h"

namespace listinova {
namespace platform {
class PrintTarget;
}

// The label printer the program's print target names right now, with that printer's
// correction from [Etichetta]; it follows the target when the user picks another printer.
class StampanteDestinazione : public DispositivoEtichette {
 public:
  StampanteDestinazione(const platform::PrintTarget& destinazione, QString percorsoSetup);
  ~StampanteDestinazione() override;

  QSizeF paginaTwips() const override;
  QRectF areaStampabileTwips() const override;
  std::unique_ptr<SuperficieEtichette> apri() override;

 private:
  StampanteEtichette& attuale() const;

  const platform::PrintTarget& destinazione_;
  QString percorsoSetup_;
  mutable QString nome_;
  mutable std::unique_ptr<StampanteEtichette> stampante_;
};

}  // namespace listinova
