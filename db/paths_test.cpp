#include "db/paths.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "base/file.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

#ifdef _WIN32
const std::string kSep = "\\";
#else
const std::string kSep = "/";
#endif

// The data folder is the application's "plugins" folder unless set itself; a staged file's
// path is its copy's until it is unstaged, and staging one file leaves the others alone.
TEST(Paths, DataFolderFullAndStagedPaths) {
  SetAppPath("app");
  EXPECT_EQ("app" + kSep + "plugins", DataDir());
  EXPECT_EQ("app" + kSep + "plugins" + kSep + "gen_spinox.hit", FullPath(kHitFile));
  SetDataDir("/data");
  const std::string hit = "/data" + kSep + "gen_spinox.hit";
  EXPECT_EQ("/data" + kSep + "gen_spinox.sng", FullPath(kSongFile));
  SetStaged(kHitFile, true);
  SetStaged(kHitFile, true);
  EXPECT_EQ(hit + ".new", FullPath(kHitFile));
  EXPECT_EQ(hit, RealPath(kHitFile));
  EXPECT_EQ(hit + ".new", StagedPath(kHitFile));
  EXPECT_EQ("/data" + kSep + "gen_spinox.sng", FullPath(kSongFile));
  SetStaged(kHitFile, false);
  EXPECT_EQ(hit, FullPath(kHitFile));
}

// A data file that is a folder is named with the reason; missing files are no refusal.
TEST(Paths, DataFileRefusalNamesTheFirstFileThatIsNoFile) {
  test::TempDatabase db;
  EXPECT_EQ("", DataFileRefusal());
  std::filesystem::create_directory(db.File(kArtistFile));
  std::filesystem::create_directory(db.File(kSettingsFile));
  EXPECT_EQ(RealPath(kArtistFile) + ": " + FileErrorText(EISDIR), DataFileRefusal());
}

}  // namespace
}  // namespace spinox
