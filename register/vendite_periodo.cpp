#include "register/vendite_periodo.h"

#include <QMap>
#include <algorithm>
#include <cmath>

#include "platform/db/database.h"

namespace listinova {

namespace {
constexpr qint64 kMillesimi = 1000;
}

VenditePeriodo VenditeDelPeriodo(platform::db::Database& db, const QDate& dal, const QDate& al) {
  const QString formato = QStringLiteral("dd/MM/yyyy");
  const QString sql =
      QStringLiteral(
          "SELECT Magazzino.Descrizione, StoricoPLU.EAN, StoricoPLU.Qta, "
          "StoricoPLU.DataModif ") +
      "FROM Magazzino INNER JOIN StoricoPLU ON Magazzino.BarCode = StoricoPLU.EAN where "
      "DataModif>=Datevalue('" +
      dal.toString(formato) + "') And DataModif<=Datevalue('" + al.toString(formato) + "') ";
  QMap<QString, VenditaProdotto> perEan;
  VenditePeriodo vendite;
  for (auto rs = db.openRecordset(sql); !rs.eof(); rs.moveNext()) {
    const QString ean = rs.text(QStringLiteral("EAN"));
    VenditaProdotto& riga = perEan[ean.toUpper()];
    if (riga.ean.isEmpty()) {
      riga.ean = ean;
      riga.descrizione = rs.text(QStringLiteral("Descrizione"));
    }
    // Booked quantities are thousandths: summed as whole numbers, they add up exactly.
    const qint64 millesimi = std::llround(rs.number(QStringLiteral("Qta")) * kMillesimi);
    riga.millesimi += millesimi;
    vendite.totaleMillesimi += millesimi;
  }
  // The per-product reading books a row for every product asked, unsold ones too: a line of
  // nothing sold moved nothing.
  for (const VenditaProdotto& riga : perEan)
    if (riga.millesimi != 0) vendite.righe.push_back(riga);
  std::sort(vendite.righe.begin(), vendite.righe.end(),
            [](const VenditaProdotto& a, const VenditaProdotto& b) {
              const int d = a.descrizione.compare(b.descrizione, Qt::CaseInsensitive);
              return d != 0 ? d < 0 : a.ean < b.ean;
            });
  return vendite;
}

QString TestoQuantita(qint64 millesimi) {
  const bool negativo = millesimi < 0;
  const quint64 assoluto = negativo ? 0 - static_cast<quint64>(millesimi) : millesimi;
  QString intero = QString::number(assoluto / kMillesimi);
  for (qsizetype i = intero.size() - 3; i > 0; i -= 3) intero.insert(i, u'.');
  QString decimali = QString::number(assoluto % kMillesimi).rightJustified(3, u'0');
  while (decimali.endsWith(u'0')) decimali.chop(1);
  QString testo = (negativo ? QStringLiteral("-") : QString()) + intero;
  if (!decimali.isEmpty()) testo += u',' + decimali;
  return testo;
}

}  // namespace listinova
