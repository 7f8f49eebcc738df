#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

class QLabel;

namespace listinova {

// The start window: shown while the store is readied, then replaced by the main window.
class FrmSplash : public QDialog {
  Q_OBJECT

 public:
  struct Passi {
    std::function<bool()> collegaTabelle;  // true when an external database was linked
    std::function<void()> sincronizza;
    std::function<void()> mostraPrincipale;
  };
  static constexpr int kAttesaMs = 3000;

  FrmSplash(Passi passi, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void avvia();
  void passaAlPrincipale();

  Passi passi_;
  QTimer timerCarica_;
  bool avviato_ = false;
  bool concluso_ = false;
  // Linking and syncing let window events run; the main window must wait for their end.
  bool passiInCorso_ = false;
  bool tastoDuranteIPassi_ = false;
};

}  // namespace listinova
