#include <gtest/gtest.h>

#include "db/paths.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

// Songs 0 (one.mp3, played once) and 1 (two.mp3, played twice). Each call in turn: the kind and
// id choose the names a missing option keeps, --merge/--no-merge answer the question unasked, and
// the result is printed by its number; a refusal writes nothing.
TEST(EditCommand, RenamesMergesAndRefuses) {
  spinox::test::TempDatabase db;
  int32_t t = 1000000;
  for (const char* name : {"one.mp3", "two.mp3", "two.mp3"})
    ASSERT_EQ(test::PlayUntagged(db.path(), db.File(name), t += 100), 0);
  const std::string renamed = "result 3: renamed: names changed in place\n";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string says, input = "";
  } kSteps[] = {
      {{"song", "-1", "--title", "x"}, kFailed, "cannot be edited"},
      {{"album", "7", "--album", "x"}, kFailed, ""},
      {{"song", "0", "--name", "x"}, kBadUsage, ""},
      {{"artist", "0", "--title", "x"}, kBadUsage, ""},
      {{"--merge", "--no-merge", "song", "0"}, kBadUsage, ""},
      {{"track", "0"}, kBadUsage, ""},
      {{"song", "zero"}, kBadUsage, ""},
      {{"song", "0", "--title",
        std::string(16, 'a') + "群青日和群青日和群青日和"},  // 28 characters
       kBadUsage,
       "longer than 49 bytes"},
      {{"song", "1", "--title", "ONE.MP3"},
       kOk,
       "This song already exists in the database.",
       "no\n"},
      {{"--no-merge", "song", "1", "--title", "one.mp3"},
       kOk,
       "result 0: merge declined",
       "yes\n"},  // not asked
      {{"song", "0", "--title", "Eins", "--album", "Zahlen", "--artist", "Kraftwerk"},
       kOk,
       renamed},
      {{"artist", "1", "--name", "Kraftwerk (DE)"}, kOk, renamed},
      {{"album", "1", "--album", "zahlen"}, kOk, "result 1: unchanged"},  // its artist kept
      {{"--merge", "song", "1", "--title", "eins", "--album", "Zahlen", "--artist",
        "Kraftwerk (DE)"},
       kOk,
       "result 2: merged with the existing entry\n"},
  };
  for (const auto& s : kSteps) {
    const auto before = spinox::test::ReadBytes(db.File(kSongFile));
    std::vector<std::string> args = s.args;
    args.insert(args.begin(), {"edit", "--db", db.path()});
    test::CliRun r = test::RunCli(args, s.input);
    EXPECT_EQ(r.code, s.code) << args[3] << " " << args[4] << r.err;
    EXPECT_TRUE(test::Contains(r.out + r.err, s.says)) << r.out << r.err;
    const bool writes = s.says.rfind("result 2", 0) == 0 || s.says.rfind("result 3", 0) == 0;
    EXPECT_TRUE(writes || spinox::test::ReadBytes(db.File(kSongFile)) == before) << args[3];
  }
}

}  // namespace
}  // namespace spinox::cli
