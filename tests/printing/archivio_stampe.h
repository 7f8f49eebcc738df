#pragma once

#include <QDate>
#include <QTemporaryDir>
#include <memory>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "platform/money.h"

namespace listinova::testing {

// A store in a temporary folder, with a few helpers to put products and sales in it.
class ArchivioStampe {
 public:
  struct Prodotto {
    QString cod;
    QString descrizione;
    QString barCode;
    double quantita = 0;
    QString costo = "0";   // selling price, as typed
    QString costo2 = "0";  // purchase cost
    QString genere{};
    QString fornitore = "ROSSI";
    QString codFornitore{};
    bool eliminato = false;
  };

  ArchivioStampe() : db(ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"))) {}

  void aggiungi(const Prodotto& p) {
    auto rs = db->openRecordset("Select * from Magazzino where 0");
    rs.addNew();
    rs.setText("CodMateriale", p.cod);
    rs.setText("Descrizione", p.descrizione);
    rs.setText("BarCode", p.barCode);
    rs.setValue(QStringLiteral("Quantità"), p.quantita);
    rs.setMoney("Costo", *Money::parse(p.costo));
    rs.setMoney("Costo2", *Money::parse(p.costo2));
    rs.setText("Genere", p.genere);
    rs.setText("Fornitore", p.fornitore);
    rs.setText("CodProdottoFornitore", p.codFornitore);
    rs.setText("UnitaMisura", "Pz");
    rs.setFlag("Eliminato", p.eliminato);
    rs.update();
  }

  void vendita(const QString& ean, double qta, const QDate& giorno) {
    auto rs = db->openRecordset("Select * from StoricoPLU where 0");
    rs.addNew();
    rs.setText("EAN", ean);
    rs.setValue("Qta", qta);
    rs.setValue("DataModif", giorno);
    rs.update();
  }

  QString file(const QString& nome) const { return dir.filePath(nome); }

  QTemporaryDir dir;
  std::unique_ptr<platform::db::Database> db;
};

}  // namespace listinova::testing
