// The installed printers and the program's own print target.
#include "platform/printers.h"

#include <QPrinterInfo>

namespace listinova::platform {

bool Printers::isInstalled(const QString& name) const {
  return !name.isEmpty() && installed().contains(name);
}

QStringList QtPrinters::installed() const { return QPrinterInfo::availablePrinterNames(); }

bool PrintTarget::aimAt(const QString& name) {
  if (!printers_.isInstalled(name)) return false;
  name_ = name;
  return true;
}

}  // namespace listinova::platform
