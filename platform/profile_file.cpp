#include "platform/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <optional>

namespace listinova::platform {

namespace {

// The callers read into a 256-character buffer with a limit of 255.
constexpr qsizetype kValueLimit = 254;

// Windows-1252 for 0x80-0x9F; the five unassigned bytes map to the same code point, as
// Windows does. Every other byte equals its code point.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeCp1252(QByteArrayView bytes) {
  QString text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text.append(byte >= 0x80 && byte <= 0x9F ? QChar(kCp1252High[byte - 0x80]) : QChar(byte));
  }
  return text;
}

// Files written by the Windows program are CP1252; ours are UTF-8.
QString decode(QByteArrayView bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  return utf8.hasError() ? decodeCp1252(bytes) : text;
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

bool sameName(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

std::optional<QString> sectionOf(const QString& line) {
  const QString text = trimBlanks(line);
  const qsizetype close = text.indexOf(u']');
  if (!text.startsWith(u'[') || close < 0) return std::nullopt;
  return trimBlanks(text.mid(1, close - 1));
}

struct KeyLine {
  QString key;
  QString value;
};

std::optional<KeyLine> keyOf(const QString& line) {
  const QString text = trimBlanks(line);
  const qsizetype equals = text.indexOf(u'=');
  if (text.startsWith(u';') || equals < 0) return std::nullopt;
  return KeyLine{trimBlanks(text.left(equals)), trimBlanks(text.mid(equals + 1))};
}

struct Lines {
  QStringList lines;
  bool readable = true;
};

Lines load(const QString& file) {
  Lines result;
  QFile input(file);
  if (!input.exists()) return result;
  if (!input.open(QIODevice::ReadOnly)) {
    result.readable = false;
    return result;
  }
  const QString text = decode(input.readAll());
  if (text.isEmpty()) return result;
  result.lines = text.split(u'\n');
  if (text.endsWith(u'\n')) result.lines.removeLast();
  for (QString& line : result.lines) {
    if (line.endsWith(u'\r')) line.chop(1);
  }
  return result;
}

// Index of the first line holding the key inside a block of the section, or -1.
qsizetype findKey(const QStringList& lines, const QString& section, const QString& key) {
  bool inSection = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (const auto name = sectionOf(lines[i])) {
      inSection = sameName(*name, section);
    } else if (inSection) {
      const auto entry = keyOf(lines[i]);
      if (entry && sameName(entry->key, key)) return i;
    }
  }
  return -1;
}

qsizetype findSection(const QStringList& lines, const QString& section) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const auto name = sectionOf(lines[i]);
    if (name && sameName(*name, section)) return i;
  }
  return -1;
}

// After the section's last key line, or right under its header when it has none.
qsizetype newKeyPosition(const QStringList& lines, qsizetype header) {
  qsizetype position = header + 1;
  for (qsizetype i = header + 1; i < lines.size() && !sectionOf(lines[i]); ++i) {
    if (keyOf(lines[i])) position = i + 1;
  }
  return position;
}

QString unquoted(const QString& value) {
  if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
    return value.mid(1, value.size() - 2);
  return value;
}

QString cut(QString value) {
  if (value.size() <= kValueLimit) return value;
  value.truncate(kValueLimit);
  if (value.back().isHighSurrogate()) value.chop(1);
  return value;
}

// Windows drops trailing blanks of the default too.
QString withoutTrailingBlanks(QString text) {
  while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
  return text;
}

bool save(const QString& file, const QStringList& lines) {
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  QSaveFile output(file);
  if (!output.open(QIODevice::WriteOnly)) return false;
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  output.write(text.toUtf8());
  return output.commit();
}

}  // namespace

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
  const QStringList lines = load(file).lines;
  const qsizetype index = findKey(lines, section, key);
  if (index < 0) return cut(withoutTrailingBlanks(defaultValue));
  return cut(unquoted(keyOf(lines[index])->value));
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
  Lines content = load(file);
  if (!content.readable) return false;
  QStringList& lines = content.lines;
  if (const qsizetype index = findKey(lines, section, key); index >= 0) {
    lines[index] = keyOf(lines[index])->key + u'=' + value;
  } else if (const qsizetype header = findSection(lines, section); header >= 0) {
    lines.insert(newKeyPosition(lines, header), key + u'=' + value);
  } else {
    lines << u'[' + section + u']' << key + u'=' + value;
  }
  return save(file, lines);
}

}  // namespace listinova::platform
