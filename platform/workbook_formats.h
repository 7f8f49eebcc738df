#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "platform/workbook_reader.h"

namespace listinova::platform {

// The readers behind openWorkbook, one per container.
std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path);
std::unique_ptr<WorkbookReader> openZipWorkbook(const QString& path);

// A numeric cell as the file wrote it ("1.5", "8001234567897", "8.0012345E+12") made plain.
QString plainNumber(const QString& raw);

}  // namespace listinova::platform
