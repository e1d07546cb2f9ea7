#include <gtest/gtest.h>

#include "db/paths.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using test::RunSteps;
using Bytes = std::vector<unsigned char>;

// Songs 0 (one.mp3, played once) and 1 (two.mp3, played twice).
class EditCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t t = 1000000;
    for (const char* name : {"one.mp3", "two.mp3", "two.mp3"})
      ASSERT_EQ(test::PlayUntagged(db.path(), db.File(name), t += 100), 0);
  }
  std::vector<std::string> Edit(std::vector<std::string> args) const {
    args.insert(args.begin(), {"edit", "--db", db.path()});
    return args;
  }
  spinox::test::TempDatabase db;
};

// Each call prints its result alone, asking nothing.
void ExpectResults(const std::vector<std::pair<std::vector<std::string>, std::string>>& calls) {
  for (const auto& [args, out] : calls) {
    test::CliRun r = test::RunCli(args);
    EXPECT_EQ(r.code, kOk) << r.err;
    EXPECT_EQ(r.out, out) << args[3];
  }
}

TEST_F(EditCommand, RenamesInPlace) {
  const std::string renamed = "result 3: renamed: names changed in place\n";
  ExpectResults(
      {{Edit({"song", "0", "--title", "Eins", "--album", "Zahlen", "--artist", "Kraftwerk"}),
        renamed},
       {Edit({"artist", "1", "--name", "Kraftwerk (DE)"}), renamed},
       {Edit({"album", "1", "--album", "zahlen"}),  // the artist kept, case only
        "result 1: unchanged: the names already identify this entry\n"}});
}

TEST_F(EditCommand, MergeIsAskedOrGivenByOption) {
  const Bytes before = spinox::test::ReadBytes(db.File(kHitFile));
  RunSteps({{Edit({"song", "1", "--title", "ONE.MP3"}), kOk,
             "Edit Song: This song already exists in the database.", "no\n"}});
  ExpectResults({{Edit({"--no-merge", "song", "1", "--title", "one.mp3"}),
                  "result 0: merge declined: nothing written\n"}});
  EXPECT_EQ(spinox::test::ReadBytes(db.File(kHitFile)), before);
  ExpectResults({{Edit({"--merge", "song", "1", "--title", "One.mp3"}),
                  "result 2: merged with the existing entry\n"}});
}

TEST_F(EditCommand, RefusesUnusableIdsAndBadUsage) {
  const Bytes before = spinox::test::ReadBytes(db.File(kSongFile));
  RunSteps({
      {Edit({"song", "-1", "--title", "x"}), kFailed, "cannot be edited"},
      {Edit({"album", "7", "--album", "x"}), kFailed, ""},
      {Edit({"song", "0", "--name", "x"}), kBadUsage, ""},
      {Edit({"artist", "0", "--title", "x"}), kBadUsage, ""},
      {Edit({"--merge", "--no-merge", "song", "0"}), kBadUsage, ""},
      {Edit({"track", "0"}), kBadUsage, ""},
      {Edit({"song", "zero"}), kBadUsage, ""},
      {Edit({"song", "0", "--title", std::string(50, 'a')}), kBadUsage, ""},
  });
  EXPECT_EQ(spinox::test::ReadBytes(db.File(kSongFile)), before);
}

}  // namespace
}  // namespace spinox::cli
