#include "platform/db/jet_sql.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace listinova::platform::db {
namespace {

enum class Kind { Space, Word, Identifier, Text, Number, Symbol };

struct Token {
  Kind kind;
  QString text;  // for Identifier and Text: the unquoted content
};

bool isWordStart(QChar c) { return c.isLetter() || c == '_'; }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '$'; }

// "#12/31/2026#" (Jet writes month first) or "#2026-12-31#"; empty when not a date.
QString jetDateLiteral(const QString& body) {
  static const QRegularExpression us(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})\s*$)");
  static const QRegularExpression iso(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})\s*$)");
  if (auto m = us.match(body); m.hasMatch())
    return QStringLiteral("%1-%2-%3")
        .arg(m.captured(3), m.captured(1).rightJustified(2, '0'),
             m.captured(2).rightJustified(2, '0'));
  if (auto m = iso.match(body); m.hasMatch())
    return QStringLiteral("%1-%2-%3")
        .arg(m.captured(1), m.captured(2).rightJustified(2, '0'),
             m.captured(3).rightJustified(2, '0'));
  return {};
}

std::vector<Token> tokenize(const QString& sql) {
  std::vector<Token> tokens;
  const qsizetype n = sql.size();
  qsizetype i = 0;
  auto quoted = [&](QChar close) {
    QString content;
    ++i;
    while (i < n) {
      if (sql[i] == close) {
        if (i + 1 < n && sql[i + 1] == close && close != ']') {
          content += close;
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      content += sql[i++];
    }
    return content;
  };
  while (i < n) {
    const QChar c = sql[i];
    if (c.isSpace()) {
      qsizetype start = i;
      while (i < n && sql[i].isSpace()) ++i;
      tokens.push_back({Kind::Space, sql.mid(start, i - start)});
    } else if (c == '\'' || c == '"') {
      tokens.push_back({Kind::Text, quoted(c)});
    } else if (c == '[') {
      tokens.push_back({Kind::Identifier, quoted(']')});
    } else if (c == '#') {
      qsizetype close = sql.indexOf('#', i + 1);
      QString date = close > 0 ? jetDateLiteral(sql.mid(i + 1, close - i - 1)) : QString();
      if (date.isEmpty()) {
        tokens.push_back({Kind::Symbol, QString(c)});
        ++i;
      } else {
        tokens.push_back({Kind::Text, date});
        i = close + 1;
      }
    } else if (isWordStart(c)) {
      qsizetype start = i;
      while (i < n && isWordChar(sql[i])) ++i;
      tokens.push_back({Kind::Word, sql.mid(start, i - start)});
    } else if (c.isDigit() || (c == '.' && i + 1 < n && sql[i + 1].isDigit())) {
      qsizetype start = i;
      while (i < n && (sql[i].isDigit() || sql[i] == '.')) ++i;
      tokens.push_back({Kind::Number, sql.mid(start, i - start)});
    } else if ((c == '<' || c == '>' || c == '!') && i + 1 < n &&
               (sql[i + 1] == '=' || sql[i + 1] == '>')) {
      tokens.push_back({Kind::Symbol, sql.mid(i, 2)});
      i += 2;
    } else {
      tokens.push_back({Kind::Symbol, QString(c)});
      ++i;
    }
  }
  return tokens;
}

bool isWord(const Token& t, const char* word) {
  return t.kind == Kind::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}
bool isSymbol(const Token& t, const char* symbol) {
  return t.kind == Kind::Symbol && t.text == QLatin1String(symbol);
}
bool isName(const Token& t) { return t.kind == Kind::Word || t.kind == Kind::Identifier; }

// Index of the next token that is not blank, or tokens.size().
size_t skipSpace(const std::vector<Token>& tokens, size_t i) {
  while (i < tokens.size() && tokens[i].kind == Kind::Space) ++i;
  return i;
}

// [Magazzino.Quantità] names a column of a table, as Jet reads it.
void splitQualifiedIdentifiers(std::vector<Token>& tokens) {
  static const QRegularExpression qualified(R"(^(\w+)\.(\w+)$)",
                                            QRegularExpression::UseUnicodePropertiesOption);
  std::vector<Token> out;
  for (const Token& t : tokens) {
    if (t.kind == Kind::Identifier) {
      if (auto m = qualified.match(t.text); m.hasMatch()) {
        out.push_back({Kind::Identifier, m.captured(1)});
        out.push_back({Kind::Symbol, "."});
        out.push_back({Kind::Identifier, m.captured(2)});
        continue;
      }
    }
    out.push_back(t);
  }
  tokens.swap(out);
}

// "[Excel 8.0;Database=file].[Sheet]" after INTO; removes it from the tokens.
std::optional<WorkbookTarget> extractWorkbookTarget(std::vector<Token>& tokens) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!isWord(tokens[i], "INTO")) continue;
    size_t target = skipSpace(tokens, i + 1);
    if (target >= tokens.size() || tokens[target].kind != Kind::Identifier ||
        !tokens[target].text.startsWith("Excel", Qt::CaseInsensitive))
      continue;
    WorkbookTarget workbook;
    for (const QString& part : tokens[target].text.split(';')) {
      if (part.trimmed().startsWith("Database=", Qt::CaseInsensitive))
        workbook.file = part.trimmed().mid(9);
    }
    size_t end = target + 1;
    if (end + 1 < tokens.size() && isSymbol(tokens[end], ".") &&
        tokens[end + 1].kind == Kind::Identifier) {
      workbook.sheet = tokens[end + 1].text;
      end += 2;
    }
    tokens.erase(tokens.begin() + i, tokens.begin() + end);
    return workbook;
  }
  return std::nullopt;
}

// "Delete * from T" and "Delete T.* from T" become "Delete from T".
void dropDeleteStar(std::vector<Token>& tokens) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!isWord(tokens[i], "DELETE")) continue;
    size_t j = skipSpace(tokens, i + 1);
    size_t end = j;
    if (j < tokens.size() && isSymbol(tokens[j], "*")) {
      end = j + 1;
    } else if (j + 2 < tokens.size() && isName(tokens[j]) && isSymbol(tokens[j + 1], ".") &&
               isSymbol(tokens[j + 2], "*")) {
      end = j + 3;
    }
    if (end == j) continue;
    if (end < tokens.size() && tokens[end].kind == Kind::Space) ++end;
    tokens.erase(tokens.begin() + j, tokens.begin() + end);
  }
}

// SQLite wants bare column names on the left of UPDATE ... SET assignments.
void unqualifySetTargets(std::vector<Token>& tokens) {
  size_t first = skipSpace(tokens, 0);
  if (first >= tokens.size() || !isWord(tokens[first], "UPDATE")) return;
  size_t i = first;
  while (i < tokens.size() && !isWord(tokens[i], "SET")) ++i;
  int depth = 0;
  bool expectTarget = true;
  for (++i; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.kind == Kind::Space) continue;
    if (depth == 0 && isWord(t, "WHERE")) break;
    if (isSymbol(t, "(")) ++depth;
    if (isSymbol(t, ")")) --depth;
    if (depth == 0 && isSymbol(t, ",")) {
      expectTarget = true;
      continue;
    }
    if (expectTarget) {
      if (i + 2 < tokens.size() && isName(t) && isSymbol(tokens[i + 1], ".") &&
          isName(tokens[i + 2]))
        tokens.erase(tokens.begin() + i, tokens.begin() + i + 2);
      expectTarget = false;
    }
  }
}

bool isComparison(const Token& t) {
  static const QStringList operators = {"=", "<>", "!=", "<", ">", "<=", ">="};
  return t.kind == Kind::Symbol && operators.contains(t.text);
}

// A text beside a comparison whose letters SQLite's NOCASE does not fold ("CAFFÈ").
bool needsJetCollation(const std::vector<Token>& tokens, size_t i) {
  const QString& text = tokens[i].text;
  if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
    return false;
  size_t before = i;
  while (before > 0 && tokens[before - 1].kind == Kind::Space) --before;
  const size_t after = skipSpace(tokens, i + 1);
  return (before > 0 && isComparison(tokens[before - 1])) ||
         (after < tokens.size() && isComparison(tokens[after]));
}

QString render(const std::vector<Token>& tokens) {
  QString out;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    switch (t.kind) {
      case Kind::Text:
        out += sqlText(t.text);
        if (needsJetCollation(tokens, i)) out += QStringLiteral(" COLLATE ") + kJetTextCollation;
        break;
      case Kind::Identifier:
        out += sqlIdentifier(t.text);
        break;
      case Kind::Word:
        if (isWord(t, "DISTINCTROW"))
          out += "DISTINCT";
        else if (isWord(t, "TRUE"))
          out += "-1";
        else if (isWord(t, "FALSE"))
          out += "0";
        else if (isWord(t, "MOD"))
          out += "%";
        else
          out += t.text;
        break;
      case Kind::Symbol:
        if (t.text == "&")
          out += "||";
        else if (t.text == "!" && i > 0 && i + 1 < tokens.size() && isName(tokens[i - 1]) &&
                 isName(tokens[i + 1]))
          out += ".";
        else
          out += t.text;
        break;
      default:
        out += t.text;
    }
  }
  return out;
}

}  // namespace

JetStatement translateJet(const QString& jetSql) {
  std::vector<Token> tokens = tokenize(jetSql);
  JetStatement statement;
  statement.workbook = extractWorkbookTarget(tokens);
  splitQualifiedIdentifiers(tokens);
  dropDeleteStar(tokens);
  unqualifySetTargets(tokens);
  statement.sql = render(tokens);
  return statement;
}

QString sqlIdentifier(const QString& name) {
  return '"' + QString(name).replace('"', "\"\"") + '"';
}

QString sqlText(const QString& value) { return '\'' + QString(value).replace('\'', "''") + '\''; }

}  // namespace listinova::platform::db
