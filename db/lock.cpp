#include "db/lock.h"

#include <cerrno>
#include <chrono>
#include <string>

#include "base/file.h"
#include "db/journal.h"
#include "db/paths.h"

#ifdef _WIN32
// Declared here so that the portable core needs no <windows.h>.
namespace spinox::win {
struct Overlapped {  // OVERLAPPED
  uintptr_t internal, internalHigh;
  unsigned long offset, offsetHigh;
  void* event;
};
extern "C" {
__declspec(dllimport) void* __stdcall CreateFileW(const wchar_t* name, unsigned long access,
                                                  unsigned long share, void* security,
                                                  unsigned long disposition, unsigned long flags,
                                                  void* templateFile);
__declspec(dllimport) int __stdcall LockFileEx(void* file, unsigned long flags,
                                               unsigned long reserved, unsigned long low,
                                               unsigned long high, Overlapped* at);
__declspec(dllimport) int __stdcall CloseHandle(void* handle);
__declspec(dllimport) unsigned long __stdcall GetLastError();
__declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);
}
}  // namespace spinox::win
#else
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>
#endif

namespace spinox {

const char* const kLockFile = "gen_spinox.lck";

namespace {

// The lock belongs to the process: how deeply its holders nest, of which kind it is, and the
// one OS handle on the lock file whose closing releases it (also when the process dies).
struct HeldLock {
  int waitMs = 0;  // the wait SetLockWait chose
  int depth = 0;
  LockKind kind = LockKind::kShared;
#ifdef _WIN32
  void* handle = nullptr;
#else
  int fd = -1;
#endif
};
HeldLock gHeld;

enum class Take { kTaken, kBusy, kNoFile, kFailed };

// The OS side.
#ifdef _WIN32

void Release() {
  if (gHeld.handle) win::CloseHandle(gHeld.handle);
  gHeld.handle = nullptr;
}

Take TryTake(const std::string& path, LockKind kind) {
  constexpr unsigned long kRead = 0x80000000, kWrite = 0x40000000, kShareAll = 1 | 2 | 4;
  constexpr unsigned long kOpenAlways = 4, kOpenExisting = 3, kNormal = 0x80;
  void* const invalid = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
  std::wstring name = WidePath(path);
  void* h = win::CreateFileW(name.c_str(), kRead | kWrite, kShareAll, nullptr, kOpenAlways, kNormal,
                             nullptr);
  if (h == invalid && kind == LockKind::kShared)
    h = win::CreateFileW(name.c_str(), kRead, kShareAll, nullptr, kOpenExisting, kNormal, nullptr);
  if (h == invalid) return errno = EACCES, Take::kNoFile;
  constexpr unsigned long kFailImmediately = 1, kExclusive = 2, kLockViolation = 33;
  win::Overlapped at = {};
  unsigned long flags = kFailImmediately | (kind == LockKind::kExclusive ? kExclusive : 0);
  if (win::LockFileEx(h, flags, 0, 1, 0, &at)) {
    gHeld.handle = h;
    return Take::kTaken;
  }
  bool busy = win::GetLastError() == kLockViolation;
  win::CloseHandle(h);
  return busy ? Take::kBusy : (errno = EACCES, Take::kFailed);
}

void Pause() {
  win::Sleep(10);
}
#else
void Release() {
  if (gHeld.fd >= 0) close(gHeld.fd);
  gHeld.fd = -1;
}

// Byte 0 of the lock file, locked as an open-file-description record lock where the system has
// them: these conflict with the record locks Wine takes for LockFileEx, so a native tool and the
// plug-in under Wine exclude each other too.
bool Lock(int fd, LockKind kind) {
#ifdef F_OFD_SETLK
  struct flock range = {};
  range.l_type = kind == LockKind::kExclusive ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &range) == 0;
#else
  return flock(fd, (kind == LockKind::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0;
#endif
}

Take TryTake(const std::string& path, LockKind kind) {
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0 && kind == LockKind::kShared) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Take::kNoFile;
  if (Lock(fd, kind)) {
    gHeld.fd = fd;
    return Take::kTaken;
  }
  bool busy = errno == EAGAIN || errno == EACCES || errno == EWOULDBLOCK;
  close(fd);
  return busy ? Take::kBusy : Take::kFailed;
}

void Pause() {
  struct timespec tenMs = {0, 10 * 1000 * 1000};
  nanosleep(&tenMs, nullptr);
}
#endif

// Takes the lock, waiting up to `waitMs` while another process holds it.
Take TakeWaiting(const std::string& path, LockKind kind, int waitMs) {
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    Take result = TryTake(path, kind);
    if (result != Take::kBusy) return result;
    auto waited = std::chrono::steady_clock::now() - start;
    if (waited >= std::chrono::milliseconds(waitMs)) return result;
    Pause();
  }
}

bool Acquire(LockKind kind, int waitMs) {
  std::string path = FullPath(kLockFile);
  Take result = TakeWaiting(path, kind, waitMs);
  if (result == Take::kTaken) return true;
  // A folder where the lock file cannot be made is one no other process can write either;
  // reading it needs no lock.
  if (result == Take::kNoFile && kind == LockKind::kShared) return true;
  if (result == Take::kBusy) {
    SetIoError("the database in '" + DataDir() +
               "' is busy: another program is changing it; try again later");
  } else {
    NoteIoFailure("lock", path);
  }
  return false;
}

// A change left unfinished by a process that died while holding the lock is undone before
// anyone reads or writes; a reader takes the lock exclusively for that moment.
bool AcquireRecovered(LockKind kind, int waitMs) {
  if (!Acquire(kind, waitMs)) return false;
  if (!ChangePending()) return true;
  if (kind == LockKind::kShared) {
    Release();
    if (!Acquire(LockKind::kExclusive, waitMs)) return false;
  }
  std::string report;
  bool recovered = FinishUnderLock(&report);
  if (!recovered || kind == LockKind::kExclusive) {
    if (!recovered) Release();
    return recovered;
  }
  Release();
  return Acquire(kind, waitMs);
}

}  // namespace

void SetLockWait(int milliseconds) {
  gHeld.waitMs = milliseconds > 0 ? milliseconds : 0;
}

DatabaseLock::DatabaseLock(LockKind kind, int waitMs, LeftChange left) {
  if (gHeld.depth > 0) {
    if (kind == LockKind::kExclusive && gHeld.kind == LockKind::kShared) {
      SetIoError("the database cannot be changed while it is being read");
      return;
    }
    held_ = true;
    ++gHeld.depth;
    return;
  }
  int wait = waitMs == kSetWait ? gHeld.waitMs : waitMs;
  if (!(left == LeftChange::kFinish ? AcquireRecovered(kind, wait) : Acquire(kind, wait))) return;
  held_ = true;
  gHeld.depth = 1;
  gHeld.kind = kind;
}

DatabaseLock::~DatabaseLock() {
  if (!held_) return;
  if (--gHeld.depth == 0) Release();
}

bool HoldsExclusiveLock() {
  return gHeld.depth > 0 && gHeld.kind == LockKind::kExclusive;
}

}  // namespace spinox
