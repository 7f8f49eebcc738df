#include "promotions/avviso_promozioni.h"

#include "platform/db/database.h"
#include "startup/modulo_file_ini.h"

namespace listinova {
namespace {

constexpr int kPuntiUnCaso = 20;
// The longer text of both cases needs a smaller font to stay on one line.
constexpr int kPuntiEntrambi = 18;

bool esisteOfferta(platform::db::Database& db, const char* colonna, const QDate& oggi) {
  return !db.openRecordset(QStringLiteral("Select * from Offerte where %1=Datevalue('%2') ")
                               .arg(colonna, oggi.toString("dd/MM/yyyy")))
              .eof();
}

}  // namespace

AvvisoOfferte AvvisoPromozioni(platform::db::Database& db, const QString& setup,
                               const QDate& oggi) {
  QString attivo = LeggiINI(setup, "Promozioni", "AvvisoAttivo", "?");
  if (attivo.isEmpty() || attivo == u"?") {
    ScriviINI(setup, "Promozioni", "AvvisoAttivo", "Falso");
    attivo = QStringLiteral("Falso");
  }
  if (attivo.toUpper() == u"FALSO") return {};

  const bool iniziano = esisteOfferta(db, "DataDal", oggi);
  const bool terminano = esisteOfferta(db, "DataAl", oggi);
  if (iniziano && terminano)
    return {QStringLiteral("INIZIANO/TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE"),
            kPuntiEntrambi};
  if (iniziano)
    return {QStringLiteral("INIZIANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE"),
            kPuntiUnCaso};
  if (terminano)
    return {QStringLiteral("TERMINANO DELLE OFFERTE - EFFETTUARE UN INVIO ALLE CASSE"),
            kPuntiUnCaso};
  return {};
}

}  // namespace listinova
