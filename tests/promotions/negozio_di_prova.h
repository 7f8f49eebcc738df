// A shop folder with a fresh store, and products put in it the way the product editor does.
#pragma once

#include <sqlite3.h>

#include <QDateTime>
#include <memory>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "startup/var_globali.h"
#include "support/cartella_di_prova.h"

namespace listinova::testing {

class NegozioDiProva {
 public:
  NegozioDiProva() {
    Globali() = VarGlobali{};
    Globali().PercorsoSetup = cartella.setup();
    Globali().CartellaProgramma = cartella.root();
    db = ApriDatabase(cartella.file("Dati/DbNegozio.mdb"));
  }
  ~NegozioDiProva() {
    db.reset();
    Globali() = VarGlobali{};
  }

  void prodotto(const QString& cod, const QString& descrizione, const QString& costo) {
    auto rs = db->openRecordset("Select * from Magazzino where 0");
    rs.addNew();
    rs.setText("CodMateriale", cod);
    rs.setText("Descrizione", descrizione);
    rs.setText("BarCode", "80000000000" + cod.rightJustified(2, u'0'));
    rs.setText("Genere", "1");
    rs.setMoney("Costo", *Money::parse(costo));
    rs.setValue(QStringLiteral("Quantità"), 5);
    rs.update();
  }

  // Plain SQLite, for what the program itself never writes (triggers, history dates).
  void sqlite(const QString& sql) {
    char* errore = nullptr;
    if (sqlite3_exec(db->handle(), sql.toUtf8().constData(), nullptr, nullptr, &errore) !=
        SQLITE_OK) {
      const std::string testo = errore ? errore : "";
      sqlite3_free(errore);
      throw std::runtime_error(testo);
    }
  }

  int conta(const QString& sql) { return db->openRecordset(sql).recordCount(); }
  bool modificato(const QString& cod) {
    return db->openRecordset("Select Modificato from Magazzino where CodMateriale='" + cod + "'")
        .flag("Modificato");
  }

  CartellaDiProva cartella;
  std::unique_ptr<platform::db::Database> db;
};

}  // namespace listinova::testing
