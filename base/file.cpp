#include "base/file.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
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

bool File::Open(const std::string& path, const char* mode) {
  Close();
  path_ = path;
  f_ = std::fopen(path.c_str(), mode);
  if (f_ && IsWriteMode(mode)) std::setvbuf(f_, nullptr, _IONBF, 0);
  return f_ != nullptr;
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
  if (!f_ || std::fseek(f_, 0, SEEK_END) != 0) return -1;
  long size = std::ftell(f_);
  if (size < 0 || std::fseek(f_, 0, SEEK_SET) != 0) return -1;
  return size;
}

bool File::Seek(int64_t offset) {
  if (!f_ || offset < 0 || offset > 0x7FFFFFFF) return false;
  return std::fseek(f_, static_cast<long>(offset), SEEK_SET) == 0;
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
  if (!f_ || size < 0 || size > 0x7FFFFFFF) return false;
  if (IoStepFails() || std::fflush(f_) != 0) return Fail("truncate");
#ifdef _WIN32
  return _chsize(_fileno(f_), static_cast<long>(size)) == 0 || Fail("truncate");
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
  size_t n = static_cast<size_t>(size - from) < max ? static_cast<size_t>(size - from) : max;
  out->resize(n);
  if (!f.Seek(from) || !f.Read(out->data(), n)) {
    out->clear();
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

}  // namespace spinox
