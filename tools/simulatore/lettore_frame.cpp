#include "tools/simulatore/lettore_frame.h"

#include "register/protocollo_ostrel.h"

namespace listinova::simulatore {

std::vector<EventoLinea> LettoreFrame::aggiungi(const QByteArray& byte) {
  std::vector<EventoLinea> eventi;
  for (char c : byte) {
    if (c == Controllo::STX) {
      dentroFrame_ = true;
      frame_.clear();
    } else if (c == Controllo::ENQ) {
      dentroFrame_ = false;
      eventi.push_back({EventoLinea::Tipo::Interrogazione, {}});
    } else if (!dentroFrame_) {
      if (c == Controllo::NAK) eventi.push_back({EventoLinea::Tipo::Nak, {}});
    } else if (c == Controllo::CAN) {
      dentroFrame_ = false;
    } else if (c == Controllo::ETX) {
      chiudiFrame(eventi);
    } else {
      frame_.append(c);
    }
  }
  return eventi;
}

void LettoreFrame::chiudiFrame(std::vector<EventoLinea>& eventi) {
  dentroFrame_ = false;
  const QByteArray corpo = frame_.chopped(qMin<qsizetype>(2, frame_.size()));
  if (frame_.size() >= 2 && CalcolaChecksum(corpo) == frame_.right(2))
    eventi.push_back({EventoLinea::Tipo::Comando, corpo});
  else
    eventi.push_back({EventoLinea::Tipo::ChecksumErrato, {}});
}

}  // namespace listinova::simulatore
