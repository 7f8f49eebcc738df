#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "platform/workbook_reader.h"

namespace listinova::platform {

// The readers behind openWorkbook, one per container.
std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path);
std::unique_ptr<WorkbookReader> openZipWorkbook(const QString& path);

// What an .xls file holds beside FreeXL's reading, per worksheet in the workbook's order: the
// size its DIMENSIONS record declares and the stored results of its formula cells by (row,
// column), 0-based. Throws WorkbookError when the compound file or its records are broken.
struct XlsSheetInfo {
  QString name;
  quint32 rows = 0;
  quint32 columns = 0;
  std::map<std::pair<quint32, quint16>, WorkbookCell> formulas;
};
std::vector<XlsSheetInfo> readXlsSheets(QByteArrayView file, const QString& path);

// A numeric cell as the file wrote it ("1.5", "8001234567897", "8.0012345E+12") made plain.
QString plainNumber(const QString& raw);

}  // namespace listinova::platform
