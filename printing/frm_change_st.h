#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace listinova {
namespace platform {
class Printers;
class Prompts;
}  // namespace platform

// "Cambia la Stampante di sistema": picks the A4 printer (purpose "0") or the label printer
// (any other purpose) from the installed ones and stores it in [STdiSISTEMA].
class FrmChangeST : public QDialog {
  Q_OBJECT

 public:
  FrmChangeST(QString scopo, QString percorsoSetup, const platform::Printers& stampanti,
              platform::Prompts& prompts, QWidget* parent = nullptr);

  // The printer stored by "Applica"; empty until then.
  const QString& scelta() const { return scelta_; }

 private:
  void cmdApplicaST_Click();

  QString scopo_;
  QString percorsoSetup_;
  platform::Prompts& prompts_;
  QString scelta_;
  QListWidget* List1_;
  QPushButton* cmdApplicaST_;
  QPushButton* cmdAnnullaImpo_;
};

}  // namespace listinova
