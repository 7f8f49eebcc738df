#pragma once

// Fits a window drawn for one screen to the counter screen it runs on: the window takes a share
// of the screen, and its controls move and stretch in proportion to its size.

#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

namespace listinova {

class ClsResize {
 public:
  // The scaled properties of a control: Left, Top, Width, Height.
  enum Proprieta { L = 1, T = 2, W = 4, H = 8, Tutte = L | T | W | H };
  // A Tag that starts with "@" names the properties to scale ("@L,T" moves without
  // stretching); any other Tag scales all four.
  static int RegolaDaTag(const QString& tag);

  void setSourceForm(QWidget* finestra);
  QWidget* SourceForm() const { return finestra_; }

  // The next sizing or resize takes the current layout as the new reference.
  void ReInitialise() { daRegistrare_ = true; }
  // The window takes `percentuale` of the screen's width and height, centred.
  void SizeFormToScreen(int percentuale);
  // To be called from the window's resize event.
  void ResizeControls();

 private:
  struct Registrato {
    QPointer<QWidget> controllo;
    std::array<qint32, 4> valori{};  // Left, Top, Width, Height
  };
  void registra();

  QPointer<QWidget> finestra_;
  bool daRegistrare_ = true;
  qint32 larghezzaRegistrata_ = 0;
  qint32 altezzaRegistrata_ = 0;
  std::vector<Registrato> registrati_;
};

}  // namespace listinova
