// Translates arbitrary text as a Jet statement and has SQLite compile the result; and matches
// arbitrary LIKE patterns against a plain table-driven matcher.
//
// Input: a statement, then after the first NUL byte a LIKE pattern, then after the next NUL
// the text it is matched against.

#include <sqlite3.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/db/jet_sql.h"
#include "platform/db/sql_functions.h"

namespace {

using namespace listinova::platform::db;

sqlite3* negozio() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    sqlite3_open(":memory:", &d);
    registerJetFunctions(d);
    sqlite3_exec(d,
                 "CREATE TABLE Magazzino(CodMateriale TEXT COLLATE NOCASE, Descrizione TEXT "
                 "COLLATE NOCASE, Costo CURRENCY, \"Quantità\" DOUBLE, Modificato BOOLEAN);"
                 "CREATE TABLE Reparti(Cod INTEGER PRIMARY KEY, Descrizione TEXT COLLATE NOCASE)",
                 nullptr, nullptr, nullptr);
    return d;
  }();
  return db;
}

// The matcher's meaning, written the obvious way (a table of every pattern and text position).
bool classe(const QString& p, qsizetype& i, QChar c) {
  qsizetype chiusa = p.indexOf(']', i + 1);
  if (chiusa < 0) {
    ++i;
    return c == '[';
  }
  QString insieme = p.mid(i + 1, chiusa - i - 1);
  i = chiusa + 1;
  bool nega = insieme.startsWith('!');
  if (nega) insieme.remove(0, 1);
  bool trovato = false;
  for (qsizetype k = 0; k < insieme.size(); ++k) {
    if (k + 2 < insieme.size() && insieme[k + 1] == '-') {
      trovato = trovato || (c >= insieme[k] && c <= insieme[k + 2]);
      k += 2;
    } else {
      trovato = trovato || c == insieme[k];
    }
  }
  return trovato != nega;
}

// Whether p[i..] matches t[j..], each pair worked out once.
bool riferimento(const QString& p, qsizetype i, const QString& t, qsizetype j,
                 std::vector<signed char>& memo) {
  signed char& esito = memo[static_cast<size_t>(i * (t.size() + 1) + j)];
  if (esito >= 0) return esito;
  bool uguale;
  if (i == p.size()) {
    uguale = j == t.size();
  } else if (p[i] == '*') {
    uguale =
        riferimento(p, i + 1, t, j, memo) || (j < t.size() && riferimento(p, i, t, j + 1, memo));
  } else if (j == t.size()) {
    uguale = false;
  } else {
    qsizetype dopo = i + 1;
    bool uno;
    if (p[i] == '?')
      uno = true;
    else if (p[i] == '#')
      uno = t[j].isDigit();
    else if (p[i] == '[') {
      dopo = i;
      uno = classe(p, dopo, t[j]);
    } else
      uno = p[i] == t[j];
    uguale = uno && riferimento(p, dopo, t, j + 1, memo);
  }
  esito = uguale ? 1 : 0;
  return uguale;
}

bool riferimento(const QString& p, const QString& t) {
  std::vector<signed char> memo(static_cast<size_t>((p.size() + 1) * (t.size() + 1)), -1);
  return riferimento(p, 0, t, 0, memo);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QList<QByteArray> parti = input.split('\0');

  const JetStatement statement = translateJet(QString::fromUtf8(parti[0]));
  const QByteArray sql = statement.sql.toUtf8();
  sqlite3_stmt* compilata = nullptr;
  if (sqlite3_prepare_v2(negozio(), sql.constData(), static_cast<int>(sql.size()), &compilata,
                         nullptr) == SQLITE_OK)
    sqlite3_finalize(compilata);

  if (parti.size() < 3) return 0;
  const QString modello = QString::fromUtf8(parti[1]);
  const QString testo = QString::fromUtf8(parti[2]);
  const bool risultato = jetLike(modello, testo);
  if (modello.size() <= 64 && testo.size() <= 256 &&
      risultato != riferimento(modello.toCaseFolded(), testo.toCaseFolded()))
    std::abort();
  return 0;
}
