// .xls (BIFF) workbooks through FreeXL, with the formula results FreeXL leaves out read from
// the file's own records, and the declared size checked before FreeXL makes room for it.
// FreeXL reads a hostile file out of bounds (the fuzzer found one that overflows its heap), so
// it runs in a child process of its own under a memory ceiling: the cells come back through a
// pipe, and a child that dies is a damaged file, never a dead program.
#include <freexl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDataStream>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <map>

#include "platform/workbook_formats.h"

namespace listinova::platform {
namespace {

// What FreeXL keeps per declared cell, for the check before it is opened.
constexpr qint64 kFreeXlCellBytes = 24;
// The address space the reading child may take beyond what it inherits.
constexpr rlim_t kChildMemory = 300ULL * 1024 * 1024;
// The child's exit when the cells would take more than the budget.
constexpr int kTooBigExit = 3;

QString tooBig(const QString& path) {
  return QStringLiteral("Il file \"%1\" è troppo grande per essere importato.").arg(path);
}

QString unreadable(const QString& path) {
  return QStringLiteral("Il file \"%1\" non è un foglio di calcolo .xls leggibile.").arg(path);
}

using Sheets = std::vector<std::pair<QString, std::vector<WorkbookRow>>>;

WorkbookCell cellOf(const void* handle, unsigned int row, unsigned short column,
                    const std::map<std::pair<quint32, quint16>, WorkbookCell>* formulas) {
  FreeXL_CellValue value;
  if (freexl_get_cell_value(handle, row, column, &value) != FREEXL_OK) return {};
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
    default: {
      // A formula cell, which FreeXL reads as empty: the result the spreadsheet stored.
      if (!formulas) return {};
      const auto found = formulas->find({row, column});
      return found == formulas->end() ? WorkbookCell{} : found->second;
    }
  }
}

// In the child: every worksheet through FreeXL, serialised to `out`. The exit status says how
// it went.
int readAllSheets(const QString& path, const std::vector<XlsSheetInfo>& info, QDataStream& out) {
  const void* handle = nullptr;
  if (freexl_open(path.toUtf8().constData(), &handle) != FREEXL_OK) return 1;
  unsigned int count = 0;
  if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) return 1;
  qint64 used = 0;
  out << quint32(count);
  for (unsigned int i = 0; i < count; ++i) {
    const char* name = nullptr;
    if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(i), &name) != FREEXL_OK ||
        freexl_select_active_worksheet(handle, static_cast<unsigned short>(i)) != FREEXL_OK)
      return 1;
    const QString sheet = QString::fromUtf8(name ? name : "");
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) return 1;
    if (rows > unsigned(kMaxWorkbookRows) || columns > kMaxWorkbookColumns) return kTooBigExit;
    const std::map<std::pair<quint32, quint16>, WorkbookCell>* formulas = nullptr;
    for (const XlsSheetInfo& s : info)
      if (s.name == sheet) formulas = &s.formulas;
    out << sheet << quint32(rows);
    for (unsigned int r = 0; r < rows; ++r) {
      WorkbookRow row(columns);
      for (unsigned short c = 0; c < columns; ++c) row[c] = cellOf(handle, r, c, formulas);
      while (!row.empty() && row.back().empty()) row.pop_back();
      used += qint64(sizeof(WorkbookRow)) + qint64(row.size()) * qint64(sizeof(WorkbookCell));
      out << quint32(row.size());
      for (const WorkbookCell& cell : row) {
        used += cell.text.size() * 2;
        out << cell.text << cell.numeric << cell.formulaWithoutValue;
      }
      if (used > kMaxCellBytes) return kTooBigExit;
    }
  }
  freexl_close(handle);
  return 0;
}

// The process's address space now, from /proc; 0 when it cannot be read.
rlim_t currentAddressSpace() {
  FILE* statm = std::fopen("/proc/self/statm", "r");
  unsigned long pages = 0;
  if (statm) {
    if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

bool writeAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

// Runs FreeXL in a child and reads back what it found.
Sheets readInChild(const QString& path, const std::vector<XlsSheetInfo>& info) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) throw WorkbookError(unreadable(path), QStringLiteral("pipe failed"));
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    throw WorkbookError(unreadable(path), QStringLiteral("fork failed"));
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    // What the child may add to the address space it inherits (libraries, fonts, heap).
    const rlim_t ceiling = currentAddressSpace() + kChildMemory;
    const rlimit limit{ceiling, ceiling};
    ::setrlimit(RLIMIT_AS, &limit);
    QByteArray bytes;
    int status = 1;
    {
      QDataStream out(&bytes, QIODevice::WriteOnly);
      status = readAllSheets(path, info, out);
    }
    if (status == 0 && !writeAll(pipeFds[1], bytes)) status = 1;
    ::_exit(status);
  }
  ::close(pipeFds[1]);
  QByteArray bytes;
  char buffer[65536];
  bool overflow = false;
  for (;;) {
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (bytes.size() + n > 2 * kMaxCellBytes)
      overflow = true;
    else
      bytes.append(buffer, n);
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (overflow || (WIFEXITED(status) && WEXITSTATUS(status) == kTooBigExit))
    throw WorkbookError(tooBig(path), QStringLiteral("cells over the budget"));
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw WorkbookError(unreadable(path),
                        WIFSIGNALED(status)
                            ? QStringLiteral("FreeXL died with signal %1").arg(WTERMSIG(status))
                            : QStringLiteral("FreeXL could not read the file"));
  Sheets sheets;
  QDataStream in(bytes);
  quint32 count = 0;
  in >> count;
  for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
    QString name;
    quint32 rows = 0;
    in >> name >> rows;
    std::vector<WorkbookRow> table;
    for (quint32 r = 0; r < rows && in.status() == QDataStream::Ok; ++r) {
      quint32 cells = 0;
      in >> cells;
      WorkbookRow row;
      for (quint32 c = 0; c < cells && in.status() == QDataStream::Ok; ++c) {
        WorkbookCell cell;
        in >> cell.text >> cell.numeric >> cell.formulaWithoutValue;
        row.push_back(std::move(cell));
      }
      table.push_back(std::move(row));
    }
    sheets.emplace_back(std::move(name), std::move(table));
  }
  if (in.status() != QDataStream::Ok)
    throw WorkbookError(unreadable(path), QStringLiteral("short answer from the reading child"));
  return sheets;
}

class XlsWorkbook : public WorkbookReader {
 public:
  XlsWorkbook(QString path, Sheets sheets) : path_(std::move(path)), sheets_(std::move(sheets)) {}

  QStringList sheets() const override {
    QStringList names;
    for (const auto& sheet : sheets_) names << sheet.first;
    return names;
  }

  std::vector<WorkbookRow> rows(const QString& sheet) override {
    for (const auto& [name, rows] : sheets_)
      if (name == sheet) return rows;
    throw WorkbookError(QStringLiteral("Foglio \"%1\" non trovato in \"%2\".").arg(sheet, path_));
  }

 private:
  QString path_;
  Sheets sheets_;
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
      throw WorkbookError(tooBig(path), QStringLiteral("sheet %1 declares %2 x %3")
                                            .arg(sheet.name)
                                            .arg(sheet.rows)
                                            .arg(sheet.columns));
  return std::make_unique<XlsWorkbook>(path, readInChild(path, info));
}

}  // namespace listinova::platform
