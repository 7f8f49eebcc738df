#include "platform/console_prompts.h"

#include <unistd.h>

#include <QFile>

#include "platform/clock.h"

namespace listinova::platform {

bool standardInputIsInteractive() { return isatty(STDIN_FILENO) == 1; }

ConsolePrompts::ConsolePrompts(QTextStream& out, Clock& clock, bool interattivo,
                               std::function<bool(const Question&)> siA)
    : out_(out), clock_(clock), interattivo_(interattivo), siA_(std::move(siA)) {}

std::optional<QString> ConsolePrompts::rigaDalTerminale() {
  QTextStream in(stdin);
  QString riga = in.readLine();
  if (riga.isNull()) return std::nullopt;
  return riga.trimmed();
}

Answer ConsolePrompts::ask(const Question& q) {
  out_ << "[" << q.title << "] " << q.text;
  switch (q.buttons) {
    case Buttons::YesNo: {
      if (siA_ && siA_(q)) {
        out_ << " Sì" << Qt::endl;
        return Answer::Yes;
      }
      if (!interattivo_) {
        out_ << " No" << Qt::endl;
        return Answer::No;
      }
      out_ << " (s/n) " << Qt::flush;
      auto riga = rigaDalTerminale();
      return riga && riga->startsWith('s', Qt::CaseInsensitive) ? Answer::Yes : Answer::No;
    }
    case Buttons::OkCancel:
      out_ << " Annulla" << Qt::endl;
      return Answer::Cancel;
    case Buttons::AbortRetryIgnore:
      out_ << " Interrompi" << Qt::endl;
      return Answer::Abort;
    case Buttons::Ok:
      break;
  }
  if (interattivo_) {
    out_ << " (Invio per continuare) " << Qt::flush;
    rigaDalTerminale();
  } else {
    out_ << Qt::endl;
    if (q.icon == Icon::Exclamation) clock_.wait(kAttesaSenzaOperatoreMs);
  }
  return Answer::Ok;
}

std::optional<QString> ConsolePrompts::input(const QString& prompt, const QString& title,
                                             const QString&) {
  out_ << "[" << title << "] " << prompt << " " << Qt::flush;
  if (!interattivo_) {
    out_ << Qt::endl;
    return std::nullopt;
  }
  return rigaDalTerminale();
}

void ConsoleNotice::show(const QString& message) { out_ << message << Qt::endl; }

void ConsoleTextViewer::showAndWait(const QString& filePath) {
  QFile file(filePath);
  if (!file.open(QIODevice::ReadOnly)) return;
  out_ << "--- " << filePath << " ---" << Qt::endl
       << QString::fromUtf8(file.readAll()) << Qt::endl
       << "---" << Qt::endl;
}

}  // namespace listinova::platform
