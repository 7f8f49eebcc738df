#include "platform/db/sql_functions.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/db/jet_sql.h"
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

bool isAscii(const char* s, int n) {
  for (int i = 0; i < n; ++i)
    if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
  return true;
}

// Same order as SQLite's own NOCASE for ASCII text, and letter case ignored beyond it
// ("CAFFÈ" = "caffè"). It has a name of its own: the file's schema and indexes keep SQLite's
// NOCASE, so that any SQLite tool sees the same order the program does.
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

// A Jet LIKE pattern taken apart once: every element but "*" stands for exactly one
// character, so one pass that only ever goes back to the last "*" decides a match in time
// proportional to the text times the pattern, whatever the pattern.
class LikePattern {
 public:
  explicit LikePattern(const QString& pattern) {
    const QString p = pattern.toCaseFolded();
    for (qsizetype i = 0; i < p.size();) {
      Element e;
      const QChar c = p[i];
      if (c == '*') {
        e.kind = Kind::Star;
        ++i;
      } else if (c == '?') {
        e.kind = Kind::Any;
        ++i;
      } else if (c == '#') {
        e.kind = Kind::Digit;
        ++i;
      } else if (c == '[' && p.indexOf(']', i + 1) > 0) {
        const qsizetype close = p.indexOf(']', i + 1);
        e.kind = Kind::Set;
        e.set = p.mid(i + 1, close - i - 1);
        e.negated = e.set.startsWith('!');
        if (e.negated) e.set.remove(0, 1);
        i = close + 1;
      } else {
        e.kind = Kind::Literal;  // a "[" with no "]" after it stands for itself
        e.literal = c;
        ++i;
      }
      elements_.push_back(std::move(e));
    }
  }

  bool matches(const QString& value) const {
    const QString text = value.toCaseFolded();
    const size_t none = elements_.size() + 1;
    size_t p = 0;
    size_t resumeAt = none;  // the element after the last "*" met
    qsizetype t = 0;
    qsizetype starText = 0;  // where the text the last "*" swallows ends
    while (t < text.size()) {
      if (p < elements_.size() && elements_[p].kind == Kind::Star) {
        resumeAt = ++p;
        starText = t;
      } else if (p < elements_.size() && matchesOne(elements_[p], text[t])) {
        ++p;
        ++t;
      } else if (resumeAt != none) {
        p = resumeAt;
        t = ++starText;
      } else {
        return false;
      }
    }
    while (p < elements_.size() && elements_[p].kind == Kind::Star) ++p;
    return p == elements_.size();
  }

 private:
  enum class Kind { Star, Any, Digit, Set, Literal };
  struct Element {
    Kind kind = Kind::Literal;
    QChar literal;
    QString set;  // "abc" or ranges "a-z"
    bool negated = false;
  };

  static bool matchesOne(const Element& e, QChar c) {
    switch (e.kind) {
      case Kind::Any:
        return true;
      case Kind::Digit:
        return c.isDigit();
      case Kind::Literal:
        return c == e.literal;
      case Kind::Set: {
        bool found = false;
        for (qsizetype i = 0; i < e.set.size(); ++i) {
          if (i + 2 < e.set.size() && e.set[i + 1] == '-') {
            found = found || (c >= e.set[i] && c <= e.set[i + 2]);
            i += 2;
          } else {
            found = found || c == e.set[i];
          }
        }
        return found != e.negated;
      }
      case Kind::Star:
        break;
    }
    return false;
  }

  std::vector<Element> elements_;
};

void deletePattern(void* pattern) { delete static_cast<LikePattern*>(pattern); }

void like(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  // The same pattern meets every row of a search: it is taken apart once per statement.
  if (auto* cached = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0))) {
    sqlite3_result_int(ctx, cached->matches(argText(argv[1])) ? 1 : 0);
    return;
  }
  auto pattern = std::make_unique<LikePattern>(argText(argv[0]));
  const bool matched = pattern->matches(argText(argv[1]));
  sqlite3_set_auxdata(ctx, 0, pattern.release(), deletePattern);
  sqlite3_result_int(ctx, matched ? 1 : 0);
}

// Sum, Total and Avg as Jet added Currency: exactly. Each term is taken in ten-billionths
// (far finer than the four decimals of an amount, far coarser than the binary noise of a
// product such as 3 * 0,10) and added as a whole number; only a term that is no short
// decimal (1e-12, 1e30) is added as a binary number beside it.
constexpr long double kSumScale = 1e10L;

// Lives in memory SQLite hands out zeroed: every member starts at zero or false.
struct ExactSum {
  __int128 units;
  double rest;  // the terms that are no short decimal
  sqlite3_int64 count;
  bool fractions;  // a term that is no whole number: the total is no whole number either
  bool anyRest;
};

void addTerm(ExactSum& sum, sqlite3_value* value, int sign) {
  if (sqlite3_value_type(value) == SQLITE_NULL) return;
  sum.count += sign;
  if (sqlite3_value_numeric_type(value) == SQLITE_INTEGER) {
    sum.units +=
        sign * static_cast<__int128>(sqlite3_value_int64(value)) * static_cast<__int128>(kSumScale);
    return;
  }
  sum.fractions = true;
  const double term = sqlite3_value_double(value);
  const long double scaled = static_cast<long double>(term) * kSumScale;
  const long double whole = std::roundl(scaled);
  const long double noise = std::max(1e-6L, std::fabs(scaled) * 1e-14L);
  if (std::isfinite(term) && std::fabs(scaled) < 1e30L && std::fabs(scaled - whole) <= noise) {
    sum.units += sign * static_cast<__int128>(whole);
  } else {
    sum.rest += sign * term;
    sum.anyRest = true;
  }
}

// The binary number nearest to the exact total.
double exactTotal(const ExactSum& sum) {
  const __int128 scale = static_cast<__int128>(kSumScale);
  const __int128 whole = sum.units / scale;
  double total;
  if (whole > INT64_MIN && whole < INT64_MAX) {
    const __int128 fraction = sum.units % scale;
    const bool negative = sum.units < 0;
    const QByteArray text =
        QByteArray(negative ? "-" : "") +
        QByteArray::number(static_cast<qlonglong>(negative ? -whole : whole)) + '.' +
        QByteArray::number(static_cast<qlonglong>(negative ? -fraction : fraction))
            .rightJustified(10, '0');
    total = std::strtod(text.constData(), nullptr);
  } else {
    total = static_cast<double>(static_cast<long double>(sum.units) / kSumScale);
  }
  return sum.anyRest ? total + sum.rest : total;
}

// SQLite's aggregate memory is only 8-byte aligned and the 128-bit total needs 16: over-ask and
// align; the block is zeroed once and stays put, so every call finds the same total.
ExactSum* sumOf(sqlite3_context* ctx, bool create) {
  constexpr int kSize = sizeof(ExactSum) + alignof(ExactSum) - 1;
  void* block = sqlite3_aggregate_context(ctx, create ? kSize : 0);
  if (!block) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t aligned = (address + alignof(ExactSum) - 1) & ~(alignof(ExactSum) - 1);
  return reinterpret_cast<ExactSum*>(aligned);
}

void sumStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (ExactSum* sum = sumOf(ctx, true)) addTerm(*sum, argv[0], 1);
}

void sumInverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (ExactSum* sum = sumOf(ctx, true)) addTerm(*sum, argv[0], -1);
}

void sumValue(sqlite3_context* ctx) {
  ExactSum* sum = sumOf(ctx, false);
  if (!sum || sum->count == 0) {
    sqlite3_result_null(ctx);
    return;
  }
  if (!sum->fractions && !sum->anyRest) {
    const __int128 whole = sum->units / static_cast<__int128>(kSumScale);
    if (whole < INT64_MIN || whole > INT64_MAX) {
      sqlite3_result_error(ctx, "integer overflow", -1);
      return;
    }
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(whole));
    return;
  }
  sqlite3_result_double(ctx, exactTotal(*sum));
}

void totalValue(sqlite3_context* ctx) {
  ExactSum* sum = sumOf(ctx, false);
  sqlite3_result_double(ctx, sum ? exactTotal(*sum) : 0.0);
}

void avgValue(sqlite3_context* ctx) {
  ExactSum* sum = sumOf(ctx, false);
  if (!sum || sum->count == 0) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_double(ctx, exactTotal(*sum) / static_cast<double>(sum->count));
}

struct Aggregate {
  const char* name;
  void (*value)(sqlite3_context*);
};

constexpr Aggregate kAggregates[] = {{"sum", sumValue}, {"total", totalValue}, {"avg", avgValue}};

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
  return LikePattern(pattern).matches(value);
}

void registerJetFunctions(sqlite3* connection) {
  for (const Function& f : kFunctions) {
    int flags = SQLITE_UTF8 | (std::string_view(f.name) == "Now" ? 0 : SQLITE_DETERMINISTIC);
    sqlite3_create_function(connection, f.name, f.arguments, flags, nullptr, f.call, nullptr,
                            nullptr);
  }
  // Also usable as window functions, like the built-in ones they replace.
  for (const Aggregate& a : kAggregates)
    sqlite3_create_window_function(connection, a.name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, sumStep, a.value, a.value, sumInverse, nullptr);
  sqlite3_create_collation(connection, kJetTextCollation, SQLITE_UTF8, nullptr, compareNoCase);
}

}  // namespace listinova::platform::db
