#pragma once

#include <QDialog>
#include <QPointer>

#include "platform/text_viewer.h"

namespace listinova {

// A read-only text file in a modal window, titled with the file name.
class VisualizzatoreTesto : public QDialog {
  Q_OBJECT

 public:
  explicit VisualizzatoreTesto(const QString& percorsoFile, QWidget* parent = nullptr);
};

// The program's TextViewer: the lists of refused commands are read in a VisualizzatoreTesto.
class QtTextViewer : public platform::TextViewer {
 public:
  explicit QtTextViewer(QWidget* parent = nullptr);
  void showAndWait(const QString& filePath) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace listinova
