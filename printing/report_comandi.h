#pragma once

#include <functional>
#include <vector>

#include "printing/esportazioni.h"
#include "printing/report_archivio.h"

namespace listinova {
namespace platform {
class Clock;
}

// The print and export commands of the product list and of the promotions list.
class StampeReport {
 public:
  // `mostra` previews a report, printer or not: from there it prints where a printer is
  // installed, and "Salva PDF" writes it always.
  StampeReport(AmbienteEsportazione esportazione, platform::Clock& clock,
               std::function<void(const ModelloReport&)> mostra);

  // "Stampa Esporta": the stock of the products the search statement lists, or the workbook.
  void StampaMagazzino(const QString& sqlRicerca, bool soloQtaZero);
  // "Stampa": the sales of the period, printed or exported.
  void StampaVendite(const QDate& dal, const QDate& al);
  // "Stampa Elenco Offerte": false when nothing was shown.
  bool StampaElencoOfferte(const std::vector<RigaElencoOfferte>& righe);

 private:
  bool preferisceEsportare();
  void inAttesa(bool si);

  AmbienteEsportazione esportazione_;
  platform::Clock& clock_;
  std::function<void(const ModelloReport&)> mostra_;
};

}  // namespace listinova
