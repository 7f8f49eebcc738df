// Times "Adegua BC" over a shop-sized archive of four-digit bar codes.
// Usage: bench_adegua_barcode [four-digit products, default 10000]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "catalogue/adegua_barcode.h"
#include "catalogue/apri_database.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"

namespace {

using namespace listinova;
using platform::db::Database;

class Istantaneo : public platform::Clock {
 public:
  QDateTime now() const override { return QDateTime::currentDateTime(); }
  void wait(int) override {}
};

class SempreSi : public platform::Prompts {
 public:
  platform::Answer ask(const platform::Question&) override { return platform::Answer::Yes; }
  std::optional<QString> input(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
};

class UltimoAvviso : public platform::Notice {
 public:
  void show(const QString& message) override { testo = message; }
  QString testo;
};

int prodotti(Database& db) { return db.openRecordset("select * from Magazzino").recordCount(); }

// Codes 1000..9999 once each, then again from 1000 for any product beyond 9,000; every
// thirty-third product's range already holds a five-digit code of another product.
int riempi(Database& db, int quattroCifre) {
  Database::Transaction transazione(db);
  auto rs = db.openRecordset("select * from Magazzino");
  int codice = 0;
  const auto aggiungi = [&](const QString& barCode, const QString& descrizione) {
    rs.addNew();
    rs.setText("CodMateriale", QString::number(++codice));
    rs.setText("Descrizione", descrizione);
    rs.setText("BarCode", barCode);
    rs.setValue("Costo", "1,50");
    rs.setValue(QStringLiteral("Quantità"), 10);
    rs.setText("Genere", "1");
    rs.update();
  };
  int collisioni = 0;
  for (int i = 0; i < quattroCifre; ++i) {
    const QString barCode = QString::number(1000 + i % 9000);
    aggiungi(barCode, "Prodotto " + barCode);
    if (i < 9000 && i % 33 == 0) {
      aggiungi(barCode + QString::number(i % 10), "Occupante " + barCode);
      ++collisioni;
    }
  }
  transazione.commit();
  return collisioni;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int quattroCifre = argc > 1 ? QString(argv[1]).toInt() : 10000;
  QTemporaryDir dir;
  auto db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
  const int collisioni = riempi(*db, quattroCifre);
  const int prima = prodotti(*db);

  Istantaneo clock;
  SempreSi prompts;
  UltimoAvviso notice;
  QElapsedTimer timer;
  timer.start();
  AdeguaBarCode(*db, dir.path(), prompts, notice, clock).cmdAdeguaCodici();
  const double secondi = timer.nsecsElapsed() / 1e9;

  QTextStream out(stdout);
  out << "four-digit products:  " << quattroCifre << " (plus " << collisioni
      << " five-digit products in their ranges)\n"
      << "outcome:              " << notice.testo << "\n"
      << "rows created:         " << prodotti(*db) - prima << "\n"
      << "total seconds:        " << QString::number(secondi, 'f', 2) << "\n"
      << "products/second:      " << QString::number(quattroCifre / secondi, 'f', 1) << "\n";
  return notice.testo == "Operazione effettuata" ? 0 : 1;
}
