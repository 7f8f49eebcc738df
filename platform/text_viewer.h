#pragma once

#include <QString>

namespace listinova::platform {

// Shows a text file to the operator; the caller goes on once the operator has closed it.
class TextViewer {
 public:
  virtual ~TextViewer();
  virtual void showAndWait(const QString& filePath) = 0;
};

}  // namespace listinova::platform
