#pragma once

#include <QTextStream>
#include <functional>

#include "platform/notice.h"
#include "platform/prompts.h"
#include "platform/text_viewer.h"

namespace listinova::platform {

class Clock;

// The operator's questions on a terminal, for the jobs that run without windows.
// Without a terminal (a scheduled job) every question takes its unattended answer:
// No to Yes/No questions, Cancel, Abort; a notice for the operator (paper, cover) is printed
// and the job waits kAttesaSenzaOperatoreMs before it tries again.
class ConsolePrompts : public Prompts {
 public:
  static constexpr int kAttesaSenzaOperatoreMs = 30000;

  // `siA` names the questions answered Yes without asking (the "--si" of a job).
  ConsolePrompts(QTextStream& out, Clock& clock, bool interattivo,
                 std::function<bool(const Question&)> siA = {});
  Answer ask(const Question& question) override;
  std::optional<QString> input(const QString& prompt, const QString& title,
                               const QString& initial = {}) override;

 private:
  std::optional<QString> rigaDalTerminale();

  QTextStream& out_;
  Clock& clock_;
  bool interattivo_;
  std::function<bool(const Question&)> siA_;
};

class ConsoleNotice : public Notice {
 public:
  explicit ConsoleNotice(QTextStream& out) : out_(out) {}
  void show(const QString& message) override;

 private:
  QTextStream& out_;
};

// Prints the file, as the windowed program shows it in a viewer.
class ConsoleTextViewer : public TextViewer {
 public:
  explicit ConsoleTextViewer(QTextStream& out) : out_(out) {}
  void showAndWait(const QString& filePath) override;

 private:
  QTextStream& out_;
};

// True when standard input is a terminal someone can answer at.
bool standardInputIsInteractive();

}  // namespace listinova::platform
