// A scoped C stream: every data file is opened for one operation and closed on every path.
// Every write, flush, sync, truncation and close is checked; a failure is remembered as
// LastIoError(), naming the file and the reason. Only regular files are opened: a folder,
// pipe or device where a file belongs is refused before anything is read, written or waited
// for. Paths are UTF-8 on every system (opened by their wide names on Windows).
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

  // Opens a regular file with an fopen mode ("rb", "r+b", "wb", ...). False when it cannot be
  // opened or is not a regular file; errno then says why (EISDIR for a folder, ENODEV for a
  // pipe or device; see FileErrorText). "wb" empties the file only once it is known to be a
  // regular file, and no open waits on a pipe. A stream opened for writing is unbuffered: a
  // write either reaches the file or fails at once, and no bytes wait in a buffer to reach the
  // file later (at close) after a failure was reported.
  bool Open(const std::string& path, const char* mode);
  // False when the stream could not be closed cleanly (then its last writes may be lost).
  bool Close();
  bool IsOpen() const { return f_ != nullptr; }
  FILE* get() const { return f_; }
  const std::string& path() const { return path_; }

  // Size of the file in bytes from the open handle, or -1 on failure. Leaves the position at
  // the start.
  int64_t Size();
  bool Seek(int64_t offset);
  // Reads exactly n bytes; false on a short read.
  bool Read(void* dst, size_t n);
  // Writes exactly n bytes; false on a short write.
  bool Write(const void* src, size_t n);
  // Flushes the C stream; false when the data did not reach the file.
  bool Flush();
  // Flushes and asks the system to put the file's data on the disk (fsync, _commit).
  bool Sync();
  // Cuts the file to `size` bytes.
  bool Truncate(int64_t size);

 private:
  bool Fail(const char* what);
  FILE* f_ = nullptr;
  std::string path_;
};

// The last failed I/O step, as "cannot write 'path': reason"; empty until one fails.
const std::string& LastIoError();
void SetIoError(const std::string& text);
void ClearIoError();
// Records "cannot <what> '<path>': <the reason errno gives>" and returns false.
bool NoteIoFailure(const char* what, const std::string& path);

// Test hooks for failure paths. Every File::Write, Flush, Sync and Truncate and every
// RenameOver, RemoveFile and SyncFolder is one I/O step.
struct IoFault {
  int at = 0;                   // the step that fails, counted from 1 after SetIoFault; 0: none
  bool sticky = true;           // every later step fails too, as on a full disk
  void (*onFault)() = nullptr;  // called at that step instead of failing (to end the process)
};
void SetIoFault(const IoFault& fault);
// Steps taken since the last SetIoFault.
int IoStepCount();
// Counts one step; true when it is to fail (errno is then ENOSPC).
bool IoStepFails();

// Older hook, writes only: from the n-th File::Write after this call on (n >= 1), every
// write fails without writing anything, as on a full disk; 0 turns the fault off.
void SetWriteFault(int n);

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* out);
// Reads at most `max` bytes from offset `from`; fewer when the file is shorter.
bool ReadFileRange(const std::string& path, int64_t from, size_t max,
                   std::vector<unsigned char>* out);
// True when a regular file of that name can be opened for reading.
bool FileExists(const std::string& path);
// Size in bytes, or -1 when the file cannot be opened.
int64_t FileSize(const std::string& path);

// What is at a path, by its directory entry (nothing is opened).
enum class PathKind { kMissing, kFile, kFolder, kOther };
PathKind KindOf(const std::string& path);

// Removes a file without counting an I/O step (for cleaning up after a failure); false when
// it could not be removed.
bool RemovePath(const std::string& path);

// The path made absolute (from the current folder) and lexically normal.
std::string AbsolutePath(const std::string& path);

#ifdef _WIN32
// The system's name of a path: every path is a UTF-8 std::string inside the program, and every
// file-system call on Windows takes the UTF-16 name made here (the ANSI calls would turn
// characters outside the code page into '?').
std::wstring WidePath(const std::string& path);
#endif

// Why an open or a read failed, in plain words, from the errno it left: "it is a folder",
// "it is not a regular file (a pipe or a device)", or the system's text.
std::string FileErrorText(int err);

}  // namespace spinox
