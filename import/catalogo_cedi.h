#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "import/riepilogo_import.h"

namespace listinova::platform::db {
class Database;
}

namespace listinova {

// One article record of the central catalogue (an "A" file line of 358 characters).
struct ArticoloCedi {
  int riga = 0;
  QString tipo;  // "M" change, "N" new
  QString descrizione;
  QString codArtCedi;
  QString marchioProprio;  // "S" for the catalogue's own label
  QString unitaMisura;
  long long quantita = 0;
  double costo = 0;
  double prezzoPromo = 0;
  QDate inizioPromo;  // invalid when the field is not a date
  QDate finePromo;
  QString reparto;  // department number, "" when blank
  // The other fields the catalogue sends are not used by the shop and are not kept: an A file
  // may hold a great many articles, and each is held until the next B file.
};

// One barcode record (a "B" file line of 129 characters): the B_CEDI columns by name.
struct BarcodeCedi {
  int riga = 0;
  std::vector<std::pair<QString, QString>> colonne;
  QString valore(const QString& colonna) const;
};

// Reads a line; a line shorter than a field gives a short or empty field.
ArticoloCedi LeggiArticoloCedi(const QString& riga);
BarcodeCedi LeggiBarcodeCedi(const QString& riga);

// The central catalogue's files. The articles of the last "A" file stay held, so that a
// "B" file that follows can give each extra barcode of an article a product row of its own.
class CatalogoCedi {
 public:
  explicit CatalogoCedi(platform::db::Database& db) : db_(db) {}

  // Article records: "M" updates the product with that catalogue code (or adds it), "N" adds
  // one. A record of any other type is skipped and logged. One transaction.
  RiepilogoImport DatiPLUSigma(const QString& percorso, const SchermoImport& schermo = {});
  // Barcode records into B_CEDI; the product of the article takes the barcode; then every
  // further barcode of an article becomes a product row. One transaction.
  RiepilogoImport DatiPLUVar(const QString& percorso, const SchermoImport& schermo = {});

 private:
  platform::db::Database& db_;
  std::map<QString, ArticoloCedi> articoli_;  // by catalogue code, from the last A file
};

}  // namespace listinova
