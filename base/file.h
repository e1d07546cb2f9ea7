// A scoped C stream: every data file is opened for one operation and closed on every path.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace spinox {

class File {
 public:
  File() = default;
  File(const std::string& path, const char* mode) { Open(path, mode); }
  ~File() { Close(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool Open(const std::string& path, const char* mode);
  void Close();
  bool IsOpen() const { return f_ != nullptr; }
  FILE* get() const { return f_; }

  // Size of the file in bytes, or -1 on failure. Leaves the position at the start.
  int64_t Size();
  bool Seek(int64_t offset);
  // Reads exactly n bytes; false on a short read.
  bool Read(void* dst, size_t n);
  // Writes exactly n bytes; false on a short write.
  bool Write(const void* src, size_t n);
  // Flushes the C stream; false when the data did not reach the file.
  bool Flush();

 private:
  FILE* f_ = nullptr;
};

// Test hook for failure paths: from the n-th File::Write after this call on (n >= 1), every
// write fails without writing anything, as on a full disk; 0 turns the fault off.
void SetWriteFault(int n);

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* out);
// Reads at most `max` bytes from offset `from`; fewer when the file is shorter.
bool ReadFileRange(const std::string& path, int64_t from, size_t max,
                   std::vector<unsigned char>* out);
bool FileExists(const std::string& path);
// Size in bytes, or -1 when the file cannot be opened.
int64_t FileSize(const std::string& path);

}  // namespace spinox
