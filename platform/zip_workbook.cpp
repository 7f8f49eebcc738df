// .xlsx (OOXML) and .ods (OpenDocument) workbooks: zip containers of XML parts, read with
// libzip and Qt's XML stream reader.
#include <zip.h>

#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>
#include <map>

#include "platform/workbook_formats.h"

namespace listinova::platform {
namespace {

// A sheet cannot be wider than this; repeated empty cells beyond it are not kept.
constexpr int kMaxColumns = 16384;

class ZipArchive {
 public:
  explicit ZipArchive(const QString& path) : path_(path) {
    int error = 0;
    archive_ = zip_open(path.toUtf8().constData(), ZIP_RDONLY, &error);
    if (!archive_)
      throw WorkbookError(
          QStringLiteral("Il file \"%1\" non è un archivio zip leggibile.").arg(path));
  }
  ~ZipArchive() { zip_discard(archive_); }
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool has(const QString& name) const {
    return zip_name_locate(archive_, name.toUtf8().constData(), 0) >= 0;
  }

  QByteArray read(const QString& name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    const QByteArray entry = name.toUtf8();
    zip_file_t* file = nullptr;
    if (zip_stat(archive_, entry.constData(), 0, &stat) != 0 ||
        !(file = zip_fopen(archive_, entry.constData(), 0)))
      throw WorkbookError(
          QStringLiteral("Nel file \"%1\" manca la parte \"%2\".").arg(path_, name));
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    if (got != static_cast<zip_int64_t>(stat.size))
      throw WorkbookError(
          QStringLiteral("La parte \"%2\" del file \"%1\" è danneggiata.").arg(path_, name));
    return bytes;
  }

  const QString& path() const { return path_; }

 private:
  QString path_;
  zip_t* archive_ = nullptr;
};

void failIfBroken(const QXmlStreamReader& xml, const QString& path) {
  if (xml.hasError())
    throw WorkbookError(
        QStringLiteral("Il file \"%1\" è danneggiato: %2").arg(path, xml.errorString()));
}

// The 0-based column of a cell reference: "A1" is 0, "AB12" is 27.
int columnOf(QStringView reference) {
  int column = 0;
  for (QChar c : reference) {
    if (!c.isLetter()) break;
    column = column * 26 + (c.toUpper().unicode() - 'A' + 1);
  }
  return column - 1;
}

void place(WorkbookRow& row, int column, WorkbookCell cell) {
  if (column < 0 || column >= kMaxColumns || cell.empty()) return;
  if (static_cast<int>(row.size()) <= column) row.resize(column + 1);
  row[column] = std::move(cell);
}

// Text of the element the reader stands on, runs and all, up to its end.
QString textOf(QXmlStreamReader& xml, const QString& textElement) {
  QString text;
  const QString end = xml.name().toString();
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == textElement)
      text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    else if (xml.isEndElement() && xml.name() == end)
      break;
  }
  return text;
}

class XlsxWorkbook : public WorkbookReader {
 public:
  explicit XlsxWorkbook(const QString& path) : zip_(path) {
    readRelations();
    readSheetNames();
    if (zip_.has("xl/sharedStrings.xml")) readSharedStrings();
  }

  QStringList sheets() const override { return names_; }

  std::vector<WorkbookRow> rows(const QString& sheet) override {
    const int index = static_cast<int>(names_.indexOf(sheet));
    if (index < 0)
      throw WorkbookError(
          QStringLiteral("Foglio \"%1\" non trovato in \"%2\".").arg(sheet, zip_.path()));
    QXmlStreamReader xml(zip_.read(parts_[index]));
    std::vector<WorkbookRow> rows;
    int column = 0;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (xml.name() == u"row") {
        const int number = xml.attributes().value("r").toInt();
        const size_t at = number > 0 ? static_cast<size_t>(number - 1) : rows.size();
        if (rows.size() <= at) rows.resize(at + 1);
        column = 0;
        currentRow_ = &rows[at];
      } else if (xml.name() == u"c" && currentRow_) {
        const auto reference = xml.attributes().value("r");
        if (!reference.isEmpty()) column = columnOf(reference);
        const QString type = xml.attributes().value("t").toString();
        place(*currentRow_, column++, cell(xml, type));
      }
    }
    currentRow_ = nullptr;
    failIfBroken(xml, zip_.path());
    return rows;
  }

 private:
  WorkbookCell cell(QXmlStreamReader& xml, const QString& type) {
    if (type == u"inlineStr") return {textOf(xml, "t"), false};
    const QString value = textOf(xml, "v");
    if (type == u"s") {
      const int index = value.toInt();
      return {index >= 0 && index < shared_.size() ? shared_[index] : QString(), false};
    }
    if (type.isEmpty() || type == u"n")
      return {value.isEmpty() ? QString() : plainNumber(value), true};
    return {value, false};
  }

  void readRelations() {
    QXmlStreamReader xml(zip_.read("xl/_rels/workbook.xml.rels"));
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == u"Relationship") {
        QString target = xml.attributes().value("Target").toString();
        target = target.startsWith('/') ? target.mid(1) : "xl/" + target;
        targets_.insert(xml.attributes().value("Id").toString(), target);
      }
    }
    failIfBroken(xml, zip_.path());
  }

  void readSheetNames() {
    QXmlStreamReader xml(zip_.read("xl/workbook.xml"));
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement() || xml.name() != u"sheet") continue;
      QString relation;
      for (const auto& attribute : xml.attributes())
        if (attribute.name() == u"id") relation = attribute.value().toString();
      names_ << xml.attributes().value("name").toString();
      parts_ << targets_.value(relation);
    }
    failIfBroken(xml, zip_.path());
  }

  void readSharedStrings() {
    QXmlStreamReader xml(zip_.read("xl/sharedStrings.xml"));
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == u"si") shared_ << textOfSharedString(xml);
    }
    failIfBroken(xml, zip_.path());
  }

  // A shared string's text leaves out its phonetic runs.
  static QString textOfSharedString(QXmlStreamReader& xml) {
    QString text;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == u"rPh")
        xml.skipCurrentElement();
      else if (xml.isStartElement() && xml.name() == u"t")
        text += xml.readElementText();
      else if (xml.isEndElement() && xml.name() == u"si")
        break;
    }
    return text;
  }

  ZipArchive zip_;
  QHash<QString, QString> targets_;
  QStringList names_;
  QStringList parts_;
  QStringList shared_;
  WorkbookRow* currentRow_ = nullptr;
};

class OdsWorkbook : public WorkbookReader {
 public:
  explicit OdsWorkbook(const QString& path) {
    ZipArchive zip(path);
    QXmlStreamReader xml(zip.read("content.xml"));
    std::vector<WorkbookRow>* table = nullptr;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (xml.name() == u"table" && xml.namespaceUri().contains(u"table")) {
        const QString name = xml.attributes().value("table:name").toString();
        names_ << name;
        table = &tables_[name];
        pendingRows_ = 0;
      } else if (xml.name() == u"table-row" && table) {
        readRow(xml, *table);
      }
    }
    failIfBroken(xml, path);
  }

  QStringList sheets() const override { return names_; }

  std::vector<WorkbookRow> rows(const QString& sheet) override {
    auto found = tables_.find(sheet);
    if (found == tables_.end())
      throw WorkbookError(QStringLiteral("Foglio \"%1\" non trovato.").arg(sheet));
    return found->second;
  }

 private:
  // Empty rows and cells are often repeated to the sheet's edge: they are kept only when
  // something follows them.
  void readRow(QXmlStreamReader& xml, std::vector<WorkbookRow>& table) {
    const int repeated = std::max(1, xml.attributes().value("table:number-rows-repeated").toInt());
    WorkbookRow row;
    int column = 0;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isEndElement() && xml.name() == u"table-row") break;
      if (!xml.isStartElement()) continue;
      if (xml.name() != u"table-cell" && xml.name() != u"covered-table-cell") continue;
      const int times =
          std::max(1, xml.attributes().value("table:number-columns-repeated").toInt());
      const WorkbookCell value = cell(xml);
      for (int i = 0; i < times && column < kMaxColumns; ++i) place(row, column++, value);
      if (column >= kMaxColumns) column = kMaxColumns;
    }
    if (row.empty()) {
      pendingRows_ += repeated;
      return;
    }
    table.resize(table.size() + pendingRows_);
    pendingRows_ = 0;
    for (int i = 0; i < repeated; ++i) table.push_back(row);
  }

  static WorkbookCell cell(QXmlStreamReader& xml) {
    const auto attributes = xml.attributes();
    const QString type = attributes.value("office:value-type").toString();
    QString text = paragraphs(xml);
    if (type == u"float" || type == u"percentage" || type == u"currency")
      return {plainNumber(attributes.value("office:value").toString()), true};
    if (type == u"boolean") return {attributes.value("office:boolean-value").toString(), false};
    if (type == u"date") return {attributes.value("office:date-value").toString(), false};
    return {text, false};
  }

  // The cell's paragraphs joined by new lines; spaces, tabs and breaks spelled out.
  static QString paragraphs(QXmlStreamReader& xml) {
    QStringList lines;
    QString* line = nullptr;
    int depth = 1;
    while (!xml.atEnd() && depth > 0) {
      xml.readNext();
      if (xml.isStartElement()) {
        ++depth;
        if (xml.name() == u"p") {
          lines << QString();
          line = &lines.last();
        } else if (line && xml.name() == u"s") {
          *line += QString(std::max(1, xml.attributes().value("text:c").toInt()), ' ');
        } else if (line && xml.name() == u"tab") {
          *line += '\t';
        } else if (line && xml.name() == u"line-break") {
          *line += '\n';
        } else if (xml.name() == u"annotation") {
          xml.skipCurrentElement();
          --depth;
        }
      } else if (xml.isEndElement()) {
        --depth;
      } else if (xml.isCharacters() && line) {
        *line += xml.text();
      }
    }
    return lines.join('\n');
  }

  QStringList names_;
  std::map<QString, std::vector<WorkbookRow>> tables_;
  int pendingRows_ = 0;
};

}  // namespace

std::unique_ptr<WorkbookReader> openZipWorkbook(const QString& path) {
  {
    ZipArchive zip(path);
    if (zip.has("xl/workbook.xml")) return std::make_unique<XlsxWorkbook>(path);
    if (!zip.has("content.xml"))
      throw WorkbookError(
          QStringLiteral("Il file \"%1\" non è un foglio di calcolo .xlsx o .ods.").arg(path));
  }
  return std::make_unique<OdsWorkbook>(path);
}

}  // namespace listinova::platform
