// The file layer on names in several scripts (the same table runs under Wine in the end-to-end
// tests, where the names reach the system as UTF-16).
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/file_names_check.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0777) == 0;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

std::vector<std::string> List(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FileNamesTest, EveryScriptReadWrittenRenamedAndLocked) {
  test::TempDir dir;
  for (const test::ScriptName& row : test::kScriptNames)
    test::CheckFileLayer(dir.path(), row, {'/', MakeFolder, WriteFile, List});
}

TEST(FileNamesTest, AbsolutePathKeepsTheName) {
  std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(AbsolutePath("東京事変/./x/../群青日和.mp3"), cwd + "/東京事変/群青日和.mp3");
  EXPECT_EQ(AbsolutePath("/Żółć/🎵.mp3"), "/Żółć/🎵.mp3");
}

}  // namespace
}  // namespace spinox
