// Folders and files named in several scripts, made by the system's own calls and read back
// through the file layer: the same table runs natively (spinox_tests) and under Wine
// (spinox_e2e_tests), where every name has to reach the system as UTF-16.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/replace_file.h"
#include "db/lock.h"
#include "db/paths.h"
#include "hitlist/hit_file.h"

namespace spinox::test {

struct ScriptName {
  const char* script;
  const char* folder;
  const char* file;
};

inline const ScriptName kScriptNames[] = {
    {"Japanese", "東京事変", "群青日和.mp3"},    {"Chinese", "邓丽君", "月亮代表我的心.mp3"},
    {"Korean", "방탄소년단", "봄날.ogg"},        {"Cyrillic", "Группа крови", "Кино.flac"},
    {"Greek", "Μίκης Θεοδωράκης", "Ελλάδα.mp3"}, {"Arabic", "فيروز", "أنا لحبيبي.mp3"},
    {"Polish", "Żółć Łąka", "Dziewczyna.opus"},  {"Czech", "Antonín Dvořák", "Symfonie č. 9.mp3"},
    {"emoji", "😀 Band", "🎵 Emoji.mp3"},
};

// What the test asks of the system directly, without the file layer.
struct NativeFs {
  char separator;
  bool (*makeFolder)(const std::string& path);
  bool (*writeFile)(const std::string& path, const std::string& bytes);
  // The names in a folder, as UTF-8, sorted.
  std::vector<std::string> (*list)(const std::string& folder);
};

inline std::string Text(const std::vector<unsigned char>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// Every file-layer call on a file named in `row`'s script inside a folder named in it too.
inline void CheckFileLayer(const std::string& base, const ScriptName& row, const NativeFs& fs) {
  SCOPED_TRACE(row.script);
  const std::string folder = base + fs.separator + row.folder;
  const std::string path = folder + fs.separator + row.file;
  const std::string content = std::string("made natively: ") + row.file;
  ASSERT_TRUE(fs.makeFolder(folder));
  ASSERT_TRUE(fs.writeFile(path, content));

  EXPECT_EQ(KindOf(folder), PathKind::kFolder);
  EXPECT_EQ(KindOf(path), PathKind::kFile);
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(FileSize(path), static_cast<int64_t>(content.size()));
  EXPECT_EQ(hitlist_detail::PathSize(path), static_cast<int64_t>(content.size()));
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(ReadWholeFile(path, &bytes));
  EXPECT_EQ(Text(bytes), content);

  // Written through the layer beside it, then renamed over it: one file of the exact name.
  const std::string update = std::string("written by the layer: ") + row.folder;
  const std::string other = folder + fs.separator + "new " + row.file;
  ASSERT_TRUE(WriteFileReplacing(other, update.data(), update.size())) << LastIoError();
  ASSERT_TRUE(RenameOver(other, path)) << LastIoError();
  EXPECT_EQ(fs.list(folder), std::vector<std::string>{row.file});
  ASSERT_TRUE(ReadWholeFile(path, &bytes));
  EXPECT_EQ(Text(bytes), update);

  // The database lock is a file in the data folder.
  SetDataDir(folder);
  {
    DatabaseLock lock(LockKind::kExclusive, 0);
    EXPECT_TRUE(lock.held()) << LastIoError();
  }
  SetDataDir("");
  std::vector<std::string> names = {kLockFile, row.file};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(fs.list(folder), names);

  EXPECT_TRUE(RemoveFile(path)) << LastIoError();
  EXPECT_EQ(KindOf(path), PathKind::kMissing);
  EXPECT_EQ(fs.list(folder), std::vector<std::string>{kLockFile});
}

}  // namespace spinox::test
