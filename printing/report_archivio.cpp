// What feeds the three reports: the work tables rptMagazzino and rptProdotti, and the
// sales query of a period.
#include "printing/report_archivio.h"

#include <QHash>

#include "catalogue/ricerche_archivio.h"
#include "platform/db/database.h"

namespace listinova {
namespace {

using platform::db::Database;

constexpr char kFormatoData[] = "dd/MM/yyyy";

QString testoData(const QDate& data) { return data.toString(kFormatoData); }

// The department of a product as the list shows it: a stored code becomes its name.
class NomiReparti {
 public:
  explicit NomiReparti(Database& db) : db_(db) {}
  QString nome(const QString& genere) {
    bool numero = false;
    genere.toLongLong(&numero);
    if (!numero) return genere;
    auto trovato = nomi_.find(genere);
    if (trovato == nomi_.end()) trovato = nomi_.insert(genere, TrovaNomeRep(db_, genere));
    return *trovato;
  }

 private:
  Database& db_;
  QHash<QString, QString> nomi_;
};

}  // namespace

// The report reads its captions over these fields, so each holds what its caption names:
// CodProdotto the supplier's code, Colore the bar code, Descrizione, Categoria the
// department, Quantità, Costo the selling price, Costo2 the purchase cost, UnitaMisura the
// supplier; Giacenze the stock value of the row.
Money RiempiRptMagazzino(Database& db, const QString& sqlRicerca) {
  auto prodotti = db.openRecordset(sqlRicerca);
  NomiReparti reparti(db);
  Money valore;
  Database::Transaction transazione(db);
  db.execute("delete * from rptMagazzino");
  auto rpt = db.openRecordset("Select * from rptMagazzino");
  for (; !prodotti.eof(); prodotti.moveNext()) {
    if (prodotti.flag("Eliminato")) continue;
    const double quantita = prodotti.number("Quantità");
    const Money prezzo = prodotti.money("Costo");
    const Money valoreRiga = prezzo.times(quantita);
    valore = valore + valoreRiga;
    rpt.addNew();
    rpt.setText("CodProdotto", prodotti.text("CodProdottoFornitore"));
    rpt.setText("Colore", prodotti.text("BarCode"));
    rpt.setText("Descrizione", prodotti.text("Descrizione"));
    rpt.setText("Categoria", reparti.nome(prodotti.text("Genere")));
    rpt.setValue("Quantità", quantita);
    rpt.setMoney("Costo", prezzo);
    rpt.setMoney("Costo2", prodotti.money("Costo2"));
    rpt.setText("UnitaMisura",
                prodotti.isNull("Fornitore") ? QStringLiteral("***") : prodotti.text("Fornitore"));
    rpt.setValue("Giacenze", valoreRiga.toDouble());
    rpt.update();
  }
  transazione.commit();
  return valore;
}

QString IstruzioneVendite(const QDate& dal, const QDate& al) {
  return QStringLiteral(
             "SELECT Magazzino.Descrizione, StoricoPLU.EAN, StoricoPLU.Qta, StoricoPLU.DataModif "
             "FROM Magazzino INNER JOIN StoricoPLU ON Magazzino.BarCode = StoricoPLU.EAN where "
             "DataModif>=Datevalue('") +
         testoData(dal) + "') And DataModif<=Datevalue('" + testoData(al) + "') ";
}

ModelloReport ReportMagazzino(Database& db, const QDate& data, Money valore) {
  ModelloReport m;
  m.titolo = QStringLiteral("Magazzino del Punto Vendita - Giacenze");
  m.didascalia = QStringLiteral("Situazione alla data:");
  m.valoreDidascalia = testoData(data);
  m.orizzontale = true;
  m.colonne = {{QStringLiteral("Cod.  For."), 1.3},
               {QStringLiteral("BarCode"), 1.4},
               {QStringLiteral("Descrizione"), 3},
               {QStringLiteral("Genere"), 1.3},
               {QStringLiteral("Giacenze"), 0.9, Qt::AlignRight},
               {QStringLiteral("Prezzo di Vendita"), 1.7, Qt::AlignRight},
               {QStringLiteral("Costo"), 1.1, Qt::AlignRight},
               {QStringLiteral("Fornitore"), 1.6}};
  auto rs = db.openRecordset("Select * from rptMagazzino");
  for (; !rs.eof(); rs.moveNext()) {
    m.righe.push_back({rs.text("CodProdotto"), rs.text("Colore"), rs.text("Descrizione"),
                       rs.text("Categoria"), TestoQuantita(rs.number("Quantità")),
                       TestoEuro(rs.money("Costo")), TestoEuro(rs.money("Costo2")),
                       rs.text("UnitaMisura")});
  }
  m.totali = {{QStringLiteral("Totale Articoli:"), QString::number(m.righe.size())},
              {QStringLiteral("Valore Giacenze:"), TestoEuro(valore)}};
  return m;
}

ModelloReport ReportVendite(Database& db, const QDate& dal, const QDate& al) {
  ModelloReport m;
  m.titolo = QStringLiteral("Dettaglio PLU venduti");
  m.didascalia = QStringLiteral("Vendite effettuate in data:");
  m.valoreDidascalia = testoData(dal) + " - " + testoData(al);
  m.colonne = {{QStringLiteral("Q.tà"), 0.8, Qt::AlignRight},
               {QStringLiteral("Descrizione"), 4},
               {QStringLiteral("EAN"), 1.6}};
  auto rs = db.openRecordset(IstruzioneVendite(dal, al) +
                             "order by Magazzino.Descrizione ASC, StoricoPLU.DataModif ASC");
  for (; !rs.eof(); rs.moveNext())
    m.righe.push_back({TestoQuantita(rs.number("Qta")), rs.text("Descrizione"), rs.text("EAN")});
  return m;
}

ModelloReport ReportOfferte(Database& db, const QDate& dataStampa) {
  ModelloReport m;
  m.titolo = QStringLiteral("Elenco Offerte in Archivio");
  m.didascalia = QStringLiteral("Data di Stampa");
  m.valoreDidascalia = testoData(dataStampa);
  m.colonne = {{QStringLiteral("Descrizione"), 3.2},
               {QStringLiteral("Sconto Valore "), 1.1, Qt::AlignRight},
               {QStringLiteral("Sconto Percentuale"), 1.3, Qt::AlignRight},
               {QStringLiteral("DAL"), 1.1},
               {QStringLiteral("AL"), 1.1},
               {QStringLiteral("Prezzo di Vendita Scontato "), 1.6, Qt::AlignRight},
               {QStringLiteral("Prezzo più basso 30 gg"), 1.5, Qt::AlignRight}};
  // The list fills the money columns: the end date as its day number, the percentage and the
  // price as amounts.
  auto rs = db.openRecordset(
      "Select Descrizione, CodProdotto, Prezzo2, Reparto, Costo, CostoAcquisto, PrezzoPiuBasso "
      "from rptProdotti order by _rowid_");
  for (; !rs.eof(); rs.moveNext()) {
    const Money percentuale = rs.money("Prezzo2");
    const bool intera = percentuale.units() % Money::kScale == 0;
    const QDate al = QDate(1899, 12, 30).addDays(rs.money("Costo").units() / Money::kScale);
    m.righe.push_back(
        {rs.text("Descrizione"), rs.text("CodProdotto"),
         intera ? QString::number(percentuale.units() / Money::kScale) : percentuale.toItalian(),
         rs.text("Reparto"), testoData(al), rs.money("CostoAcquisto").toItalian(),
         rs.isNull("PrezzoPiuBasso") ? QString() : rs.money("PrezzoPiuBasso").toItalian()});
  }
  return m;
}

}  // namespace listinova
