#pragma once

namespace listinova::testing {

// What the disk does to the store while a FaultyVfs is in place. Tests run as root, whom
// neither read-only files nor read-only folders stop, so the file system's refusals are made
// here, below SQLite, exactly as the operating system would report them.
enum class Fault {
  None,
  DiskFull,        // every write fails for want of space
  ReadOnlyFile,    // the store opens, but only for reading
  ReadOnlyFolder,  // no new file (store, journal, WAL) can be created beside the store
};

// Installed as SQLite's default file layer for its lifetime; the fault can change midway.
class FaultyVfs {
 public:
  explicit FaultyVfs(Fault fault = Fault::None);
  ~FaultyVfs();
  FaultyVfs(const FaultyVfs&) = delete;
  FaultyVfs& operator=(const FaultyVfs&) = delete;

  void setFault(Fault fault);
};

}  // namespace listinova::testing
