#pragma once

namespace listinova {

// Held while a job talks to the registers: a second command pressed meanwhile is refused.
class LavoroInCorso {
 public:
  LavoroInCorso();
  ~LavoroInCorso();
  LavoroInCorso(const LavoroInCorso&) = delete;
  LavoroInCorso& operator=(const LavoroInCorso&) = delete;

  static bool attivo();
  static constexpr const char* kMessaggio =
      "Un lavoro con le casse è già in corso: attendere che finisca.";
};

}  // namespace listinova
