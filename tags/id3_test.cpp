#include <gtest/gtest.h>

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

TEST_F(Id3Test, TextEndsAtItsTerminator) {
  Bytes twoValues =
      Bytes{1} + test::Utf16(u"One", false, true) + Bytes{0, 0} + test::Utf16(u"Two", false, false);
  Bytes latin = Bytes{0} + B("Left") + Bytes{0} + B("Right");
  TrackTag tag = Read(Id3Tag(4, 0, Id3Frame(4, "TIT2", twoValues) + Id3Frame(4, "TPE1", latin)));
  EXPECT_EQ(Title(tag), "One");
  EXPECT_EQ(Artist(tag), "Left");
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

TEST_F(Id3Test, WalkStopsAtTheTagEnd) {
  // A title frame right behind a tag that ends before it is audio data, not a frame.
  Bytes tag0 = Id3Tag(3, 0, Id3Text(3, "TPE1", "Inside"));
  TrackTag tag = Read(tag0 + Id3Text(3, "TIT2", "Outside") + test::Audio(100));
  EXPECT_EQ(Artist(tag), "Inside");
  EXPECT_EQ(Title(tag), "track.mp3");  // no title read: the file name
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

}  // namespace
}  // namespace spinox
