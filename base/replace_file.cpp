#include "base/replace_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "base/file.h"

#ifdef _WIN32
// Declared here so that the portable core needs no <windows.h>.
extern "C" __declspec(dllimport) int __stdcall MoveFileExW(const wchar_t* existing,
                                                           const wchar_t* target,
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
  if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), kReplaceExisting | kWriteThrough) !=
      0)
    return true;
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
  if (RemovePath(path) || errno == ENOENT) return true;
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

std::string ReplaceRefusal(const std::string& path) {
  PathKind kind = KindOf(path);
  if (kind == PathKind::kFolder) return FileErrorText(EISDIR);
  if (kind == PathKind::kOther) return FileErrorText(ENODEV);
#ifdef _WIN32
  struct _stat64 st;
  bool readOnly = kind == PathKind::kFile && _wstat64(WidePath(path).c_str(), &st) == 0 &&
                  (st.st_mode & _S_IWRITE) == 0;
#else
  struct stat st;
  bool readOnly = kind == PathKind::kFile && stat(path.c_str(), &st) == 0 &&
                  (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
#endif
  return readOnly ? "it is read-only" : "";
}

bool WriteFileReplacing(const std::string& path, const void* data, size_t n, std::string* why) {
  std::string refusal = ReplaceRefusal(path);
  if (!refusal.empty()) {
    SetIoError("cannot write '" + path + "': " + refusal);
    if (why) *why = refusal;
    return false;
  }
  std::string temp = TempPathFor(path);
  int err = 0;
  errno = 0;
  {
    File f;
    if (!f.Open(temp, "wb")) {
      err = errno ? errno : EIO;
      NoteIoFailure("create", temp);
    } else if (!f.Write(data, n) || !f.Sync() || !f.Close()) {
      err = errno ? errno : EIO;
    }
  }
  if (!err) {
    errno = 0;
    if (RenameOver(temp, path)) return true;
    err = errno ? errno : EIO;
  }
  RemovePath(temp);
  if (why) *why = FileErrorText(err);
  return false;
}

}  // namespace spinox
