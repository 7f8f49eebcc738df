#include "platform/qt_prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace listinova::platform {

namespace {

struct Choice {
  QMessageBox::StandardButton button;
  Answer answer;
  QString caption;
};

std::vector<Choice> choicesFor(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return {{QMessageBox::Ok, Answer::Ok, QStringLiteral("OK")}};
    case Buttons::OkCancel:
      return {{QMessageBox::Ok, Answer::Ok, QStringLiteral("OK")},
              {QMessageBox::Cancel, Answer::Cancel, QStringLiteral("Annulla")}};
    case Buttons::YesNo:
      return {{QMessageBox::Yes, Answer::Yes, QStringLiteral("Sì")},
              {QMessageBox::No, Answer::No, QStringLiteral("No")}};
    case Buttons::AbortRetryIgnore:
      return {{QMessageBox::Abort, Answer::Abort, QStringLiteral("Interrompi")},
              {QMessageBox::Retry, Answer::Retry, QStringLiteral("Riprova")},
              {QMessageBox::Ignore, Answer::Ignore, QStringLiteral("Ignora")}};
  }
  return {};
}

// What the close box (or Esc) answers.
Answer closeAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::OkCancel:
      return Answer::Cancel;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::AbortRetryIgnore:
      return Answer::Abort;
  }
  return Answer::Cancel;
}

QMessageBox::Icon boxIcon(Icon icon) {
  switch (icon) {
    case Icon::None:
      return QMessageBox::NoIcon;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtPrompts::QtPrompts(QWidget* parent) : parent_(parent) {}

QWidget* QtPrompts::owner() const {
  return parent_ ? parent_.data() : QApplication::activeWindow();
}

Answer QtPrompts::ask(const Question& question) {
  QMessageBox box(boxIcon(question.icon), question.title, question.text, QMessageBox::NoButton,
                  owner());
  const std::vector<Choice> choices = choicesFor(question.buttons);
  const Answer onClose = closeAnswer(question.buttons);
  const Answer focused = question.defaultAnswer.value_or(choices.front().answer);
  for (const Choice& choice : choices) {
    QPushButton* button = box.addButton(choice.button);
    button->setText(choice.caption);
    if (choice.answer == focused) box.setDefaultButton(button);
    if (choice.answer == onClose) box.setEscapeButton(button);
  }
  box.exec();
  const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
  for (const Choice& choice : choices) {
    if (choice.button == clicked) return choice.answer;
  }
  return onClose;
}

std::optional<QString> QtPrompts::input(const QString& prompt, const QString& title,
                                        const QString& initial) {
  QInputDialog dialog(owner());
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(initial);
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("Annulla"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

}  // namespace listinova::platform
