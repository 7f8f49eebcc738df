#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompts.h"

namespace listinova::platform {

// Message boxes with Italian captions, in the manner of the old MsgBox and InputBox.
class QtPrompts : public Prompts {
 public:
  // The boxes open over `parent`, or over the active window when there is none.
  explicit QtPrompts(QWidget* parent = nullptr);

  Answer ask(const Question& question) override;
  std::optional<QString> input(const QString& prompt, const QString& title,
                               const QString& initial = {}) override;

 private:
  QWidget* owner() const;

  QPointer<QWidget> parent_;
};

}  // namespace listinova::platform
