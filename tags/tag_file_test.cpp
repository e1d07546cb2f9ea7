#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "base/text.h"
#include "tags/tag_io.h"
#include "tags/tag_test_util.h"
#include "tags/track_tag.h"

namespace spinox {
namespace {

using test::Bytes;
using test::operator+;

Bytes Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (unsigned char& b : out) b = static_cast<unsigned char>(rng());
  return out;
}

// Every read of a file answers its bytes or fails, whichever window (the head read at open, the
// last bytes read at open, a window read later) serves it, for sizes around each boundary.
TEST(TagFile, EveryReadAnswersTheFilesBytes) {
  test::TempDir dir;
  for (size_t size : {0u, 1u, 127u, 128u, 129u, 4095u, 4096u, 4097u, 4224u, 20000u, 40000u}) {
    Bytes data = Noise(size, static_cast<unsigned>(size));
    std::string path = dir.File("f" + std::to_string(size));
    test::WriteBytes(path, data);
    TagFile f(path);
    ASSERT_EQ(f.Size(), static_cast<int64_t>(size));
    std::mt19937 rng(7);
    // Reads in scrambled order so that every window is replaced in between.
    for (int i = 0; i < 400; ++i) {
      int64_t pos = static_cast<int64_t>(rng() % (size + 200)) - 50;
      if (i % 5 == 0) pos = static_cast<int64_t>(size) - 128 + static_cast<int64_t>(rng() % 140);
      size_t n = rng() % (i % 7 == 0 ? 20000 : 300);
      Bytes got(n + 1, 0xEE);
      bool inside = pos >= 0 && pos + static_cast<int64_t>(n) <= static_cast<int64_t>(size);
      ASSERT_EQ(f.Read(pos, got.data(), n), inside) << size << " " << pos << " " << n;
      if (inside && n > 0) {
        ASSERT_EQ(0, std::memcmp(got.data(), data.data() + pos, n)) << size << " " << pos;
      }
      size_t some = f.ReadSome(pos, got.data(), n);
      size_t expect = pos < 0 || pos >= static_cast<int64_t>(size)
                          ? 0
                          : std::min<size_t>(n, size - static_cast<size_t>(pos));
      ASSERT_EQ(some, expect) << size << " " << pos << " " << n;
      if (some) {
        ASSERT_EQ(0, std::memcmp(got.data(), data.data() + pos, some));
      }
      EXPECT_EQ(got[n], 0xEE);  // nothing written past the bytes asked for
    }
  }
}

TEST(TagFile, MissingFileHasNoSize) {
  test::TempDir dir;
  TagFile f(dir.File("none.mp3"));
  unsigned char b = 0;
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(f.Read(0, &b, 1));
  EXPECT_EQ(f.ReadSome(0, &b, 1), 0u);
}

// One open serves all readers: an ID3v2 tag whose title lies far past the head, its artist
// from ID3v1 at the end of a long file.
TEST(TagFile, ReadTagFollowsFramesPastTheHeadAndReadsTheTrailer) {
  test::TempDir dir;
  Bytes body = test::Id3Frame(3, "PRIV", Bytes(30000, 0x41)) + test::Id3Text(3, "TIT2", "Far") +
               test::Id3Text(3, "TALB", "Disc");
  Bytes file = test::Id3Tag(3, 0, body, 100) + test::Audio(50000) + test::Id3v1("x", "Band", "y");
  test::WriteBytes(dir.File("a.mp3"), file);
  TrackTag tag{};
  SetField(tag.file, dir.File("a.mp3"));
  EXPECT_EQ(ReadTag(&tag), 1);
  EXPECT_EQ(FieldText(tag.title), "Far");
  EXPECT_EQ(FieldText(tag.album), "Disc");
  EXPECT_EQ(FieldText(tag.artist), "Band");
  EXPECT_EQ(tag.id3Version, 3);
}

}  // namespace
}  // namespace spinox
