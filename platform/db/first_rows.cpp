#include "platform/db/first_rows.h"

#include <algorithm>

#include <QRegularExpression>

#include "platform/db/database.h"
#include "platform/db/jet_sql.h"

namespace listinova::platform::db {
namespace {

// Past every character a text column holds (a noncharacter): "abc" + this closes the range of
// the texts that begin with "abc".
constexpr char16_t kOltreOgniCarattere = 0xFFFF;

// A column name just before "LIKE", the literal's opening quote excluded.
const QRegularExpression& colonnaPrimaDiLike() {
  static const QRegularExpression colonna(
      R"(((?:"(?:[^"]|"")*"|\w+)(?:\.(?:"(?:[^"]|"")*"|\w+))*)\s+LIKE\s+$)",
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
  return colonna;
}

// "col LIKE 'abc*'" becomes "(col >= 'abc' AND col < 'abc\uFFFF' AND col LIKE 'abc*')": the
// range is answered by the column's index, in the column's collation, which orders texts by
// their case-folded characters as LIKE compares them; LIKE itself still decides. Without the
// range the store would run LIKE on every row to count the matches.
QString narrowPrefixLikes(const QString& sql) {
  QString result;
  qsizetype copied = 0;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    if (sql[i] != u'\'') continue;
    qsizetype end = i + 1;
    while (end < sql.size() &&
           !(sql[end] == u'\'' && (end + 1 >= sql.size() || sql[end + 1] != u'\'')))
      end += sql[end] == u'\'' ? 2 : 1;
    if (end >= sql.size()) break;
    const QString before = sql.mid(copied, i - copied);
    const auto match = colonnaPrimaDiLike().match(before);
    const QString pattern = sql.mid(i + 1, end - i - 1);
    qsizetype wildcard = 0;
    while (wildcard < pattern.size() && !QStringView(u"*?#[%_").contains(pattern[wildcard]))
      ++wildcard;
    const QString prefix = pattern.left(wildcard);
    // The index folds only ASCII letters: an accented prefix would miss its other-case rows.
    const bool ascii =
        std::all_of(prefix.begin(), prefix.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (match.hasMatch() && !prefix.isEmpty() && ascii &&
        match.captured(1).compare(u"NOT", Qt::CaseInsensitive) != 0) {
      const QString column = match.captured(1);
      result += before.left(match.capturedStart(1));
      result += QStringLiteral("(%1 >= '%2' AND %1 < '%2%3' AND %1 LIKE '%4')")
                    .arg(column, prefix, QString(QChar(kOltreOgniCarattere)), pattern);
    } else {
      result += before + sql.mid(i, end + 1 - i);
    }
    copied = end + 1;
    i = end;
  }
  return result + sql.mid(copied);
}

// Where the statement's own ORDER BY begins (outside brackets and literals), or its end.
qsizetype orderByOf(const QString& sql) {
  static const QRegularExpression orderBy(QStringLiteral(R"(\bORDER\s+BY\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
  qsizetype found = sql.size();
  int depth = 0;
  bool literal = false;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    const QChar c = sql[i];
    if (c == u'\'') literal = !literal;
    if (literal) continue;
    if (c == u'(') ++depth;
    if (c == u')') --depth;
    if (depth == 0 && (c == u'O' || c == u'o') &&
        orderBy
            .match(sql, i, QRegularExpression::NormalMatch,
                   QRegularExpression::AnchorAtOffsetMatchOption)
            .hasMatch())
      found = i;
  }
  // A LIMIT after it counts: the ORDER BY then decides which rows are there.
  if (sql.mid(found).contains(QStringLiteral("LIMIT"), Qt::CaseInsensitive)) return sql.size();
  return found;
}

// The translated statement, ready to be nested in another one; `unordered` leaves out its
// ORDER BY, which a count does not need and which would keep the store from counting fast.
QString nested(const QString& jetSelect, bool unordered = false) {
  QString sql = translateJet(jetSelect).sql.trimmed();
  while (sql.endsWith(u';')) sql = sql.chopped(1).trimmed();
  if (unordered) sql.truncate(orderByOf(sql));
  return u'(' + narrowPrefixLikes(sql) + u')';
}

}  // namespace

int countRows(Database& db, const QString& jetSelect) {
  Recordset rows(db.handle(), QStringLiteral("SELECT count(*) FROM ") + nested(jetSelect, true));
  return rows.eof() ? 0 : static_cast<int>(rows.value(0).toLongLong());
}

Recordset openFirstRows(Database& db, const QString& jetSelect, const QString& sqliteCondition,
                        int limit) {
  return Recordset(db.handle(), QStringLiteral("SELECT * FROM %1 WHERE %2 LIMIT %3")
                                    .arg(nested(jetSelect), sqliteCondition)
                                    .arg(limit));
}

}  // namespace listinova::platform::db
