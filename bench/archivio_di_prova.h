#pragma once

#include <QString>

#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"
#include "platform/money.h"

// A store of `prodotti` products for the benchmarks: eight kinds of description, forty
// departments, some products modified and a few deleted. Written through one prepared
// statement, stored as the recordsets store them, so that writing it does not weigh on the
// memory the benchmarks measure.
inline void RiempiArchivioDiProva(listinova::platform::db::Database& db, int prodotti) {
  using listinova::Money;
  using listinova::platform::db::Database;
  using listinova::platform::db::SqliteStatement;
  Database::Transaction t(db);
  SqliteStatement inserisci(
      db.handle(),
      QStringLiteral("INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Genere, "
                     "Quantità, Costo, Costo2, CodPV, Fornitore, Modificato, Eliminato) VALUES "
                     "(?1, ?2, ?3, ?4, ?5, ?6, ?7, '22', ?8, ?9, ?10)"));
  const char* nomi[] = {"CAFFE", "LATTE", "PANE", "PASTA", "RISO", "OLIO", "VINO", "ACQUA"};
  for (int i = 1; i <= prodotti; ++i) {
    inserisci.reset();
    inserisci.bind(1, QString::number(i));
    inserisci.bind(2, QStringLiteral("%1 %2").arg(nomi[i % 8]).arg(i));
    inserisci.bind(3, QString::number(8000000000000LL + i));
    inserisci.bind(4, QString::number(1 + i % 40));
    inserisci.bind(5, i % 50 - 5);
    inserisci.bind(6, Money::fromDouble(1.0 + (i % 1000) / 100.0).toDouble());
    inserisci.bind(7, Money::fromDouble(0.5 + (i % 1000) / 200.0).toDouble());
    inserisci.bind(8, "FORNITORE " + QString::number(i % 30));
    inserisci.bind(9, i % 7 == 0 ? -1 : 0);
    inserisci.bind(10, i % 97 == 0 ? -1 : 0);
    inserisci.step();
  }
  t.commit();
}
