// Hostile inputs for the tag readers (tests/data/fuzz-regressions/{id3v1,id3v2,ogg}-*): each
// must read without a fault and leave every field terminated.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/text.h"
#include "tags/track_tag.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

bool IsTagInput(const std::string& name) {
  for (const char* prefix : {"id3v1-", "id3v2-", "ogg-"}) {
    if (name.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

TEST(TagFuzzRegressions, EveryInputReadsToTerminatedFields) {
  std::filesystem::path dir = test::TestDataPath("fuzz-regressions");
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no regression inputs";
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (!IsTagInput(name)) continue;
    SCOPED_TRACE(name);
    TrackTag tag{};
    SetField(tag.file, entry.path().string());
    int tagged = ReadTag(&tag);
    EXPECT_LT(strnlen(tag.title, kNameSize), static_cast<size_t>(kNameSize));
    EXPECT_LT(strnlen(tag.artist, kNameSize), static_cast<size_t>(kNameSize));
    EXPECT_LT(strnlen(tag.album, kNameSize), static_cast<size_t>(kNameSize));
    EXPECT_EQ(tag.tagged, tagged);
  }
}

}  // namespace
}  // namespace spinox
