#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "platform/db/database.h"

namespace listinova::platform {

// One cell of a sheet to write: what a spreadsheet must keep of the value. Named apart from
// the cell the readers give, so that the two never meet under one name.
struct WrittenCell {
  enum class Kind { Empty, Text, Number, Money, Boolean, Date };
  Kind kind = Kind::Empty;
  QString text;
  double number = 0;  // Number, Money (already exact to the ten-thousandth), Boolean as 0/1
  QDateTime moment;   // Date; a time of midnight is a plain date
};

struct WorkbookSheet {
  QString name;
  QStringList headers;
  std::vector<std::vector<WrittenCell>> rows;
};

// Writes sheets into workbook files. A statement writes one sheet at a time, and the next
// statement may add another sheet to the same file.
class WorkbookWriter {
 public:
  virtual ~WorkbookWriter() = default;
  // Adds `sheet` to `file` (or replaces the sheet of that name). Throws db::DatabaseError.
  virtual void writeSheet(const QString& file, const WorkbookSheet& sheet) = 0;
  // Between these two the sheets for `file` are only gathered, and written once at the end:
  // a workbook of several statements is not rewritten for each one.
  virtual void gather(const QString& file) { (void)file; }
  virtual void flush(const QString& file) { (void)file; }
};

// .xlsx files that Excel and LibreOffice open. A file is rewritten whole beside its name and
// then renamed over it, so a failure never leaves half a workbook under the chosen name.
class XlsxWorkbookWriter : public WorkbookWriter {
 public:
  void writeSheet(const QString& file, const WorkbookSheet& sheet) override;
  void gather(const QString& file) override;
  void flush(const QString& file) override;

 private:
  void write(const QString& key, const QString& shownName);

  // The sheets this writer put in each file: a workbook cannot be appended to in place.
  std::map<QString, std::vector<WorkbookSheet>> written_;
  std::map<QString, bool> gathering_;
};

// The rows of a recordset as a sheet: headers from the field names, money exact.
WorkbookSheet SheetFromRecordset(const QString& name, db::Recordset& rows);

// Lets `database` run "SELECT ... INTO [Excel 8.0;Database=...]" through `writer`.
void AttachWorkbookWriter(db::Database& database, WorkbookWriter& writer);

}  // namespace listinova::platform
