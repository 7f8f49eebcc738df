#include "platform/db/access_file.h"

#include <mdbtools.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace listinova::platform::db {

namespace {

// Row offsets on a data page carry flags in their top bits.
constexpr int kRowOffsetMask = 0x1fff;
// A memo or OLE value starts with its length; the top bits say where the bytes are kept.
constexpr quint32 kLongValueLengthMask = 0x3fffffff;

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

struct TableDeleter {
  void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using Table = std::unique_ptr<MdbTableDef, TableDeleter>;

MdbColumn* columnAt(MdbTableDef* table, unsigned index) {
  return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
}

AccessType typeOf(const MdbColumn* column) {
  switch (column->col_type) {
    case MDB_TEXT:
      return AccessType::Text;
    case MDB_MEMO:
      return AccessType::Memo;
    case MDB_BOOL:
      return AccessType::Boolean;
    case MDB_BYTE:
      return AccessType::Byte;
    case MDB_INT:
      return AccessType::Integer;
    case MDB_LONGINT:
      return AccessType::LongInteger;
    case MDB_MONEY:
      return AccessType::Currency;
    case MDB_FLOAT:
      return AccessType::Single;
    case MDB_DOUBLE:
      return AccessType::Double;
    case MDB_DATETIME:
      return AccessType::DateTime;
    case MDB_BINARY:
      return AccessType::Binary;
    case MDB_OLE:
      return AccessType::Ole;
    case MDB_REPID:
      return AccessType::Guid;
    case MDB_NUMERIC:
      return AccessType::Decimal;
    default:
      return AccessType::Other;
  }
}

// The shortest decimal that reads back as the same float, so 0.1f becomes 0.1.
double widened(float value) {
  char digits[32];
  const auto written = std::to_chars(digits, digits + sizeof digits, value);
  double result = value;
  std::from_chars(digits, written.ptr, result);
  return result;
}

QString ownedString(char* text) {
  QString result = QString::fromUtf8(text);
  g_free(text);
  return result;
}

// libmdb writes the decoded UTF-8 into a buffer of its bind size; one stored byte can
// become up to three, so the size follows the value instead of the 16 KiB default.
QString decodedText(MdbHandle* mdb, int start, int size, int type, size_t storedBytes) {
  mdb_set_bind_size(mdb, std::max<size_t>(MDB_BIND_SIZE, storedBytes * 3 + 1));
  return ownedString(mdb_col_to_string(mdb, mdb->pg_buf, start, type, size));
}

QString memoText(MdbHandle* mdb, const MdbField& field) {
  if (field.siz < MDB_MEMO_OVERHEAD) return QStringLiteral("");
  const quint32 length = quint32(mdb_get_int32(mdb->pg_buf, field.start)) & kLongValueLengthMask;
  return decodedText(mdb, field.start, field.siz, MDB_MEMO, length);
}

QByteArray oleBytes(MdbHandle* mdb, MdbColumn* column, const MdbField& field) {
  if (field.siz < MDB_MEMO_OVERHEAD) return QByteArray("");
  // libmdb takes the object header from the bound buffer and copies every chunk (at most a
  // page) into it; it is bound only here so that row fetching never writes there.
  std::vector<char> chunk(std::max<size_t>(MDB_BIND_SIZE, size_t(mdb->fmt->pg_size)));
  std::memcpy(chunk.data(), mdb->pg_buf + field.start, MDB_MEMO_OVERHEAD);
  column->bind_ptr = chunk.data();
  size_t size = 0;
  void* data = mdb_ole_read_full(mdb, column, &size);
  column->bind_ptr = nullptr;
  if (!data)
    fail(QStringLiteral("Memoria insufficiente per leggere il campo %1.")
             .arg(QString::fromUtf8(column->name)));
  QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
  g_free(data);
  return bytes;
}

QVariant valueOf(MdbHandle* mdb, MdbColumn* column, const MdbField& field) {
  // A yes/no value lives in the null mask itself: a set bit means yes.
  if (column->col_type == MDB_BOOL) return QVariant(!field.is_null);
  if (field.is_null) return {};
  unsigned char* page = mdb->pg_buf;
  const int start = field.start;
  switch (column->col_type) {
    case MDB_BYTE:
      return qint64(mdb_get_byte(page, start));
    case MDB_INT:
      return qint64(qint16(mdb_get_int16(page, start)));
    case MDB_LONGINT:
      return qint64(qint32(mdb_get_int32(page, start)));
    case MDB_MONEY:
      return double(qFromLittleEndian<qint64>(page + start)) / 10000.0;
    case MDB_FLOAT:
      return widened(mdb_get_single(page, start));
    case MDB_DOUBLE:
      return mdb_get_double(page, start);
    case MDB_DATETIME:
      return dateTimeFromAccess(mdb_get_double(page, start));
    case MDB_BINARY:
      return QByteArray(reinterpret_cast<const char*>(page + start), field.siz);
    case MDB_TEXT:
      if (field.siz == 0) return QStringLiteral("");
      return decodedText(mdb, start, field.siz, MDB_TEXT, size_t(field.siz));
    case MDB_MEMO:
      return memoText(mdb, field);
    case MDB_OLE:
      return oleBytes(mdb, column, field);
    case MDB_REPID:
      return ownedString(mdb_uuid_to_string(page, start));
    case MDB_NUMERIC:
      return ownedString(mdb_numeric_to_string(mdb, start, column->col_scale, column->col_prec))
          .toDouble();
    default:
      return {};
  }
}

std::optional<QByteArray> header(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.read(19);
}

bool isUserTable(MdbCatalogEntry* entry) {
  return mdb_is_user_table(entry) &&
         !QString::fromUtf8(entry->object_name).startsWith(u"MSys", Qt::CaseInsensitive);
}

MdbCatalogEntry* catalogEntry(MdbHandle* mdb, guint index) {
  return static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, index));
}

Table openTable(MdbHandle* mdb, const QString& path, const QString& table) {
  MdbCatalogEntry* entry = nullptr;
  for (guint i = 0; i < mdb->num_catalog && !entry; ++i) {
    MdbCatalogEntry* candidate = catalogEntry(mdb, i);
    if (isUserTable(candidate) &&
        QString::fromUtf8(candidate->object_name).compare(table, Qt::CaseInsensitive) == 0)
      entry = candidate;
  }
  if (!entry)
    fail(
        QStringLiteral("La tabella %1 non esiste nel database Access %2.").arg(table, shown(path)));
  Table opened(mdb_read_table(entry));
  if (!opened || !mdb_read_columns(opened.get()))
    fail(QStringLiteral("Impossibile leggere la tabella %1 del database Access %2.")
             .arg(table, shown(path)));
  return opened;
}

}  // namespace

bool isAccessFile(const QString& path) {
  const auto bytes = header(path);
  if (!bytes || bytes->size() < 19) return false;
  const QByteArray signature = bytes->mid(4, 15);
  return signature == "Standard Jet DB" || signature == "Standard ACE DB";
}

QDateTime dateTimeFromAccess(double days) {
  const double wholeDays = std::trunc(days);
  const qint64 seconds = std::llround(std::fabs(days - wholeDays) * 86400.0);
  const QDate day = QDate(1899, 12, 30).addDays(qint64(wholeDays));
  return QDateTime(day, QTime(0, 0), Qt::UTC).addSecs(seconds);
}

struct AccessFile::Handle {
  explicit Handle(MdbHandle* opened) : mdb(opened) {}
  ~Handle() { mdb_close(mdb); }
  MdbHandle* mdb;
};

AccessFile::AccessFile(const QString& path) : path_(path) {
  if (!QFileInfo(path).isFile())
    fail(QStringLiteral("Il database Access %1 non esiste.").arg(shown(path)));
  if (!header(path))
    fail(QStringLiteral("Impossibile aprire il database Access %1.").arg(shown(path)));
  if (!isAccessFile(path))
    fail(QStringLiteral("Il file %1 non è un database Access.").arg(shown(path)));
  MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
  if (!mdb) fail(QStringLiteral("Impossibile aprire il database Access %1.").arg(shown(path)));
  handle_ = std::make_unique<Handle>(mdb);
  if (!mdb_read_catalog(mdb, MDB_ANY))
    fail(QStringLiteral("Impossibile leggere l'elenco delle tabelle del database Access %1.")
             .arg(shown(path)));
}

AccessFile::~AccessFile() = default;

QStringList AccessFile::tables() const {
  QStringList names;
  MdbHandle* mdb = handle_->mdb;
  for (guint i = 0; i < mdb->num_catalog; ++i)
    if (isUserTable(catalogEntry(mdb, i)))
      names << QString::fromUtf8(catalogEntry(mdb, i)->object_name);
  return names;
}

std::vector<AccessColumn> AccessFile::columns(const QString& table) const {
  const Table opened = openTable(handle_->mdb, path_, table);
  std::vector<AccessColumn> result;
  for (unsigned i = 0; i < opened->num_cols; ++i) {
    const MdbColumn* column = columnAt(opened.get(), i);
    result.push_back({QString::fromUtf8(column->name), typeOf(column), column->col_size});
  }
  return result;
}

void AccessFile::forEachRow(const QString& table,
                            const std::function<void(const QVariantList&)>& row) const {
  MdbHandle* mdb = handle_->mdb;
  const Table opened = openTable(handle_->mdb, path_, table);
  MdbTableDef* def = opened.get();
  QVariantList values(def->num_cols);
  MdbField fields[MDB_MAX_COLS];
  mdb_rewind_table(def);
  while (mdb_fetch_row(def)) {
    // libmdb tells an empty text from a null one only while cracking the row, so the row
    // just fetched (still on the current page) is cracked once more here.
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(mdb, int(def->cur_row) - 1, &start, &size) != 0 ||
        mdb_crack_row(def, start & kRowOffsetMask, size, fields) < 0)
      fail(QStringLiteral("Riga illeggibile nella tabella %1 del database Access %2.")
               .arg(table, shown(path_)));
    for (unsigned i = 0; i < def->num_cols; ++i) {
      const int index = fields[i].colnum;
      values[index] = valueOf(mdb, columnAt(def, index), fields[i]);
    }
    row(values);
  }
}

qint64 AccessFile::rowCount(const QString& table) const {
  return openTable(handle_->mdb, path_, table)->num_rows;
}

}  // namespace listinova::platform::db
