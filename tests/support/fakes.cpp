#include "support/fakes.h"

namespace listinova::testing {

platform::Answer FakePrompts::ask(const platform::Question& question) {
  asked.push_back(question);
  if (answers.empty()) return defaultAnswer;
  const platform::Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<QString> FakePrompts::input(const QString&, const QString&, const QString&) {
  if (inputs.empty()) return std::nullopt;
  // Taking the optional whole trips a false uninitialised warning in GCC 12.
  if (!inputs.front()) {
    inputs.pop_front();
    return std::nullopt;
  }
  const QString reply = *inputs.front();
  inputs.pop_front();
  return reply;
}

void FakeClock::wait(int milliseconds) {
  waits.push_back(milliseconds);
  current = current.addMSecs(milliseconds);
}

}  // namespace listinova::testing
