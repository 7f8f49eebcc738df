#include "register/letture_del_giorno.h"

#include "startup/modulo_file_ini.h"

namespace listinova {
namespace {

constexpr char kSezione[] = "Acquisizione";
constexpr char kFormato[] = "dd/MM/yyyy hh:mm";

QString chiave(int numero) { return QStringLiteral("UltimaLetturaCassa%1").arg(numero); }

}  // namespace

std::optional<QTime> LettaOggiAlle(const QString& setup, int numero, const QDate& oggi) {
  const QDateTime letta =
      QDateTime::fromString(LeggiINI(setup, kSezione, chiave(numero), "?"), kFormato);
  if (!letta.isValid() || letta.date() != oggi) return std::nullopt;
  return letta.time();
}

void SegnaLettura(const QString& setup, int numero, const QDateTime& quando) {
  ScriviINI(setup, kSezione, chiave(numero), quando.toString(kFormato));
}

QString DomandaRilettura(int numero, const QTime& alle) {
  return QStringLiteral(
             "Le vendite della cassa %1 sono già state lette oggi alle %2: leggerle di nuovo le "
             "sottrae ancora dal magazzino. Continuare?")
      .arg(numero)
      .arg(alle.toString(QStringLiteral("hh:mm")));
}

}  // namespace listinova
