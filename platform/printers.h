#pragma once

#include <QString>
#include <QStringList>

namespace listinova::platform {

// The printers installed on the system (CUPS queues on Linux), by name.
class Printers {
 public:
  virtual ~Printers() = default;
  virtual QStringList installed() const = 0;
  bool isInstalled(const QString& name) const;
};

// The queues Qt sees through CUPS.
class QtPrinters : public Printers {
 public:
  QStringList installed() const override;
};

// A list given by its maker: tests, and a machine without printing.
class FixedPrinters : public Printers {
 public:
  explicit FixedPrinters(QStringList names = {}) : names_(std::move(names)) {}
  QStringList installed() const override { return names_; }
  void setInstalled(QStringList names) { names_ = std::move(names); }

 private:
  QStringList names_;
};

// Where the program's own print jobs go. Aiming it never touches the user's system-wide
// default printer, so other programs keep theirs.
class PrintTarget {
 public:
  explicit PrintTarget(const Printers& printers) : printers_(printers) {}

  // False, with the target left where it was, when no printer of that name is installed.
  bool aimAt(const QString& name);
  // Empty until aimed: the jobs then go to the system default printer.
  const QString& printerName() const { return name_; }
  const Printers& printers() const { return printers_; }

 private:
  const Printers& printers_;
  QString name_;
};

}  // namespace listinova::platform
