#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// A fresh shop folder, with the user's configuration folder moved inside it so that
// DovePrg.ini is written there and not into the real home.
class CartellaDiProva {
 public:
  CartellaDiProva();
  ~CartellaDiProva();
  QString root() const { return dir_.path(); }
  QString file(const QString& relative) const { return dir_.filePath(relative); }
  QString setup() const { return file("Setup.ini"); }

 private:
  QTemporaryDir dir_;
  QByteArray oldConfig_;
  bool hadConfig_;
};
