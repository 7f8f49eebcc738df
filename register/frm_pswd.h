#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace listinova {
namespace platform {
class Prompts;
}

// The purpose of a password request: reading the registers (and importing from them).
inline constexpr char kScopoLetturaCasse[] = "TCN";

// 1 after the operator gave the right code, 0 after a wrong one; read by the callers of the
// password window, program-wide.
int PasswordAccettata();

// Checks `codice` for what `scopo` guards and sets the accepted flag accordingly; the window
// and the command-line jobs go through here.
bool VerificaPassword(const QString& scopo, const QString& codice);

// The password window: OK checks the code; a wrong one is told, cleared and asked again, so
// the window closes accepted or cancelled.
class FrmPswd : public QDialog {
  Q_OBJECT

 public:
  FrmPswd(platform::Prompts& prompts, QString scopo, QWidget* parent = nullptr);

  void cmdOK_Click();

 private:
  platform::Prompts& prompts_;
  QString scopo_;
  QLineEdit* txtPassword_;
  QPushButton* cmdOK_;
  QPushButton* cmdAnnulla_;
};

// Shows the password window modally for `scopo`; true when the code was accepted.
bool ChiediPassword(platform::Prompts& prompts, QWidget* parent = nullptr,
                    const QString& scopo = QString::fromLatin1(kScopoLetturaCasse));

}  // namespace listinova
