// The file layer on names in several scripts, made with the wide calls and listed back with
// them: a name that went through the ANSI code page on its way would come out as '?'.
#include <windows.h>

#include <algorithm>

#include "base/codepage.h"
#include "tests/file_names_check.h"

namespace spinox {
namespace {

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr) != 0;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  return CloseHandle(h) && ok;
}

std::vector<std::string> List(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(WideFromUtf8(folder + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = Utf8FromWide(std::wstring(found.cFileName));
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(h, &found));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::string& folder) {
  for (const std::string& name : List(folder)) {
    std::string path = folder + "\\" + name;
    DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      RemoveTree(path);
    else
      DeleteFileW(WideFromUtf8(path).c_str());
  }
  RemoveDirectoryW(WideFromUtf8(folder).c_str());
}

TEST(FileNamesTest, EveryScriptReadWrittenRenamedAndLocked) {
  wchar_t temp[MAX_PATH + 1] = {};
  DWORD n = GetTempPathW(MAX_PATH, temp);
  ASSERT_GT(n, 0u);
  std::string base =
      Utf8FromWide(temp, n) + "spinox names " + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(MakeFolder(base));
  for (const test::ScriptName& row : test::kScriptNames)
    test::CheckFileLayer(base, row, {'\\', MakeFolder, WriteFile, List});
  RemoveTree(base);
}

}  // namespace
}  // namespace spinox
