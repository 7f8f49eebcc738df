// What FreeXL leaves out of an .xls file: the results a spreadsheet stored with its formula
// cells, and each sheet's declared size, read straight from the compound file's BIFF records.
// Every offset is checked against the bytes there are: the file is input, not trusted.
#include <QtEndian>
#include <cmath>
#include <cstring>

#include "platform/workbook_formats.h"

namespace listinova::platform {
namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr int kHeaderDifatEntries = 109;

// BIFF record types.
constexpr quint16 kBof = 0x0809;
constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kFormula = 0x0006;
constexpr quint16 kString = 0x0207;
constexpr quint16 kContinue = 0x003C;
// Records that may stand between a formula and its STRING.
constexpr quint16 kSharedFormula = 0x04BC;
constexpr quint16 kArray = 0x0221;
constexpr quint16 kTable = 0x0236;
// What one stored formula result costs in memory, for the reader's budget.
constexpr qint64 kFormulaCost = 96;

QString broken(const QString& path) {
  return QStringLiteral("Il file \"%1\" non è un foglio di calcolo .xls leggibile.").arg(path);
}

class Bytes {
 public:
  Bytes(QByteArrayView data, QString path) : data_(data), path_(std::move(path)) {}
  bool has(qint64 offset, qint64 length) const {
    return offset >= 0 && length >= 0 && offset <= data_.size() - length;
  }
  quint16 u16(qint64 offset) const {
    need(offset, 2);
    return qFromLittleEndian<quint16>(data_.data() + offset);
  }
  quint32 u32(qint64 offset) const {
    need(offset, 4);
    return qFromLittleEndian<quint32>(data_.data() + offset);
  }
  QByteArrayView view(qint64 offset, qint64 length) const {
    need(offset, length);
    return data_.sliced(offset, length);
  }
  qint64 size() const { return data_.size(); }
  const QString& path() const { return path_; }
  void need(qint64 offset, qint64 length) const {
    if (!has(offset, length)) throw WorkbookError(broken(path_), QStringLiteral("short record"));
  }

 private:
  QByteArrayView data_;
  QString path_;
};

// The compound file (OLE2) that holds the Workbook stream.
class CompoundFile {
 public:
  explicit CompoundFile(const Bytes& file) : file_(file) {
    if (!file.has(0, 512) ||
        file.view(0, 8) != QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
      throw WorkbookError(broken(file.path()), QStringLiteral("no compound file header"));
    const quint16 shift = file.u16(0x1E);
    const quint16 miniShift = file.u16(0x20);
    if (shift != 9 && shift != 12) fail("sector shift");
    if (miniShift != 6) fail("mini sector shift");
    sectorSize_ = 1 << shift;
    miniCutoff_ = file.u32(0x38);
    readFat();
    readDirectory();
  }

  // The stream called `name` (or its alternative), empty when there is none.
  QByteArray stream(const char* name, const char* alternative) const {
    for (const Entry& e : entries_)
      if (e.type == 2 && (e.name == QLatin1String(name) || e.name == QLatin1String(alternative)))
        return e.size < miniCutoff_ ? miniStream(e) : chain(fat_, e.start, e.size);
    return {};
  }

 private:
  struct Entry {
    QString name;
    int type = 0;
    quint32 start = 0;
    quint32 size = 0;
  };

  [[noreturn]] void fail(const char* what) const {
    throw WorkbookError(broken(file_.path()), QString::fromLatin1(what));
  }

  qint64 sectorOffset(quint32 sector) const { return (qint64(sector) + 1) * sectorSize_; }
  qint64 sectorCount() const { return file_.size() / sectorSize_; }

  void readFat() {
    std::vector<quint32> fatSectors;
    const quint32 declared = file_.u32(0x2C);
    if (declared > sectorCount()) fail("FAT size");
    for (int i = 0; i < kHeaderDifatEntries && fatSectors.size() < declared; ++i)
      fatSectors.push_back(file_.u32(0x4C + 4 * i));
    quint32 difat = file_.u32(0x44);
    const int perDifat = sectorSize_ / 4 - 1;
    for (qint64 steps = 0; difat < kEndOfChain && fatSectors.size() < declared; ++steps) {
      if (steps > sectorCount()) fail("DIFAT loop");
      for (int i = 0; i < perDifat && fatSectors.size() < declared; ++i)
        fatSectors.push_back(file_.u32(sectorOffset(difat) + 4 * i));
      difat = file_.u32(sectorOffset(difat) + 4 * perDifat);
    }
    fat_.reserve(fatSectors.size() * (sectorSize_ / 4));
    for (quint32 s : fatSectors)
      for (int i = 0; i < sectorSize_ / 4; ++i) fat_.push_back(file_.u32(sectorOffset(s) + 4 * i));
  }

  // The bytes of a chain of sectors, at most `size` of them.
  QByteArray chain(const std::vector<quint32>& table, quint32 start, qint64 size,
                   bool mini = false) const {
    QByteArray out;
    const int unit = mini ? 64 : sectorSize_;
    const qint64 limit = mini ? miniData_.size() : file_.size();
    if (size > limit) fail("stream larger than the file");
    out.reserve(size);
    quint32 sector = start;
    for (qint64 steps = 0; out.size() < size; ++steps) {
      if (sector >= table.size() || steps > qint64(table.size())) fail("broken chain");
      const qint64 take = std::min<qint64>(unit, size - out.size());
      if (mini) {
        const qint64 at = qint64(sector) * 64;
        if (at + take > miniData_.size()) fail("mini stream");
        out.append(miniData_.constData() + at, take);
      } else {
        out.append(file_.view(sectorOffset(sector), take));
      }
      sector = table[sector];
    }
    return out;
  }

  QByteArray miniStream(const Entry& e) const {
    if (miniData_.isEmpty() && !entries_.empty()) {
      const Entry& root = entries_.front();
      miniData_ = chain(fat_, root.start, root.size);
      std::vector<quint32> miniFat;
      const QByteArray bytes = chain(fat_, file_.u32(0x3C), qint64(file_.u32(0x40)) * sectorSize_);
      for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
        miniFat.push_back(qFromLittleEndian<quint32>(bytes.constData() + i));
      miniFat_ = std::move(miniFat);
    }
    return chain(miniFat_, e.start, e.size, true);
  }

  void readDirectory() {
    quint32 sector = file_.u32(0x30);
    for (qint64 steps = 0; sector < kEndOfChain; ++steps) {
      if (sector >= fat_.size() || steps > qint64(fat_.size())) fail("directory chain");
      for (int i = 0; i < sectorSize_ / 128; ++i) {
        const qint64 at = sectorOffset(sector) + 128 * i;
        Entry e;
        const int nameBytes = std::min<int>(file_.u16(at + 0x40), 64);
        for (int c = 0; c + 2 <= nameBytes - 2; c += 2) e.name += QChar(file_.u16(at + c));
        e.type = static_cast<unsigned char>(file_.view(at + 0x42, 1)[0]);
        e.start = file_.u32(at + 0x74);
        e.size = file_.u32(at + 0x78);
        if (e.type != 0) entries_.push_back(e);
      }
      sector = fat_[sector];
    }
    if (entries_.empty() || entries_.front().type != 5) fail("no root entry");
  }

  const Bytes& file_;
  int sectorSize_ = 512;
  quint32 miniCutoff_ = 4096;
  std::vector<quint32> fat_;
  std::vector<Entry> entries_;
  mutable QByteArray miniData_;
  mutable std::vector<quint32> miniFat_;
};

// BIFF8 text: a flags byte (bit 0: two bytes a character) then the characters.
QString biffText(QByteArrayView bytes, int count, bool wide) {
  QString text;
  for (int i = 0; i < count; ++i) {
    if (wide) {
      if (2 * i + 1 >= bytes.size()) break;
      text += QChar(qFromLittleEndian<quint16>(bytes.data() + 2 * i));
    } else {
      if (i >= bytes.size()) break;
      text += QChar(static_cast<unsigned char>(bytes[i]));
    }
  }
  return text;
}

struct Record {
  quint16 type;
  qint64 offset;  // of the data
  quint16 length;
};

class BiffStream {
 public:
  BiffStream(const QByteArray& data, const QString& path) : bytes_(data, path) {}
  bool at(qint64 offset, Record& r) const {
    if (!bytes_.has(offset, 4)) return false;
    r = {bytes_.u16(offset), offset + 4, bytes_.u16(offset + 2)};
    return bytes_.has(r.offset, r.length);
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// The text of a STRING record and the CONTINUE records after it.
QString stringResult(const BiffStream& biff, const Record& first) {
  const Bytes& b = biff.bytes();
  if (first.length < 3) return {};
  const int count = b.u16(first.offset);
  bool wide = b.view(first.offset + 2, 1)[0] & 1;
  QString text = biffText(b.view(first.offset + 3, first.length - 3), count, wide);
  Record r;
  qint64 next = first.offset + first.length;
  while (text.size() < count && biff.at(next, r) && r.type == kContinue && r.length > 0) {
    wide = b.view(r.offset, 1)[0] & 1;
    text += biffText(b.view(r.offset + 1, r.length - 1), count - text.size(), wide);
    next = r.offset + r.length;
  }
  return text;
}

// The stored result of the FORMULA record `r`; a cell without value when the file has none.
WorkbookCell formulaResult(const BiffStream& biff, const Record& r) {
  const Bytes& b = biff.bytes();
  WorkbookCell missing;
  missing.formulaWithoutValue = true;
  if (r.length < 14) return missing;
  const QByteArrayView result = b.view(r.offset + 6, 8);
  if (static_cast<unsigned char>(result[6]) != 0xFF ||
      static_cast<unsigned char>(result[7]) != 0xFF) {
    double value = 0;
    std::memcpy(&value, result.data(), sizeof value);
    value = qFromLittleEndian(value);
    if (!std::isfinite(value)) return missing;
    return {numberText(value), true};
  }
  switch (result[0]) {
    case 0: {  // text, in the STRING record that follows
      Record next;
      qint64 at = r.offset + r.length;
      while (biff.at(at, next) &&
             (next.type == kSharedFormula || next.type == kArray || next.type == kTable))
        at = next.offset + next.length;
      if (biff.at(at, next) && next.type == kString) return {stringResult(biff, next), false};
      return missing;
    }
    case 1:
      return {result[2] ? QStringLiteral("1") : QStringLiteral("0"), false};
    case 3:
      return {};
    default:  // an error value (#DIV/0!, #REF!): no value to give
      return missing;
  }
}

}  // namespace

std::vector<XlsSheetInfo> readXlsSheets(QByteArrayView file, const QString& path) {
  const Bytes bytes(file, path);
  const CompoundFile compound(bytes);
  const QByteArray workbook = compound.stream("Workbook", "Book");
  if (workbook.isEmpty()) throw WorkbookError(broken(path), QStringLiteral("no Workbook stream"));
  const BiffStream biff(workbook, path);
  std::vector<XlsSheetInfo> sheets;
  std::vector<qint64> starts;
  Record r;
  // Only BIFF8 (Excel 97 and later) is read here; older files keep FreeXL's reading alone.
  if (!biff.at(0, r) || r.type != kBof || r.length < 2 || biff.bytes().u16(r.offset) != kBiff8)
    return sheets;
  for (qint64 at = 0; biff.at(at, r); at = r.offset + r.length) {
    if (r.type == kEof) break;
    if (r.type != kBoundSheet || r.length < 8) continue;
    const Bytes& b = biff.bytes();
    const int kind = static_cast<unsigned char>(b.view(r.offset + 5, 1)[0]);
    if (kind != 0) continue;  // charts and macro sheets hold no rows
    const int count = static_cast<unsigned char>(b.view(r.offset + 6, 1)[0]);
    const bool wide = b.view(r.offset + 7, 1)[0] & 1;
    XlsSheetInfo sheet;
    sheet.name = biffText(b.view(r.offset + 8, r.length - 8), count, wide);
    sheets.push_back(std::move(sheet));
    starts.push_back(b.u32(r.offset));
  }
  qint64 cost = 0;
  for (size_t i = 0; i < sheets.size(); ++i) {
    XlsSheetInfo& sheet = sheets[i];
    int depth = 0;
    for (qint64 at = starts[i]; biff.at(at, r); at = r.offset + r.length) {
      if (r.type == kBof) ++depth;
      if (r.type == kEof && --depth <= 0) break;
      if (depth != 1) continue;  // an embedded chart's records
      const Bytes& b = biff.bytes();
      if (r.type == kDimensions && r.length >= 12) {
        sheet.rows = b.u32(r.offset + 4);
        sheet.columns = b.u16(r.offset + 10);
      } else if (r.type == kFormula && r.length >= 14) {
        cost += kFormulaCost;
        if (cost > kMaxCellBytes)
          throw WorkbookError(
              QStringLiteral("Il file \"%1\" è troppo grande per essere importato.").arg(path),
              QStringLiteral("too many formula cells"));
        sheet.formulas[{b.u16(r.offset), b.u16(r.offset + 2)}] = formulaResult(biff, r);
      }
    }
  }
  return sheets;
}

}  // namespace listinova::platform
