#include "catalogue/formatta_in_euro.h"

#include "platform/money.h"

namespace listinova {

QString FormattaInEuro(const QString& testo) {
  if (testo.trimmed().isEmpty()) return "0,00";
  auto importo = Money::parse(testo);
  return importo ? importo->roundedTo(2).toItalian(2) : testo;
}

}  // namespace listinova
