#pragma once

#include <QString>
#include <optional>

namespace listinova::platform {

enum class Buttons { Ok, OkCancel, YesNo, AbortRetryIgnore };
enum class Icon { None, Question, Exclamation, Information, Critical };
enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

struct Question {
  QString text;
  QString title;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  // Button focused when the window opens; empty means the first one.
  std::optional<Answer> defaultAnswer;
};

// Message boxes and the input box: the only way the program asks the operator.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual Answer ask(const Question& question) = 0;
  // Empty optional when the operator cancels.
  virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                       const QString& initial = {}) = 0;
};

}  // namespace listinova::platform
