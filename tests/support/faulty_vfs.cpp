#include "support/faulty_vfs.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace listinova::testing {
namespace {

std::atomic<Fault> gFault{Fault::None};
sqlite3_vfs* gReal = nullptr;
sqlite3_vfs gFaulty;

// A file of the real layer, reached through the methods below.
struct File {
  sqlite3_file base;
  sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

int xClose(sqlite3_file* f) {
  int rc = real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK;
  sqlite3_free(real(f));
  return rc;
}
int xRead(sqlite3_file* f, void* p, int n, sqlite3_int64 o) {
  return real(f)->pMethods->xRead(real(f), p, n, o);
}
int xWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 o) {
  if (gFault == Fault::DiskFull) return SQLITE_FULL;
  return real(f)->pMethods->xWrite(real(f), p, n, o);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 s) { return real(f)->pMethods->xTruncate(real(f), s); }
int xSync(sqlite3_file* f, int flags) { return real(f)->pMethods->xSync(real(f), flags); }
int xFileSize(sqlite3_file* f, sqlite3_int64* s) {
  return real(f)->pMethods->xFileSize(real(f), s);
}
int xLock(sqlite3_file* f, int l) { return real(f)->pMethods->xLock(real(f), l); }
int xUnlock(sqlite3_file* f, int l) { return real(f)->pMethods->xUnlock(real(f), l); }
int xCheckReservedLock(sqlite3_file* f, int* r) {
  return real(f)->pMethods->xCheckReservedLock(real(f), r);
}
int xFileControl(sqlite3_file* f, int op, void* a) {
  return real(f)->pMethods->xFileControl(real(f), op, a);
}
int xSectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file* f) {
  return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int xShmMap(sqlite3_file* f, int i, int s, int e, void volatile** p) {
  return real(f)->pMethods->xShmMap(real(f), i, s, e, p);
}
int xShmLock(sqlite3_file* f, int o, int n, int flags) {
  return real(f)->pMethods->xShmLock(real(f), o, n, flags);
}
void xShmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
int xShmUnmap(sqlite3_file* f, int d) { return real(f)->pMethods->xShmUnmap(real(f), d); }
int xFetch(sqlite3_file* f, sqlite3_int64 o, int n, void** p) {
  return real(f)->pMethods->xFetch(real(f), o, n, p);
}
int xUnfetch(sqlite3_file* f, sqlite3_int64 o, void* p) {
  return real(f)->pMethods->xUnfetch(real(f), o, p);
}

const sqlite3_io_methods kMethods = {
    3,
    xClose,
    xRead,
    xWrite,
    xTruncate,
    xSync,
    xFileSize,
    xLock,
    xUnlock,
    xCheckReservedLock,
    xFileControl,
    xSectorSize,
    xDeviceCharacteristics,
    xShmMap,
    xShmLock,
    xShmBarrier,
    xShmUnmap,
    xFetch,
    xUnfetch,
};

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
  auto* file = reinterpret_cast<File*>(f);
  file->base.pMethods = nullptr;
  const Fault fault = gFault;
  if (fault == Fault::ReadOnlyFolder && name && (flags & SQLITE_OPEN_CREATE)) {
    int exists = 0;
    gReal->xAccess(gReal, name, SQLITE_ACCESS_EXISTS, &exists);
    // What the Unix layer reports when the folder refuses a new file.
    if (!exists) return (flags & SQLITE_OPEN_MAIN_DB) ? SQLITE_CANTOPEN : SQLITE_READONLY_DIRECTORY;
  }
  if (fault == Fault::ReadOnlyFile && (flags & SQLITE_OPEN_MAIN_DB) &&
      (flags & SQLITE_OPEN_READWRITE)) {
    // A write-protected store: the Unix layer falls back to reading only.
    flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
  }
  file->real = static_cast<sqlite3_file*>(sqlite3_malloc(gReal->szOsFile));
  if (!file->real) return SQLITE_NOMEM;
  std::memset(file->real, 0, static_cast<size_t>(gReal->szOsFile));
  int rc = gReal->xOpen(gReal, name, file->real, flags, outFlags);
  if (rc != SQLITE_OK) {
    sqlite3_free(file->real);
    return rc;
  }
  file->base.pMethods = &kMethods;
  return SQLITE_OK;
}

int xDelete(sqlite3_vfs*, const char* name, int syncDir) {
  return gReal->xDelete(gReal, name, syncDir);
}
int xAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
  return gReal->xAccess(gReal, name, flags, out);
}
int xFullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
  return gReal->xFullPathname(gReal, name, n, out);
}
void* xDlOpen(sqlite3_vfs*, const char* name) { return gReal->xDlOpen(gReal, name); }
void xDlError(sqlite3_vfs*, int n, char* out) { gReal->xDlError(gReal, n, out); }
void (*xDlSym(sqlite3_vfs*, void* h, const char* s))(void) { return gReal->xDlSym(gReal, h, s); }
void xDlClose(sqlite3_vfs*, void* h) { gReal->xDlClose(gReal, h); }
int xRandomness(sqlite3_vfs*, int n, char* out) { return gReal->xRandomness(gReal, n, out); }
int xSleep(sqlite3_vfs*, int us) { return gReal->xSleep(gReal, us); }
int xCurrentTime(sqlite3_vfs*, double* t) { return gReal->xCurrentTime(gReal, t); }
int xGetLastError(sqlite3_vfs*, int n, char* out) { return gReal->xGetLastError(gReal, n, out); }
int xCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* t) { return gReal->xCurrentTimeInt64(gReal, t); }

}  // namespace

FaultyVfs::FaultyVfs(Fault fault) {
  gFault = fault;
  if (!gReal) {
    gReal = sqlite3_vfs_find(nullptr);
    gFaulty = *gReal;
    gFaulty.zName = "listinova-guasti";
    gFaulty.szOsFile = sizeof(File);
    gFaulty.pNext = nullptr;
    gFaulty.xOpen = xOpen;
    gFaulty.xDelete = xDelete;
    gFaulty.xAccess = xAccess;
    gFaulty.xFullPathname = xFullPathname;
    gFaulty.xDlOpen = xDlOpen;
    gFaulty.xDlError = xDlError;
    gFaulty.xDlSym = xDlSym;
    gFaulty.xDlClose = xDlClose;
    gFaulty.xRandomness = xRandomness;
    gFaulty.xSleep = xSleep;
    gFaulty.xCurrentTime = xCurrentTime;
    gFaulty.xGetLastError = xGetLastError;
    gFaulty.xCurrentTimeInt64 = xCurrentTimeInt64;
    gFaulty.xSetSystemCall = nullptr;
    gFaulty.xGetSystemCall = nullptr;
    gFaulty.xNextSystemCall = nullptr;
  }
  sqlite3_vfs_register(&gFaulty, 1);
}

FaultyVfs::~FaultyVfs() {
  gFault = Fault::None;
  sqlite3_vfs_unregister(&gFaulty);
  sqlite3_vfs_register(gReal, 1);
}

void FaultyVfs::setFault(Fault fault) { gFault = fault; }

}  // namespace listinova::testing
