#include "import/barcode_importato.h"

namespace listinova {

std::optional<QString> ControllaBarcode(const QString& barcode) {
  if (barcode.size() <= kLunghezzaMassimaBarcode) return std::nullopt;
  return QStringLiteral("codice a barre di %1 caratteri (al massimo %2)")
      .arg(barcode.size())
      .arg(kLunghezzaMassimaBarcode);
}

}  // namespace listinova
