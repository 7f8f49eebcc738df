#include "register/frm_pswd.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/prompts.h"

namespace listinova {

namespace {

// The access code every shop was given for reading the registers.
constexpr char kCodiceAccesso[] = "KORVADE";

int passwordAccettata = 0;

}  // namespace

int PasswordAccettata() { return passwordAccettata; }

bool VerificaPassword(const QString& scopo, const QString& codice) {
  const bool giusto =
      scopo == QLatin1String(kScopoLetturaCasse) && codice == QLatin1String(kCodiceAccesso);
  passwordAccettata = giusto ? 1 : 0;
  return giusto;
}

FrmPswd::FrmPswd(platform::Prompts& prompts, QString scopo, QWidget* parent)
    : QDialog(parent), prompts_(prompts), scopo_(std::move(scopo)) {
  setObjectName("frmPswd");
  setWindowTitle(QStringLiteral("Password"));
  txtPassword_ = new QLineEdit;
  txtPassword_->setObjectName("txtPassword");
  txtPassword_->setEchoMode(QLineEdit::Password);
  cmdOK_ = new QPushButton(QStringLiteral("OK"));
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setDefault(true);
  cmdAnnulla_ = new QPushButton(QStringLiteral("Annulla"));
  cmdAnnulla_->setObjectName("cmdAnnulla");

  auto* pulsanti = new QHBoxLayout;
  pulsanti->addStretch();
  pulsanti->addWidget(cmdOK_);
  pulsanti->addWidget(cmdAnnulla_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Inserire il codice di accesso:")));
  layout->addWidget(txtPassword_);
  layout->addLayout(pulsanti);

  connect(cmdOK_, &QPushButton::clicked, this, &FrmPswd::cmdOK_Click);
  connect(cmdAnnulla_, &QPushButton::clicked, this, &QDialog::reject);
  txtPassword_->setFocus();
}

void FrmPswd::cmdOK_Click() {
  if (VerificaPassword(scopo_, txtPassword_->text())) {
    accept();
    return;
  }
  prompts_.ask({QStringLiteral("PASSWORD ERRATA RIPROVARE"), QStringLiteral("ATTENZIONE"),
                platform::Buttons::Ok, platform::Icon::Exclamation});
  txtPassword_->clear();
  txtPassword_->setFocus();
}

bool ChiediPassword(platform::Prompts& prompts, QWidget* parent, const QString& scopo) {
  passwordAccettata = 0;
  FrmPswd finestra(prompts, scopo, parent);
  finestra.exec();
  return PasswordAccettata() == 1;
}

}  // namespace listinova
