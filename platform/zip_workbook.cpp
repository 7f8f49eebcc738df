// .xlsx (OOXML) and .ods (OpenDocument) workbooks: zip containers of XML parts, read with
// libzip and Qt's XML stream reader. Parts are inflated as a stream under a ceiling and every
// cell kept is counted, so a small hostile file cannot claim the machine's memory.
#include <zip.h>

#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>
#include <algorithm>
#include <map>

#include "platform/workbook_formats.h"

namespace listinova::platform {
namespace {

// Below this a part is read whatever its packing ratio: small parts of repeated markup pack
// very well and are harmless.
constexpr qint64 kRatioFloorBytes = 1024 * 1024;

QString tooBig(const QString& path) {
  return QStringLiteral(
             "Il file \"%1\" è troppo grande per essere importato (oltre %2 righe, "
             "%3 colonne o %4 MB di dati).")
      .arg(path)
      .arg(kMaxWorkbookRows)
      .arg(kMaxWorkbookColumns)
      .arg(kMaxPartBytes / (1024 * 1024));
}

// One part of the archive as a device the XML reader pulls from; it stops at the ceiling.
class ZipPart : public QIODevice {
 public:
  ZipPart(zip_file_t* file, qint64 limit) : file_(file), limit_(limit) {
    open(QIODevice::ReadOnly);
  }
  ~ZipPart() override { zip_fclose(file_); }
  bool isSequential() const override { return true; }
  bool overLimit() const { return overLimit_; }
  bool failed() const { return failed_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    if (overLimit_ || failed_) return -1;
    const zip_int64_t got = zip_fread(file_, data, static_cast<zip_uint64_t>(maxSize));
    if (got < 0) {
      failed_ = true;
      return -1;
    }
    read_ += got;
    if (read_ > limit_) {
      overLimit_ = true;
      return -1;
    }
    return got;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  zip_file_t* file_;
  qint64 limit_;
  qint64 read_ = 0;
  bool overLimit_ = false;
  bool failed_ = false;
};

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

  // The part as a stream, refused up front when it says it inflates past the ceiling.
  std::unique_ptr<ZipPart> open(const QString& name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    const QByteArray entry = name.toUtf8();
    if (zip_stat(archive_, entry.constData(), 0, &stat) != 0)
      throw WorkbookError(
          QStringLiteral("Nel file \"%1\" manca la parte \"%2\".").arg(path_, name));
    const qint64 packed = (stat.valid & ZIP_STAT_COMP_SIZE) ? qint64(stat.comp_size) : 0;
    const qint64 limit =
        std::min(kMaxPartBytes, std::max(kRatioFloorBytes, packed * kMaxPartRatio));
    if ((stat.valid & ZIP_STAT_SIZE) && qint64(stat.size) > limit)
      throw WorkbookError(tooBig(path_), QStringLiteral("part %1 inflates to %2 bytes from %3")
                                             .arg(name)
                                             .arg(stat.size)
                                             .arg(packed));
    zip_file_t* file = zip_fopen(archive_, entry.constData(), 0);
    if (!file)
      throw WorkbookError(
          QStringLiteral("La parte \"%2\" del file \"%1\" è illeggibile.").arg(path_, name),
          QString::fromUtf8(zip_strerror(archive_)));
    return std::make_unique<ZipPart>(file, limit);
  }

  const QString& path() const { return path_; }

 private:
  QString path_;
  zip_t* archive_ = nullptr;
};

// Fails with the Italian reason; what the XML reader or the archive said goes to `detail`.
void failIfBroken(const QXmlStreamReader& xml, const ZipPart& part, const QString& path) {
  if (part.overLimit()) throw WorkbookError(tooBig(path), QStringLiteral("part over its ceiling"));
  if (part.failed() || xml.hasError())
    throw WorkbookError(QStringLiteral("Il file \"%1\" è danneggiato o incompleto.").arg(path),
                        xml.errorString());
}

// What the kept cells cost, by a plain count; past kMaxCellBytes the workbook is refused.
class CellBudget {
 public:
  explicit CellBudget(QString path) : path_(std::move(path)) {}
  void charge(qint64 bytes) {
    used_ += bytes;
    if (used_ > kMaxCellBytes)
      throw WorkbookError(tooBig(path_), QStringLiteral("cells over %1 bytes").arg(kMaxCellBytes));
  }
  void cell(const WorkbookCell& c) { charge(qint64(sizeof(WorkbookCell)) + c.text.size() * 2); }
  void rows(qint64 count) { charge(count * qint64(sizeof(WorkbookRow))); }
  void columns(qint64 count) { charge(count * qint64(sizeof(WorkbookCell))); }
  const QString& path() const { return path_; }

 private:
  QString path_;
  qint64 used_ = 0;
};

[[noreturn]] void beyondLimits(const QString& path, const QString& what) {
  throw WorkbookError(tooBig(path), what);
}

// The 0-based column of a cell reference: "A1" is 0, "AB12" is 27; beyond the limit when the
// letters say so.
int columnOf(QStringView reference) {
  int column = 0;
  for (QChar c : reference) {
    if (!c.isLetter()) break;
    column = column * 26 + (c.toUpper().unicode() - 'A' + 1);
    if (column > kMaxWorkbookColumns) return kMaxWorkbookColumns;
  }
  return column - 1;
}

void place(WorkbookRow& row, int column, WorkbookCell cell, CellBudget& budget) {
  if (column < 0 || cell.empty()) return;
  if (column >= kMaxWorkbookColumns)
    beyondLimits(budget.path(), QStringLiteral("column %1").arg(column + 1));
  if (static_cast<int>(row.size()) <= column) {
    budget.columns(column + 1 - static_cast<qint64>(row.size()));
    row.resize(column + 1);
  }
  budget.cell(cell);
  row[column] = std::move(cell);
}

// Text of the element the reader stands on, runs and all, up to its end; no longer than a
// cell may be.
QString textOf(QXmlStreamReader& xml, const QString& textElement) {
  QString text;
  const QString end = xml.name().toString();
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == textElement)
      text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    else if (xml.isEndElement() && xml.name() == end)
      break;
    if (text.size() > kMaxCellText) text.truncate(kMaxCellText);
  }
  return text;
}

class XlsxWorkbook : public WorkbookReader {
 public:
  explicit XlsxWorkbook(const QString& path) : zip_(path), budget_(path) {
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
    CellBudget budget = budget_;
    const auto part = zip_.open(parts_[index]);
    QXmlStreamReader xml(part.get());
    std::vector<WorkbookRow> rows;
    WorkbookRow* current = nullptr;
    int column = 0;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (xml.name() == u"row") {
        const qint64 number = xml.attributes().value("r").toLongLong();
        const size_t at = number > 0 ? static_cast<size_t>(number - 1) : rows.size();
        if (number > kMaxWorkbookRows || at >= size_t(kMaxWorkbookRows))
          beyondLimits(zip_.path(), QStringLiteral("row %1").arg(number));
        if (rows.size() <= at) {
          budget.rows(static_cast<qint64>(at + 1 - rows.size()));
          rows.resize(at + 1);
        }
        column = 0;
        current = &rows[at];
      } else if (xml.name() == u"c" && current) {
        const auto reference = xml.attributes().value("r");
        if (!reference.isEmpty()) column = columnOf(reference);
        const QString type = xml.attributes().value("t").toString();
        place(*current, column++, cell(xml, type), budget);
      }
    }
    failIfBroken(xml, *part, zip_.path());
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
    const auto part = zip_.open("xl/_rels/workbook.xml.rels");
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == u"Relationship") {
        QString target = xml.attributes().value("Target").toString();
        target = target.startsWith('/') ? target.mid(1) : "xl/" + target;
        targets_.insert(xml.attributes().value("Id").toString(), target);
        budget_.charge(target.size() * 4);
      }
    }
    failIfBroken(xml, *part, zip_.path());
  }

  void readSheetNames() {
    const auto part = zip_.open("xl/workbook.xml");
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement() || xml.name() != u"sheet") continue;
      QString relation;
      for (const auto& attribute : xml.attributes())
        if (attribute.name() == u"id") relation = attribute.value().toString();
      names_ << xml.attributes().value("name").toString();
      parts_ << targets_.value(relation);
      budget_.charge(names_.last().size() * 2 + 64);
    }
    failIfBroken(xml, *part, zip_.path());
  }

  void readSharedStrings() {
    const auto part = zip_.open("xl/sharedStrings.xml");
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == u"si") {
        shared_ << textOfSharedString(xml);
        budget_.charge(qint64(sizeof(QString)) + shared_.last().size() * 2);
      }
    }
    failIfBroken(xml, *part, zip_.path());
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
      if (text.size() > kMaxCellText) text.truncate(kMaxCellText);
    }
    return text;
  }

  ZipArchive zip_;
  CellBudget budget_;  // what the workbook's names and shared strings already take
  QHash<QString, QString> targets_;
  QStringList names_;
  QStringList parts_;
  QStringList shared_;
};

class OdsWorkbook : public WorkbookReader {
 public:
  explicit OdsWorkbook(const QString& path) : budget_(path) {
    ZipArchive zip(path);
    const auto part = zip.open("content.xml");
    QXmlStreamReader xml(part.get());
    std::vector<WorkbookRow>* table = nullptr;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (xml.name() == u"table" && xml.namespaceUri().contains(u"table")) {
        const QString name = xml.attributes().value("table:name").toString();
        names_ << name;
        budget_.charge(name.size() * 4 + 64);
        table = &tables_[name];
        pendingRows_ = 0;
      } else if (xml.name() == u"table-row" && table) {
        readRow(xml, *table);
      }
    }
    failIfBroken(xml, *part, path);
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
  // something follows them. Repeats past the edge are refused.
  void readRow(QXmlStreamReader& xml, std::vector<WorkbookRow>& table) {
    const qint64 repeated =
        std::max<qint64>(1, xml.attributes().value("table:number-rows-repeated").toLongLong());
    const qint64 reached = static_cast<qint64>(table.size()) + pendingRows_ + repeated;
    if (reached > kMaxWorkbookRows)
      beyondLimits(budget_.path(), QStringLiteral("rows up to %1").arg(reached));
    WorkbookRow row;
    qint64 column = 0;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isEndElement() && xml.name() == u"table-row") break;
      if (!xml.isStartElement()) continue;
      if (xml.name() != u"table-cell" && xml.name() != u"covered-table-cell") continue;
      const qint64 times =
          std::max<qint64>(1, xml.attributes().value("table:number-columns-repeated").toLongLong());
      if (column + times > kMaxWorkbookColumns)
        beyondLimits(budget_.path(), QStringLiteral("columns up to %1").arg(column + times));
      const WorkbookCell value = cell(xml);
      if (value.empty()) {
        column += times;
        continue;
      }
      for (qint64 i = 0; i < times; ++i) place(row, static_cast<int>(column++), value, budget_);
    }
    if (row.empty()) {
      pendingRows_ += repeated;
      return;
    }
    budget_.rows(pendingRows_ + repeated);
    for (qint64 i = 0; i < repeated; ++i) budget_.columns(static_cast<qint64>(row.size()));
    table.resize(table.size() + pendingRows_);
    pendingRows_ = 0;
    for (qint64 i = 0; i < repeated; ++i) table.push_back(row);
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

  // The cell's paragraphs joined by new lines; spaces, tabs and breaks spelled out; no longer
  // than a cell may be.
  static QString paragraphs(QXmlStreamReader& xml) {
    QString text;
    bool inParagraph = false;
    bool first = true;
    int depth = 1;
    const auto add = [&text](QStringView more) {
      text += more.left(std::max<qsizetype>(0, kMaxCellText - text.size()));
    };
    while (!xml.atEnd() && depth > 0) {
      xml.readNext();
      if (xml.isStartElement()) {
        ++depth;
        if (xml.name() == u"p") {
          if (!first) add(u"\n");
          first = false;
          inParagraph = true;
        } else if (inParagraph && xml.name() == u"s") {
          const qint64 spaces =
              std::clamp<qint64>(xml.attributes().value("text:c").toLongLong(), 1, kMaxCellText);
          add(QString(std::min<qint64>(spaces, kMaxCellText - text.size()), ' '));
        } else if (inParagraph && xml.name() == u"tab") {
          add(u"\t");
        } else if (inParagraph && xml.name() == u"line-break") {
          add(u"\n");
        } else if (xml.name() == u"annotation") {
          xml.skipCurrentElement();
          --depth;
        }
      } else if (xml.isEndElement()) {
        --depth;
      } else if (xml.isCharacters() && inParagraph) {
        add(xml.text());
      }
    }
    return text;
  }

  CellBudget budget_;
  QStringList names_;
  std::map<QString, std::vector<WorkbookRow>> tables_;
  qint64 pendingRows_ = 0;
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
