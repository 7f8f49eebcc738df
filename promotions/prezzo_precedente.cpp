#include "promotions/prezzo_precedente.h"

#include <QDateTime>
#include <vector>

#include "platform/db/database.h"

namespace listinova {
namespace {

using platform::db::sqlText;

struct Cambio {
  QDateTime quando;
  std::optional<Money> vecchio;  // none: the product was added then
  Money nuovo;
};

std::vector<Cambio> cambiDi(platform::db::Database& db, const QString& articolo) {
  std::vector<Cambio> cambi;
  auto rs = db.openRecordset("Select * from StoricoPrezzi where CodMateriale=" + sqlText(articolo) +
                             " order by Quando");
  for (; !rs.eof(); rs.moveNext()) {
    Cambio cambio;
    cambio.quando = rs.dateTime("Quando");
    if (!rs.isNull("Vecchio")) cambio.vecchio = rs.money("Vecchio");
    cambio.nuovo = rs.money("Nuovo");
    if (cambio.quando.isValid()) cambi.push_back(cambio);
  }
  return cambi;
}

}  // namespace

std::optional<Money> PrezzoPiuBasso30gg(platform::db::Database& db, const QString& articolo,
                                        const QDate& inizio) {
  auto prodotto = db.openRecordset("Select Costo from Magazzino where CodMateriale=" +
                                   sqlText(articolo.trimmed()));
  if (prodotto.eof()) return std::nullopt;
  const Money attuale = prodotto.money("Costo");

  const QDateTime fine(inizio, QTime(0, 0));
  const QDateTime apertura = fine.addDays(-kGiorniPrezzoPrecedente);
  const std::vector<Cambio> cambi = cambiDi(db, articolo.trimmed());

  // The price in force when the window opens: set by the last change before it, else the one
  // the first later change replaced, else (no change since) today's.
  std::optional<Money> piuBasso;
  const auto considera = [&piuBasso](Money prezzo) {
    if (!piuBasso || prezzo < *piuBasso) piuBasso = prezzo;
  };
  const Cambio* ultimoPrima = nullptr;
  const Cambio* primoDopo = nullptr;
  for (const Cambio& cambio : cambi) {
    if (cambio.quando <= apertura)
      ultimoPrima = &cambio;
    else if (!primoDopo)
      primoDopo = &cambio;
  }
  if (ultimoPrima)
    considera(ultimoPrima->nuovo);
  else if (primoDopo && primoDopo->vecchio)
    considera(*primoDopo->vecchio);
  else if (!primoDopo)
    considera(attuale);

  for (const Cambio& cambio : cambi)
    if (cambio.quando > apertura && cambio.quando < fine) considera(cambio.nuovo);
  return piuBasso.value_or(attuale);
}

}  // namespace listinova
