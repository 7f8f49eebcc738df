#include "platform/db/sql_functions.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>

#include "platform/db/stored_value.h"

namespace listinova::platform::db {
namespace {

QString argText(sqlite3_value* v) {
  return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                           sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& text) {
  QByteArray utf8 = text.toUtf8();
  sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// VB number conversion: blanks ignored, "." or "," as the decimal mark.
std::optional<double> toNumber(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      return static_cast<double>(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
      return sqlite3_value_double(v);
    case SQLITE_TEXT: {
      bool ok = false;
      double d = argText(v).trimmed().replace(',', '.').toDouble(&ok);
      return ok ? std::optional<double>(d) : std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

// CLng and CInt round halves to the even neighbour.
// Product codes are plain digits: read them without a detour through QString.
std::optional<sqlite3_int64> plainDigits(sqlite3_value* v) {
  const auto* text = sqlite3_value_text(v);
  int size = sqlite3_value_bytes(v);
  int i = 0;
  while (i < size && text[i] == ' ') ++i;
  while (size > i && text[size - 1] == ' ') --size;
  if (i == size || size - i > 18) return std::nullopt;
  sqlite3_int64 value = 0;
  for (; i < size; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

void clng(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
    sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
    return;
  }
  if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
    if (auto digits = plainDigits(argv[0])) {
      sqlite3_result_int64(ctx, *digits);
      return;
    }
  }
  auto n = toNumber(argv[0]);
  if (!n) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(std::nearbyint(*n)));
}

void cdbl(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto n = toNumber(argv[0]);
  n ? sqlite3_result_double(ctx, *n) : sqlite3_result_null(ctx);
}

void cstr(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    sqlite3_result_null(ctx);
  else
    resultText(ctx, argText(argv[0]));
}

// Val reads the leading number of a text and stops at the first other character.
void val(sqlite3_context* ctx, int, sqlite3_value** argv) {
  static const QRegularExpression number(R"(^\s*([-+]?\d*\.?\d*))");
  QString text = argText(argv[0]);
  bool ok = false;
  double d = number.match(text).captured(1).toDouble(&ok);
  sqlite3_result_double(ctx, ok ? d : 0.0);
}

void datevalue(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  QDate date = parseShopDate(argText(argv[0]));
  if (!date.isValid()) {
    sqlite3_result_null(ctx);
    return;
  }
  resultText(ctx, storedDate(date));
}

void len(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    sqlite3_result_null(ctx);
  else
    sqlite3_result_int(ctx, static_cast<int>(argText(argv[0]).size()));
}

void left(sqlite3_context* ctx, int, sqlite3_value** argv) {
  resultText(ctx, argText(argv[0]).left(sqlite3_value_int(argv[1])));
}

void right(sqlite3_context* ctx, int, sqlite3_value** argv) {
  resultText(ctx, argText(argv[0]).right(sqlite3_value_int(argv[1])));
}

void mid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  QString text = argText(argv[0]);
  int start = std::max(1, sqlite3_value_int(argv[1])) - 1;
  resultText(ctx, argc > 2 ? text.mid(start, sqlite3_value_int(argv[2])) : text.mid(start));
}

void ucase(sqlite3_context* ctx, int, sqlite3_value** argv) {
  resultText(ctx, argText(argv[0]).toUpper());
}

void lcase(sqlite3_context* ctx, int, sqlite3_value** argv) {
  resultText(ctx, argText(argv[0]).toLower());
}

void nz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
    sqlite3_result_value(ctx, argv[0]);
  else if (argc > 1)
    sqlite3_result_value(ctx, argv[1]);
  else
    sqlite3_result_int(ctx, 0);
}

void now(sqlite3_context* ctx, int, sqlite3_value**) {
  resultText(ctx, storedDateTime(QDateTime::currentDateTime()));
}

void like(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_int(ctx, jetLike(argText(argv[0]), argText(argv[1])) ? 1 : 0);
}

bool isAscii(const char* s, int n) {
  for (int i = 0; i < n; ++i)
    if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
  return true;
}

// Same order as SQLite's own NOCASE for ASCII text, and letter case ignored beyond it.
int compareNoCase(void*, int n1, const void* p1, int n2, const void* p2) {
  const char* a = static_cast<const char*>(p1);
  const char* b = static_cast<const char*>(p2);
  if (isAscii(a, n1) && isAscii(b, n2)) {
    int n = std::min(n1, n2);
    for (int i = 0; i < n; ++i) {
      int ca = std::tolower(static_cast<unsigned char>(a[i]));
      int cb = std::tolower(static_cast<unsigned char>(b[i]));
      if (ca != cb) return ca - cb;
    }
    return n1 - n2;
  }
  return QString::fromUtf8(a, n1).compare(QString::fromUtf8(b, n2), Qt::CaseInsensitive);
}

bool matchClass(const QString& pattern, qsizetype& p, QChar c) {
  // pattern[p] is '['; on return p is past the closing ']'.
  qsizetype close = pattern.indexOf(']', p + 1);
  if (close < 0) {
    bool same = c == '[';
    ++p;
    return same;
  }
  QString set = pattern.mid(p + 1, close - p - 1);
  p = close + 1;
  bool negate = set.startsWith('!');
  if (negate) set.remove(0, 1);
  bool found = false;
  for (qsizetype i = 0; i < set.size(); ++i) {
    if (i + 2 < set.size() && set[i + 1] == '-') {
      found = found || (c >= set[i] && c <= set[i + 2]);
      i += 2;
    } else {
      found = found || c == set[i];
    }
  }
  return found != negate;
}

bool likeFrom(const QString& pattern, qsizetype p, const QString& value, qsizetype v) {
  while (p < pattern.size()) {
    QChar pc = pattern[p];
    if (pc == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      if (p == pattern.size()) return true;
      for (qsizetype k = v; k <= value.size(); ++k)
        if (likeFrom(pattern, p, value, k)) return true;
      return false;
    }
    if (v >= value.size()) return false;
    if (pc == '?') {
      ++p;
    } else if (pc == '#') {
      if (!value[v].isDigit()) return false;
      ++p;
    } else if (pc == '[') {
      if (!matchClass(pattern, p, value[v])) return false;
    } else {
      if (pc != value[v]) return false;
      ++p;
    }
    ++v;
  }
  return v == value.size();
}

struct Function {
  const char* name;
  int arguments;
  void (*call)(sqlite3_context*, int, sqlite3_value**);
};

constexpr Function kFunctions[] = {
    {"CLng", 1, clng},   {"CInt", 1, clng}, {"CDbl", 1, cdbl},
    {"CStr", 1, cstr},   {"Val", 1, val},   {"DateValue", 1, datevalue},
    {"Len", 1, len},     {"Left", 2, left}, {"Right", 2, right},
    {"Mid", 2, mid},     {"Mid", 3, mid},   {"UCase", 1, ucase},
    {"LCase", 1, lcase}, {"Nz", 1, nz},     {"Nz", 2, nz},
    {"Now", 0, now},     {"like", 2, like},
};

}  // namespace

bool jetLike(const QString& pattern, const QString& value) {
  return likeFrom(pattern.toCaseFolded(), 0, value.toCaseFolded(), 0);
}

void registerJetFunctions(sqlite3* connection) {
  for (const Function& f : kFunctions) {
    int flags = SQLITE_UTF8 | (std::string_view(f.name) == "Now" ? 0 : SQLITE_DETERMINISTIC);
    sqlite3_create_function(connection, f.name, f.arguments, flags, nullptr, f.call, nullptr,
                            nullptr);
  }
  sqlite3_create_collation(connection, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase);
}

}  // namespace listinova::platform::db
