// The offers of the store (table Offerte): read for the panel, saved, listed, deleted, and
// copied into the report work table. Store failures throw DatabaseError.
#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "promotions/calcoli_offerta.h"

namespace listinova {
namespace platform::db {
class Database;
}

// One offer as the panel holds it: texts as typed, dates as picked.
struct Offerta {
  QString articolo;  // the product's CodMateriale
  QDate dal;
  QDate al;
  TipoSconto tipo = TipoSconto::Valore;
  QString sconto;  // the discount box; empty counts as "0"
  QString prezzo;  // the promotional price box
};

// The first offer of the product, if any.
std::optional<Offerta> CaricaOfferta(platform::db::Database& db, const QString& articolo);

// Replaces the offer of the same product and period and marks the product modified, all in
// one transaction: a failure leaves the period as it was.
void SalvaOfferta(platform::db::Database& db, const Offerta& offerta);

// Removes every offer of the product, whatever its period, and marks it modified.
void EliminaOfferteProdotto(platform::db::Database& db, const QString& articolo);

// The product's description, or "NON TROVATO".
QString DescrizioneProdotto(platform::db::Database& db, const QString& articolo);

// One row of the offer list, every text as the list shows it.
struct RigaElencoOfferte {
  QString numero;  // running number from 1
  QString articolo;
  QString descrizione;
  QString dal;
  QString al;
  QString scontoValore;
  QString scontoPercentuale;
  QString prezzoScontato;
  QString prezzoPiuBasso;  // lowest price of the 30 days before the start
};

QStringList IntestazioniElencoOfferte();

// Every offer that starts on `dal` or later, by start date.
std::vector<RigaElencoOfferte> VediTutteLePromozioni(platform::db::Database& db, const QDate& dal);

// The day as a currency column holds a date: its number of days from 30/12/1899 (the end of
// an offer travels so in rptProdotti.Costo). 0 for a text that is no "dd/mm/yyyy" date.
qint64 NumeroDelGiorno(const QString& data);

// Refills rptProdotti with the list rows for the offer report: Descrizione, Reparto the
// start, Costo the end (as NumeroDelGiorno), CodProdotto the money discount, Prezzo2 the
// percentage, CostoAcquisto the promotional price, PrezzoPiuBasso the lowest earlier price.
void RiempiRptProdotti(platform::db::Database& db, const std::vector<RigaElencoOfferte>& righe);

}  // namespace listinova
