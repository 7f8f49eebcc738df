// The store is a plain SQLite file: the stock sqlite3 tool finds it sound, and after that tool
// vacuums or reindexes it the program gets the same answers as before.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "catalogue/apri_database.h"
#include "catalogue/ricerche_archivio.h"
#include "platform/db/database.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using platform::db::Database;

// The stock command-line tool, which knows only SQLite's own collations.
QString sqlite3Tool(const QString& file, const QString& statement) {
  QProcess tool;
  tool.start("sqlite3", {file, statement});
  if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
    return "sqlite3 non riuscito: " + QString::fromUtf8(tool.readAllStandardError());
  return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

const char* const kDescrizioni[] = {
    "Caffè", "CAFFÈ D'ORZO", "caffè lungo", "Éclair", "éclair", "Zucchero", "zucchero di canna",
    "Ärger", "ÀNFORA",       "àncora",      "Òrzo",   "orzo",   "Città",    "CITTÀ ALTA",
    "ZUPPA", "zuppa",        "Ünterberg",   "über",   "ÈCCOLO", "eccolo"};

void riempi(testing::NegozioDiProva& negozio) {
  Database::Transaction t(*negozio.db);
  negozio.reparto(2, "Città").reparto(3, "CAFFÈ");
  int codice = 1;
  // Enough rows for every index to spread over many pages.
  for (int giro = 0; giro < 60; ++giro)
    for (const char* d : kDescrizioni) {
      negozio.prodotto({.cod = QString::number(codice),
                        .descrizione = QString::fromUtf8(d) +
                                       (giro ? QStringLiteral(" %1").arg(giro) : QString()),
                        .barCode = QStringLiteral("80%1").arg(codice, 11, 10, QChar('0')),
                        .genere = codice % 2 ? "Città" : "CAFFÈ",
                        .costo = "0,1",
                        .fornitore = QString::fromUtf8(d).toUpper()});
      ++codice;
    }
  t.commit();
}

// Every look-up the program makes of its products, answered as text.
QStringList risposte(Database& db) {
  const char* const ricerche[] = {
      "Select CodMateriale from Magazzino where Descrizione='CAFFÈ' order by CodMateriale",
      "Select CodMateriale from Magazzino where Descrizione='éclair 7' order by CodMateriale",
      "Select CodMateriale from Magazzino where Descrizione='zuppa 3' order by CodMateriale",
      "Select CodMateriale from Magazzino where Descrizione>='ZUPPA' and Descrizione<'ZZ' order by "
      "CodMateriale",
      "Select CodMateriale from Magazzino order by Descrizione, CodMateriale",
      "Select CodMateriale from Magazzino where BarCode='8000000000777'",
      "Select Descrizione from Magazzino where CodMateriale='1111'",
      "Select Descrizione from Magazzino where CodMateriale=1111",
      "Select CodMateriale from Magazzino where Descrizione like '*orzo 1#' order by CodMateriale",
      "Select CodMateriale from Magazzino where Genere='città' order by CodMateriale",
      "Select DISTINCT Fornitore from Magazzino where Fornitore='ÀNFORA'",
      "select Max(CLng([CodMateriale])) AS CodMat from Magazzino",
      "Select Sum(Costo) AS Totale from Magazzino",
      "Select Count(*) AS N from prodotti where codreparto=3",
  };
  QStringList tutte;
  for (const char* ricerca : ricerche) {
    auto righe = db.openRecordset(QString::fromUtf8(ricerca));
    QStringList valori;
    for (; !righe.eof(); righe.moveNext()) valori << righe.value(0).toString();
    tutte << QString::fromUtf8(ricerca) + " -> " + valori.join(',');
  }
  tutte << "TrovaCodiceRep -> " + TrovaCodiceRep(db, QString::fromUtf8("CITTÀ"));
  return tutte;
}

TEST(ArchivioStandard, TheStockToolChecksVacuumsAndReindexesWithoutChangingAnAnswer) {
  testing::NegozioDiProva negozio;
  const QString percorso = negozio.percorsoArchivio();
  riempi(negozio);
  const QStringList prima = risposte(*negozio.db);
  negozio.chiudi();
  // The answers are the ones the shop expects, not merely stable ones.
  EXPECT_TRUE(prima[0].endsWith("-> 1")) << prima[0].toStdString();
  EXPECT_TRUE(prima[1].endsWith("-> 144,145")) << prima[1].toStdString();
  EXPECT_EQ(prima[9].count(','), 599);  // the 600 products of "Città", whatever the case
  EXPECT_TRUE(prima[13].endsWith("-> 600")) << prima[13].toStdString();
  EXPECT_EQ(prima.last(), "TrovaCodiceRep -> 2");

  EXPECT_EQ(sqlite3Tool(percorso, "PRAGMA integrity_check"), "ok");
  for (const char* lavoro : {"VACUUM", "REINDEX"}) {
    SCOPED_TRACE(lavoro);
    EXPECT_EQ(sqlite3Tool(percorso, lavoro), "");
    EXPECT_EQ(sqlite3Tool(percorso, "PRAGMA integrity_check"), "ok");
    auto db = ApriDatabase(percorso);
    EXPECT_EQ(risposte(*db), prima);
  }
}

}  // namespace
}  // namespace listinova
