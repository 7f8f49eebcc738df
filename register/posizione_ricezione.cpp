#include "register/posizione_ricezione.h"

#include <QFileInfo>

#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"

namespace listinova {
namespace {

using platform::db::SqliteStatement;

// Created where first needed: stores of every version gain it without an upgrade step.
void creaTabella(platform::db::Database& db) {
  SqliteStatement(db.handle(),
                  QStringLiteral("CREATE TABLE IF NOT EXISTS RicezioniRegistrate (File TEXT "
                                 "PRIMARY KEY, Posizione INTEGER, Metodo INTEGER, Torvane "
                                 "INTEGER)"))
      .step();
}

QString chiave(const QString& percorso) { return QFileInfo(percorso).absoluteFilePath(); }

constexpr int kTabella = 0;

}  // namespace

std::optional<PosizioneRicezione> LeggiPosizioneRicezione(platform::db::Database& db,
                                                          const QString& percorso) {
  creaTabella(db);
  SqliteStatement s(db.handle(), QStringLiteral("SELECT Posizione, Metodo, Torvane FROM "
                                                "RicezioniRegistrate WHERE File = ?"));
  s.bind(1, chiave(percorso));
  if (!s.step()) return std::nullopt;
  PosizioneRicezione p;
  p.posizione = s.column(0).toLongLong();
  const int metodo = s.column(1).toInt();
  if (metodo != kTabella)
    p.metodo = metodo == static_cast<int>(MetodoLettura::Lista) ? MetodoLettura::Lista
                                                                : MetodoLettura::PerProdotto;
  p.torvane = s.column(2).toInt() != 0;
  return p;
}

void ScriviPosizioneRicezione(platform::db::Database& db, const QString& percorso,
                              const PosizioneRicezione& p) {
  creaTabella(db);
  SqliteStatement s(db.handle(),
                    QStringLiteral("INSERT OR REPLACE INTO RicezioniRegistrate (File, Posizione, "
                                   "Metodo, Torvane) VALUES (?, ?, ?, ?)"));
  s.bind(1, chiave(percorso));
  s.bind(2, p.posizione);
  s.bind(3, p.metodo ? static_cast<int>(*p.metodo) : kTabella);
  s.bind(4, p.torvane ? 1 : 0);
  s.step();
}

}  // namespace listinova
