// Picks the reader of a workbook by its first bytes: an OLE2 compound file is an .xls, a zip
// container an .xlsx or an .ods. The extension is not trusted: shops rename files.
#include "platform/workbook_reader.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

#include "platform/workbook_formats.h"

namespace listinova::platform {
namespace {

// Whole numbers up to here are exact in a double and printed without an exponent.
constexpr double kWholeNumberLimit = 1e15;
// What a spreadsheet shows: fifteen significant digits.
constexpr int kSignificantDigits = 15;

}  // namespace

QString numberText(double value) {
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < kWholeNumberLimit)
    return QString::number(static_cast<qint64>(value));
  QString text = QString::number(value, 'g', kSignificantDigits);
  if (!text.contains('e')) return text;
  // A very small or very large amount is written out in full, never with an exponent.
  text = QString::number(value, 'f', kSignificantDigits);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  return text;
}

QString plainNumber(const QString& raw) {
  static const QRegularExpression wholeDigits("^-?\\d+$");
  const QString trimmed = raw.trimmed();
  if (wholeDigits.match(trimmed).hasMatch()) return trimmed;
  bool ok = false;
  const double value = trimmed.toDouble(&ok);
  return ok ? numberText(value) : trimmed;
}

std::unique_ptr<WorkbookReader> openWorkbook(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw WorkbookError(QStringLiteral("Impossibile aprire il file \"%1\".").arg(path));
  const QByteArray head = file.read(8);
  file.close();
  if (head.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
    return openXlsWorkbook(path);
  if (head.startsWith("PK\x03\x04")) return openZipWorkbook(path);
  throw WorkbookError(
      QStringLiteral("Il file \"%1\" non è un foglio di calcolo riconosciuto (.xls, .xlsx, .ods).")
          .arg(path));
}

}  // namespace listinova::platform
