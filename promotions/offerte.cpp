#include "promotions/offerte.h"

#include <QRegularExpression>

#include "platform/db/database.h"
#include "promotions/prezzo_precedente.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;
using platform::db::sqlText;

constexpr char kFormatoData[] = "dd/MM/yyyy";

// Product codes are numbers and go into statements as such; anything else is quoted so that
// it can never be read as a column name or more statement.
QString codice(const QString& articolo) {
  static const QRegularExpression numero(QStringLiteral("^(0|[1-9][0-9]{0,17})$"));
  const QString pulito = articolo.trimmed();
  return numero.match(pulito).hasMatch() ? pulito : sqlText(pulito);
}

QString dataPerIstruzione(const QDate& data) {
  return "DateValue('" + data.toString(kFormatoData) + "')";
}

void segnaModificato(Database& db, const QString& articolo) {
  auto rs =
      db.openRecordset("Select Modificato from Magazzino where CodMateriale=" + codice(articolo));
  if (rs.eof()) return;
  rs.edit();
  rs.setFlag("Modificato", true);
  rs.update();
}

// A stored discount as the panel shows it: "0,5" stays readable as money, 10 stays 10.
QString testoNumero(double valore) { return QString::number(valore, 'g', 15).replace(u'.', u','); }

}  // namespace

qint64 NumeroDelGiorno(const QString& data) {
  const QDate giorno = QDate::fromString(data, kFormatoData);
  return giorno.isValid() ? QDate(1899, 12, 30).daysTo(giorno) : 0;
}

std::optional<Offerta> CaricaOfferta(Database& db, const QString& articolo) {
  auto rs = db.openRecordset("Select * from Offerte where Articolo=" + codice(articolo));
  if (rs.eof()) return std::nullopt;
  Offerta offerta;
  offerta.articolo = articolo;
  offerta.dal = rs.dateTime("DataDAL").date();
  offerta.al = rs.dateTime("DataAL").date();
  if (rs.money("ScontoVal") != Money()) {
    offerta.tipo = TipoSconto::Valore;
    offerta.sconto = rs.money("ScontoVal").toItalian(2, false);
  } else {
    offerta.tipo = TipoSconto::Percentuale;
    offerta.sconto = testoNumero(rs.number("ScontoPer"));
  }
  offerta.prezzo = rs.money("PrzScnt").toItalian(2, true);
  return offerta;
}

void SalvaOfferta(Database& db, const Offerta& offerta) {
  const QString sconto = offerta.sconto.trimmed().isEmpty() ? QStringLiteral("0") : offerta.sconto;
  const Money valoreSconto = Money::parse(sconto).value_or(Money());
  Database::Transaction transazione(db);
  db.execute("Delete * from Offerte where DataDal=" + dataPerIstruzione(offerta.dal) +
             " and DataAl=" + dataPerIstruzione(offerta.al) +
             " and Articolo=" + codice(offerta.articolo));
  auto rs = db.openRecordset("Select * from Offerte where 0");
  rs.addNew();
  rs.setText("Articolo", offerta.articolo.trimmed());
  rs.setValue("DataDAL", offerta.dal);
  rs.setValue("DataAL", offerta.al);
  if (offerta.tipo == TipoSconto::Valore) {
    rs.setMoney("ScontoVal", valoreSconto);
    rs.setValue("ScontoPer", 0);
  } else {
    rs.setMoney("ScontoVal", Money());
    rs.setValue("ScontoPer", valoreSconto.toDouble());
  }
  rs.setValue("Pezzi", 1);
  rs.setMoney("PrzScnt", Money::parse(offerta.prezzo).value_or(Money()));
  rs.update();
  segnaModificato(db, offerta.articolo);
  transazione.commit();
}

void EliminaOfferteProdotto(Database& db, const QString& articolo) {
  Database::Transaction transazione(db);
  db.execute("Delete * from Offerte where Articolo=" + codice(articolo));
  segnaModificato(db, articolo);
  transazione.commit();
}

QString DescrizioneProdotto(Database& db, const QString& articolo) {
  auto rs =
      db.openRecordset("Select Descrizione from Magazzino where CodMateriale=" + codice(articolo));
  return rs.eof() ? QStringLiteral("NON TROVATO") : rs.text("Descrizione");
}

QStringList IntestazioniElencoOfferte() {
  return {QStringLiteral("Cod"),
          QStringLiteral("CodArt"),
          QStringLiteral("Descrizione"),
          QStringLiteral("DAL"),
          QStringLiteral("AL"),
          QStringLiteral("Sconto Valore"),
          QStringLiteral("Sconto Percentuale"),
          QStringLiteral("Prezzo Scontato"),
          QStringLiteral("Prezzo più basso 30 gg")};
}

std::vector<RigaElencoOfferte> VediTutteLePromozioni(Database& db, const QDate& dal) {
  std::vector<RigaElencoOfferte> righe;
  auto rs = db.openRecordset("Select * from Offerte where DataDal>=" + dataPerIstruzione(dal) +
                             " Order by DataDal");
  for (int numero = 1; !rs.eof(); rs.moveNext(), ++numero) {
    const QString articolo = rs.text("Articolo");
    const QDate inizio = rs.dateTime("DataDAL").date();
    RigaElencoOfferte riga;
    riga.numero = QString::number(numero);
    riga.articolo = articolo;
    riga.descrizione = DescrizioneProdotto(db, articolo);
    riga.dal = inizio.toString(kFormatoData);
    riga.al = rs.dateTime("DataAL").date().toString(kFormatoData);
    riga.scontoValore = rs.money("ScontoVal").toItalian(2, true);
    riga.scontoPercentuale = testoNumero(rs.number("ScontoPer"));
    riga.prezzoScontato = rs.money("PrzScnt").toItalian(2, true);
    if (const auto piuBasso = PrezzoPiuBasso30gg(db, articolo, inizio))
      riga.prezzoPiuBasso = piuBasso->toItalian(2, true);
    righe.push_back(std::move(riga));
  }
  return righe;
}

void RiempiRptProdotti(Database& db, const std::vector<RigaElencoOfferte>& righe) {
  Database::Transaction transazione(db);
  db.execute("delete * from rptProdotti");
  auto rs = db.openRecordset("Select * from rptProdotti");
  for (const RigaElencoOfferte& riga : righe) {
    rs.addNew();
    rs.setText("Descrizione", riga.descrizione);
    rs.setText("Reparto", riga.dal);
    rs.setMoney("Costo", Money::fromUnits(NumeroDelGiorno(riga.al) * Money::kScale));
    rs.setText("CodProdotto", riga.scontoValore);
    rs.setValue("Prezzo2", riga.scontoPercentuale);
    rs.setMoney("CostoAcquisto", Money::parse(riga.prezzoScontato).value_or(Money()));
    if (const auto piuBasso = Money::parse(riga.prezzoPiuBasso))
      rs.setMoney("PrezzoPiuBasso", *piuBasso);
    rs.update();
  }
  transazione.commit();
}

}  // namespace listinova
