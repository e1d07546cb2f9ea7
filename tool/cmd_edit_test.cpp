#include <gtest/gtest.h>

#include <cstring>

#include "db/paths.h"
#include "db/records.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using test::Contains;
using test::RunCli;
using Bytes = std::vector<unsigned char>;

class EditCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t t = 1000000;
    for (const char* name : {"one.mp3", "two.mp3", "two.mp3"}) {
      ASSERT_EQ(test::PlayUntagged(db.path(), db.File(name), t += 100), 0);
    }
  }
  SongRecord Song(RecId id) const {
    Bytes b = spinox::test::ReadBytes(db.File(kSongFile));
    SongRecord s = {};
    std::memcpy(&s, b.data() + id * sizeof s, sizeof s);
    return s;
  }
  std::vector<std::string> Edit(std::vector<std::string> args) const {
    args.insert(args.begin(), {"edit", "--db", db.path()});
    return args;
  }
  spinox::test::TempDatabase db;
};

TEST_F(EditCommand, RenamesInPlace) {
  auto r =
      RunCli(Edit({"song", "0", "--title", "Eins", "--album", "Zahlen", "--artist", "Kraftwerk"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "result 3: renamed: names changed in place\n");
  SongRecord s = Song(0);
  EXPECT_STREQ(s.title, "Eins");
  EXPECT_STREQ(s.album, "Zahlen");
  EXPECT_EQ(+s.albumId, 1u);
  EXPECT_EQ(+s.artistId, 1u);
  r = RunCli(Edit({"artist", "1", "--name", "Kraftwerk (DE)"}));
  EXPECT_EQ(r.out, "result 3: renamed: names changed in place\n");
  EXPECT_STREQ(Song(0).artist, "Kraftwerk (DE)");
  r = RunCli(Edit({"album", "1", "--album", "zahlen"}));  // the artist kept, case only
  EXPECT_EQ(r.out, "result 1: unchanged: the names already identify this entry\n");
}

TEST_F(EditCommand, MergeIsAskedOrGivenByOption) {
  Bytes before = spinox::test::ReadBytes(db.File(kHitFile));
  auto r = RunCli(Edit({"song", "1", "--title", "ONE.MP3"}), "no\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(Contains(r.out, "Edit Song: This song already exists in the database."));
  EXPECT_TRUE(Contains(r.out, "result 0: merge declined"));
  r = RunCli(Edit({"--no-merge", "song", "1", "--title", "one.mp3"}));
  EXPECT_EQ(r.out, "result 0: merge declined: nothing written\n");
  EXPECT_EQ(spinox::test::ReadBytes(db.File(kHitFile)), before);
  r = RunCli(Edit({"--merge", "song", "1", "--title", "One.mp3"}));
  EXPECT_EQ(r.out, "result 2: merged with the existing entry\n");
  Bytes hits = spinox::test::ReadBytes(db.File(kHitFile));
  for (size_t i = 0; i < hits.size(); i += 16) EXPECT_EQ(hits[i], 1) << i;
  EXPECT_EQ(Song(0).id, kNoId);
}

TEST_F(EditCommand, RefusesUnusableIdsAndBadUsage) {
  Bytes before = spinox::test::ReadBytes(db.File(kSongFile));
  auto r = RunCli(Edit({"song", "-1", "--title", "x"}));
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "cannot be edited")) << r.err;
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"album", "7", "--album", "x"}, kFailed},
      {{"song", "0", "--name", "x"}, kBadUsage},
      {{"artist", "0", "--title", "x"}, kBadUsage},
      {{"--merge", "--no-merge", "song", "0"}, kBadUsage},
      {{"track", "0"}, kBadUsage},
      {{"song", "zero"}, kBadUsage},
      {{"song", "0", "--title", std::string(50, 'a')}, kBadUsage},
  };
  for (const auto& [args, code] : cases) EXPECT_EQ(RunCli(Edit(args)).code, code) << args[0];
  EXPECT_EQ(spinox::test::ReadBytes(db.File(kSongFile)), before);
}

TEST_F(EditCommand, TextsAreStoredInTheAnsiCodePage) {
  ASSERT_EQ(RunCli(Edit({"artist", "0", "--name", "Bj\xC3\xB6rk"})).code, 0);
  Bytes art = spinox::test::ReadBytes(db.File(kArtistFile));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(art.data() + 4)), "Bj\xF6rk");
}

}  // namespace
}  // namespace spinox::cli
