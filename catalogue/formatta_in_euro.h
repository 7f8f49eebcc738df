#pragma once

#include <QString>

namespace listinova {

// Money text for storage and display: "1.234,50"; empty gives "0,00"; text that is not an
// amount comes back unchanged.
QString FormattaInEuro(const QString& testo);

}  // namespace listinova
