#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>
#include <vector>

namespace listinova::platform {

// One cell as the spreadsheet holds it. A number comes as its exact shortest digits
// ("8001234567897", "1.5"), never in scientific notation nor with a thousands separator.
struct WorkbookCell {
  QString text;
  bool numeric = false;
  // A formula whose result the file does not hold: the cell has no value to give.
  bool formulaWithoutValue = false;
  bool empty() const { return text.isEmpty() && !formulaWithoutValue; }
};

// Cells of one row by column: element 0 is column 1. Trailing empty cells may be missing.
using WorkbookRow = std::vector<WorkbookCell>;

// A workbook that cannot be read: the Italian text says why; `detail` holds what a library
// said (in English), for the error log only.
class WorkbookError : public std::runtime_error {
 public:
  explicit WorkbookError(const QString& message, const QString& detail = {})
      : std::runtime_error(message.toStdString()), message_(message), detail_(detail) {}
  const QString& message() const { return message_; }
  const QString& detail() const { return detail_; }

 private:
  QString message_;
  QString detail_;
};

// Excel's own limits: a workbook that claims more is refused rather than believed.
constexpr int kMaxWorkbookRows = 1048576;
constexpr int kMaxWorkbookColumns = 16384;
// The most a part of a workbook may inflate to, in bytes and as a multiple of its packed size.
constexpr qint64 kMaxPartBytes = 200LL * 1024 * 1024;
constexpr qint64 kMaxPartRatio = 100;
// The memory the cells of one workbook may take, by the readers' own count.
constexpr qint64 kMaxCellBytes = 160LL * 1024 * 1024;
// The longest text a cell may hold, as in Excel.
constexpr int kMaxCellText = 32767;

// Reads the sheets of a workbook (.xls, .xlsx or .ods).
class WorkbookReader {
 public:
  virtual ~WorkbookReader() = default;
  // Sheet names in the workbook's order.
  virtual QStringList sheets() const = 0;
  // Every row of a sheet, the first included; empty rows inside the sheet stay as empty rows.
  virtual std::vector<WorkbookRow> rows(const QString& sheet) = 0;
};

// Opens a workbook chosen by its content, whatever its extension. Throws WorkbookError.
std::unique_ptr<WorkbookReader> openWorkbook(const QString& path);

// The digits a numeric cell shows: whole numbers without a decimal part or exponent.
QString numberText(double value);

}  // namespace listinova::platform
