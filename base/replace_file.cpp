#include "base/replace_file.h"

#include <cstdio>

#include "base/file.h"

#ifdef _WIN32
// Declared here so that the portable core needs no <windows.h>.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char* existing, const char* target,
                                                           unsigned long flags);
#endif

namespace spinox {

std::string TempPathFor(const std::string& path) {
  return path + ".tmp";
}

bool RenameOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  // std::rename cannot replace an existing file on Windows.
  constexpr unsigned long kReplaceExisting = 1, kWriteThrough = 8;
  return MoveFileExA(from.c_str(), to.c_str(), kReplaceExisting | kWriteThrough) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool WriteFileReplacing(const std::string& path, const void* data, size_t n) {
  std::string temp = TempPathFor(path);
  bool written;
  {
    File f(temp, "wb");
    written = f.IsOpen() && f.Write(data, n) && f.Flush();
  }
  if (written && RenameOver(temp, path)) return true;
  std::remove(temp.c_str());
  return false;
}

}  // namespace spinox
