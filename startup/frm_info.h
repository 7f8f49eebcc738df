#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include "platform/notice.h"

class QLabel;

namespace listinova {

// The "Messaggio" window: shows one line for the operator and closes itself.
class FrmInfo : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDurataMs = 2500;

  explicit FrmInfo(QWidget* parent = nullptr);

  void setMessaggio(const QString& testo);
  QString messaggio() const;
  bool attivato() const { return attivato_; }
  bool terminato() const { return terminato_; }

  // Shows `testo` modally and returns once the window has closed.
  static void mostra(QWidget* parent, const QString& testo);

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* lblMsg_;
  QTimer chiusura_;
  bool attivato_ = false;
  bool terminato_ = false;
};

// The program's Notice: a FrmInfo over the given window (or the active one).
class QtNotice : public platform::Notice {
 public:
  explicit QtNotice(QWidget* parent = nullptr);
  void show(const QString& message) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace listinova
