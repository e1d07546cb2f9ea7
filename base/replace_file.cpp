#include "base/replace_file.h"

#include <cerrno>
#include <cstdio>

#include "base/file.h"

#ifdef _WIN32
// Declared here so that the portable core needs no <windows.h>.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char* existing, const char* target,
                                                           unsigned long flags);
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError();
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace spinox {

std::string TempPathFor(const std::string& path) {
  return path + ".tmp";
}

bool RenameOver(const std::string& from, const std::string& to) {
  if (IoStepFails()) return NoteIoFailure("rename", from);
  errno = 0;
#ifdef _WIN32
  // std::rename cannot replace an existing file on Windows.
  constexpr unsigned long kReplaceExisting = 1, kWriteThrough = 8;
  if (MoveFileExA(from.c_str(), to.c_str(), kReplaceExisting | kWriteThrough) != 0) return true;
  constexpr unsigned long kFileNotFound = 2, kPathNotFound = 3;
  unsigned long code = GetLastError();
  errno = code == kFileNotFound || code == kPathNotFound ? ENOENT : EACCES;
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
#endif
  return NoteIoFailure("rename", from + "' to '" + to);
}

bool RemoveFile(const std::string& path) {
  if (IoStepFails()) return NoteIoFailure("remove", path);
  errno = 0;
  if (std::remove(path.c_str()) == 0 || errno == ENOENT) return true;
  return NoteIoFailure("remove", path);
}

bool SyncFolder(const std::string& dir) {
  if (IoStepFails()) return NoteIoFailure("flush", dir);
#ifdef _WIN32
  (void)dir;
  return true;
#else
  int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY);
  if (fd < 0) return NoteIoFailure("open", dir);
  bool synced = fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
  if (!synced) NoteIoFailure("flush", dir);
  close(fd);
  return synced;
#endif
}

bool WriteFileReplacing(const std::string& path, const void* data, size_t n) {
  std::string temp = TempPathFor(path);
  bool written;
  {
    File f;
    if (!f.Open(temp, "wb")) {
      NoteIoFailure("create", temp);
      return false;
    }
    written = f.Write(data, n) && f.Sync() && f.Close();
  }
  if (written && RenameOver(temp, path)) return true;
  std::remove(temp.c_str());
  return false;
}

}  // namespace spinox
