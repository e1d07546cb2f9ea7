#include "base/file.h"

namespace spinox {

namespace {
int gWritesBeforeFault = 0;  // 0: no fault; else the writes still allowed plus one
}  // namespace

void SetWriteFault(int n) {
  gWritesBeforeFault = n > 0 ? n : 0;
}

bool File::Open(const std::string& path, const char* mode) {
  Close();
  f_ = std::fopen(path.c_str(), mode);
  return f_ != nullptr;
}

void File::Close() {
  if (f_) std::fclose(f_);
  f_ = nullptr;
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
  if (gWritesBeforeFault == 1) return false;
  if (gWritesBeforeFault > 1) --gWritesBeforeFault;
  return f_ && std::fwrite(src, 1, n, f_) == n;
}

bool File::Flush() {
  return f_ && std::fflush(f_) == 0;
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
