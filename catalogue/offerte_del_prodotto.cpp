#include "catalogue/offerte_del_prodotto.h"

#include "platform/db/database.h"

namespace listinova {
namespace {

constexpr int kCento = 100;

QString offerteAperte(const QString& codice, const QDate& oggi) {
  return "Select * from Offerte where Articolo=" + platform::db::sqlText(codice) +
         " and DataAL>=DateValue('" + oggi.toString(QStringLiteral("dd/MM/yyyy")) + "')";
}

}  // namespace

std::optional<QDate> FineOfferteDelProdotto(platform::db::Database& db, const QString& codice,
                                            const QDate& oggi) {
  std::optional<QDate> fine;
  for (auto rs = db.openRecordset(offerteAperte(codice, oggi)); !rs.eof(); rs.moveNext()) {
    const QDate al = rs.dateTime("DataAL").date();
    if (!fine || al > *fine) fine = al;
  }
  return fine;
}

void AggiornaPrezzoOfferte(platform::db::Database& db, const QString& codice, Money nuovoPrezzo,
                           const QDate& oggi) {
  platform::db::Database::Transaction transazione(db);
  for (auto rs = db.openRecordset(offerteAperte(codice, oggi)); !rs.eof(); rs.moveNext()) {
    const Money sconto = rs.money("ScontoVal") != Money()
                             ? rs.money("ScontoVal")
                             : nuovoPrezzo.times(rs.number("ScontoPer") / kCento);
    rs.edit();
    rs.setMoney("PrzScnt", (nuovoPrezzo - sconto).roundedTo(2));
    rs.update();
  }
  transazione.commit();
}

QString DomandaPrezzoOfferta(const QDate& fine) {
  return QStringLiteral(
             "Il prodotto è in offerta fino al %1: aggiornare anche il prezzo dell'offerta?")
      .arg(fine.toString(QStringLiteral("dd/MM/yyyy")));
}

}  // namespace listinova
