#include "register/casse_configurate.h"

#include "startup/var_globali.h"

namespace listinova {

std::vector<CassaConfigurata> CasseConfigurate(const VarGlobali& g) {
  std::vector<CassaConfigurata> casse;
  const QString porta1 = g.RegCassa.porta.trimmed();
  const QString rete1 = g.IndirizzoRete.trimmed();
  if (!porta1.isEmpty())
    casse.push_back({1, porta1, porta1, false});
  else if (!rete1.isEmpty())
    casse.push_back({1, rete1, QString(rete1).remove('.'), true});
  if (!g.PortaCOM1.trimmed().isEmpty())
    casse.push_back({2, g.PortaCOM1.trimmed(), g.PortaCOM1.trimmed(), false});
  if (!g.PortaCOM2.trimmed().isEmpty())
    casse.push_back({3, g.PortaCOM2.trimmed(), g.PortaCOM2.trimmed(), false});
  return casse;
}

}  // namespace listinova
