#include "base/file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/codepage.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace spinox {

namespace {

int gWritesBeforeFault = 0;  // 0: no fault; else the writes still allowed plus one
IoFault gFault;
int gSteps = 0;

std::string& IoErrorStore() {
  static std::string text;
  return text;
}

bool IsWriteMode(const char* mode) {
  return std::strpbrk(mode, "wa+") != nullptr;
}

#ifdef _WIN32
using Stat = struct _stat64;
int StatPath(const std::string& path, Stat* st) {
  return _wstat64(WidePath(path).c_str(), st);
}
int StatOpen(FILE* f, Stat* st) {
  return _fstat64(_fileno(f), st);
}
#else
using Stat = struct stat;
int StatPath(const std::string& path, Stat* st) {
  return stat(path.c_str(), st);
}
int StatOpen(FILE* f, Stat* st) {
  return fstat(fileno(f), st);
}
#endif

PathKind KindOfMode(unsigned mode) {
  if ((mode & S_IFMT) == S_IFREG) return PathKind::kFile;
  if ((mode & S_IFMT) == S_IFDIR) return PathKind::kFolder;
  return PathKind::kOther;
}

// errno for an entry that is there but is not a regular file.
int RefusalErrno(PathKind kind) {
  return kind == PathKind::kFolder ? EISDIR : ENODEV;
}

#ifdef _WIN32
// The handle's type is checked once open; a folder cannot be opened as a stream on Windows, and
// opening a device never empties anything.
FILE* OpenStream(const std::string& path, const char* mode) {
  std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(WidePath(path).c_str(), wideMode.c_str());
}
#else
int OpenFlags(const char* mode) {
  bool update = std::strchr(mode, '+') != nullptr;
  int flags = update ? O_RDWR : mode[0] == 'r' ? O_RDONLY : O_WRONLY;
  if (mode[0] == 'w' || mode[0] == 'a') flags |= O_CREAT;
  if (mode[0] == 'a') flags |= O_APPEND;
  return flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
}

// Opened without blocking (a pipe with no writer would otherwise wait for one), checked to be a
// regular file, then emptied for "w" and handed to a C stream.
FILE* OpenStream(const std::string& path, const char* mode) {
  int fd = ::open(path.c_str(), OpenFlags(mode), 0666);
  if (fd < 0) return nullptr;
  Stat st;
  int err = 0;
  if (fstat(fd, &st) != 0) {
    err = errno;
  } else if (KindOfMode(st.st_mode) != PathKind::kFile) {
    err = RefusalErrno(KindOfMode(st.st_mode));
  } else {
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        (mode[0] == 'w' && ftruncate(fd, 0) != 0))
      err = errno;
  }
  FILE* f = err ? nullptr : fdopen(fd, mode);
  if (!f) {
    if (!err) err = errno;
    ::close(fd);
    errno = err;
  }
  return f;
}
#endif

}  // namespace

void SetWriteFault(int n) {
  gWritesBeforeFault = n > 0 ? n : 0;
}

void SetIoFault(const IoFault& fault) {
  gFault = fault;
  gSteps = 0;
}

int IoStepCount() {
  return gSteps;
}

bool IoStepFails() {
  ++gSteps;
  if (gFault.at <= 0 || gSteps < gFault.at) return false;
  if (gSteps > gFault.at && !gFault.sticky) return false;
  if (gFault.onFault) gFault.onFault();
  errno = ENOSPC;
  return true;
}

const std::string& LastIoError() {
  return IoErrorStore();
}

void SetIoError(const std::string& text) {
  IoErrorStore() = text;
}

void ClearIoError() {
  IoErrorStore().clear();
}

bool NoteIoFailure(const char* what, const std::string& path) {
  const char* reason = errno ? std::strerror(errno) : "unknown error";
  SetIoError(std::string("cannot ") + what + " '" + path + "': " + reason);
  return false;
}

// The entry is looked at before opening, so that a device is never opened at all; the open
// handle is checked again, so that nothing swapped in meanwhile is used either.
bool File::Open(const std::string& path, const char* mode) {
  Close();
  path_ = path;
  PathKind kind = KindOf(path);
  if (kind == PathKind::kFolder || kind == PathKind::kOther) {
    errno = RefusalErrno(kind);
    return false;
  }
  f_ = OpenStream(path, mode);
  if (!f_) return false;
  Stat st;
  if (StatOpen(f_, &st) != 0 || KindOfMode(st.st_mode) != PathKind::kFile) {
    int err = StatOpen(f_, &st) != 0 ? errno : RefusalErrno(KindOfMode(st.st_mode));
    std::fclose(f_);
    f_ = nullptr;
    errno = err;
    return false;
  }
  if (IsWriteMode(mode)) std::setvbuf(f_, nullptr, _IONBF, 0);
  return true;
}

bool File::Close() {
  if (!f_) return true;
  bool closed = std::fclose(f_) == 0;
  f_ = nullptr;
  return closed || NoteIoFailure("close", path_);
}

bool File::Fail(const char* what) {
  return NoteIoFailure(what, path_);
}

int64_t File::Size() {
  Stat st;
  if (!f_ || std::fseek(f_, 0, SEEK_SET) != 0 || StatOpen(f_, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool File::Seek(int64_t offset) {
  if (!f_ || offset < 0) return false;
#ifdef _WIN32
  return _fseeki64(f_, offset, SEEK_SET) == 0;
#else
  return fseeko(f_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool File::Read(void* dst, size_t n) {
  return f_ && std::fread(dst, 1, n, f_) == n;
}

bool File::Write(const void* src, size_t n) {
  if (!f_) return false;
  errno = ENOSPC;
  if (gWritesBeforeFault == 1) return Fail("write");
  if (gWritesBeforeFault > 1) --gWritesBeforeFault;
  if (IoStepFails()) return Fail("write");
  errno = 0;
  return std::fwrite(src, 1, n, f_) == n || Fail("write");
}

bool File::Flush() {
  if (!f_) return false;
  if (IoStepFails()) return Fail("flush");
  return std::fflush(f_) == 0 || Fail("flush");
}

bool File::Sync() {
  if (!f_) return false;
  if (IoStepFails()) return Fail("flush");
  if (std::fflush(f_) != 0) return Fail("flush");
#ifdef _WIN32
  return _commit(_fileno(f_)) == 0 || Fail("flush");
#else
  return fsync(fileno(f_)) == 0 || Fail("flush");
#endif
}

bool File::Truncate(int64_t size) {
  if (!f_ || size < 0) return false;
  if (IoStepFails() || std::fflush(f_) != 0) return Fail("truncate");
#ifdef _WIN32
  return _chsize_s(_fileno(f_), size) == 0 || Fail("truncate");
#else
  return ftruncate(fileno(f_), static_cast<off_t>(size)) == 0 || Fail("truncate");
#endif
}

bool ReadFileRange(const std::string& path, int64_t from, size_t max,
                   std::vector<unsigned char>* out) {
  out->clear();
  File f(path, "rb");
  int64_t size = f.Size();
  if (size < 0) return false;
  if (from >= size) return true;
  size_t n = static_cast<uint64_t>(size - from) < max ? static_cast<size_t>(size - from) : max;
  out->resize(n);
  if (!f.Seek(from) || !f.Read(out->data(), n)) {
    int err = errno;
    out->clear();
    errno = err;
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* out) {
  return ReadFileRange(path, 0, static_cast<size_t>(-1), out);
}

bool FileExists(const std::string& path) {
  return File(path, "rb").IsOpen();
}

int64_t FileSize(const std::string& path) {
  File f(path, "rb");
  return f.Size();
}

PathKind KindOf(const std::string& path) {
  Stat st;
  if (StatPath(path, &st) != 0) return PathKind::kMissing;
  return KindOfMode(st.st_mode);
}

bool RemovePath(const std::string& path) {
#ifdef _WIN32
  return _wremove(WidePath(path).c_str()) == 0;
#else
  return std::remove(path.c_str()) == 0;
#endif
}

// u8path and u8string: std::filesystem would take a narrow string in the ANSI code page on
// Windows.
std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::u8path(path), ec);
  if (ec) return path;
  return absolute.lexically_normal().u8string();
}

#ifdef _WIN32
std::wstring WidePath(const std::string& path) {
  return WideFromUtf8(path);
}
#endif

std::string FileErrorText(int err) {
  if (err == EISDIR) return "it is a folder";
  if (err == ENODEV) return "it is not a regular file (a pipe or a device)";
  if (err == 0) return "it could not be read or written";
  return std::strerror(err);
}

}  // namespace spinox
