#pragma once

#include <QDateTime>
#include <QStringList>
#include <deque>
#include <vector>

#include "platform/clock.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "platform/text_viewer.h"

namespace listinova::testing {

// Answers from a script; once the script runs out, `defaultAnswer`, and no input (cancelled).
class FakePrompts : public platform::Prompts {
 public:
  platform::Answer ask(const platform::Question& question) override;
  std::optional<QString> input(const QString& prompt, const QString& title,
                               const QString& initial = {}) override;

  std::deque<platform::Answer> answers;
  std::deque<std::optional<QString>> inputs;
  platform::Answer defaultAnswer = platform::Answer::Ok;

  std::vector<platform::Question> asked;
};

class FakeNotice : public platform::Notice {
 public:
  void show(const QString& message) override { messages.append(message); }

  QStringList messages;
};

// The files shown to the operator, in order.
class FakeTextViewer : public platform::TextViewer {
 public:
  void showAndWait(const QString& filePath) override { shown.append(filePath); }

  QStringList shown;
};

// Time moves only when the code under test waits.
class FakeClock : public platform::Clock {
 public:
  QDateTime now() const override { return current; }
  void wait(int milliseconds) override;

  QDateTime current{QDate(2024, 3, 15), QTime(9, 30)};
  std::vector<int> waits;
};

}  // namespace listinova::testing
