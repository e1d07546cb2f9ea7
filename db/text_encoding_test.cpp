#include "db/text_encoding.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "db/paths.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

// The marker decides; without it any database file means texts from an earlier version, and a
// folder without a database is new and so UTF-8.
TEST(TextEncoding, TheMarkerOrAnEmptyFolderMeansUtf8) {
  const struct {
    std::vector<const char*> files;
    TextEncoding expected;
  } cases[] = {
      {{}, TextEncoding::kUtf8},
      {{"gen_spinox.hit"}, TextEncoding::kAnsi},
      {{"gen_spinox.dat"}, TextEncoding::kAnsi},
      {{"gen_spinox.sng", "gen_spinox.utf8"}, TextEncoding::kUtf8},
      {{"gen_spinox.lck", "gen_spinox.hit.new"}, TextEncoding::kUtf8},
  };
  for (const auto& c : cases) {
    test::TempDatabase db;
    std::filesystem::remove(db.File(kUtf8MarkerFile));
    for (const char* name : c.files) test::WriteBytes(db.File(name), {});
    EXPECT_EQ(StoredTextEncoding(), c.expected) << (c.files.empty() ? "" : c.files[0]);
  }
}

TEST(TextEncoding, StoredTextIsReadInItsEncoding) {
  EXPECT_EQ(StoredTextAsUtf8("Dvo\xc5\x99\xc3\xa1k", TextEncoding::kUtf8), "Dvo\xc5\x99\xc3\xa1k");
  EXPECT_EQ(StoredTextAsUtf8("Bj\xf6rk", TextEncoding::kAnsi), "Bj\xc3\xb6rk");
  EXPECT_EQ(StoredTextAsUtf8("Bj\xf6rk", TextEncoding::kUtf8), "Bj\xef\xbf\xbdrk");
}

}  // namespace
}  // namespace spinox
