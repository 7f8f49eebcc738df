#include "platform/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/cp1252.h"

namespace listinova::platform {

namespace {

// The callers read into a 256-character buffer with a limit of 255.
constexpr qsizetype kValueLimit = 254;

// How the file's text is stored: bytes per line (UTF-8 or CP1252), or UTF-16 with a BOM.
enum class Encoding { Bytes, Utf16LE, Utf16BE };

// One line as found in the file. Lines the program does not change are written back from
// `bytes` and `end`, so nothing it did not touch is re-encoded.
struct Line {
  QByteArray bytes;  // without the line end
  QByteArray end;    // the line end as stored: CR LF, LF, or empty for an unended last line
  QString text;
};

struct Content {
  Encoding encoding = Encoding::Bytes;
  QByteArray byteOrderMark;
  std::vector<Line> lines;
  bool readable = true;

  QByteArray encode(const QString& text) const {
    if (encoding == Encoding::Bytes) return text.toUtf8();
    QStringEncoder encoder(encoding == Encoding::Utf16LE ? QStringEncoder::Utf16LE
                                                         : QStringEncoder::Utf16BE);
    return encoder(text);
  }
  QString decode(QByteArrayView bytes) const {
    if (encoding == Encoding::Bytes) return decodeTextLine(bytes);
    QStringDecoder decoder(encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE
                                                         : QStringDecoder::Utf16BE);
    return decoder(bytes);
  }
  // The end of the file's first ended line, CR LF in a file that has none.
  QByteArray newLineEnd() const {
    for (const Line& line : lines)
      if (!line.end.isEmpty()) return line.end;
    return encode(QStringLiteral("\r\n"));
  }
};

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

// Splits the bytes after the BOM into lines at every LF unit, keeping each line's bytes.
void splitLines(Content& content, QByteArrayView bytes) {
  const qsizetype unit = content.encoding == Encoding::Bytes ? 1 : 2;
  const auto isUnit = [&](qsizetype at, char c) {
    if (unit == 1) return bytes[at] == c;
    const bool littleEndian = content.encoding == Encoding::Utf16LE;
    return bytes[at + (littleEndian ? 0 : 1)] == c && bytes[at + (littleEndian ? 1 : 0)] == 0;
  };
  qsizetype begin = 0;
  while (begin < bytes.size()) {
    qsizetype at = begin;
    while (at + unit <= bytes.size() && !isUnit(at, '\n')) at += unit;
    Line line;
    qsizetype textEnd = bytes.size();
    if (at + unit <= bytes.size()) {
      textEnd = at;
      const bool carriageReturn = at - unit >= begin && isUnit(at - unit, '\r');
      if (carriageReturn) textEnd = at - unit;
      line.end = bytes.sliced(textEnd, at + unit - textEnd).toByteArray();
    }
    line.bytes = bytes.sliced(begin, textEnd - begin).toByteArray();
    line.text = content.decode(line.bytes);
    content.lines.push_back(std::move(line));
    begin = at + unit;
  }
}

Content load(const QString& file) {
  Content content;
  QFile input(file);
  if (!input.exists()) return content;
  if (!input.open(QIODevice::ReadOnly)) {
    content.readable = false;
    return content;
  }
  const QByteArray bytes = input.readAll();
  QByteArrayView rest(bytes);
  if (rest.startsWith("\xEF\xBB\xBF")) {
    content.byteOrderMark = rest.first(3).toByteArray();
  } else if (rest.startsWith("\xFF\xFE")) {
    content.encoding = Encoding::Utf16LE;
    content.byteOrderMark = rest.first(2).toByteArray();
  } else if (rest.startsWith("\xFE\xFF")) {
    content.encoding = Encoding::Utf16BE;
    content.byteOrderMark = rest.first(2).toByteArray();
  }
  splitLines(content, rest.sliced(content.byteOrderMark.size()));
  return content;
}

// Index of the first line holding the key inside a block of the section, or -1.
qsizetype findKey(const std::vector<Line>& lines, const QString& section, const QString& key) {
  bool inSection = false;
  for (qsizetype i = 0; i < std::ssize(lines); ++i) {
    if (const auto name = sectionOf(lines[i].text)) {
      inSection = sameName(*name, section);
    } else if (inSection) {
      const auto entry = keyOf(lines[i].text);
      if (entry && sameName(entry->key, key)) return i;
    }
  }
  return -1;
}

qsizetype findSection(const std::vector<Line>& lines, const QString& section) {
  for (qsizetype i = 0; i < std::ssize(lines); ++i) {
    const auto name = sectionOf(lines[i].text);
    if (name && sameName(*name, section)) return i;
  }
  return -1;
}

// After the section's last key line, or right under its header when it has none.
qsizetype newKeyPosition(const std::vector<Line>& lines, qsizetype header) {
  qsizetype position = header + 1;
  for (qsizetype i = header + 1; i < std::ssize(lines) && !sectionOf(lines[i].text); ++i) {
    if (keyOf(lines[i].text)) position = i + 1;
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

bool save(const QString& file, const Content& content) {
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  QSaveFile output(file);
  if (!output.open(QIODevice::WriteOnly)) return false;
  QByteArray bytes = content.byteOrderMark;
  for (const Line& line : content.lines) bytes += line.bytes + line.end;
  output.write(bytes);
  return output.commit();
}

}  // namespace

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
  const std::vector<Line> lines = load(file).lines;
  const qsizetype index = findKey(lines, section, key);
  if (index < 0) return cut(withoutTrailingBlanks(defaultValue));
  return cut(unquoted(keyOf(lines[index].text)->value));
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
  Content content = load(file);
  if (!content.readable) return false;
  std::vector<Line>& lines = content.lines;
  const auto newLine = [&](const QString& text) {
    return Line{content.encode(text), content.newLineEnd(), text};
  };
  const auto insert = [&](qsizetype position, std::initializer_list<QString> texts) {
    // Only the last line can lack its end, and a line is about to follow it.
    if (position == std::ssize(lines) && !lines.empty() && lines.back().end.isEmpty())
      lines.back().end = content.newLineEnd();
    std::vector<Line> added;
    for (const QString& text : texts) added.push_back(newLine(text));
    lines.insert(lines.begin() + position, added.begin(), added.end());
  };
  if (const qsizetype index = findKey(lines, section, key); index >= 0) {
    Line& line = lines[index];
    const QString text = keyOf(line.text)->key + u'=' + value;
    // The same value again leaves the file as it is, in whatever encoding it was found.
    if (text == line.text) return true;
    line.text = text;
    line.bytes = content.encode(text);
  } else if (const qsizetype header = findSection(lines, section); header >= 0) {
    insert(newKeyPosition(lines, header), {key + u'=' + value});
  } else {
    insert(std::ssize(lines), {u'[' + section + u']', key + u'=' + value});
  }
  return save(file, content);
}

}  // namespace listinova::platform
