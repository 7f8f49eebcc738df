#pragma once

#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;

namespace listinova {
namespace platform {
class Prompts;
}

// The frame window: toolbar, status bar and the stretched background picture.
class MdiPrincipale : public QMainWindow {
  Q_OBJECT

 public:
  explicit MdiPrincipale(platform::Prompts& prompts, QWidget* parent = nullptr);

  // What the "tbMaga" and "tbImpo" buttons open; a button without one stays disabled.
  void setApriMagazzino(std::function<void()> apri);
  void setApriImpostazioni(std::function<void()> apri);

  // The exit question; true when the operator confirmed and the program is ending.
  bool chiediUscita();
  // Reads [InterfacciaUtente] ImgSfondo and shows it, or hides the picture area; takes the
  // program's colour.
  void aggiornaSfondo();
  const QString& immagineSfondo() const { return immagineSfondo_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void collega(QAction* azione, std::function<void()>& destinazione, std::function<void()> apri,
               const QString& suggerimento);

  platform::Prompts& prompts_;
  QAction* tbMaga_;
  QAction* tbImpo_;
  QAction* tbEsci_;
  QLabel* pctSfondo_;
  QString immagineSfondo_;
  std::function<void()> apriMagazzino_;
  std::function<void()> apriImpostazioni_;
  bool uscitaConfermata_ = false;
};

}  // namespace listinova
