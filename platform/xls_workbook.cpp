// .xls (BIFF) workbooks through FreeXL.
#include <freexl.h>

#include "platform/workbook_formats.h"

namespace listinova::platform {
namespace {

class XlsWorkbook : public WorkbookReader {
 public:
  XlsWorkbook(const void* handle, QString path) : handle_(handle), path_(std::move(path)) {}
  ~XlsWorkbook() override { freexl_close(handle_); }
  XlsWorkbook(const XlsWorkbook&) = delete;
  XlsWorkbook& operator=(const XlsWorkbook&) = delete;

  QStringList sheets() const override {
    QStringList names;
    unsigned int count = 0;
    if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) return names;
    for (unsigned int i = 0; i < count; ++i) {
      const char* name = nullptr;
      if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name) == FREEXL_OK)
        names << QString::fromUtf8(name ? name : "");
    }
    return names;
  }

  std::vector<WorkbookRow> rows(const QString& sheet) override {
    const int index = static_cast<int>(sheets().indexOf(sheet));
    if (index < 0 ||
        freexl_select_active_worksheet(handle_, static_cast<unsigned short>(index)) != FREEXL_OK)
      throw WorkbookError(QStringLiteral("Foglio \"%1\" non trovato in \"%2\".").arg(sheet, path_));
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_worksheet_dimensions(handle_, &rowCount, &columnCount) != FREEXL_OK)
      throw WorkbookError(QStringLiteral("Foglio \"%1\" illeggibile in \"%2\".").arg(sheet, path_));
    std::vector<WorkbookRow> result(rowCount);
    for (unsigned int r = 0; r < rowCount; ++r) {
      WorkbookRow& row = result[r];
      row.resize(columnCount);
      for (unsigned short c = 0; c < columnCount; ++c) row[c] = cell(r, c);
      while (!row.empty() && row.back().empty()) row.pop_back();
    }
    return result;
  }

 private:
  WorkbookCell cell(unsigned int row, unsigned short column) const {
    FreeXL_CellValue value;
    if (freexl_get_cell_value(handle_, row, column, &value) != FREEXL_OK) return {};
    switch (value.type) {
      case FREEXL_CELL_INT:
        return {QString::number(value.value.int_value), true};
      case FREEXL_CELL_DOUBLE:
        return {numberText(value.value.double_value), true};
      case FREEXL_CELL_TEXT:
      case FREEXL_CELL_SST_TEXT:
      case FREEXL_CELL_DATE:
      case FREEXL_CELL_DATETIME:
      case FREEXL_CELL_TIME:
        return {QString::fromUtf8(value.value.text_value ? value.value.text_value : ""), false};
      default:
        return {};
    }
  }

  const void* handle_;
  QString path_;
};

}  // namespace

std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path) {
  const void* handle = nullptr;
  if (freexl_open(path.toUtf8().constData(), &handle) != FREEXL_OK) {
    if (handle) freexl_close(handle);
    throw WorkbookError(
        QStringLiteral("Il file \"%1\" non è un foglio di calcolo .xls leggibile.").arg(path));
  }
  return std::make_unique<XlsWorkbook>(handle, path);
}

}  // namespace listinova::platform
