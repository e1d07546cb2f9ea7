// ID3v2 frames as writers code them (unsynchronisation, data-length and group bytes,
// compression, encryption), frame texts in every encoding, and tags cut short by the file or
// by their own size. Each case is a whole file: a tag in front of audio.
#include <gtest/gtest.h>
#include <zlib.h>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/tag_test_util.h"
#include "tags/track_tag.h"

namespace spinox {
namespace {

using test::B;
using test::Bytes;
using test::operator+;
using test::Id3Frame;
using test::Id3Tag;
using test::Id3Text;
using test::Unsync;

Bytes Zlib(const Bytes& in) {
  uLongf n = compressBound(static_cast<uLong>(in.size()));
  Bytes out(n);
  EXPECT_EQ(compress(out.data(), &n, in.data(), static_cast<uLong>(in.size())), Z_OK);
  out.resize(n);
  return out;
}

Bytes Dli(const Bytes& content) {
  return test::SynchsafeBytes(static_cast<uint32_t>(content.size()), 4);
}

// A title (encoding 0) whose bytes unsynchronisation changes.
const Bytes kPlain = Bytes{0} + B("Plain \xFF\xFF Title");
const std::string kPlainTitle = "Plain \xFF\xFF Title";

// The title frame of the layout, then an artist frame "After".
Bytes Frames(int v, const Bytes& title, unsigned char format = 0) {
  return Id3Frame(v, v == 2 ? "TT2" : "TIT2", title, format) +
         Id3Text(v, v == 2 ? "TP1" : "TPE1", "After");
}

Bytes File(int version, unsigned char flags, const Bytes& frames) {
  return Id3Tag(version, flags, frames) + test::Audio(200);
}

TEST(Id3v2Frames, CodedFramesReadLikePlainOnes) {
  Bytes z = Zlib(kPlain), dli = Dli(kPlain);
  Bytes size23 = test::BigEndianBytes(static_cast<uint32_t>(kPlain.size()), 4);
  const std::pair<const char*, Bytes> cases[] = {
      {"2.3 tag unsynchronised whole", File(3, 0x80, Unsync(Frames(3, kPlain)))},
      {"2.2 tag unsynchronised whole", File(2, 0x80, Unsync(Frames(2, kPlain)))},
      {"2.4 frame unsynchronised by its flag", File(4, 0, Frames(4, Unsync(kPlain), 0x02))},
      {"2.4 frames unsynchronised by the tag flag", File(4, 0x80, Frames(4, Unsync(kPlain)))},
      {"2.4 data length", File(4, 0, Frames(4, dli + kPlain, 0x01))},
      {"2.4 group byte and data length", File(4, 0, Frames(4, Bytes{0x33} + dli + kPlain, 0x41))},
      {"2.4 unsynchronised, data length", File(4, 0, Frames(4, dli + Unsync(kPlain), 0x03))},
      {"2.3 group byte", File(3, 0, Frames(3, Bytes{0x33} + kPlain, 0x20))},
      {"2.3 compressed", File(3, 0, Frames(3, size23 + z, 0x80))},
      {"2.3 compressed, tag unsynchronised", File(3, 0x80, Unsync(Frames(3, size23 + z, 0x80)))},
      {"2.4 compressed", File(4, 0, Frames(4, dli + z, 0x09))},
      {"2.4 compressed, length flag missing", File(4, 0, Frames(4, dli + z, 0x08))},
      {"2.4 compressed and unsynchronised", File(4, 0, Frames(4, dli + Unsync(z), 0x0B))},
  };
  test::TempDir dir;
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    TrackTag tag = test::ReadBytesTag(dir, file, "t.mp3");
    EXPECT_EQ(FieldText(tag.title), kPlainTitle);
    EXPECT_EQ(FieldText(tag.artist), "After");
  }
}

struct Case {
  const char* name;
  Bytes file;
  std::string title, artist;
  int tagged;
};

TEST(Id3v2Frames, EdgesOfCodingTextAndSize) {
  Bytes bad = Zlib(kPlain), huge = Bytes{0} + B(std::string(70000, 'h'));
  bad.back() ^= 1;
  Bytes be = Bytes{2} + test::Utf16(u"\u00c9t\u00e9 \u2013 Live", true, false);
  Bytes header = B("ID3") + Bytes{3, 0, 0} + test::SynchsafeBytes(2000, 4);
  Bytes artist = Id3Text(3, "TPE1", "Whole"), title = Id3Text(3, "TIT2", "Title In Audio");
  Bytes shortTag = B("ID3") + Bytes{3, 0, 0} + Dli(Bytes(artist.size() + title.size() - 6));
  const Case cases[] = {
      // 2.3 frame of 255 bytes: its size byte 0xFF is followed by an inserted zero.
      {"unsynchronised frame size",
       File(3, 0x80, Unsync(Frames(3, Bytes{0} + B(std::string(254, 'x'))))), std::string(49, 'x'),
       "After", 1},
      // 0xFF 0x00 in a text: one zero is inserted, the other stays and ends the text.
      {"zero kept behind 0xFF", File(3, 0x80, Unsync(Frames(3, Bytes{0, 0xFF, 0} + B("ish")))),
       "\xFF", "After", 1},
      {"wrong check value drops", File(4, 0, Frames(4, Dli(kPlain) + bad, 0x09)), "t.mp3", "After",
       1},
      {"inflating past the cap drops", File(4, 0, Frames(4, Dli(huge) + Zlib(huge), 0x09)), "t.mp3",
       "After", 1},
      {"encrypted drops", File(3, 0, Frames(3, Bytes{0x80, 0} + B("Ciphertext"), 0x40)), "t.mp3",
       "After", 1},
      {"encoding 0 keeps its bytes",
       File(3, 0, Frames(3, Bytes{0} + B("\x93Q\x94 \x96 \x85 \x80 \x8D"))),
       "\x93Q\x94 \x96 \x85 \x80 \x8D", "After", 1},
      {"unknown encoding keeps its bytes", File(3, 0, Frames(3, Bytes{7} + B("Seven\x99"))),
       "Seven\x99", "After", 1},
      {"UTF-8 byte order mark", File(4, 0, Frames(4, Bytes{3} + B("\xEF\xBB\xBFZo\xC3\xAB"))),
       "Zo\xEB", "After", 1},
      {"UTF-16BE behind a data length", File(4, 0, Frames(4, Dli(be) + be, 0x01)),
       "\xC9t\xE9 \x96 Live", "After", 1},
      {"file ends behind the header", header, "t.mp3", "", 0},
      {"file ends inside the header", B("ID3\x03"), "t.mp3", "", 0},
      {"file ends inside a frame header", header + Bytes(5, 'T'), "t.mp3", "", 0},
      {"file ends inside a frame", header + artist + Bytes(title.begin(), title.end() - 3), "t.mp3",
       "Whole", 1},
      {"frame runs past its tag", shortTag + artist + title + test::Audio(300), "t.mp3", "Whole",
       1},
      {"padding ends the frames", File(3, 0, Bytes(20, 0) + Frames(3, kPlain)), "t.mp3", "", 0},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrackTag tag = test::ReadBytesTag(dir, c.file, "t.mp3");
    EXPECT_EQ(FieldText(tag.title), c.title);
    EXPECT_EQ(FieldText(tag.artist), c.artist);
    EXPECT_EQ(tag.tagged, c.tagged);
  }
}

// Encoding 0 stays as its bytes whatever the code page: they are what the writer's code page gave.
TEST(Id3v2Frames, EncodingZeroIsNotConvertedInAnyCodePage) {
  SetAnsiCodePage([](const std::u32string& t) { return std::string(t.size(), '?'); }, nullptr);
  test::TempDir dir;
  TrackTag tag = test::ReadBytesTag(dir, File(3, 0, Id3Text(3, "TIT2", "\xC0\xE9\x9A")), "t.mp3");
  SetAnsiCodePage(nullptr, nullptr);
  EXPECT_EQ(FieldText(tag.title), "\xC0\xE9\x9A");
}

}  // namespace
}  // namespace spinox
