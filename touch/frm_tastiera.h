#pragma once

// The on-screen keyboard: a window opens it for one of its fields, the operator taps the value
// and "Invio" writes it into that field.

#include <QDialog>
#include <QPointer>
#include <array>
#include <vector>

#include "touch/cls_resize.h"
#include "touch/digitazione.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace listinova {
namespace platform {
class Clock;
class Notice;
}  // namespace platform

class FrmTastiera : public QDialog {
  Q_OBJECT

 public:
  // Drawn for a 1024 x 768 screen; other screens scale it.
  static constexpr int kLarghezzaProgetto = 1000;
  static constexpr int kAltezzaProgetto = 350;

  FrmTastiera(platform::Notice& notice, const platform::Clock& clock, QWidget* parent = nullptr);

  // Prepares the keyboard for the control named `controllo` (any letter case) of `finestra`.
  void AbilitaDisabilita(int modo, QWidget* finestra, const QString& controllo, bool password);

  // The typing routine of every key: letters, digits, comma and space.
  void Digita(const QString& tasto);
  void ssIndietro_Click();
  void ssInvio_Click();
  QString digitato() const { return digitato_; }

 protected:
  bool event(QEvent* evento) override;
  void showEvent(QShowEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  QPushButton* tasto(QWidget* gruppo, const QString& nome, const QString& testo, const QRect& dove);
  QGroupBox* gruppo(const char* nome, const QString& titolo, const QRect& dove);
  void costruisciAlfabeto();
  void costruisciNumeri();
  void costruisciComandi();
  void aggiornaMaiuscole();
  void mostraDigitato();
  void adattaAlloSchermo();
  void posiziona();

  platform::Notice& notice_;
  const platform::Clock& clock_;
  ClsResize resize_;
  int modo_ = kModoTesto;
  QPointer<QWidget> finestraDestinazione_;
  QString controlloDestinazione_;
  bool password_ = false;
  QString digitato_;

  QLineEdit* lblDigitazione_ = nullptr;
  QLabel* lblAvvisoData_ = nullptr;
  QGroupBox* frAlfabeto_ = nullptr;
  QGroupBox* frNumeri_ = nullptr;
  QGroupBox* frComandi_ = nullptr;
  QGroupBox* frChilo_ = nullptr;
  std::vector<QPushButton*> ssAlfa_;
  std::array<QPushButton*, 10> ssNumeri_{};
  QPushButton* ssVirgola_ = nullptr;
  QPushButton* ssSpazio_ = nullptr;
  QPushButton* ssIndietro_ = nullptr;
  QPushButton* ssInvio_ = nullptr;
  QCheckBox* ckMaiusc_ = nullptr;
  QCheckBox* ckChilo_ = nullptr;
};

// Opens the keyboard modally for `campo` of its window.
void ApriTastiera(int modo, QWidget* campo, platform::Notice& notice, bool password = false);
// From now on a press in `campo` opens the keyboard for it.
void TastieraAlTocco(QWidget* campo, int modo, platform::Notice& notice);

}  // namespace listinova
