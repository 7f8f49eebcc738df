#pragma once

#include <QString>

#include "platform/db/database.h"

// A store of `prodotti` products for the benchmarks: eight kinds of description, forty
// departments, some products modified and a few deleted.
inline void RiempiArchivioDiProva(listinova::platform::db::Database& db, int prodotti) {
  using listinova::platform::db::Database;
  Database::Transaction t(db);
  auto rs = db.openRecordset("Select * from Magazzino where 0");
  const char* nomi[] = {"CAFFE", "LATTE", "PANE", "PASTA", "RISO", "OLIO", "VINO", "ACQUA"};
  for (int i = 1; i <= prodotti; ++i) {
    rs.addNew();
    rs.setText("CodMateriale", QString::number(i));
    rs.setText("Descrizione", QStringLiteral("%1 %2").arg(nomi[i % 8]).arg(i));
    rs.setText("BarCode", QString::number(8000000000000LL + i));
    rs.setText("Genere", QString::number(1 + i % 40));
    rs.setValue(QStringLiteral("Quantità"), i % 50 - 5);
    rs.setValue("Costo", 1.0 + (i % 1000) / 100.0);
    rs.setValue("Costo2", 0.5 + (i % 1000) / 200.0);
    rs.setText("CodPV", "22");
    rs.setText("Fornitore", "FORNITORE " + QString::number(i % 30));
    rs.setFlag("Modificato", i % 7 == 0);
    rs.setFlag("Eliminato", i % 97 == 0);
    rs.update();
  }
  t.commit();
}
