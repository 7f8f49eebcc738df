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
  bool empty() const { return text.isEmpty(); }
};

// Cells of one row by column: element 0 is column 1. Trailing empty cells may be missing.
using WorkbookRow = std::vector<WorkbookCell>;

// A workbook that cannot be read: the Italian text says why.
class WorkbookError : public std::runtime_error {
 public:
  explicit WorkbookError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const { return message_; }

 private:
  QString message_;
};

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
