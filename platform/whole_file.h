// Files the user relies on are whole or absent. Each is written under a hidden name beside its
// final one, every write and the final flush to the disk checked, and only then renamed over
// the final name: a failure leaves no partial file and the previous file as it was, and names
// its cause (full disk, read-only folder) in the operator's words.
#pragma once

#include <QIODevice>
#include <QString>

namespace listinova::platform {

// The operator's words for a write of `path` that failed with the system's `systemError`:
// "Spazio su disco esaurito in …", "Cartella … in sola lettura", else a general text.
QString describeWriteFailure(int systemError, const QString& path);

// For a library that only says "it failed": the cause the folder of `path` shows now (read-only,
// full), else a general text. Ask before removing a partial file: it holds the space it took.
QString probeWriteFailure(const QString& path);
// A library failed writing `path` with `systemError` (0 when it did not tell): the folder's
// state first, as a library's own error number often speaks of its inner steps.
QString describeLibraryFailure(int systemError, const QString& path);
// The system error the folder of `path` shows now (EROFS, EACCES, ENOSPC), or 0.
int probeFolderError(const QString& path);

// A file written through this device (QPdfWriter takes one). Nothing shows under the final
// name until commit() succeeds.
class WholeFile : public QIODevice {
 public:
  explicit WholeFile(QString finalPath);
  ~WholeFile() override;  // a file not committed is removed

  // Creates the partial file beside the final name; only WriteOnly is offered.
  bool open(OpenMode mode = WriteOnly) override;
  // Flushes to the disk and renames over the final name; on failure the partial file goes.
  bool commit();
  // Drops the partial file: the final name keeps what it had.
  void discard();

  const QString& finalPath() const { return final_; }
  // Empty while everything went well, else the cause in Italian.
  const QString& failure() const { return failure_; }
  int systemError() const { return error_; }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  bool fail(int systemError);

  QString final_;
  QString partial_;
  int fd_ = -1;
  int error_ = 0;
  QString failure_;
};

// A file a library opens and writes by name (a printer's PDF, a workbook, a store copy): it
// gets partialPath(), and place() checks the result and renames it into place.
class PartialFile {
 public:
  // Reserves a fresh hidden name beside `finalPath`: a read-only folder shows at once.
  explicit PartialFile(QString finalPath);
  ~PartialFile();  // removes the partial file unless placed
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  bool reserved() const { return failure_.isEmpty(); }
  const QString& partialPath() const { return partial_; }
  const QString& finalPath() const { return final_; }
  // Flushes the finished file to the disk and renames it over the final name. False, with
  // failure() set and the partial file removed, when either fails.
  bool place();
  // The library failed: the cause (from `systemError`, or else from the folder), then the
  // partial file goes. Returns failure().
  QString abandon(int systemError = 0);
  const QString& failure() const { return failure_; }

 private:
  QString final_;
  QString partial_;
  QString failure_;
  bool done_ = false;
};

// `content` into `path`, whole. An empty text on success, else the cause in Italian.
QString writeWholeFile(const QString& path, const QByteArray& content);

// Copies `from` to `to` (replaced), every write checked and flushed to the disk. An empty text
// on success, else the cause in Italian.
QString copyFileChecked(const QString& from, const QString& to);

// Makes the renames and new entries of `folder` survive a power cut.
void syncFolder(const QString& folder);

}  // namespace listinova::platform
