// Workbook exports: the rows of an INTO [Excel ...] statement become an .xlsx sheet through
// libxlsxwriter.
#include "platform/workbook_writer.h"

#include <xlsxwriter.h>

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "platform/money.h"
#include "platform/whole_file.h"

namespace listinova::platform {
namespace {

// Jet's error for a file the driver could not write.
constexpr int kErroreScritturaFoglio = 3436;
constexpr char kFormatoImporto[] = "#,##0.00";
// Relative difference below which a computed number is an amount with rounding noise.
constexpr double kBinaryNoise = 1e-14;
constexpr char kFormatoData[] = "dd/mm/yyyy";
constexpr char kFormatoDataOra[] = "dd/mm/yyyy hh:mm:ss";

[[noreturn]] void fail(const QString& file, const QString& why) {
  throw db::DatabaseError(
      QStringLiteral("Impossibile scrivere il foglio di calcolo \"%1\": %2").arg(file, why),
      kErroreScritturaFoglio);
}

void check(lxw_error error, const QString& file) {
  if (error != LXW_NO_ERROR) fail(file, QString::fromUtf8(lxw_strerror(error)));
}

// The library tells its failures on the standard error, in English: while it closes a
// workbook they are caught and kept for the error log.
class LibraryComplaints {
 public:
  LibraryComplaints() {
    std::fflush(stderr);
    capture_ = std::tmpfile();
    saved_ = capture_ ? ::dup(STDERR_FILENO) : -1;
    if (saved_ >= 0) ::dup2(::fileno(capture_), STDERR_FILENO);
  }
  ~LibraryComplaints() {
    restore();
    if (capture_) std::fclose(capture_);
  }
  QString text() {
    restore();
    if (!capture_) return {};
    std::rewind(capture_);
    char buffer[1024];
    const size_t n = std::fread(buffer, 1, sizeof buffer, capture_);
    return QString::fromLocal8Bit(buffer, qsizetype(n)).trimmed();
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
  }
  std::FILE* capture_ = nullptr;
  int saved_ = -1;
};

lxw_datetime toLxw(const QDateTime& moment) {
  return {moment.date().year(), moment.date().month(),  moment.date().day(),
          moment.time().hour(), moment.time().minute(), double(moment.time().second())};
}

void writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const WrittenCell& cell,
               lxw_format* money, lxw_format* date, lxw_format* dateTime, const QString& file) {
  switch (cell.kind) {
    case WrittenCell::Kind::Empty:
      return;
    case WrittenCell::Kind::Text:
      check(worksheet_write_string(sheet, row, col, cell.text.toUtf8().constData(), nullptr), file);
      return;
    case WrittenCell::Kind::Number:
      check(worksheet_write_number(sheet, row, col, cell.number, nullptr), file);
      return;
    case WrittenCell::Kind::Money:
      check(worksheet_write_number(sheet, row, col, cell.number, money), file);
      return;
    case WrittenCell::Kind::Boolean:
      check(worksheet_write_boolean(sheet, row, col, cell.number != 0, nullptr), file);
      return;
    case WrittenCell::Kind::Date: {
      lxw_datetime when = toLxw(cell.moment);
      check(worksheet_write_datetime(sheet, row, col, &when,
                                     cell.moment.time() == QTime(0, 0) ? date : dateTime),
            file);
      return;
    }
  }
}

void writeWorkbook(const QString& path, const std::vector<WorkbookSheet>& sheets,
                   const QString& shownName) {
  lxw_workbook_options options = {};
  // Rows go out as they are written: a big archive never sits in memory twice.
  options.constant_memory = LXW_TRUE;
  // Its scratch files go beside the workbook: a full disk there shows as such.
  const QByteArray scratch = QFile::encodeName(QFileInfo(path).absolutePath());
  options.tmpdir = const_cast<char*>(scratch.constData());
  lxw_workbook* workbook = workbook_new_opt(path.toUtf8().constData(), &options);
  if (!workbook) fail(shownName, QStringLiteral("file non creato"));
  lxw_format* money = workbook_add_format(workbook);
  format_set_num_format(money, kFormatoImporto);
  lxw_format* date = workbook_add_format(workbook);
  format_set_num_format(date, kFormatoData);
  lxw_format* dateTime = workbook_add_format(workbook);
  format_set_num_format(dateTime, kFormatoDataOra);
  try {
    for (const WorkbookSheet& sheet : sheets) {
      lxw_worksheet* ws = workbook_add_worksheet(workbook, sheet.name.toUtf8().constData());
      if (!ws) fail(shownName, QStringLiteral("nome di foglio non valido: %1").arg(sheet.name));
      for (int c = 0; c < sheet.headers.size(); ++c)
        check(worksheet_write_string(ws, 0, lxw_col_t(c), sheet.headers[c].toUtf8().constData(),
                                     nullptr),
              shownName);
      lxw_row_t r = 1;
      for (const auto& row : sheet.rows) {
        for (size_t c = 0; c < row.size(); ++c)
          writeCell(ws, r, lxw_col_t(c), row[c], money, date, dateTime, shownName);
        ++r;
      }
    }
  } catch (...) {
    workbook_close(workbook);
    std::remove(path.toLocal8Bit().constData());
    throw;
  }
  LibraryComplaints complaints;
  errno = 0;
  const lxw_error closed = workbook_close(workbook);
  const int systemError = errno;
  if (closed != LXW_NO_ERROR) {
    const QString technical = QString::fromUtf8(lxw_strerror(closed)) + u' ' + complaints.text();
    const QString cause = describeLibraryFailure(systemError, shownName);
    std::remove(QFile::encodeName(path).constData());
    throw db::DatabaseError(cause, kErroreScritturaFoglio, technical.trimmed());
  }
}

WrittenCell cellFor(const QVariant& value, db::FieldType type) {
  WrittenCell cell;
  if (value.isNull() || !value.isValid()) return cell;
  const int id = value.typeId();
  const bool isNumber = id == QMetaType::Double || id == QMetaType::LongLong ||
                        id == QMetaType::Int || id == QMetaType::Float;
  switch (type) {
    case db::FieldType::Text:
      cell.kind = WrittenCell::Kind::Text;
      cell.text = value.toString();
      return cell;
    case db::FieldType::Boolean:
      cell.kind = WrittenCell::Kind::Boolean;
      cell.number = value.toBool() ? 1 : 0;
      return cell;
    case db::FieldType::Date:
      if (id == QMetaType::QDateTime && value.toDateTime().isValid()) {
        cell.kind = WrittenCell::Kind::Date;
        cell.moment = value.toDateTime();
        return cell;
      }
      break;
    case db::FieldType::Currency:
      // Amounts are exact to the ten-thousandth, as the store keeps money.
      if (isNumber) {
        cell.kind = WrittenCell::Kind::Money;
        cell.number = Money::fromDouble(value.toDouble()).toDouble();
        return cell;
      }
      break;
    case db::FieldType::Other:
      // What a statement computes: an amount's binary noise (3 * 0,10) goes, but a product of
      // a quantity and an amount, or its exact sum, keeps every decimal it has.
      if (isNumber) {
        const double computed = value.toDouble();
        const double amount = Money::fromDouble(computed).toDouble();
        cell.kind = WrittenCell::Kind::Money;
        cell.number =
            std::fabs(amount - computed) <= std::fabs(computed) * kBinaryNoise ? amount : computed;
        return cell;
      }
      break;
    default:
      if (isNumber) {
        cell.kind = WrittenCell::Kind::Number;
        cell.number = value.toDouble();
        return cell;
      }
  }
  cell.kind = WrittenCell::Kind::Text;
  cell.text = value.toString();
  return cell;
}

}  // namespace

void XlsxWorkbookWriter::writeSheet(const QString& file, const WorkbookSheet& sheet) {
  const QFileInfo info(file);
  const QString key = info.absoluteFilePath();
  const bool gathering = gathering_[key];
  auto& sheets = written_[key];
  // A file gone since we wrote it starts afresh; one we never wrote is not ours to extend.
  if (!info.exists() && !gathering)
    sheets.clear();
  else if (info.exists() && sheets.empty())
    fail(file, QStringLiteral("il file esiste già"));
  bool replaced = false;
  for (WorkbookSheet& old : sheets) {
    if (old.name.compare(sheet.name, Qt::CaseInsensitive) == 0) {
      old = sheet;
      replaced = true;
    }
  }
  if (!replaced) sheets.push_back(sheet);
  if (gathering) return;
  try {
    write(key, file);
  } catch (...) {
    if (!replaced) sheets.pop_back();
    throw;
  }
}

void XlsxWorkbookWriter::gather(const QString& file) {
  const QString key = QFileInfo(file).absoluteFilePath();
  gathering_[key] = true;
  if (!QFileInfo::exists(key)) written_[key].clear();
}

void XlsxWorkbookWriter::flush(const QString& file) {
  const QString key = QFileInfo(file).absoluteFilePath();
  gathering_.erase(key);
  write(key, file);
}

void XlsxWorkbookWriter::write(const QString& key, const QString& shownName) {
  PartialFile beside(key);
  if (!beside.reserved()) throw db::DatabaseError(beside.failure(), kErroreScritturaFoglio);
  writeWorkbook(beside.partialPath(), written_[key], shownName);
  if (!beside.place()) throw db::DatabaseError(beside.failure(), kErroreScritturaFoglio);
}

WorkbookSheet SheetFromRecordset(const QString& name, db::Recordset& rows) {
  WorkbookSheet sheet;
  sheet.name = name;
  for (int c = 0; c < rows.fieldCount(); ++c) sheet.headers << rows.fieldName(c);
  sheet.rows.reserve(rows.recordCount());
  if (rows.recordCount() > 0) rows.moveFirst();
  for (; !rows.eof(); rows.moveNext()) {
    std::vector<WrittenCell> row;
    row.reserve(rows.fieldCount());
    for (int c = 0; c < rows.fieldCount(); ++c)
      row.push_back(cellFor(rows.value(c), rows.fieldType(c)));
    sheet.rows.push_back(std::move(row));
  }
  return sheet;
}

void AttachWorkbookWriter(db::Database& database, WorkbookWriter& writer) {
  database.setWorkbookWriter([&writer](const db::WorkbookTarget& target, db::Recordset& rows) {
    writer.writeSheet(target.file, SheetFromRecordset(target.sheet, rows));
  });
}

}  // namespace listinova::platform
