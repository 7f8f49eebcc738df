// .xls (BIFF) workbooks through FreeXL, with the formula results FreeXL leaves out read from
// the file's own records, and the declared size checked before FreeXL makes room for it.
#include <freexl.h>

#include <QFile>

#include "platform/workbook_formats.h"

namespace listinova::platform {
namespace {

// What FreeXL keeps per declared cell, for the check before it is opened.
constexpr qint64 kFreeXlCellBytes = 24;

QString tooBig(const QString& path) {
  return QStringLiteral("Il file \"%1\" è troppo grande per essere importato.").arg(path);
}

class XlsWorkbook : public WorkbookReader {
 public:
  XlsWorkbook(const void* handle, QString path, std::vector<XlsSheetInfo> info)
      : handle_(handle), path_(std::move(path)), info_(std::move(info)) {}
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
    if (rowCount > unsigned(kMaxWorkbookRows) || columnCount > kMaxWorkbookColumns)
      throw WorkbookError(tooBig(path_), QStringLiteral("sheet %1 x %2").arg(rowCount).arg(columnCount));
    formulas_ = nullptr;
    for (const XlsSheetInfo& i : info_)
      if (i.name == sheet) formulas_ = &i.formulas;
    std::vector<WorkbookRow> result(rowCount);
    qint64 used = qint64(rowCount) * qint64(sizeof(WorkbookRow));
    for (unsigned int r = 0; r < rowCount; ++r) {
      WorkbookRow& row = result[r];
      row.resize(columnCount);
      for (unsigned short c = 0; c < columnCount; ++c) {
        row[c] = cell(r, c);
        used += row[c].text.size() * 2;
      }
      while (!row.empty() && row.back().empty()) row.pop_back();
      row.shrink_to_fit();
      used += qint64(row.size()) * qint64(sizeof(WorkbookCell));
      if (used > kMaxCellBytes) throw WorkbookError(tooBig(path_), QStringLiteral("cells"));
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
        return storedResult(row, column);
    }
  }

  // A formula cell, which FreeXL reads as empty: the result the spreadsheet stored with it.
  WorkbookCell storedResult(unsigned int row, unsigned short column) const {
    if (!formulas_) return {};
    const auto found = formulas_->find({row, column});
    return found == formulas_->end() ? WorkbookCell{} : found->second;
  }

  const void* handle_;
  QString path_;
  std::vector<XlsSheetInfo> info_;
  const std::map<std::pair<quint32, quint16>, WorkbookCell>* formulas_ = nullptr;
};

}  // namespace

std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw WorkbookError(QStringLiteral("Impossibile aprire il file \"%1\".").arg(path));
  if (file.size() > kMaxPartBytes)
    throw WorkbookError(tooBig(path), QStringLiteral("file of %1 bytes").arg(file.size()));
  const QByteArray bytes = file.readAll();
  file.close();
  std::vector<XlsSheetInfo> info = readXlsSheets(bytes, path);
  for (const XlsSheetInfo& sheet : info)
    if (sheet.rows > quint32(kMaxWorkbookRows) || sheet.columns > kMaxWorkbookColumns ||
        qint64(sheet.rows) * sheet.columns * kFreeXlCellBytes > kMaxCellBytes)
      throw WorkbookError(tooBig(path),
                          QStringLiteral("sheet %1 declares %2 x %3")
                              .arg(sheet.name)
                              .arg(sheet.rows)
                              .arg(sheet.columns));
  const void* handle = nullptr;
  if (freexl_open(path.toUtf8().constData(), &handle) != FREEXL_OK) {
    if (handle) freexl_close(handle);
    throw WorkbookError(
        QStringLiteral("Il file \"%1\" non è un foglio di calcolo .xls leggibile.").arg(path));
  }
  return std::make_unique<XlsWorkbook>(handle, path, std::move(info));
}

}  // namespace listinova::platform
