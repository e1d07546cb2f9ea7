#include "tags/tag_io.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "tags/tag_test_util.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using namespace test;  // NOLINT: the byte builders

// Every read answers the file's bytes or fails, whichever window (the head read at open, the
// last bytes read at open, a window read later) serves it, for sizes around each boundary, and
// the same for bytes held in memory.
TEST(TagFile, EveryReadAnswersTheFilesBytes) {
  TempDir dir;
  for (size_t size : {0u, 1u, 127u, 128u, 129u, 4095u, 4096u, 4097u, 4224u, 20000u, 40000u}) {
    std::mt19937 rng(static_cast<unsigned>(size));
    Bytes data(size);
    for (unsigned char& b : data) b = static_cast<unsigned char>(rng());
    WriteBytes(dir.File("f"), data);
    TagFile onDisk(dir.File("f")), inMemory(data.data(), data.size());
    for (TagFile* f : {&onDisk, &inMemory}) {
      ASSERT_EQ(f->Size(), static_cast<int64_t>(size));
      // Reads in scrambled order so that every window is replaced in between.
      for (int i = 0; i < 400; ++i) {
        int64_t pos = static_cast<int64_t>(rng() % (size + 200)) - 50;
        if (i % 5 == 0) pos = static_cast<int64_t>(size) - 128 + static_cast<int64_t>(rng() % 140);
        size_t n = rng() % (i % 7 == 0 ? 20000 : 300);
        bool inside = pos >= 0 && pos + static_cast<int64_t>(n) <= static_cast<int64_t>(size);
        size_t some = pos < 0 || pos >= static_cast<int64_t>(size)
                          ? 0
                          : std::min<size_t>(n, size - static_cast<size_t>(pos));
        Bytes got(n + 1, 0xEE), want = got;
        if (some) std::memcpy(want.data(), data.data() + pos, some);
        ASSERT_EQ(f->Read(pos, got.data(), n), inside) << size << " " << pos << " " << n;
        if (inside) {
          ASSERT_EQ(got, want) << size << " " << pos;
        }
        got.assign(n + 1, 0xEE);
        ASSERT_EQ(f->ReadSome(pos, got.data(), n), some) << size << " " << pos << " " << n;
        ASSERT_EQ(got, want);  // nothing written past the bytes asked for
      }
    }
  }
  TagFile missing(dir.File("none.mp3"));
  unsigned char b = 0;
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(missing.Read(0, &b, 1));
  EXPECT_EQ(missing.ReadSome(0, &b, 1), 0u);
}

// One open serves all readers: an ID3v2 tag whose title lies far past the head, its artist
// from ID3v1 at the end of a long file.
TEST(TagFile, ReadTagFollowsFramesPastTheHeadAndReadsTheTrailer) {
  TempDir dir;
  Bytes body = Id3Frame(3, "PRIV", Bytes(30000, 0x41)) + Id3Text(3, "TIT2", "Far") +
               Id3Text(3, "TALB", "Disc");
  WriteBytes(dir.File("a.mp3"), Id3Tag(3, 0, body, 100) + Audio(50000) + Id3v1("x", "Band", "y"));
  TrackTag tag{};
  SetField(tag.file, dir.File("a.mp3"));
  ReadTag(&tag);
  EXPECT_EQ("Far|Band|Disc|1", Seen(tag));
}

}  // namespace
}  // namespace spinox
