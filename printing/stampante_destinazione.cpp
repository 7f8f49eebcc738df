// The label printer that follows the program's print target.
#include "printing/stampante_destinazione.h"

#include "platform/printers.h"
#include "printing/impostazioni_etichetta.h"

namespace listinova {

StampanteDestinazione::StampanteDestinazione(const platform::PrintTarget& destinazione,
                                             QString percorsoSetup)
    : destinazione_(destinazione), percorsoSetup_(std::move(percorsoSetup)) {}

StampanteDestinazione::~StampanteDestinazione() = default;

StampanteEtichette& StampanteDestinazione::attuale() const {
  if (!stampante_ || nome_ != destinazione_.printerName()) {
    nome_ = destinazione_.printerName();
    stampante_ =
        StampanteEtichette::suStampante(nome_, LeggiSpostamentoStampante(percorsoSetup_, nome_));
  }
  return *stampante_;
}

QSizeF StampanteDestinazione::paginaTwips() const { return attuale().paginaTwips(); }

QRectF StampanteDestinazione::areaStampabileTwips() const {
  return attuale().areaStampabileTwips();
}

std::unique_ptr<SuperficieEtichette> StampanteDestinazione::apri() {
  // The correction may have changed since the last document.
  stampante_.reset();
  return attuale().apri();
}

}  // namespace listinova
