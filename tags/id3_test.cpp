#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

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
using test::ReadBytesTag;
using test::Unsync;

std::string Title(const TrackTag& t) {
  return FieldText(t.title);
}
std::string Artist(const TrackTag& t) {
  return FieldText(t.artist);
}
std::string Album(const TrackTag& t) {
  return FieldText(t.album);
}

TEST(Strip, RemovesTrailingBlanksOnly) {
  char s[50] = "abc \t\n";
  strip(s, 50);
  EXPECT_STREQ(s, "abc");
  char lead[50] = "  abc ";
  strip(lead, 50);
  EXPECT_STREQ(lead, "  abc");
  char cr[50] = "abc\r";
  strip(cr, 50);
  EXPECT_STREQ(cr, "abc\r");
  char inner[50] = "a b\tc";
  strip(inner, 50);
  EXPECT_STREQ(inner, "a b\tc");
  char blanks[50] = " \t \n";
  strip(blanks, 50);
  EXPECT_STREQ(blanks, "");
}

TEST(Strip, LooksAtNoMoreThanNMinusOneBytes) {
  char s[8] = "a  b";
  strip(s, 3);  // sees "a " only
  EXPECT_STREQ(s, "a");
  char full[4] = {'a', 'b', ' ', ' '};  // no terminator inside n - 1 bytes
  strip(full, 4);
  EXPECT_EQ(std::string(full, 3), std::string("ab\0", 3));
}

class Id3Test : public ::testing::Test {
 protected:
  TrackTag Read(const Bytes& bytes) { return ReadBytesTag(dir_, bytes); }
  TrackTag TagFor(const Bytes& bytes) {
    test::WriteBytes(dir_.File("t.mp3"), bytes);
    TrackTag tag{};
    SetField(tag.file, dir_.File("t.mp3"));
    return tag;
  }
  test::TempDir dir_;
};

TEST_F(Id3Test, V1NeedsTagInTheLast128Bytes) {
  TrackTag tag = TagFor(test::Id3v1("T", "A", "L"));
  EXPECT_EQ(HasId3v1(&tag), 1);
  tag = TagFor(test::Id3v1("T", "A", "L") + Bytes{0});
  EXPECT_EQ(HasId3v1(&tag), 0);
  tag = TagFor(B("TAG") + Bytes(100, 0));  // shorter than a trailer
  EXPECT_EQ(HasId3v1(&tag), 0);
  SetField(tag.file, dir_.File("missing.mp3"));
  EXPECT_EQ(HasId3v1(&tag), 0);
}

TEST_F(Id3Test, V1FillsOnlyEmptyFields) {
  TrackTag tag = TagFor(test::Audio(500) + test::Id3v1("V1 Title", "V1 Artist", "V1 Album"));
  SetField(tag.artist, "Kept");
  ReadId3v1(&tag);
  EXPECT_EQ(Title(tag), "V1 Title");
  EXPECT_EQ(Artist(tag), "Kept");
  EXPECT_EQ(Album(tag), "V1 Album");
}

TEST_F(Id3Test, V1FullWidthAndPaddedTexts) {
  std::string thirty = "123456789012345678901234567890";
  TrackTag tag = Read(test::Id3v1(thirty, "Artist", "Album", ' '));
  EXPECT_EQ(Title(tag), thirty);
  EXPECT_EQ(Artist(tag), "Artist");  // padding spaces stripped
  EXPECT_EQ(tag.tagged, 1);
}

TEST_F(Id3Test, V2HeaderFacts) {
  Bytes bytes = Id3Tag(4, 0x40, Bytes(20, 0), 300);
  TrackTag tag = TagFor(bytes);
  ASSERT_EQ(HasId3v2(&tag), 1);
  EXPECT_EQ(tag.id3Version, 4);
  EXPECT_EQ(tag.id3ExtHeader, 1);
  EXPECT_EQ(tag.id3End, 330);
}

TEST_F(Id3Test, NoId3LeavesHeaderFactsUntouched) {
  TrackTag tag = TagFor(B("RIFF") + test::Audio(40));
  tag.id3Version = 7, tag.id3End = 77, tag.id3ExtHeader = 5;
  EXPECT_EQ(HasId3v2(&tag), 0);
  ReadId3v2(&tag);
  EXPECT_EQ(tag.id3Version, 7);
  EXPECT_EQ(tag.id3End, 77);
  EXPECT_EQ(tag.id3ExtHeader, 5);
  EXPECT_EQ(Title(tag), "");
}

// The three layouts fill the same three fields from their own frame identifiers.
class Id3Layouts : public Id3Test, public ::testing::WithParamInterface<int> {};

TEST_P(Id3Layouts, TextFramesFillTheFields) {
  int v = GetParam();
  bool v22 = v == 2;
  Bytes body = Id3Text(v, v22 ? "TT2" : "TIT2", "Song") + Id3Text(v, v22 ? "TP1" : "TPE1", "Band") +
               Id3Text(v, v22 ? "TAL" : "TALB", "Record");
  TrackTag tag = Read(Id3Tag(v, 0, body, 64) + test::Audio(300));
  EXPECT_EQ(Title(tag), "Song");
  EXPECT_EQ(Artist(tag), "Band");
  EXPECT_EQ(Album(tag), "Record");
  EXPECT_EQ(tag.id3Version, v);
}

// A frame of 200 bytes ahead of the title: the walk only finds the title when the frame's
// size is decoded as its version defines it (plain in 2.2 and 2.3, seven bits per byte in 2.4).
TEST_P(Id3Layouts, LargeFrameSizeIsDecodedPerVersion) {
  int v = GetParam();
  bool v22 = v == 2;
  Bytes picture = Id3Frame(v, v22 ? "PIC" : "APIC", Bytes(200, 0xC8));
  Bytes body = picture + Id3Text(v, v22 ? "TT2" : "TIT2", "After Picture");
  TrackTag tag = Read(Id3Tag(v, 0, body) + test::Audio(300));
  EXPECT_EQ(Title(tag), "After Picture");
}

INSTANTIATE_TEST_SUITE_P(Versions, Id3Layouts, ::testing::Values(2, 3, 4));

TEST_F(Id3Test, ExtendedHeaderIsSkippedByItsVersionsSize) {
  // 2.3: a plain size that does not count its own four bytes, then that many bytes.
  Bytes ext23 = test::BigEndianBytes(10, 4) + Bytes(10, 0xEE);
  TrackTag tag = Read(Id3Tag(3, 0x40, ext23 + Id3Text(3, "TIT2", "Ext 2.3")));
  EXPECT_EQ(Title(tag), "Ext 2.3");
  // 2.4: a synchsafe size that counts its own four bytes.
  Bytes ext24 = test::SynchsafeBytes(6, 4) + Bytes{1, 0};
  tag = Read(Id3Tag(4, 0x40, ext24 + Id3Text(4, "TIT2", "Ext 2.4")));
  EXPECT_EQ(Title(tag), "Ext 2.4");
}

TEST_F(Id3Test, TextEncodingsAreConvertedToTheAnsiCodePage) {
  Bytes utf8 = Bytes{3} + B("Zo\xC3\xAB \xE2\x80\x93 \xC5\x99");  // Zoë – ř
  Bytes utf16 = Bytes{1} + test::Utf16(u"Caf\u00e9", false, true);
  Bytes utf16be = Bytes{1} + test::Utf16(u"\u00c9t\u00e9", true, true);
  Bytes utf16plain = Bytes{2} + test::Utf16(u"\u00d8re", true, false);
  Bytes body = Id3Frame(4, "TIT2", utf8) + Id3Frame(4, "TPE1", utf16) +
               Id3Frame(4, "TALB", utf16be) + Id3Frame(4, "TIT2", utf16plain);
  TrackTag tag = Read(Id3Tag(4, 0, body));
  EXPECT_EQ(Artist(tag), "Caf\xE9");
  EXPECT_EQ(Album(tag), "\xC9t\xE9");
  EXPECT_EQ(Title(tag), "\xD8re");  // a later frame overwrites
  tag = Read(Id3Tag(4, 0,
                    Id3Frame(4, "TIT2", utf8) + Id3Text(4, "TPE1",
                                                        "Fa\xE7"
                                                        "ade")));
  EXPECT_EQ(Title(tag), "Zo\xEB \x96 ?");
  EXPECT_EQ(Artist(tag),
            "Fa\xE7"
            "ade");
}

TEST_F(Id3Test, LongTextIsCutAfterConversionAndTheWalkGoesOn) {
  std::string sixty(60, 'x');
  std::u16string sixty16(60, u'\u00e4');
  Bytes body = Id3Text(3, "TIT2", sixty) +
               Id3Frame(3, "TPE1", Bytes{1} + test::Utf16(sixty16, false, true)) +
               Id3Text(3, "TALB", "Next");
  TrackTag tag = Read(Id3Tag(3, 0, body));
  EXPECT_EQ(Title(tag), std::string(49, 'x'));
  EXPECT_EQ(Artist(tag), std::string(49, '\xE4'));
  EXPECT_EQ(Album(tag), "Next");
}

TEST_F(Id3Test, CutKeepsWholeCharactersOfAMultiByteCodePage) {
  SetAnsiCodePage(
      [](const std::u32string& text) {
        std::string out;
        for (char32_t c : text) out += c < 0x80 ? std::string(1, char(c)) : std::string("\x81\x40");
        return out;
      },
      nullptr);
  std::string text = std::string(48, 'a') + "\xC3\xA9";  // the é would be bytes 49 and 50
  TrackTag tag = Read(Id3Tag(4, 0, Id3Frame(4, "TIT2", Bytes{3} + B(text))));
  SetAnsiCodePage(nullptr, nullptr);
  EXPECT_EQ(Title(tag), std::string(48, 'a'));
}

TEST_F(Id3Test, EmptyFramesEmptyTheField) {
  Bytes body = Id3Text(3, "TIT2", "First") + Id3Text(3, "TPE1", "Artist") +
               Id3Frame(3, "TIT2", Bytes{0}) + Id3Frame(3, "TPE1", Bytes{}) +
               Id3Text(3, "TALB", "Album");
  TrackTag tag = Read(Id3Tag(3, 0, body));
  EXPECT_EQ(Title(tag), "track.mp3");  // no title read: the file name
  EXPECT_EQ(Artist(tag), "");
  EXPECT_EQ(Album(tag), "Album");
}

TEST_F(Id3Test, HostileSizesEndTheWalk) {
  Bytes huge = B("TXXX") + Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0} + Bytes(20, 1);
  TrackTag tag = Read(Id3Tag(3, 0, Id3Text(3, "TIT2", "Before") + huge + Id3Text(3, "TPE1", "X")));
  EXPECT_EQ(Title(tag), "Before");
  EXPECT_EQ(Artist(tag), "");
  Bytes ext = Bytes{0xFF, 0xFF, 0xFF, 0xFF};
  tag = Read(Id3Tag(3, 0x40, ext + Id3Text(3, "TIT2", "Hidden")));
  EXPECT_EQ(Title(tag), "track.mp3");  // no title read: the file name
}

TEST_F(Id3Test, Id3v2WinsFieldByFieldOverId3v1) {
  Bytes v2 = Id3Tag(3, 0, Id3Text(3, "TIT2", "V2 Title"), 100);
  TrackTag tag = Read(v2 + test::Audio(400) + test::Id3v1("V1 Title", "V1 Artist", ""));
  EXPECT_EQ(Title(tag), "V2 Title");
  EXPECT_EQ(Artist(tag), "V1 Artist");
  EXPECT_EQ(Album(tag), "");
}

// ID3v2 frames as writers code them (unsynchronisation, data-length and group bytes,
// compression, encryption), and tags cut short by the file or by their own size.
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
  Bytes twoValues =
      Bytes{1} + test::Utf16(u"One", false, true) + Bytes{0, 0} + test::Utf16(u"Two", false, false);
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
      {"UTF-16 text ends at its terminator", File(4, 0, Frames(4, twoValues)), "One", "After", 1},
      // A frame right behind a tag that ends before it is audio data, not a frame.
      {"walk stops at the tag end",
       Id3Tag(3, 0, Id3Text(3, "TPE1", "In")) + Id3Text(3, "TIT2", "Out"), "t.mp3", "In", 1},
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
