// The one way a test gets a shop: a fresh folder with its store and Setup.ini, filled through
// chained calls, and a few ways to look at what the store holds afterwards.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

#include "platform/db/database.h"
#include "support/cartella_di_prova.h"

namespace listinova::testing {

struct ProdottoDiProva {
  QString cod;
  QString descrizione = QStringLiteral("PRODOTTO");
  QString barCode{};  // empty: "80000000000" and the code on two digits
  QString genere = QStringLiteral("1");
  double quantita = 5;
  QString costo = QStringLiteral("1,00");  // selling price, as typed
  QString costo2 = QStringLiteral("0");    // purchase cost
  QString fornitore{};
  QString codFornitore{};
  QString unitaMisura{};
  bool modificato = false;
  bool eliminato = false;
};

struct OffertaDiProva {
  QString articolo;  // the product's CodMateriale
  QDate dal;
  QDate al;
  QString prezzo;  // the offer price, as typed
  double scontoPer = 0;
  QString scontoVal = QStringLiteral("0");
  int pezzi = 0;
};

// Globali() points at this shop (settings, folder, store) while it lives, and is reset after.
class NegozioDiProva {
 public:
  NegozioDiProva();
  ~NegozioDiProva();
  NegozioDiProva(const NegozioDiProva&) = delete;
  NegozioDiProva& operator=(const NegozioDiProva&) = delete;

  NegozioDiProva& prodotto(const ProdottoDiProva& p);
  // The short form most tests need: code, description and price.
  NegozioDiProva& prodotto(const QString& cod, const QString& descrizione, const QString& costo);
  // `quanti` products numbered from `primo`, each with its own barcode.
  NegozioDiProva& prodotti(int quanti, int primo = 1);
  NegozioDiProva& reparto(int cod, const QString& descrizione, double iva = 0);
  NegozioDiProva& offerta(const OffertaDiProva& o);
  NegozioDiProva& vendita(const QString& ean, double qta, const QDateTime& quando);
  NegozioDiProva& vendita(const QString& ean, double qta, const QDate& giorno) {
    return vendita(ean, qta, giorno.startOfDay());
  }
  NegozioDiProva& barCodeUlteriore(const QString& codProd, const QString& barCode);
  // A key of Setup.ini, written as the program writes it.
  NegozioDiProva& setup(const QString& sezione, const QString& chiave, const QString& valore);
  // Plain SQLite, for what the program itself never writes (triggers, history dates).
  NegozioDiProva& sqlite(const QString& sql);

  int conta(const QString& sql) const;
  // The first column of the first row, "NULL" for a null, "" when there is no row.
  QString valore(const QString& sql) const;
  // Each row's columns "|"-joined.
  QStringList righe(const QString& sql) const;
  bool modificato(const QString& cod) const;
  double quantita(const QString& cod) const;
  // The sales history: EAN -> quantities booked, in the order they were booked.
  std::map<QString, std::vector<double>> storico() const;

  QString file(const QString& relativo) const { return cartella.file(relativo); }
  // Writes `contenuto` there, its folders made first, and gives the path.
  QString file(const QString& relativo, const QByteArray& contenuto) const;
  QString percorsoArchivio() const { return cartella.file(QStringLiteral("Dati/DbNegozio.mdb")); }
  // Closes the store, for tests that run the program itself on the folder.
  void chiudi();

  CartellaDiProva cartella;
  std::shared_ptr<platform::db::Database> db;
};

}  // namespace listinova::testing
