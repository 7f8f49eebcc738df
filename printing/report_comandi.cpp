#include "printing/report_comandi.h"

#include "platform/clock.h"
#include "platform/db/database_error.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

constexpr char kModulo[] = "StampeReport";

}  // namespace

StampeReport::StampeReport(AmbienteEsportazione esportazione, platform::Clock& clock,
                           std::function<void(const ModelloReport&)> mostra)
    : esportazione_(std::move(esportazione)), clock_(clock), mostra_(std::move(mostra)) {}

bool StampeReport::preferisceEsportare() {
  return esportazione_.prompts.ask({QStringLiteral("Si preferisce esportare in file Excel?"),
                                    Globali().TitoloProgramma, Buttons::YesNo, Icon::Question}) ==
         Answer::Yes;
}

void StampeReport::inAttesa(bool si) {
  if (esportazione_.attesa) esportazione_.attesa(si);
}

void StampeReport::StampaMagazzino(const QString& sqlRicerca, bool soloQtaZero) {
  if (preferisceEsportare()) {
    EsportaMagazzino(esportazione_, soloQtaZero);
    return;
  }
  inAttesa(true);
  try {
    const Money valore = RiempiRptMagazzino(esportazione_.db, sqlRicerca);
    const ModelloReport report = ReportMagazzino(esportazione_.db, clock_.now().date(), valore);
    inAttesa(false);
    if (mostra_) mostra_(report);
  } catch (const platform::db::DatabaseError& e) {
    inAttesa(false);
    ScriviErrore(kModulo, "cmdStampaMagazzino_Click", e.description(), e.code());
  }
}

void StampeReport::StampaVendite(const QDate& dal, const QDate& al) {
  if (preferisceEsportare()) {
    EsportaVendite(esportazione_, dal, al);
    return;
  }
  try {
    const ModelloReport report = ReportVendite(esportazione_.db, dal, al);
    if (mostra_) mostra_(report);
  } catch (const platform::db::DatabaseError& e) {
    ScriviErrore(kModulo, "cmdStampaVPLU_Click", e.description(), e.code());
  }
}

bool StampeReport::StampaElencoOfferte(const std::vector<RigaElencoOfferte>& righe) {
  if (righe.empty()) {
    esportazione_.prompts.ask({QStringLiteral("Nessun prodotto da stampare!!!"),
                               Globali().TitoloProgramma, Buttons::Ok, Icon::Information});
    return false;
  }
  try {
    RiempiRptProdotti(esportazione_.db, righe);
    const ModelloReport report = ReportOfferte(esportazione_.db, clock_.now().date());
    if (mostra_) mostra_(report);
    return true;
  } catch (const platform::db::DatabaseError& e) {
    ScriviErrore(kModulo, "cmdStampaElencoOfferte_Click", e.description(), e.code());
    return false;
  }
}

}  // namespace listinova
