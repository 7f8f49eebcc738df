// Times the preparation of the registers' PLU file: PreparaTabxInvio and ScriviFilePLU over an
// archive where a tenth of the products has a promotion in force and a tenth an extra bar code,
// then the refusal of an archive too large for the register's PLU numbers.
// Usage: bench_record_plu [products of the full run, default 29700] [products refused, 100000]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

#include "catalogue/apri_database.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "register/record_plu.h"

namespace {

using namespace listinova;
using platform::db::Database;
using platform::db::SqliteStatement;

class Oggi : public platform::Clock {
 public:
  QDateTime now() const override { return QDateTime(QDate(2024, 3, 15), QTime(9, 30)); }
  void wait(int) override {}
};

class UltimaDomanda : public platform::Prompts {
 public:
  platform::Answer ask(const platform::Question& question) override {
    testo = question.text;
    return platform::Answer::Ok;
  }
  std::optional<QString> input(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
  QString testo;
};

class UltimoAvviso : public platform::Notice {
 public:
  void show(const QString& message) override { testo = message; }
  QString testo;
};

void riempi(Database& db, int prodotti) {
  Database::Transaction transazione(db);
  SqliteStatement prodotto(db.handle(),
                           "INSERT INTO Magazzino (CodMateriale, BarCode, Descrizione, Genere, "
                           "Quantità, Costo, UnitaMisura) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'Pz')");
  SqliteStatement offerta(db.handle(),
                          "INSERT INTO Offerte (Articolo, DataDAL, DataAL, PrzScnt) VALUES "
                          "(?1, '2024-03-01', '2024-03-31', 0.5)");
  SqliteStatement ulteriore(db.handle(),
                            "INSERT INTO BarCodeUlteriori (CodProd, BarCode) VALUES (?1, ?2)");
  for (int i = 1; i <= prodotti; ++i) {
    const QString codice = QString::number(i);
    prodotto.bind(1, codice);
    // One in five is an in-store code, shortened for the register.
    prodotto.bind(2, i % 5 ? QString::number(8000000000000LL + i)
                           : QString::number(2000000000000LL + i * 100000LL));
    prodotto.bind(3, QStringLiteral("PRODOTTO N.%1 +50%, 1/2 KG").arg(i));
    prodotto.bind(4, i % 2 ? QStringLiteral("Reparto%1").arg(i % 40 + 1) : QString::number(i % 40));
    prodotto.bind(5, i % 3 ? QVariant(i % 50) : QVariant());
    prodotto.bind(6, 0.05 * (i % 400));
    prodotto.step();
    prodotto.reset();
    if (i % 10 == 3) {
      offerta.bind(1, codice);
      offerta.step();
      offerta.reset();
    }
    if (i % 10 == 7) {
      ulteriore.bind(1, codice);
      ulteriore.bind(2, QString::number(9000000000000LL + i));
      ulteriore.step();
      ulteriore.reset();
    }
  }
  transazione.commit();
}

double secondi(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e9; }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int inviati = argc > 1 ? QString(argv[1]).toInt() : 29700;
  const int rifiutati = argc > 2 ? QString(argv[2]).toInt() : 100000;
  QTextStream out(stdout);
  Oggi clock;
  UltimaDomanda prompts;
  UltimoAvviso notice;
  int stati = 0;
  int record = 0;

  QTemporaryDir dir;
  auto db = ApriDatabase(dir.filePath("Dati/DbNegozio.mdb"));
  riempi(*db, inviati);
  RecordPlu plu(
      *db, dir.path(), notice, prompts, clock, false, [&](const QString&) { ++stati; },
      [&](int totale) { record = totale; });
  QElapsedTimer timer;
  timer.start();
  std::clock_t cpu = std::clock();
  const bool preparato = plu.PreparaTabxInvio(false);
  const double preparazione = secondi(timer);
  const double preparazioneCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
  timer.restart();
  plu.ScriviFilePLU("1");
  const double scrittura = secondi(timer);

  QTemporaryDir dirGrande;
  auto grande = ApriDatabase(dirGrande.filePath("Dati/DbNegozio.mdb"));
  riempi(*grande, rifiutati);
  RecordPlu troppi(*grande, dirGrande.path(), notice, prompts, clock, false);
  timer.restart();
  cpu = std::clock();
  const bool rifiutato = !troppi.PreparaTabxInvio(false);
  const double controllo = secondi(timer);
  const double controlloCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
  // The part of it the store layer takes: the products' rows alone.
  timer.restart();
  const int letti = grande
                        ->openRecordset(
                            "Select CodMateriale, Descrizione, BarCode, Genere, "
                            "Quantità, Costo, UnitaMisura from Magazzino order by "
                            "BarCode ASC")
                        .recordCount();
  const double lettura = secondi(timer);

  const double perProdotto = preparazione / inviati;
  out << "full run, products:         " << inviati << " (" << record << " PLU records)\n"
      << "PreparaTabxInvio seconds:   " << QString::number(preparazione, 'f', 3) << " (CPU "
      << QString::number(preparazioneCpu, 'f', 3) << ")\n"
      << "  microseconds per product: " << QString::number(perProdotto * 1e6, 'f', 1) << "\n"
      << "  100,000 products at that: " << QString::number(perProdotto * 100000, 'f', 2)
      << " s (extrapolated)\n"
      << "ScriviFilePLU seconds:      " << QString::number(scrittura, 'f', 3) << " ("
      << QFileInfo(plu.PercorsoFilePLU("1")).size() << " bytes)\n"
      << "status updates:             " << stati << "\n"
      << "refused run, products:      " << rifiutati << "\n"
      << "limit check seconds:        " << QString::number(controllo, 'f', 3) << " (CPU "
      << QString::number(controlloCpu, 'f', 3) << ")\n"
      << "  of which reading the rows: " << QString::number(lettura, 'f', 3) << " (" << letti
      << " products)\n"
      << "refusal:                    " << prompts.testo << "\n";
  return preparato && record > 0 && rifiutato ? 0 : 1;
}
